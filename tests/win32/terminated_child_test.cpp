// A captured child ended from outside with TerminateProcess, as a user's
// task manager or a scanner would end it: the run returns the code it was
// ended with and keeps what the child wrote before.

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <string>
#include <thread>

#include "os/command_line.h"
#include "os/environment.h"
#include "process/process_runner.h"
#include "test_support.h"

namespace {

// The first process whose parent is this one, or 0.
DWORD childOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && !found;
       more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID == GetCurrentProcessId()) found = entry.th32ProcessID;
  }
  CloseHandle(snapshot);
  return found;
}

class TerminatedChild : public LauncherStateTest {
protected:
  void TearDown() override {
    os::setEnvironmentVariable("QM_TEST_CHILD", nullptr);
    LauncherStateTest::TearDown();
  }
};

TEST_F(TerminatedChild, ReturnsTheCodeItWasEndedWithAndKeepsItsOutput) {
  ScopedTempDir directory;
  const std::string steps = "out:before;touch:started;sleep:30000;out:after";
  os::setEnvironmentVariable("QM_TEST_CHILD", &steps);
  std::string out, err;
  int32_t status = -1;
  std::thread run([&] {
    status = runProcess(RequestOf("\"" + os::executablePath() + "\"").in(directory.path()).captured(&out, &err));
  });
  bool terminated = false;
  for (int i = 0; i < 400 && !terminated; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (GetFileAttributesA(directory.file("started").c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    const DWORD child = childOfThisProcess();
    const HANDLE process = child ? OpenProcess(PROCESS_TERMINATE, FALSE, child) : nullptr;
    if (!process) continue;
    terminated = TerminateProcess(process, 77) != 0;
    CloseHandle(process);
  }
  run.join();
  ASSERT_TRUE(terminated);
  EXPECT_EQ(status, 77);
  EXPECT_EQ(out, "before");
}

}  // namespace
