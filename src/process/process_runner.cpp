// Running a program, plainly or with its output captured, and the errors of doing so.

#include "process/process_runner.h"

#include <algorithm>
#include <utility>

#include "base/exceptions.h"
#include "base/messages.h"
#include "base/retry.h"
#include "base/text.h"
#include "base/ui.h"
#include "os/termination.h"
#include "process/captured_output.h"

namespace {

constexpr uint32_t kChunkSize = 4096;
// A pass that found nothing waits for the child's end or its next output:
// 1 ms at first, doubling up to 100 ms while nothing comes. Where the system
// wakes the wait at once (POSIX), the bound is never reached while the child
// writes or ends; on Windows the short first waits keep a fast writer from
// stalling on a full pipe.
constexpr uint32_t kFirstIdleWaitMs = 1;
constexpr uint32_t kIdlePauseMs = 100;
// Gives an ended child's process time to let go of its files before the
// caller goes on to delete them, where the system may hold them (Windows).
constexpr uint32_t kFinalPauseMs = 500;
// A program file that a scanner, or another launcher looking at the same
// JVM, holds for a moment cannot be started until it is let go.
const RetryTiming kBusyRetry{std::chrono::milliseconds(100), std::chrono::seconds(5)};


[[noreturn]] void fail(SystemCall call, const os::ProcessResult& result) {
  throw LauncherException(systemCallFailure(call, result.code));
}

[[noreturn]] void failStart(const os::ProcessResult& result) {
  const std::string text = systemCallFailure(kCallStartProcess, result.code);
  if (result.programUnusable) throw ProcessStartFailure(text);
  throw LauncherException(text);
}

// Closes what it holds on every way out of a run, a throw included.
class HandleGuard {
public:
  explicit HandleGuard(ProcessSystem& system) : system_(system) {}
  ~HandleGuard() { system_.closeHandle(&handle); }
  HandleGuard(const HandleGuard&) = delete;
  HandleGuard& operator=(const HandleGuard&) = delete;
  os::Handle handle = os::kNoHandle;

private:
  ProcessSystem& system_;
};

class ChildGuard {
public:
  explicit ChildGuard(ProcessSystem& system) : system_(system) {}
  ~ChildGuard() { close(); }
  ChildGuard(const ChildGuard&) = delete;
  ChildGuard& operator=(const ChildGuard&) = delete;
  void close() {
    if (!started) return;
    started = false;
    os::setForegroundChild(os::kNoHandle);
    system_.closeChild(&child);
  }
  os::Child child;
  bool started = false;

private:
  ProcessSystem& system_;
};

}  // namespace


ProcessRunner::ProcessRunner(std::string commandLine, bool waitForExit,
                             std::string workingDirectory, std::string* stdoutSink,
                             std::string* stderrSink, ProcessSystem& system)
    : commandLine_(std::move(commandLine)),
      waitForExit_(waitForExit),
      workingDirectory_(std::move(workingDirectory)),
      stdoutSink_(stdoutSink),
      stderrSink_(stderrSink),
      system_(system) {}

os::StartRequest ProcessRunner::request(bool showConsole, bool newConsole) const {
  os::StartRequest request;
  request.commandLine = commandLine_;
  request.workingDirectory = workingDirectory_;
  request.hidden = !showConsole;
  request.newConsole = newConsole;
  return request;
}

os::ProcessResult ProcessRunner::start(const os::StartRequest& request, os::Child* child) {
  // After Ctrl-C or a kill nothing new is started: the run ends and cleans up.
  if (os::terminationRequest() != 0) throw LauncherException("The run was interrupted.");
  os::ProcessResult started = system_.start(request, child);
  RetryPacer pacer(kBusyRetry, [this](uint32_t milliseconds) { system_.sleep(milliseconds); });
  while (started.programBusy && pacer.waitAgain()) started = system_.start(request, child);
  if (started.ok()) os::setForegroundChild(child->process);
  return started;
}

int32_t ProcessRunner::runPlain(bool showConsole, bool newConsole) {
  ChildGuard guard(system_);
  const os::ProcessResult started = start(request(showConsole, newConsole), &guard.child);
  if (!started.ok()) failStart(started);
  guard.started = true;
  if (!waitForExit_) return 0;
  const os::ProcessResult waited = system_.wait(&guard.child);
  if (!waited.ok()) fail(kCallWaitForProcess, waited);
  bool ended = false;
  uint32_t exitCode = 0;
  const os::ProcessResult queried = system_.queryExit(&guard.child, &ended, &exitCode);
  if (!queried.ok()) fail(kCallProcessExitCode, queried);
  return static_cast<int32_t>(exitCode);
}

int32_t ProcessRunner::runCaptured(bool showConsole, bool newConsole) {
  HandleGuard outputRead(system_), outputWrite(system_);
  HandleGuard errorRead(system_), errorWrite(system_);
  auto createPipe = [this](HandleGuard& readEnd, HandleGuard& writeEnd) {
    os::Pipe pipe;
    const os::ProcessResult created = system_.createPipe(&pipe);
    if (!created.ok()) throw LauncherException(systemErrorText(created.code));
    readEnd.handle = pipe.readEnd;
    writeEnd.handle = pipe.writeEnd;
  };
  createPipe(outputRead, outputWrite);
  createPipe(errorRead, errorWrite);

  os::StartRequest redirected = request(showConsole, newConsole);
  redirected.redirect = true;
  redirected.outputWrite = outputWrite.handle;
  redirected.errorWrite = errorWrite.handle;
  redirected.emptyInput = emptyInput_;
  ChildGuard guard(system_);
  const os::ProcessResult started = start(redirected, &guard.child);
  if (!started.ok()) failStart(started);
  const uint32_t startTick = system_.tickMilliseconds();
  guard.started = true;
  // Once the child holds the only write ends, a pipe breaks when the child
  // (and whoever inherited from it) has gone.
  system_.closeHandle(&outputWrite.handle);
  system_.closeHandle(&errorWrite.handle);

  // A pipe without a sink is still drained, or a child writing to it would
  // stop on a full pipe and never end. Each chunk passes through a bound on
  // what is kept, as the child may write without end.
  CapturedOutput output(stdoutSink_, "standard output", captureBound_);
  CapturedOutput errors(stderrSink_, "standard error", captureBound_);
  std::string chunk;
  bool running = true;
  uint32_t exitCode = 0;  // set by the query that finds the child ended
  uint32_t outputCount = 0;
  uint32_t errorCount = 0;
  bool outputBroken = false;
  bool errorBroken = false;
  uint32_t idleWaitMs = kFirstIdleWaitMs;
  do {
    // Checked on every pass, as a child that writes without pause never
    // leaves the passes idle.
    if (running && timeLimitMs_ != 0 && system_.tickMilliseconds() - startTick >= timeLimitMs_) {
      endOverdueChild(&guard.child);
      throw ProcessTimedOut("The program was ended after running for " +
                            decimal(static_cast<int32_t>(timeLimitMs_ / 1000)) + " seconds.");
    }
    if (running && outputCount == 0 && errorCount == 0) {
      bool ended = false;
      const os::ProcessResult queried = system_.queryExit(&guard.child, &ended, &exitCode);
      if (!queried.ok()) fail(kCallProcessExitCode, queried);
      running = !ended;
      if (running) {
        // A pipe whose writers have all gone would wake every wait at once.
        os::Handle open[2];
        int openCount = 0;
        if (!outputBroken) open[openCount++] = outputRead.handle;
        if (!errorBroken) open[openCount++] = errorRead.handle;
        system_.waitForActivity(&guard.child, open, openCount, idleWaitMs);
        idleWaitMs = std::min(idleWaitMs * 2, kIdlePauseMs);
      }
    } else {
      idleWaitMs = kFirstIdleWaitMs;
    }
    outputCount = drainPipe(&chunk, outputRead.handle, &outputBroken);
    output.append(chunk);
    chunk.clear();
    errorCount = drainPipe(&chunk, errorRead.handle, &errorBroken);
    errors.append(chunk);
    chunk.clear();
  } while (running || outputCount > 0 || errorCount > 0);
  output.finish();
  errors.finish();

  guard.close();
  if (settleAfterExit_ && system_.endedChildMayHoldFiles()) system_.sleep(kFinalPauseMs);
  system_.closeHandle(&outputRead.handle);
  system_.closeHandle(&errorRead.handle);
  return static_cast<int32_t>(exitCode);
}

void ProcessRunner::endOverdueChild(os::Child* child) {
  const os::ProcessResult ended = system_.terminate(child);
  if (!ended.ok()) fail(kCallWaitForProcess, ended);
  const os::ProcessResult waited = system_.wait(child);
  if (!waited.ok()) fail(kCallWaitForProcess, waited);
}

uint32_t ProcessRunner::drainPipe(std::string* sink, os::Handle readEnd, bool* broken) {
  uint32_t available = 0;
  const os::ProcessResult peeked = system_.peek(readEnd, &available);
  if (peeked.brokenPipe) {
    if (broken) *broken = true;
    return 0;
  }
  if (!peeked.ok()) fail(kCallPeekPipe, peeked);
  if (available == 0) return 0;

  char buffer[kChunkSize + 2] = {};
  uint32_t count = 0;
  const os::ProcessResult read = system_.read(readEnd, buffer, kChunkSize, &count);
  if (read.brokenPipe) {
    if (broken) *broken = true;
    ui::advanceProgress(1);
    return 0;
  }
  if (!read.ok()) fail(kCallReadPipe, read);
  // The chunk counts as text: it ends at its first zero byte.
  sink->append(buffer, std::find(buffer, buffer + std::min(count, kChunkSize), '\0'));
  ui::advanceProgress(1);
  return count;
}

int32_t runProcess(const ProcessRequest& request) {
  ProcessRunner runner(request.commandLine, request.waitForExit, request.workingDirectory,
                       request.stdoutSink, request.stderrSink);
  runner.setEmptyInput(request.emptyInput);
  runner.setTimeLimit(request.timeLimitMs);
  runner.setSettleAfterExit(request.settleAfterExit);
  runner.setCaptureBound(request.captureBound);
  return request.captureOutput ? runner.runCaptured(request.showConsole, request.newConsole)
                               : runner.runPlain(request.showConsole, request.newConsole);
}
