#pragma once
// Path conventions of the platform.

namespace os {

// The separator that joins a directory and a name: a backslash on Windows.
char pathSeparator();

}  // namespace os
