#pragma once
// For tests only: a bound on captured output small enough to cross with a
// few kilobytes.

#include "process/captured_output.h"

void setCaptureBound(const CaptureBound& bound);

// Back to the launcher's own bound.
void resetCaptureBound();
