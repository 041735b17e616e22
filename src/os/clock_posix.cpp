// POSIX wall clock: clock_gettime and gmtime_r.
#include "os/clock.h"

#include <time.h>

namespace os {

WallTime utcNow() {
  timespec now = {};
  clock_gettime(CLOCK_REALTIME, &now);
  tm parts = {};
  gmtime_r(&now.tv_sec, &parts);
  return WallTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                  parts.tm_min,         parts.tm_sec,     static_cast<int>(now.tv_nsec / 1000000)};
}

}  // namespace os
