#pragma once
// The APPLICATION_ARCHIVE launch-script function: the path of the Java
// application's archive, copied into a private temporary directory once per
// run and remembered in the launch context from then on.

#include <string>
#include <vector>

class LaunchFunctionScope;

// No argument: the archive's application entries extracted, the last one's
// path. One argument: that file, relative to the launcher directory, copied.
std::string applicationArchiveFunction(LaunchFunctionScope& script,
                                       const std::vector<std::string>& arguments);
