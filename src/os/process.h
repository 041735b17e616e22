#pragma once
// Child processes and anonymous pipes as the process runner needs them: small
// operations that each report 0 or the system's error code, so that the
// runner keeps the algorithm and the messages. Handles stay opaque numbers
// here (Windows HANDLE; POSIX file descriptor or process id).

#include <cstdint>
#include <string>

namespace os {

using Handle = intptr_t;
constexpr Handle kNoHandle = -1;

// code is 0 or the system's error code; brokenPipe marks the failure that only
// means every writer of the pipe has gone (Windows ERROR_BROKEN_PIPE, POSIX end
// of file); programBusy a start that failed only because someone holds the
// program's file for a moment (Windows ERROR_SHARING_VIOLATION: a scanner, or
// another launcher looking at it; POSIX ETXTBSY: it is still open for writing);
// programUnusable a start that failed because of the program file itself
// (missing, may not be run, not a program for this system), not of this
// process or the system.
struct ProcessResult {
  unsigned long code = 0;
  bool brokenPipe = false;
  bool programBusy = false;
  bool programUnusable = false;
  bool ok() const { return code == 0 && !brokenPipe; }
};

// An anonymous pipe. The write end can be handed to a child; the read end stays with this process.
struct Pipe {
  Handle readEnd = kNoHandle;
  Handle writeEnd = kNoHandle;
};

// A started child. POSIX collects an ended child's status only once, so it is kept here.
struct Child {
  Handle process = kNoHandle;
  Handle thread = kNoHandle;  // Windows only
  // POSIX: a descriptor that turns readable at the child's end, where the
  // system has one; asked for by the first wait on activity, as a child that
  // is only waited for needs none.
  Handle ended = kNoHandle;
  bool endWatchAsked = false;
  bool collected = false;
  uint32_t collectedCode = 0;
};

struct StartRequest {
  std::string commandLine;       // empty: nothing to run, the start fails as an invalid call
  std::string workingDirectory;  // empty: this process's current directory
  // How the child shows on Windows; POSIX children share this process's
  // terminal whatever is asked.
  bool hidden = false;           // no window, and detached from this process's console
  bool newConsole = false;       // a console of its own
  // Gives the child outputWrite and errorWrite as standard output and error and
  // this process's standard input, with handle inheritance on; otherwise the
  // child gets the system's defaults (POSIX: this process's streams).
  bool redirect = false;
  Handle outputWrite = kNoHandle;
  Handle errorWrite = kNoHandle;
  // With redirect: the child reads from the null device instead of this
  // process's standard input, so that it can never wait for the user.
  bool emptyInput = false;
};

// Creates a pipe whose write end a child can inherit and whose read end it cannot.
ProcessResult createPipe(Pipe* pipe);

// Starts the child; the program is found from the command line's first token
// (POSIX: a name with a slash as is, relative to this process's directory,
// else the first executable match on PATH).
ProcessResult startProcess(const StartRequest& request, Child* child);

// How many bytes the pipe holds now, without blocking; brokenPipe when it is
// empty and has no writer left.
ProcessResult peekPipe(Handle readEnd, uint32_t* available);

// Reads at most size bytes into buffer; called only after peekPipe found
// some, so that it never blocks.
ProcessResult readPipe(Handle readEnd, char* buffer, uint32_t size, uint32_t* count);

// Whether the child has ended, with its exit code when it has; never blocks.
// POSIX reports death by a signal as 128 + the signal number.
ProcessResult queryExit(Child* child, bool* ended, uint32_t* exitCode);

// Blocks until the child has ended, one of the pipes holds data or has lost
// its last writer, or timeoutMs have passed, whichever comes first. Windows
// can only wait for the child's end (anonymous pipes cannot be waited on),
// so there new data is only seen when the time is up.
void waitForActivity(Child* child, const Handle* pipes, int pipeCount, uint32_t timeoutMs);

// Blocks until the child has ended.
ProcessResult waitForExit(Child* child);

// Ends the child at once; it must still be waited for or let go.
ProcessResult terminateProcess(Child* child);

// Lets go of the child without ending it, closing its handles.
void closeChild(Child* child);

// Closes the handle unless it is kNoHandle, and sets it to kNoHandle.
void closeHandle(Handle* handle);

// This process's standard input (0), output (1) or error (2).
Handle standardHandle(int stream);

void sleepMilliseconds(uint32_t milliseconds);

// Whether an ended child's files can still be held for a moment (Windows
// lets go of a process's handles after its end), so that deleting them at
// once may fail.
bool endedChildMayHoldFiles();

// A millisecond clock that only moves forward; it wraps, so only the
// difference of two readings means anything.
uint32_t tickMilliseconds();

}  // namespace os
