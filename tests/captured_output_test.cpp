// The bound on what a captured run keeps of a child's stream, alone and in
// runs of real children (the test program in a child mode), with a bound of
// a few kilobytes in place of the launcher's megabytes, and the faults a
// captured run meets: a pipe that breaks while the child still writes, a
// child that dies before its time.

#include <gtest/gtest.h>

#include <string>

#include "base/exceptions.h"
#include "base/messages.h"
#include "base/settings.h"
#include "child_mode.h"
#include "os/command_line.h"
#include "os/environment.h"
#include "os/fault_injection.h"
#include "process/captured_output.h"
#include "process/process_runner.h"
#include "temp_area_fixture.h"

namespace {

class CapturedOutputTest : public LauncherStateTest {
protected:
  void SetUp() override {
    LauncherStateTest::SetUp();
    settings().logFile = dir_.file("run.log");
    os::resetFaults();
  }
  void TearDown() override {
    os::resetFaults();
    os::setEnvironmentVariable("QM_TEST_CHILD", nullptr);
    LauncherStateTest::TearDown();
  }
  std::string log() const { return readLogFile(dir_.file("run.log")); }

  int32_t capture(const std::string& steps, std::string* out, std::string* err) {
    os::setEnvironmentVariable("QM_TEST_CHILD", &steps);
    RequestOf request("\"" + os::executablePath() + "\"");
    request.captured(out, err).captureBound = bound_;
    return runProcess(request);
  }

  ScopedTempDir dir_;
  CaptureBound bound_{100, 50};  // small enough to cross with a few kilobytes
};

TEST_F(CapturedOutputTest, TextWithinTheBoundIsKeptWholeAndNothingIsLogged) {
  std::string sink = "earlier ";
  {
    CapturedOutput output(&sink, "standard output", bound_);
    for (int i = 0; i < 15; ++i) output.append("0123456789");  // 150 = 100 + 50
    output.finish();
    EXPECT_EQ(output.droppedBytes(), 0u);
  }
  std::string expected = "earlier ";
  for (int i = 0; i < 15; ++i) expected += "0123456789";
  EXPECT_EQ(sink, expected);
  EXPECT_EQ(log(), "");
}

TEST_F(CapturedOutputTest, LongerTextKeepsItsFirstAndLastPartAndLogsWhatWasLeftOut) {
  const std::string text = childFillPattern(100000);
  std::string sink;
  CapturedOutput output(&sink, "standard error", bound_);
  // Chunks of odd sizes, so that the ends fall inside them.
  for (size_t at = 0; at < text.size(); at += 333) output.append(text.substr(at, 333));
  output.finish();
  output.finish();  // only once
  EXPECT_EQ(sink, text.substr(0, 100) + text.substr(text.size() - 50));
  EXPECT_EQ(output.droppedBytes(), 100000u - 150u);
  EXPECT_EQ(countOf(log(), "The program's standard error was too long to keep whole: kept its "
                           "first 100 and its last 50 bytes, left out 99850 bytes between them.\n"),
            1);
}

TEST_F(CapturedOutputTest, WithoutASinkNothingIsKeptOrLogged) {
  CapturedOutput output(nullptr, "standard output", bound_);
  output.append(childFillPattern(10000));
  output.finish();
  EXPECT_EQ(log(), "");
}

TEST_F(CapturedOutputTest, ARunKeepsTheEndsOfEachLongStreamWhateverTheChildWrites) {
  std::string out, err;
  EXPECT_EQ(capture("outfill:300000;err:short;exit:3", &out, &err), 3);
  const std::string written = childFillPattern(300000);
  EXPECT_EQ(out, written.substr(0, 100) + written.substr(written.size() - 50));
  EXPECT_EQ(err, "short");
  EXPECT_NE(log().find("The program's standard output was too long to keep whole: kept its first "
                       "100 and its last 50 bytes, left out 299850 bytes between them."),
            std::string::npos)
      << log();
  EXPECT_EQ(log().find("standard error was too long"), std::string::npos);
}

TEST_F(CapturedOutputTest, AFailedRunKeepsTheTailItHadGathered) {
  // The child writes past the bound, then the pipe cannot be read any more.
  const unsigned long invalid = os::systemErrorCode(os::SystemFailure::kInvalidHandle);
  std::string out, err;
  os::failNth(os::FaultPoint::kPipeRead, 40, invalid);
  try {
    capture("outfill:300000", &out, &err);
    ADD_FAILURE() << "nothing thrown";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(), systemCallFailure(kCallReadPipe, invalid));
  }
  const std::string written = childFillPattern(300000);
  ASSERT_EQ(out.size(), 150u);
  EXPECT_EQ(out.substr(0, 100), written.substr(0, 100));
  EXPECT_NE(written.find(out.substr(100)), std::string::npos);
}

TEST_F(CapturedOutputTest, APipeThatBreaksWhileTheChildRunsLosesNothing) {
  // A broken pipe is the end of that pass's reading, not of the run: what
  // the child writes after it still arrives.
  bound_ = kLauncherCaptureBound;
  os::failNth(os::FaultPoint::kPipeRead, 1, os::systemErrorCode(os::SystemFailure::kBrokenPipe));
  std::string out, err;
  EXPECT_EQ(capture("out:first;sleep:400;out:second;exit:4", &out, &err), 4);
  EXPECT_EQ(os::faultsInjected(os::FaultPoint::kPipeRead), 1u);
  EXPECT_EQ(out, "firstsecond");
}

TEST_F(CapturedOutputTest, AChildThatDiesByItsOwnHandKeepsWhatItWroteAndItsStatus) {
  std::string out, err;
  const int32_t status = capture("out:before;err:dying;abort", &out, &err);
  EXPECT_NE(status, 0);
  EXPECT_EQ(out, "before");
  EXPECT_EQ(err.substr(0, 5), "dying");
}

}  // namespace
