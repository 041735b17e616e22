#pragma once
// Path conventions of the platform.

#include <string>

namespace os {

// The separator that joins a directory and a name: a backslash on Windows.
char pathSeparator();

// The path made absolute against the current directory; the path unchanged
// when it is empty, already absolute or cannot be resolved.
std::string absolutePath(const std::string& path);

}  // namespace os
