// Exit codes that only Windows can report: all 32 bits, among them 259, the
// code the system also gives for a process that is still running.

#include <gtest/gtest.h>

#include <string>

#include "os/command_line.h"
#include "os/environment.h"
#include "process/process_runner.h"
#include "test_support.h"

namespace {

int32_t runChild(const std::string& steps, bool capture) {
  os::setEnvironmentVariable("QM_TEST_CHILD", &steps);
  std::string out, err;
  const int32_t code = runProcess(RequestOf("\"" + os::executablePath() + "\"").capturedIf(capture, &out, &err));
  os::setEnvironmentVariable("QM_TEST_CHILD", nullptr);
  return code;
}

TEST(ProcessExitCode, AChildEndingWithTheStillActiveCodeDoesNotHangTheRunner) {
  EXPECT_EQ(runChild("exit:259", true), 259);
  EXPECT_EQ(runChild("exit:259", false), 259);
}

TEST(ProcessExitCode, AllThirtyTwoBitsComeBackAsASignedNumber) {
  EXPECT_EQ(runChild("exit:-1073741819", true), -1073741819);
}

}  // namespace
