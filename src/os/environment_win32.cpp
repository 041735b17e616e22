// Environment variables through the Win32 calls.

#include "os/environment.h"

#include <windows.h>

#include <vector>

namespace os {

bool getEnvironmentVariable(const std::string& name, std::string* value) {
  // A value longer than the first buffer is read again whole.
  std::vector<char> buffer(260, '\0');
  DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), 260);
  if (length >= buffer.size()) {
    buffer.assign(length + 1, '\0');
    length = GetEnvironmentVariableA(name.c_str(), buffer.data(), length + 1);
    if (length >= buffer.size()) return false;
  }
  if (length == 0) return false;
  value->assign(buffer.data(), length);
  return true;
}

bool setEnvironmentVariable(const std::string& name, const std::string* value) {
  return SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr) != 0;
}

}  // namespace os
