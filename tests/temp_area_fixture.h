#pragma once
// A fresh temporary area for each test: a root of its own, empty cleanup
// lists, the normal retry pacing, and a run log to read warnings from.

#include <string>

#include "base/settings.h"
#include "temp/temp.h"
#include "test_support.h"

class TempAreaTest : public LauncherStateTest {
protected:
  void SetUp() override {
    LauncherStateTest::SetUp();
    testTemp().setRoot(root_.path());
    settings().logFile = logs_.file("run.log");
  }
  void TearDown() override {
    LauncherStateTest::TearDown();
  }

  std::string log() const { return readLogFile(logs_.file("run.log")); }

  ScopedTempDir root_;
  ScopedTempDir logs_;
};

inline int countOf(const std::string& text, const std::string& what) {
  int count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}
