#pragma once
// The optional text files next to the launcher that add class-path
// elements, system properties and Java arguments.

#include <string>
#include <vector>

extern const char kClassPathFirstFile[];  // ".cp1"
extern const char kClassPathFile[];       // ".cp"
extern const char kClassPathLastFile[];   // ".cp2"
extern const char kSystemPropertyFile[];  // ".sp"
extern const char kJavaArgumentsFile[];   // ".ja"

// The trimmed, non-empty lines of the side file with that extension next to
// originalLauncherFile; none when it is missing.
std::vector<std::string> readSideFile(const char* extension);
