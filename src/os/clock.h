#pragma once
// The wall clock, for the times that begin the log's lines.

namespace os {

struct WallTime {
  int year, month, day;  // month and day from 1
  int hour, minute, second, millisecond;
};

// Now, in Coordinated Universal Time.
WallTime utcNow();

}  // namespace os
