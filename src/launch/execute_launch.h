#pragma once
// Running a launch script: its command expanded for a JVM, the arguments
// handed on appended, JAVA_HOME set for the child, and the command run.

#include <cstdint>

#include "launcher/string_list.h"

class JvmFile;
class LaunchScript;

// Runs the command and gives its exit code; what the program wrote stays in
// the launch script when it was captured. JAVA_HOME is back as it was when
// this returns or throws. Throws LauncherException from the expansion, the
// extractions and the process runner.
int32_t executeLaunch(LaunchScript& script, JvmFile& jvmFile,
                      const StringList& passThroughArguments, bool consoleRequested);
