// Paths on Windows: separators, the executable's own path, the temporary directory.

#include "os/path.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "os/ansi_path_win32.h"

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
  // Windows 95 and NT 4.0 lack the call; their paths stay as given. The NT
  // family's wide form keeps a long name with letters outside the ANSI code
  // page from turning into question marks (the short form stays then).
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel || path.empty()) return path;
  if (windows95Family()) {
    using LongPathNameA = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    const LongPathNameA longPathName = reinterpret_cast<LongPathNameA>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameA")));
    if (!longPathName) return path;
    const DWORD needed = longPathName(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::vector<char> buffer(needed + 1);
    const DWORD length =
        longPathName(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return path;
    return std::string(buffer.data(), length);
  }
  using LongPathNameW = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
  const LongPathNameW longPathName = reinterpret_cast<LongPathNameW>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameW")));
  const WideText wide = wideFromAnsi(path);
  if (!longPathName || wide.empty()) return path;
  const DWORD needed = longPathName(wide.data(), nullptr, 0);
  if (needed == 0) return path;
  std::vector<wchar_t> buffer(needed + 1);
  const DWORD length = longPathName(wide.data(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return path;
  return ansiPathFromWide(wideText(buffer.data(), length));
}

std::string childReadablePath(const std::string& path) {
  // Only a launcher running with UTF-8 as its code page holds paths that a
  // child of the system's own code page may not read (the Java launcher
  // reads its command line in that code page).
  if (GetACP() != CP_UTF8 || path.empty()) return path;
  char number[8] = {};
  if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number) <= 0)
    return path;
  const UINT systemCodePage = static_cast<UINT>(std::atoi(number));
  const WideText wide = wideFromAnsi(path);
  if (systemCodePage == 0 || representableIn(wide, systemCodePage)) return path;
  const std::string shortPath = ansiPathFromWide(shortPathOf(wide));
  return !shortPath.empty() && representableIn(wideFromAnsi(shortPath), systemCodePage) ? shortPath
                                                                                        : path;
}

}  // namespace os
