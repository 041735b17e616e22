#pragma once
// For tests only: a bound on captured output small enough to cross with a
// few kilobytes, and a short wait for a program file that stays busy.

#include <cstdint>

#include "process/captured_output.h"

// How a start that finds its program's file busy is tried again: every
// pauseMs until limitMs have been waited (normally every 100 ms for 5 s).
struct BusyRetry {
  uint32_t pauseMs;
  uint32_t limitMs;
};
void setBusyRetry(const BusyRetry& retry);
void resetBusyRetry();

void setCaptureBound(const CaptureBound& bound);

// Back to the launcher's own bound.
void resetCaptureBound();
