// POSIX termination requests: SIGINT, SIGTERM and SIGHUP are recorded and,
// when they were sent to the launcher alone (kill), passed on to the
// running child; a terminal's Ctrl-C already reaches the child through its
// process group. SIGPIPE is ignored.
#include "os/termination.h"

#include <signal.h>
#include <sys/types.h>

namespace os {

namespace {

volatile sig_atomic_t gRequest = 0;
volatile sig_atomic_t gChild = 0;

void onRequest(int signal, siginfo_t* info, void*) {
  gRequest = signal;
  const bool fromTerminal = info && info->si_code > 0;  // sent by the kernel, to the whole group
  if (gChild > 0 && !fromTerminal) kill(static_cast<pid_t>(gChild), signal);
}

}  // namespace

void catchTerminationRequests() {
  struct sigaction action = {};
  action.sa_sigaction = onRequest;
  action.sa_flags = SA_SIGINFO | SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

int terminationRequest() { return gRequest; }

int terminationExitCode() { return gRequest ? 128 + gRequest : 0; }

void setForegroundChild(Handle process) {
  gChild = process == kNoHandle ? 0 : static_cast<sig_atomic_t>(process);
}

}  // namespace os
