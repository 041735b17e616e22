#pragma once
// What a captured run keeps of one of the child's streams. A program may
// write without end (a loop printing a stack trace, a gigabyte of data), and
// everything it writes would be held in memory for the log and the failure
// display; up to a bound the text is kept whole, past it only its first and
// its last part, with the amount left out between them said in the log.

#include <cstddef>
#include <cstdint>
#include <string>

// A bound on what is kept: the first headBytes of a stream and its last
// tailBytes.
struct CaptureBound {
  size_t headBytes;
  size_t tailBytes;
};

// A megabyte at each end holds any error report and its stack trace whole.
constexpr CaptureBound kLauncherCaptureBound{1u << 20, 1u << 20};

class CapturedOutput {
public:
  // Appends to sink (null: keeps nothing) within bound; streamName names the
  // stream in the log line.
  CapturedOutput(std::string* sink, const char* streamName,
                 const CaptureBound& bound = kLauncherCaptureBound);
  ~CapturedOutput();
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  void append(const std::string& text);

  // Puts the kept last part into the sink and, when something was left out,
  // logs how much; only the first call does anything. Also done on
  // destruction, so a run that fails keeps what it had.
  void finish();

  uint64_t droppedBytes() const { return dropped_; }

private:
  std::string* sink_;
  const char* streamName_;
  CaptureBound bound_;
  size_t head_ = 0;  // bytes of this run that went into the sink so far
  std::string tail_;
  uint64_t dropped_ = 0;
  bool finished_ = false;
};
