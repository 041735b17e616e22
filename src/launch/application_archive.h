#pragma once
// The APPLICATION_ARCHIVE launch-script function: the path of the Java
// application's archive, copied into a private temporary directory once per
// process and remembered from then on by every launch script.

#include <string>
#include <vector>

class LaunchScript;

// No argument: the archive's application entries extracted, the last one's
// path. One argument: that file, relative to the launcher directory, copied.
std::string applicationArchiveFunction(LaunchScript& script,
                                       const std::vector<std::string>& arguments);
