#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "base/log.h"
#include "base/settings.h"
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
  EXPECT_EQ(readLogFile(path),
            "earlier\n------------------\nplain\nWARNING: careful\nERROR: broken\nother kind\n"
            "------------------\nsecond run\n");
  // Each line begins with its time: "2026-12-10T05:50:12.345Z ERROR: broken".
  const std::string text = readTextFile(path);
  const size_t line = text.find("ERROR: broken") - 25;
  const std::string time = text.substr(line, 25);
  EXPECT_EQ(text[line - 1], '\n') << time;
  for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u, 11u, 12u, 14u, 15u, 17u, 18u, 20u, 21u, 22u})
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(time[i]))) << time;
  EXPECT_EQ(time.substr(4, 1) + time[7] + time[10] + time[13] + time[16] + time[19] + time.substr(23),
            "--T::.Z ");
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
  EXPECT_EQ(readLogFile(dir.file("later.log")), "------------------\nkept\n");
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
