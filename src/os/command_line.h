#pragma once
// The command line the process was started with.

#include <string>
#include <vector>

namespace os {

// The command line as one ANSI text, as the Windows 95 family keeps it.
std::string ansiCommandLine();

// The arguments split by the platform's own rule (Windows: the wide command
// line through CommandLineToArgvW, converted to ANSI; POSIX: argv), program
// path first, empty arguments kept.
std::vector<std::string> platformArguments();

// Full path of the running executable; empty when the platform cannot say.
std::string executablePath();

}  // namespace os
