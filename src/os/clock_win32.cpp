// Windows wall clock: GetSystemTime, on every Windows.
#include "os/clock.h"

#include <windows.h>

namespace os {

WallTime utcNow() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return WallTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                  now.wMilliseconds};
}

}  // namespace os
