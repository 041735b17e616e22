#pragma once
// Settings of the process: who it is (the launcher file, its arguments, the
// Windows family), where it logs, and the options that hold for all of it
// (silent, -qm:javahome, -qm:noverifycache, -qm:orig). Written by the front
// end at start and while it walks the options, and only read after that.
// What shapes a launch is the run's (LaunchOptions), handed down as a value.

#include <string>

#include "base/string_list.h"

struct LauncherSettings {
  bool windows95Family = false;
  std::string debugLogFile;
  bool debugLogEnabled = false;

  std::string launcherFile;
  std::string originalLauncherFile;
  bool removeLauncherAtExit = false;
  StringList launcherArguments;
  std::string logFile;
  bool logSeparatorWritten = false;
  std::string unopenedLogFile;  // the log file last found unopenable, reported once
  bool silent = false;
  std::string userJavaHome;
  bool noVerifyCache = false;  // -qm:noverifycache: verify every JVM afresh
  bool replaceExtractedFiles = false;  // -qm:force: -qm:extract replaces files already there
};

// The process's one set of settings.
LauncherSettings& settings();

// originalLauncherFile up to its last slash or backslash; empty without one.
std::string launcherDirectory();
