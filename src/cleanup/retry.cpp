#include "cleanup/retry.h"

#include <thread>

bool RetryPacer::waitAgain() {
  if (waited_ >= timing_.limit) return false;
  std::this_thread::sleep_for(timing_.interval);
  // A zero interval still counts, so that the bound holds in tests too.
  waited_ += timing_.interval.count() > 0 ? timing_.interval : std::chrono::milliseconds(1);
  return true;
}
