// Pacing of bounded retries.

#include "base/retry.h"

#include "os/process.h"

bool RetryPacer::waitAgain() {
  if (waited_ >= timing_.limit) return false;
  const uint32_t interval = static_cast<uint32_t>(timing_.interval.count());
  if (sleep_)
    sleep_(interval);
  else
    os::sleepMilliseconds(interval);
  // A zero interval still counts, so that the bound holds in tests too.
  waited_ += timing_.interval.count() > 0 ? timing_.interval : std::chrono::milliseconds(1);
  return true;
}
