#pragma once
// Running a launch script: its command expanded for a JVM, the arguments
// handed on appended, JAVA_HOME set for the child, and the command run.

#include <cstdint>

#include "base/string_list.h"

class JvmFile;
class LaunchScript;

// Terms for a child that must not need the user and after which nothing is
// deleted (a verifier run): it reads from the null device, is ended after
// timeLimitMs (0: no limit), and no pause follows its end.
struct LaunchLimits {
  bool emptyInput = false;
  uint32_t timeLimitMs = 0;
  bool settleAfterExit = true;
};

// Runs the command and gives its exit code; what the program wrote stays in
// the launch script when it was captured. JAVA_HOME is back as it was when
// this returns or throws. Throws LauncherException from the expansion, the
// extractions and the process runner (ProcessStartFailure, ProcessTimedOut
// among them).
int32_t executeLaunch(LaunchScript& script, JvmFile& jvmFile,
                      const StringList& passThroughArguments, bool consoleRequested,
                      const LaunchLimits& limits = LaunchLimits());
