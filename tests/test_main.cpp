// The test program's entry. When QM_TEST_CHILD is set the program plays a
// child process for tests that start one (see child_mode.h) instead of
// running the tests.
#include <gtest/gtest.h>

#include <string>

#include "child_mode.h"
#include "os/environment.h"

int main(int argc, char** argv) {
  int childResult = 0;
  if (runChildModeIfAsked(&childResult)) return childResult;
  // No test reads or writes the user's verification cache; the cache's own
  // tests give theirs a file of its own.
  const std::string off = "1";
  os::setEnvironmentVariable("QM_NO_VERIFY_CACHE", &off);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
