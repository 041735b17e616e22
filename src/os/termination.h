#pragma once
// Requests to end the launcher from outside (Ctrl-C, Ctrl-Break, a closed
// terminal, kill): caught, so that the running child ends first and the
// launcher removes its temporary files before it exits. The request is
// process-wide by nature: a signal handler can reach nothing else.

#include "os/process.h"

namespace os {

// From now on such requests are caught instead of ending the launcher at
// once; a request sent to the launcher alone (kill) is passed on to the
// child set below (POSIX). Writing to a closed pipe fails with an error
// instead of ending the launcher (POSIX SIGPIPE).
void catchTerminationRequests();

// The last request caught: 0 for none, else the signal number (POSIX) or the
// console event plus one (Windows).
int terminationRequest();

// The exit code of a launcher that ends because of a request: 128 + the
// signal number on POSIX, as shells report it; 0 (keep the run's own) on
// Windows, and when no request came.
int terminationExitCode();

// The child that requests are passed to while it runs; kNoHandle when none.
void setForegroundChild(Handle process);

}  // namespace os
