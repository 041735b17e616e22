#pragma once
// The driver: walks the launcher's options in command-line order and, unless
// an option took the run into its own hands, runs the embedded instructions.

#include <cstdint>
#include <string>

#include "base/string_list.h"

class LauncherRun;

// Records the launcher path and arguments, then processes the command line
// into run. A LauncherException is shown, logged as an error and gives -1.
int32_t startLauncher(LauncherRun& run, const StringList& arguments,
                      const std::string& launcherPath);

// Walks the options and carries out the default run. Throws LauncherException.
int32_t processCommandLine(LauncherRun& run, const StringList& arguments);
