#pragma once
// What the launcher's own output streams are connected to.

namespace os {

// Whether standard error is a terminal (a console window), where progress
// dots help someone watching; into a file or a pipe they are only noise.
bool standardErrorIsTerminal();

}  // namespace os
