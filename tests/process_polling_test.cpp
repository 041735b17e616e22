// The runner's algorithm against a scripted system: which calls it makes in
// which order, what it reads, and that it lets go of every handle on every
// way out. Counting sleeps here stands in for timing them.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "base/messages.h"
#include "process/process_runner.h"
#include "test_support.h"

namespace {

// Pipe n has read end 10n+1 and write end 10n+2; the child is 100 and 101.
constexpr os::Handle kOutRead = 11, kErrRead = 21;
using Log = std::vector<std::string>;

os::ProcessResult failure(unsigned long code, bool broken = false) {
  os::ProcessResult result;
  result.code = code;
  result.brokenPipe = broken;
  return result;
}

class ScriptedSystem : public ProcessSystem {
public:
  os::ProcessResult createPipe(os::Pipe* pipe) override {
    log.push_back("pipe");
    if (++pipesMade == failPipe) return failure(8);
    pipe->readEnd = 10 * pipesMade + 1;
    pipe->writeEnd = 10 * pipesMade + 2;
    open.insert({pipe->readEnd, pipe->writeEnd});
    return {};
  }
  os::ProcessResult start(const os::StartRequest& request, os::Child* child) override {
    log.push_back("start");
    started = request;
    if (!fails("start").ok()) return fails("start");
    *child = os::Child{100, 101};
    open.insert({100, 101});
    return {};
  }
  os::ProcessResult peek(os::Handle end, uint32_t* available) override {
    log.push_back("peek " + std::to_string(end));
    *available = static_cast<uint32_t>(pipes[end].size());
    return fails("peek " + std::to_string(end));
  }
  os::ProcessResult read(os::Handle end, char* buffer, uint32_t size, uint32_t* count) override {
    log.push_back("read " + std::to_string(end) + " " + std::to_string(size));
    if (!fails("read " + std::to_string(end)).ok()) return fails("read " + std::to_string(end));
    std::deque<char>& data = pipes[end];
    *count = std::min<uint32_t>(size, static_cast<uint32_t>(data.size()));
    std::copy(data.begin(), data.begin() + *count, buffer);
    data.erase(data.begin(), data.begin() + *count);
    return {};
  }
  os::ProcessResult queryExit(os::Child*, bool* ended, uint32_t* code) override {
    log.push_back("query");
    *ended = runningQueries == 0;
    *code = *ended ? exitCode : 259;
    if (runningQueries > 0) --runningQueries;
    return fails("query");
  }
  os::ProcessResult wait(os::Child*) override {
    log.push_back("wait");
    return fails("wait");
  }
  os::ProcessResult terminate(os::Child*) override {
    log.push_back("terminate");
    return {};
  }
  uint32_t tickMilliseconds() override { return clock; }
  void waitForActivity(os::Child*, const os::Handle* pipes, int count, uint32_t ms) override {
    std::string call = "idle " + std::to_string(ms);
    for (int i = 0; i < count; ++i) call += " " + std::to_string(pipes[i]);
    log.push_back(call);
    clock += ms;
  }
  bool endedChildMayHoldFiles() override { return holdsFiles; }
  void closeChild(os::Child* child) override {
    log.push_back("close child");
    open.erase(child->process);
    open.erase(child->thread);
  }
  void closeHandle(os::Handle* handle) override {
    if (*handle == os::kNoHandle) return;
    log.push_back("close " + std::to_string(*handle));
    open.erase(*handle);
    *handle = os::kNoHandle;
  }
  void sleep(uint32_t milliseconds) override {
    log.push_back("sleep " + std::to_string(milliseconds));
    clock += milliseconds;
  }

  os::ProcessResult fails(const std::string& call) {
    return failures.count(call) ? failures[call] : os::ProcessResult();
  }
  void fill(os::Handle end, const std::string& bytes) {
    pipes[end].insert(pipes[end].end(), bytes.begin(), bytes.end());
  }
  size_t count(const std::string& call) const {
    return static_cast<size_t>(std::count(log.begin(), log.end(), call));
  }

  Log log;
  std::set<os::Handle> open;
  std::map<os::Handle, std::deque<char>> pipes;
  std::map<std::string, os::ProcessResult> failures;  // by call, as logged
  os::StartRequest started;
  int pipesMade = 0, failPipe = 0, runningQueries = 0;
  uint32_t exitCode = 0;
  uint32_t clock = 0;  // moves only by the runner's sleeps and waits
  bool holdsFiles = true;
};

class ProcessPollingTest : public LauncherStateTest {
protected:
  int32_t runCaptured() {
    return ProcessRunner("prog arg", true, "work", &out_, &err_, system_).runCaptured(false, false);
  }
  int32_t runPlain(bool wait) {
    return ProcessRunner("prog", wait, "", nullptr, nullptr, system_).runPlain(true, true);
  }
  // The text of the LauncherException that run throws.
  static std::string failureOf(const std::function<int32_t()>& run) {
    return thrownMessage([&] { run(); });
  }

  ScriptedSystem system_;
  std::string out_, err_;
};

TEST_F(ProcessPollingTest, AnEndedSilentChildIsCollectedWithoutWaitingAndPausedForAtTheEnd) {
  system_.exitCode = 42;
  EXPECT_EQ(runCaptured(), 42);
  EXPECT_EQ(system_.log, (Log{"pipe", "pipe", "start", "close 12", "close 22", "query",
                              "peek 11", "peek 21", "close child", "sleep 500", "close 11",
                              "close 21"}));
  EXPECT_TRUE(system_.open.empty());
  EXPECT_TRUE(app_.calls.empty());
  const os::StartRequest& start = system_.started;
  EXPECT_TRUE(start.redirect);
  EXPECT_EQ(start.outputWrite, 12);
  EXPECT_EQ(start.errorWrite, 22);
  EXPECT_EQ(start.commandLine + "|" + start.workingDirectory, "prog arg|work");
  EXPECT_TRUE(start.hidden && !start.newConsole);

  // Where an ended child holds nothing (POSIX), or nothing is deleted after
  // the run, there is no pause at all.
  system_.log.clear();
  system_.holdsFiles = false;
  EXPECT_EQ(runCaptured(), 42);
  EXPECT_EQ(system_.count("sleep 500"), 0u);
  system_.holdsFiles = true;
  ProcessRunner verifier("prog", true, "", &out_, &err_, system_);
  verifier.setSettleAfterExit(false);
  verifier.runCaptured(false, false);
  EXPECT_EQ(system_.count("sleep 500"), 0u);
}

TEST_F(ProcessPollingTest, DataIsReadInChunksStandardOutputFirstWithoutPausing) {
  system_.fill(kOutRead, std::string("out\0lost", 8));
  system_.fill(kErrRead, std::string(10000, 'e'));
  EXPECT_EQ(runCaptured(), 0);
  EXPECT_EQ(out_, "out");
  EXPECT_EQ(err_, std::string(10000, 'e'));
  EXPECT_EQ(system_.log, (Log{"pipe", "pipe", "start", "close 12", "close 22", "query",
                              "peek 11", "read 11 4096", "peek 21", "read 21 4096",  //
                              "peek 11", "peek 21", "read 21 4096",                  //
                              "peek 11", "peek 21", "read 21 4096",                  //
                              "peek 11", "peek 21",                                  //
                              "close child", "sleep 500", "close 11", "close 21"}));
  EXPECT_EQ(app_.calls, Log(4, "advance:1"));
}

TEST_F(ProcessPollingTest, ARunningChildIsQueriedOnlyAfterAPassFindsNothing) {
  system_.runningQueries = 2;
  system_.fill(kOutRead, std::string(5000, 'o'));
  EXPECT_EQ(runCaptured(), 0);
  EXPECT_EQ(out_.size(), 5000u);
  EXPECT_EQ(system_.count("query"), 3u);
  EXPECT_EQ(system_.count("idle 1 11 21"), 2u);  // output in between starts the waits afresh
  const auto second = std::find(system_.log.begin() + 6, system_.log.end(), "query");
  EXPECT_EQ(std::count(system_.log.begin(), second, "read 11 4096"), 2);
}

TEST_F(ProcessPollingTest, AQuietChildIsWaitedForOnItsOpenPipesEachTimeLongerUpTo100Ms) {
  system_.runningQueries = 9;
  system_.failures["peek 11"] = failure(109, true);  // its writers have gone
  EXPECT_EQ(runCaptured(), 0);
  Log waits;
  for (const std::string& call : system_.log)
    if (call.rfind("idle", 0) == 0) waits.push_back(call);
  EXPECT_EQ(waits, (Log{"idle 1 11 21", "idle 2 21", "idle 4 21", "idle 8 21", "idle 16 21",
                        "idle 32 21", "idle 64 21", "idle 100 21", "idle 100 21"}));
  EXPECT_EQ(system_.count("sleep 100"), 0u);
}

TEST_F(ProcessPollingTest, AChildPastItsTimeLimitIsEndedAndWaitedFor) {
  system_.runningQueries = 1000;
  ProcessRunner runner("prog", true, "", &out_, &err_, system_);
  runner.setEmptyInput(true);
  runner.setTimeLimit(1000);
  EXPECT_THROW(runner.runCaptured(false, false), ProcessTimedOut);
  EXPECT_TRUE(system_.started.emptyInput);
  EXPECT_EQ(system_.count("terminate"), 1u);
  EXPECT_EQ(system_.log[system_.log.size() - 4], "wait");  // then the handles are closed
  EXPECT_TRUE(system_.open.empty());
}

TEST_F(ProcessPollingTest, AChildThatEndedWithTheStillActiveCodeIsNotWaitedForAgain) {
  system_.exitCode = 259;
  EXPECT_EQ(runCaptured(), 259);
  EXPECT_EQ(system_.count("query"), 1u);
}

TEST_F(ProcessPollingTest, ABrokenPipeYieldsNothingAndOnlyAFailedReadCountsAsProgress) {
  system_.failures["peek 11"] = failure(109, true);
  system_.fill(kErrRead, "x");
  system_.failures["read 21"] = failure(109, true);
  EXPECT_EQ(runCaptured(), 0);
  EXPECT_EQ(out_ + err_, "");
  EXPECT_EQ(app_.calls, Log{"advance:1"});
}

TEST_F(ProcessPollingTest, APipeWithoutSinkIsStillRead) {
  system_.fill(kOutRead, "lost");
  ProcessRunner("prog", true, "", nullptr, &err_, system_).runCaptured(true, false);
  EXPECT_TRUE(system_.pipes[kOutRead].empty());
}

TEST_F(ProcessPollingTest, EveryFailureHasItsTextAndLeavesNoHandleOpen) {
  const std::string text = systemErrorText(5);
  const struct {
    const char* call;
    std::string message;
  } cases[] = {
      {"start", systemCallFailure(kCallStartProcess, 5)},
      {"query", systemCallFailure(kCallProcessExitCode, 5)},
      {"peek 21", systemCallFailure(kCallPeekPipe, 5)},
      {"read 11", systemCallFailure(kCallReadPipe, 5)},
  };
  for (const auto& c : cases) {
    system_ = ScriptedSystem();
    system_.failures[c.call] = failure(5);
    system_.fill(kOutRead, "kept");
    out_.clear();
    EXPECT_EQ(failureOf([this] { return runCaptured(); }), c.message);
    EXPECT_TRUE(system_.open.empty()) << c.call;
    EXPECT_EQ(system_.count("sleep 500"), 0u);
    // What was read before the failure stays in the sink.
    EXPECT_EQ(out_, std::string(c.call) == "peek 21" ? "kept" : "") << c.call;
  }
  for (const int failing : {1, 2}) {
    system_ = ScriptedSystem();
    system_.failPipe = failing;
    EXPECT_EQ(failureOf([this] { return runCaptured(); }), systemErrorText(8));
    EXPECT_TRUE(system_.open.empty());
  }
}

TEST_F(ProcessPollingTest, APlainRunWaitsOnlyWhenAskedAndClosesTheChildOnEveryWayOut) {
  EXPECT_EQ(runPlain(false), 0);
  EXPECT_EQ(system_.log, (Log{"start", "close child"}));
  EXPECT_FALSE(system_.started.redirect);
  EXPECT_TRUE(!system_.started.hidden && system_.started.newConsole);

  system_ = ScriptedSystem();
  system_.exitCode = 7;
  EXPECT_EQ(runPlain(true), 7);
  EXPECT_EQ(system_.log, (Log{"start", "wait", "query", "close child"}));

  const std::string text = systemErrorText(5);
  for (const auto& c : std::map<std::string, std::string>{
           {"start", systemCallFailure(kCallStartProcess, 5)},
           {"wait", systemCallFailure(kCallWaitForProcess, 5)},
           {"query", systemCallFailure(kCallProcessExitCode, 5)}}) {
    system_ = ScriptedSystem();
    system_.failures[c.first] = failure(5);
    EXPECT_EQ(failureOf([this] { return runPlain(true); }), c.second);
    EXPECT_TRUE(system_.open.empty()) << c.first;
  }
}

TEST_F(ProcessPollingTest, AProgramHeldForGoodIsTriedForFiveSecondsThenReported) {
  // A scanner, or another launcher looking at the same JVM, holds its file.
  os::ProcessResult busy = failure(32);
  busy.programBusy = true;
  system_.failures["start"] = busy;
  EXPECT_EQ(failureOf([this] { return runPlain(true); }), systemCallFailure(kCallStartProcess, 32));
  EXPECT_EQ(system_.count("start"), 51u);  // the first try and one every 100 ms
  EXPECT_EQ(system_.count("sleep 100"), 50u);
  EXPECT_TRUE(system_.open.empty());
}

}  // namespace
