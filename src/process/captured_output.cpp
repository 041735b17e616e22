// Captured output kept whole up to a bound and by its ends past it.

#include "process/captured_output.h"

#include <algorithm>

#include "base/log.h"

namespace {

std::string count(uint64_t bytes) { return std::to_string(static_cast<unsigned long long>(bytes)); }

}  // namespace

CapturedOutput::CapturedOutput(std::string* sink, const char* streamName,
                               const CaptureBound& bound)
    : sink_(sink), streamName_(streamName), bound_(bound) {}

CapturedOutput::~CapturedOutput() {
  try {
    finish();
  } catch (...) {
  }
}

void CapturedOutput::append(const std::string& text) {
  if (!sink_ || text.empty()) return;
  const CaptureBound& limits = bound_;
  size_t taken = 0;
  if (head_ < limits.headBytes) {
    taken = std::min(text.size(), limits.headBytes - head_);
    sink_->append(text, 0, taken);
    head_ += taken;
  }
  if (taken == text.size()) return;
  tail_.append(text, taken, std::string::npos);
  // Trimmed in batches, so that each byte is moved about once.
  if (tail_.size() > 2 * limits.tailBytes + 4096) {
    const size_t excess = tail_.size() - limits.tailBytes;
    dropped_ += excess;
    tail_.erase(0, excess);
  }
}

void CapturedOutput::finish() {
  if (finished_) return;
  finished_ = true;
  if (!sink_) return;
  const size_t tailBytes = bound_.tailBytes;
  if (tail_.size() > tailBytes) {
    dropped_ += tail_.size() - tailBytes;
    tail_.erase(0, tail_.size() - tailBytes);
  }
  if (dropped_ > 0) {
    writeLog(std::string("The program's ") + streamName_ +
             " was too long to keep whole: kept its first " + count(head_) + " and its last " +
             count(tail_.size()) + " bytes, left out " + count(dropped_) + " bytes between them.");
  }
  sink_->append(tail_);
  tail_.clear();
  tail_.shrink_to_fit();
}
