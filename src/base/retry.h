#pragma once
// Retries of an operation that may succeed a little later (a file that a
// child still holds, a temporary name that the system refuses for a moment),
// bounded so that one that never succeeds cannot stop the launcher.

#include <chrono>
#include <cstdint>
#include <functional>

struct RetryTiming {
  std::chrono::milliseconds interval;
  std::chrono::milliseconds limit;
};

class RetryPacer {
public:
  // sleep waits the given milliseconds: the system's sleep unless a caller
  // paces its waits by a clock of its own.
  explicit RetryPacer(const RetryTiming& timing,
                      std::function<void(uint32_t)> sleep = std::function<void(uint32_t)>())
      : timing_(timing), sleep_(std::move(sleep)) {}
  // Waits one interval and answers true, or answers false at once when the
  // waits have added up to the limit. Only the waits count, so the bound is
  // about the limit plus the time the attempts themselves take.
  bool waitAgain();

private:
  RetryTiming timing_;
  std::function<void(uint32_t)> sleep_;
  std::chrono::milliseconds waited_{0};
};
