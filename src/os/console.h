#pragma once
// What the launcher's own output streams are connected to, and writing to them.

#include <cstdio>
#include <string>

namespace os {

// Writes text (in the launcher's code page) to the stream and flushes it. A
// Windows console gets it as wide text: a launcher running with UTF-8 would
// otherwise show every letter beyond ASCII in the console's own code page.
void writeToStream(std::FILE* stream, const std::string& text);

// Whether standard error is a terminal (a console window), where progress
// dots help someone watching; into a file or a pipe they are only noise.
bool standardErrorIsTerminal();

}  // namespace os
