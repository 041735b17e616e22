#pragma once
// The one check of a path against a JVM file's executable (JVM_EXE), by the
// system's rule for letter case: Windows ignores it, POSIX does not.

#include <string>

// Whether path ends in name as whole components.
bool pathEndsWithExecutable(const std::string& path, const std::string& name);
// The same, with a home before the executable.
bool isHomeFollowedByExecutable(const std::string& path, const std::string& executable);
