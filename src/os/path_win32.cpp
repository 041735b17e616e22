// Paths on Windows: separators, the executable's own path, the temporary directory.

#include "os/path.h"

#include <windows.h>

#include <vector>

namespace os {

char pathSeparator() { return '\\'; }

std::string absolutePath(const std::string& path) {
  if (path.empty()) return path;
  const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::vector<char> buffer(needed + 1);
  const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()),
                                        buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return path;
  return std::string(buffer.data(), length);
}

bool fileNamesIgnoreCase() { return true; }

std::string listedPathForm(const std::string& path) {
  // Windows 95 lacks the call; its paths stay as given.
  using LongPathName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const LongPathName longPathName =
      kernel ? reinterpret_cast<LongPathName>(
                   reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameA")))
             : nullptr;
  if (!longPathName || path.empty()) return path;
  const DWORD needed = longPathName(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::vector<char> buffer(needed + 1);
  const DWORD length =
      longPathName(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return path;
  return std::string(buffer.data(), length);
}

}  // namespace os
