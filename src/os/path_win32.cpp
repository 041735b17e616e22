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

}  // namespace os
