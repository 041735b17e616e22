#pragma once
// For tests only: the temporary root is fixed for the life of a process, but
// each test needs its own.

#include "base/retry.h"

// Forgets the temporary root and restores the pacing below.
void resetTempState();

// Paces the retries of a refused temporary name (normally every 200 ms for
// about 10 seconds).
void setTempNameRetryTiming(const RetryTiming& timing);
