#pragma once
// For tests only: a bound on captured output small enough to cross with a
// few kilobytes, and a short wait for a program file that stays busy. Both
// are fixed values of the program that only tests change, for a whole run
// at a time, so they are process-wide rather than handed down.

#include <cstdint>

#include "base/retry.h"
#include "process/captured_output.h"

// How a start that finds its program's file busy is tried again (normally
// every 100 ms for 5 s).
void setBusyRetry(const RetryTiming& retry);
void resetBusyRetry();

void setCaptureBound(const CaptureBound& bound);

// Back to the launcher's own bound.
void resetCaptureBound();
