#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/log.h"
#include "launcher/settings.h"
#include "test_support.h"

class Log : public LauncherStateTest {};

TEST_F(Log, EachProcessBeginsItsPartWithOneSeparator) {
  ScopedTempDir dir;
  const std::string path = dir.file("run.log");
  writeWholeFile(path, "earlier\n");
  settings().logFile = path;
  writeLog("plain");
  writeLog("careful", kLogWarning);
  writeLog("broken", kLogError);
  writeLog("other kind", 7);
  settings().logSeparatorWritten = false;  // as in the next process
  writeLog("second run");
  EXPECT_EQ(readTextFile(path),
            "earlier\n------------------\nplain\nWARNING: careful\nERROR: broken\nother kind\n"
            "------------------\nsecond run\n");
}

TEST_F(Log, AnUnwritableFileLosesTheLineAndSaysSoOnceOnStandardError) {
  ScopedTempDir dir;
  testing::internal::CaptureStderr();
  writeLog("nowhere");
  settings().logFile = dir.file("missing-dir/x.log");
  writeLog("lost");
  writeLog("lost again");
  settings().logFile = dir.file("later.log");
  writeLog("kept");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("Unable to open the log file " + dir.file("missing-dir/x.log") + ": ", 0), 0u)
      << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
  // The separator goes with the first line that reaches a file.
  EXPECT_EQ(readTextFile(dir.file("later.log")), "------------------\nkept\n");
}

TEST_F(Log, DebugLogHasNoPrefixOrSeparator) {
  ScopedTempDir dir;
  writeDebugLog("off", true);  // not enabled
  settings().debugLogEnabled = true;
  writeDebugLog("no file", true);
  settings().debugLogFile = dir.file("debug.log");
  writeDebugLog("Console Launcher Started", true);
  writeDebugLog("a", false);
  writeDebugLog("b", true);
  EXPECT_EQ(readTextFile(dir.file("debug.log")), "Console Launcher Started\nab\n");
}
