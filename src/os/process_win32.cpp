// Processes and pipes through CreateProcess and PeekNamedPipe.

#include "os/process.h"

#include <windows.h>

#include <vector>

#include "os/fault_injection.h"

namespace os {

namespace {

HANDLE toHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
Handle fromHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

bool isProgramFault(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_FORMAT:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_EXE_MARKED_INVALID:
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
      return true;
    default:
      return false;
  }
}

// The one mapping of this backend's error codes to the kinds the core reads.
ProcessResult resultOf(DWORD code) {
  ProcessResult result;
  // A failure must never read as success, even when the system left no code.
  result.code = code != 0 ? code : ERROR_GEN_FAILURE;
  result.brokenPipe = code == ERROR_BROKEN_PIPE;
  result.programBusy = code == ERROR_SHARING_VIOLATION;
  result.programUnusable = isProgramFault(code);
  return result;
}

ProcessResult lastError() { return resultOf(GetLastError()); }

// The fault a test armed for this call, as the call itself would report it.
bool injected(FaultPoint point, ProcessResult* result) {
  const unsigned long code = injectedFault(point);
  if (code == 0) return false;
  *result = resultOf(code);
  return true;
}

DWORD creationFlags(const StartRequest& request) {
  DWORD flags = request.hidden ? CREATE_NO_WINDOW | DETACHED_PROCESS : 0;
  if (request.newConsole) flags |= CREATE_NEW_CONSOLE;
  return flags;
}

// The attributes every handle of a captured run is made with.
static_assert(sizeof(void*) != 4 || sizeof(SECURITY_ATTRIBUTES) == 12,
              "the 32-bit target hands the system attributes of length 12");
SECURITY_ATTRIBUTES inheritableAttributes() {
  SECURITY_ATTRIBUTES attributes = {};
  attributes.nLength = sizeof attributes;
  attributes.lpSecurityDescriptor = nullptr;
  attributes.bInheritHandle = TRUE;
  return attributes;
}

}  // namespace

ProcessResult createPipe(Pipe* pipe) {
  SECURITY_ATTRIBUTES attributes = inheritableAttributes();
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &attributes, 0)) return lastError();
  // A child that held the read end too would keep the pipe open after this
  // process lets go of it. The Windows 95 family lacks this call; there the
  // read end stays inheritable, which costs nothing while this process reads.
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  pipe->readEnd = fromHandle(readEnd);
  pipe->writeEnd = fromHandle(writeEnd);
  return ProcessResult();
}

ProcessResult startProcess(const StartRequest& request, Child* child) {
  ProcessResult fault;
  if (injected(FaultPoint::kProcessStart, &fault)) return fault;
  // With no application name either, an absent command line names nothing to
  // run: the call is invalid, and some systems fault on it instead of failing.
  if (request.commandLine.empty()) {
    ProcessResult invalid;
    invalid.code = ERROR_INVALID_PARAMETER;
    return invalid;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  SECURITY_ATTRIBUTES attributes = inheritableAttributes();
  SECURITY_ATTRIBUTES* security = nullptr;
  HANDLE nullInput = INVALID_HANDLE_VALUE;
  if (request.redirect && request.emptyInput) {
    nullInput = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                            OPEN_EXISTING, 0, nullptr);
    if (nullInput == INVALID_HANDLE_VALUE) return lastError();
  }
  if (request.redirect) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = toHandle(request.outputWrite);
    startup.hStdError = toHandle(request.errorWrite);
    startup.hStdInput =
        nullInput != INVALID_HANDLE_VALUE ? nullInput : GetStdHandle(STD_INPUT_HANDLE);
    startup.wShowWindow = 0;
    security = &attributes;
  }
  // CreateProcessA may write into the command line, so it gets a copy.
  std::vector<char> commandLine(request.commandLine.begin(), request.commandLine.end());
  commandLine.push_back('\0');
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(
      nullptr, commandLine.data(), security, security,
      request.redirect ? TRUE : FALSE, creationFlags(request), nullptr,
      request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str(), &startup,
      &process);
  const ProcessResult result = started ? ProcessResult() : lastError();
  if (nullInput != INVALID_HANDLE_VALUE) CloseHandle(nullInput);
  if (!started) return result;
  child->process = fromHandle(process.hProcess);
  child->thread = fromHandle(process.hThread);
  return ProcessResult();
}

ProcessResult peekPipe(Handle readEnd, uint32_t* available) {
  ProcessResult fault;
  if (injected(FaultPoint::kPipePeek, &fault)) return fault;
  DWORD bytes = 0;
  if (!PeekNamedPipe(toHandle(readEnd), nullptr, 0, nullptr, &bytes, nullptr)) return lastError();
  *available = bytes;
  return ProcessResult();
}

ProcessResult readPipe(Handle readEnd, char* buffer, uint32_t size, uint32_t* count) {
  ProcessResult fault;
  if (injected(FaultPoint::kPipeRead, &fault)) return fault;
  DWORD bytes = 0;
  if (!ReadFile(toHandle(readEnd), buffer, size, &bytes, nullptr)) return lastError();
  *count = bytes;
  return ProcessResult();
}

ProcessResult queryExit(Child* child, bool* ended, uint32_t* exitCode) {
  DWORD code = 0;
  if (!GetExitCodeProcess(toHandle(child->process), &code)) return lastError();
  // STILL_ACTIVE is also a valid exit code; only the process handle's state
  // tells a child that ended with it from one that runs. A child that ended
  // between the two calls has its real code by now, so it is read again.
  *ended = code != STILL_ACTIVE ||
           WaitForSingleObject(toHandle(child->process), 0) == WAIT_OBJECT_0;
  if (*ended && code == STILL_ACTIVE &&
      !GetExitCodeProcess(toHandle(child->process), &code))
    return lastError();
  *exitCode = code;
  return ProcessResult();
}

ProcessResult waitForExit(Child* child) {
  if (WaitForSingleObject(toHandle(child->process), INFINITE) == WAIT_FAILED) return lastError();
  return ProcessResult();
}

void waitForActivity(Child* child, const Handle*, int, uint32_t timeoutMs) {
  WaitForSingleObject(toHandle(child->process), timeoutMs);
}

bool endedChildMayHoldFiles() { return true; }

ProcessResult terminateProcess(Child* child) {
  if (!TerminateProcess(toHandle(child->process), 1)) return lastError();
  return ProcessResult();
}

void closeChild(Child* child) {
  closeHandle(&child->thread);
  closeHandle(&child->process);
}

void closeHandle(Handle* handle) {
  if (*handle == kNoHandle) return;
  CloseHandle(toHandle(*handle));
  *handle = kNoHandle;
}

Handle standardHandle(int stream) {
  const DWORD which = stream == 0   ? STD_INPUT_HANDLE
                      : stream == 1 ? STD_OUTPUT_HANDLE
                                    : STD_ERROR_HANDLE;
  return fromHandle(GetStdHandle(which));
}

void sleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

uint32_t tickMilliseconds() { return GetTickCount(); }

}  // namespace os
