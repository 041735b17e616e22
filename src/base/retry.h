#pragma once
// Retries of an operation that may succeed a little later (a file that a
// child still holds, a temporary name that the system refuses for a moment),
// bounded so that one that never succeeds cannot stop the launcher.

#include <chrono>

struct RetryTiming {
  std::chrono::milliseconds interval;
  std::chrono::milliseconds limit;
};

class RetryPacer {
public:
  explicit RetryPacer(const RetryTiming& timing) : timing_(timing) {}
  // Waits one interval and answers true, or answers false at once when the
  // waits have added up to the limit. Only the waits count, so the bound is
  // about the limit plus the time the attempts themselves take.
  bool waitAgain();

private:
  RetryTiming timing_;
  std::chrono::milliseconds waited_{0};
};
