#pragma once
// Where the platform itself keeps or names its JVMs, for the search by the
// platform's JVM paths. Never fails: what cannot be read is left out.

#include <string>
#include <vector>

namespace os {

// JVM homes and directories holding the JVM executable named executableName
// (the last component of a JVM description file's JVM_EXE), each once, in a
// stable order; links resolved where the platform has them.
std::vector<std::string> platformJvmPaths(const std::string& executableName);

// Every program named executableName in the directories of the PATH
// variable, in their order, each with its links resolved where the platform
// has them.
std::vector<std::string> programsOnSearchPath(const std::string& executableName);

}  // namespace os
