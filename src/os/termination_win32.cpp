// Windows termination requests: Ctrl-C and Ctrl-Break reach a console child
// by themselves (it shares the console); the launcher records them and goes
// on waiting for the child, so that it can clean up after it.
#include "os/termination.h"

#include <windows.h>

namespace os {

namespace {

volatile LONG gRequest = 0;

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  InterlockedExchange(&gRequest, static_cast<LONG>(event) + 1);
  return TRUE;
}

}  // namespace

void catchTerminationRequests() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

int terminationRequest() { return static_cast<int>(gRequest); }

int terminationExitCode() { return 0; }

void setForegroundChild(Handle) {}

}  // namespace os
