// What the POSIX runner adds to the Windows model: 8-bit exit statuses,
// deaths by signal, the program search, and file descriptors that must not
// leak.

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "base/exceptions.h"
#include "os/command_line.h"
#include "os/environment.h"
#include "process/process_runner.h"
#include "test_support.h"

namespace {

class ProcessPosixTest : public ::testing::Test {
protected:
  void TearDown() override { os::setEnvironmentVariable("QM_TEST_CHILD", nullptr); }

  static std::string child(const std::string& steps) {
    os::setEnvironmentVariable("QM_TEST_CHILD", &steps);
    return "\"" + os::executablePath() + "\"";
  }
  static int32_t run(const std::string& commandLine, bool capture,
                     const std::string& directory = "") {
    std::string out, err;
    return runProcess(RequestOf(commandLine).in(directory).capturedIf(capture, &out, &err));
  }
  static size_t openDescriptors() {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
      (void)entry;
      ++count;
    }
    return count;
  }
};

TEST_F(ProcessPosixTest, TheStillActiveCodeIsJustAnotherStatusOfEightBits) {
  EXPECT_EQ(run(child("exit:259"), true), 259 & 0xFF);
  EXPECT_EQ(run(child("exit:259"), false), 259 & 0xFF);
}

TEST_F(ProcessPosixTest, AChildKilledByASignalReports128PlusTheSignal) {
  EXPECT_EQ(run(child("out:x;raise:9"), true), 128 + 9);
  EXPECT_EQ(run(child("raise:15"), false), 128 + SIGTERM);
}

TEST_F(ProcessPosixTest, AChildGivenAnEmptyInputNeverReadsTheLaunchersInput) {
  // The launcher's own input holds something the user typed.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], "typed\n", 6), 6);
  close(ends[1]);
  const int savedInput = dup(0);
  dup2(ends[0], 0);
  close(ends[0]);
  ProcessRequest request;
  request.commandLine = child("in");
  request.captureOutput = true;
  request.emptyInput = true;
  std::string out;
  request.stdoutSink = &out;
  runProcess(request);
  dup2(savedInput, 0);
  close(savedInput);
  EXPECT_EQ(out, "read 0");
}

TEST_F(ProcessPosixTest, ABareNameIsFoundOnThePath) {
  EXPECT_EQ(run("sh -c \"exit 7\"", true), 7);
}

TEST_F(ProcessPosixTest, ARelativeProgramIsFoundFromTheLaunchersDirectory) {
  ScopedTempDir elsewhere;
  std::string relative =
      std::filesystem::relative(os::executablePath(), std::filesystem::current_path()).string();
  if (relative.find('/') == std::string::npos) relative = "./" + relative;
  child("exit:11");
  EXPECT_EQ(run("\"" + relative + "\"", false, elsewhere.path()), 11);
}

TEST_F(ProcessPosixTest, NoDescriptorIsLeftOpenOnAnyWayOut) {
  const size_t before = openDescriptors();
  EXPECT_EQ(run(child("out:x;err:y;exit:1"), true), 1);
  EXPECT_THROW(run("/no/such/program", true), LauncherException);
  EXPECT_THROW(run(child("exit:0"), true, "/no/such/directory"), LauncherException);
  EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
