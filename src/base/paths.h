#pragma once
// Path pieces that the launch needs: backslash-separated on Windows, where
// the platform separator is the backslash; elsewhere the platform separator
// counts as well, so that the same rules hold for paths of either kind.

#include <string>

// Whether c separates directories in the paths handled here.
bool isDirectorySeparator(char c);

// path with one trailing separator removed, if it has one.
std::string withoutTrailingSeparator(const std::string& path);

// path up to, not including, its last / or \; empty without one.
std::string directoryPart(const std::string& path);

// The part after the last / or \; the whole path without either.
std::string lastPathComponent(const std::string& path);

// The launcher's side file with extension (".cp", ...): the launcher path
// with its own extension, if its last component has one, replaced.
std::string sideFilePath(const std::string& launcherPath, const std::string& extension);
