// The test program's entry. When QM_TEST_CHILD is set the program plays a
// child process for tests that start one (see child_mode.h) instead of
// running the tests.
#include <gtest/gtest.h>

#include "child_mode.h"

int main(int argc, char** argv) {
  int childResult = 0;
  if (runChildModeIfAsked(&childResult)) return childResult;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
