// The process runner against real children: the test program itself,
// started again in one of the child modes of child_mode.h.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "base/messages.h"
#include "child_mode.h"
#include "os/command_line.h"
#include "os/environment.h"
#include "os/version.h"
#include "os/windows_argv.h"
#include "process/process_runner.h"
#include "test_support.h"

namespace {

// ERROR_FILE_NOT_FOUND and ENOENT happen to share the number.
constexpr unsigned long kMissingFile = 2;

class ProcessRunnerTest : public LauncherStateTest {
protected:
  void TearDown() override {
    for (const char* name :
         {"QM_TEST_CHILD", "QM_TEST_GRANDCHILD", "QM_TEST_RELEASE", "QM_TEST_OUTPUT"})
      os::setEnvironmentVariable(name, nullptr);
    LauncherStateTest::TearDown();
  }

  static void setVariable(const char* name, const std::string& value) {
    os::setEnvironmentVariable(name, &value);
  }

  // The command line that starts this test program again, doing steps.
  static std::string child(const std::string& steps) {
    setVariable("QM_TEST_CHILD", steps);
    return "\"" + os::executablePath() + "\"";
  }

  static int32_t capture(const std::string& steps, std::string* out, std::string* err) {
    return runProcess(RequestOf(child(steps)).captured(out, err));
  }

  size_t progressSteps() const {
    return static_cast<size_t>(std::count(app_.calls.begin(), app_.calls.end(), "advance:1"));
  }

  ScopedTempDir dir_;
};

TEST_F(ProcessRunnerTest, AChildPastItsTimeLimitIsEndedAndReportedAsSuch) {
  ProcessRequest request;
  request.commandLine = child("sleep:20000;out:late");
  request.captureOutput = true;
  request.timeLimitMs = 300;
  std::string out;
  request.stdoutSink = &out;
  EXPECT_THROW(runProcess(request), ProcessTimedOut);
  EXPECT_EQ(out, "");
}

TEST_F(ProcessRunnerTest, EachStreamIsAppendedToItsSinkAndTheExitCodeReturned) {
  std::string out = "<", err = "<";
  EXPECT_EQ(capture("exit:42", &out, &err), 42);
  EXPECT_EQ(out + err, "<<");
  EXPECT_EQ(progressSteps(), 0u);
  EXPECT_EQ(capture("out:hello;err:oops;out: world;exit:3", &out, &err), 3);
  EXPECT_EQ(out, "<hello world");
  EXPECT_EQ(err, "<oops");
}

TEST_F(ProcessRunnerTest, ManyBytesOnStandardErrorOnlyArriveWholeAndInOrder) {
  std::string out, err;
  EXPECT_EQ(capture("errfill:100000", &out, &err), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, childFillPattern(100000));
  // One progress step a chunk, and no chunk is larger than 4096 bytes.
  EXPECT_GE(progressSteps(), (100000u + 4095u) / 4096u);
}

TEST_F(ProcessRunnerTest, OutputStillInThePipesAfterTheExitIsReadCompletely) {
  std::string out, err;
  EXPECT_EQ(capture("outfill:60000;errfill:30000;exit:5", &out, &err), 5);
  EXPECT_EQ(out, childFillPattern(60000));
  EXPECT_EQ(err, childFillPattern(30000));
}

TEST_F(ProcessRunnerTest, AZeroByteEndsWhatItsChunkAdds) {
  std::string out, err;
  EXPECT_EQ(capture("outhex:41420043440045", &out, &err), 0);
  EXPECT_EQ(out, "AB");
}

TEST_F(ProcessRunnerTest, APipeWithoutSinkIsStillDrainedSoTheChildCanEnd) {
  std::string err;
  EXPECT_EQ(runProcess(RequestOf(child("outfill:300000;err:done;exit:4")).captured(nullptr, &err)),
            4);
  EXPECT_EQ(err, "done");
}

TEST_F(ProcessRunnerTest, AGrandchildHoldingThePipesDoesNotKeepTheRunnerWaiting) {
  // The grandchild writes only once released, which happens after the run;
  // a runner that waited for the pipes to break would collect its text.
  const std::string release = dir_.file("release");
  setVariable("QM_TEST_RELEASE", release);
  setVariable("QM_TEST_GRANDCHILD", "wait-release;out:late");
  std::string out, err;
  EXPECT_EQ(capture("grandchild;out:child;exit:6", &out, &err), 6);
  writeWholeFile(release, "go");
  EXPECT_EQ(out, "child");
  EXPECT_EQ(err, "");
}

TEST_F(ProcessRunnerTest, PlainRunWithoutWaitingReturnsZeroWhileTheChildRuns) {
  // The child ends with 5 only when released, after the run has returned.
  const std::string release = dir_.file("release");
  setVariable("QM_TEST_RELEASE", release);
  EXPECT_EQ(runProcess(RequestOf(child("wait-release;exit:5")).noWait()),
            0);
  writeWholeFile(release, "go");
}

TEST_F(ProcessRunnerTest, AWaitedChildStartsInTheWorkingDirectory) {
  EXPECT_EQ(runProcess(RequestOf(child("touch:plain.txt;exit:42")).in(dir_.path()).shown()),
            42);
  std::string out, err;
  EXPECT_EQ(runProcess(RequestOf(child("touch:captured.txt")).in(dir_.path()).captured(&out, &err)),
            0);
  EXPECT_TRUE(std::filesystem::exists(dir_.file("plain.txt")));
  EXPECT_TRUE(std::filesystem::exists(dir_.file("captured.txt")));
}

TEST_F(ProcessRunnerTest, AMissingProgramFailsWithTheSystemsTextForAMissingFile) {
  const std::string missing = "\"" + dir_.file("no-such-program.exe") + "\" arg";
  const std::string expected = systemCallFailure(kCallStartProcess, kMissingFile);
  for (const bool capture : {false, true}) {
    std::string out = "kept", err = "kept";
    try {
      runProcess(RequestOf(missing).capturedIf(capture, &out, &err));
      ADD_FAILURE() << "a missing program started";
    } catch (const LauncherException& e) {
      EXPECT_EQ(e.message(), expected);
    }
    EXPECT_EQ(out + err, "keptkept");
  }
  // An empty command line names nothing: the call is refused, not made.
  try {
    runProcess(RequestOf("").captured(nullptr, nullptr));
    ADD_FAILURE() << "an empty command line started";
  } catch (const LauncherException& e) {
    // Windows names its own call; elsewhere the text fits the system.
    EXPECT_EQ(e.message().rfind(os::systemIsWindows() ? "CreateProcess failed  ==>  "
                                                      : "Starting the program failed  ==>  ",
                                0),
              0u)
        << e.message();
  }
}

TEST_F(ProcessRunnerTest, QuotedArgumentsReachTheChildUnchanged) {
  const std::vector<std::string> arguments = {
      "plain", "", "two words", "tab\there", "q\"uote", "\"\"", "back\\slash\\",
      "end\\\\", "\\\"", "a\\\\\"b", "  ", "\xC3\xA9t\xC3\xA9"};
  std::string commandLine = child("args");
  std::string expected;
  for (const std::string& argument : arguments) {
    commandLine += " " + os::quoteWindowsArgument(argument);
    expected += argument + "\n";
  }
  setVariable("QM_TEST_OUTPUT", dir_.file("arguments.txt"));
  EXPECT_EQ(runProcess(RequestOf(commandLine)), 0);
  EXPECT_EQ(readWholeFile(dir_.file("arguments.txt")), expected);
}

}  // namespace
