#pragma once
// The input file named by -qm:in and the service actions it asks for.

#include <string>

class LauncherRun;

// Loads the input file and carries out its ACTION. Throws LauncherException.
void processInputFile(const std::string& name, LauncherRun& run);
