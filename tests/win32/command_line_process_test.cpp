// The launcher's splitting of a real process command line: the test program
// starts itself with a command line written byte for byte and the child
// reports the arguments it split. Run in the NT family prefix and in the
// Windows 95 family prefix; each family has its own rule.

#include <windows.h>

#include <gtest/gtest.h>

#include "os/version.h"
#include "test_support.h"

namespace {

// Runs this test program with `tail` after its quoted path and returns what
// the child split, one bracketed argument a line.
std::string splitByChild(const std::string& tail) {
  ScopedTempDir dir;
  const std::string output = dir.file("arguments.txt");
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = "\"" + std::string(self) + "\" " + tail;
  SetEnvironmentVariableA("QM_TEST_CHILD", "print-arguments");
  SetEnvironmentVariableA("QM_TEST_OUTPUT", output.c_str());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableA("QM_TEST_CHILD", nullptr);
  SetEnvironmentVariableA("QM_TEST_OUTPUT", nullptr);
  if (!started) return "CreateProcess failed";
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return readWholeFile(output);
}

}  // namespace

TEST(ProcessCommandLine, NtFamilySplitsByThePlatformRule) {
  if (os::platformId() != VER_PLATFORM_WIN32_NT) GTEST_SKIP() << "NT family only";
  EXPECT_EQ(splitByChild("a\"b c\"d \"\" x\\\"y \"C:\\dir\\\\\""),
            "[ab cd]\n[]\n[x\"y]\n[C:\\dir\\]\n");
}

TEST(ProcessCommandLine, Windows95FamilyUsesTheLaunchersOwnTokenizer) {
  if (os::platformId() != VER_PLATFORM_WIN32_WINDOWS) GTEST_SKIP() << "Windows 95 family only";
  EXPECT_EQ(splitByChild("a\"b c\"d \"\" x\\\"y"), "[ab cd]\n[x\"y]\n");
  // A backslash before the closing quote escapes it: the argument runs on.
  EXPECT_EQ(splitByChild("\"C:\\dir\\\" next\" last"), "[C:\\dir\" next]\n[last]\n");
  EXPECT_EQ(splitByChild("\"C:\\dir\\\" to the end"), "[C:\\dir\" to the end]\n");
  EXPECT_EQ(splitByChild("p\\q x\\"), "[p\\q]\n[x]\n");
}
