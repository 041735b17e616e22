#pragma once
// Settings of one run, written by the front end at start and while it walks
// the options, read by the subsystems that need them.

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
