#pragma once
// Runs one child process from a complete command line: returning at once,
// waiting for its exit code, or collecting its standard output and error
// into caller-owned strings. Every system failure is a LauncherException
// whose text is a fixed prefix and the system's text for the error.

#include <cstdint>
#include <string>

#include "base/exceptions.h"
#include "os/process.h"
#include "process/captured_output.h"
#include "process/process_system.h"

// The child could not be started at all (its program is missing, may not be
// run, or is no program for this system): a fault of that program, where
// pipe and wait failures are faults of this process.
class ProcessStartFailure : public LauncherException {
public:
  using LauncherException::LauncherException;
};

// The child ran past the run's time limit and was ended.
class ProcessTimedOut : public LauncherException {
public:
  using LauncherException::LauncherException;
};

// Built for one run; owns nothing but the system handles it opens, which are
// all closed before a run returns or throws. The sinks are only appended to.
class ProcessRunner {
public:
  ProcessRunner(std::string commandLine, bool waitForExit, std::string workingDirectory,
                std::string* stdoutSink, std::string* stderrSink,
                ProcessSystem& system = realProcessSystem());

  // The child shares the launcher's streams; its exit code when waiting for
  // it, else 0 as soon as it has started.
  int32_t runPlain(bool showConsole, bool newConsole);

  // The child writes into two pipes that are polled, never blocking on
  // either, until it has ended and a pass finds both empty; always waits.
  // Between passes that find nothing it waits for the child's end or new
  // output, never longer than 100 ms.
  // Of a stream longer than the capture bound only its first and last part
  // reach the sink, and the log says how much was left out.
  int32_t runCaptured(bool showConsole, bool newConsole);

  // For a program that must not need the user: captured runs read from the
  // null device and, with a limit, a child still running after limitMs is
  // ended (ProcessTimedOut). Plain runs are unaffected.
  void setEmptyInput(bool empty) { emptyInput_ = empty; }
  void setTimeLimit(uint32_t limitMs) { timeLimitMs_ = limitMs; }
  // Whether a captured run pauses after the child's end, where the system
  // may still hold the child's files, so that the caller can delete them
  // (true by default; a run after which nothing is deleted skips it).
  void setSettleAfterExit(bool settle) { settleAfterExit_ = settle; }
  // What a captured run keeps of each stream (the launcher's bound by default).
  void setCaptureBound(const CaptureBound& bound) { captureBound_ = bound; }

  // Appends to sink at most one chunk of what the pipe holds now, up to a
  // zero byte in it; the number of bytes read, 0 when it was empty or broken
  // (then *broken, when given, is set).
  uint32_t drainPipe(std::string* sink, os::Handle readEnd, bool* broken = nullptr);

private:
  os::StartRequest request(bool showConsole, bool newConsole) const;
  // Starts the child, trying again for a few seconds while its program's
  // file is held by someone else.
  os::ProcessResult start(const os::StartRequest& request, os::Child* child);
  // Ends a child past its time limit and waits for its end.
  void endOverdueChild(os::Child* child);

  std::string commandLine_;
  bool waitForExit_;
  std::string workingDirectory_;
  std::string* stdoutSink_;
  std::string* stderrSink_;
  ProcessSystem& system_;
  bool emptyInput_ = false;
  uint32_t timeLimitMs_ = 0;  // 0: none
  bool settleAfterExit_ = true;
  CaptureBound captureBound_ = kLauncherCaptureBound;
};

// One run of a program, as its callers describe it.
struct ProcessRequest {
  std::string commandLine;
  std::string workingDirectory;  // empty: the current one
  bool showConsole = false;
  bool newConsole = false;
  bool captureOutput = false;    // into the sinks; always waits
  bool waitForExit = true;       // plain runs only
  std::string* stdoutSink = nullptr;
  std::string* stderrSink = nullptr;
  bool emptyInput = false;       // see ProcessRunner::setEmptyInput
  uint32_t timeLimitMs = 0;      // see ProcessRunner::setTimeLimit
  bool settleAfterExit = true;   // see ProcessRunner::setSettleAfterExit
  CaptureBound captureBound = kLauncherCaptureBound;
};

// The child's exit code, 0 in plain mode without waiting.
int32_t runProcess(const ProcessRequest& request);
