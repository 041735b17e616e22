#pragma once
// Copying bytes from one open file to another, with the error number of
// what failed: a copy that stops early must never pass for a whole one.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>

struct CopyOutcome {
  int error = 0;          // errno of a failed read or write, 0 when none failed
  bool cutShort = false;  // the source ended before the length asked for
  int64_t copied = 0;
};

// Copies length bytes from the current position of from (to its end when
// length is negative) in steps of at most step bytes, each written and
// flushed, so that a full disk shows at once; afterStep, when given, runs
// after each step. Writes go through the fault-injection point of file
// writes. Closes neither file.
CopyOutcome copyFileBytes(std::FILE* from, std::FILE* to, int64_t length, size_t step,
                          const std::function<void()>& afterStep = nullptr);
