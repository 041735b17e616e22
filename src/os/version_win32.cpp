// The Windows family, from GetVersionEx.

#include "os/version.h"

#include <windows.h>

namespace os {

int platformId() {
  OSVERSIONINFOEXA extended = {};
  extended.dwOSVersionInfoSize = sizeof extended;  // 156 bytes
  if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended)))
    return static_cast<int>(extended.dwPlatformId);
  OSVERSIONINFOA basic = {};
  basic.dwOSVersionInfoSize = sizeof basic;  // 148 bytes
  if (GetVersionExA(&basic)) return static_cast<int>(basic.dwPlatformId);
  return -1;
}

bool systemIsWindows() { return true; }

}  // namespace os
