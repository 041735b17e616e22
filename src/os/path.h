#pragma once
// Path conventions of the platform.

#include <string>

namespace os {

// The separator that joins a directory and a name: a backslash on Windows.
char pathSeparator();

// The path made absolute against the current directory; the path unchanged
// when it is empty, already absolute or cannot be resolved.
std::string absolutePath(const std::string& path);

// Whether the file system compares names without letter case (Windows).
bool fileNamesIgnoreCase();

// The form of an existing path that a directory listing yields: Windows
// long names for short 8.3 ones, POSIX's path with its links resolved. The
// path unchanged when it cannot be resolved (or, on Windows 95, where the
// system has no such call).
std::string listedPathForm(const std::string& path);

// The path in a form that a program reading its command line in the
// system's own code page can read: on Windows, where the launcher runs with
// UTF-8 and the path holds a letter that code page lacks, its short 8.3
// form (where the volume keeps one); elsewhere the path itself.
std::string childReadablePath(const std::string& path);

}  // namespace os
