// POSIX children and pipes, as close to the Windows calls as POSIX allows:
// - The command line is split into argv by Windows' own rules, so that the
//   same command texts work on both systems.
// - The program is looked for as execvp would, but before the child changes
//   directory, so that a relative name means what it means to Windows (this
//   process's directory). Only the name as written is tried: no ".exe" or
//   other extension is added, and neither this program's directory nor a
//   system directory is searched ahead of PATH as Windows would.
// - A program that cannot be run is an error of the start, not an exit code
//   of the child: the child hands its error back before it ends.
// - Creation flags mean nothing here: the child always shares this process's
//   terminal and, unless its output is captured, its standard streams.
// - Exit codes have 8 bits; a child killed by a signal reports 128 + the
//   signal number, as shells do.
// - A child that nobody waits for stays a zombie until this process ends,
//   which is what a closed but unwaited Windows process handle amounts to.
#include "os/process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <vector>

#include "os/fault_injection.h"
#include "os/windows_argv.h"

extern char** environ;

namespace os {

namespace {

ProcessResult failure(int error) {
  ProcessResult result;
  result.code = static_cast<unsigned long>(error);
  return result;
}

bool isProgramFault(int error) {
  return error == ENOENT || error == EACCES || error == ENOEXEC || error == ENOTDIR ||
         error == EISDIR || error == ELOOP || error == ENAMETOOLONG;
}

// The fault a test armed for this call, as the call itself would report it.
bool injected(FaultPoint point, ProcessResult* result) {
  const unsigned long code = injectedFault(point);
  if (code == 0) return false;
  *result = failure(static_cast<int>(code));
  result->brokenPipe = code == EPIPE;
  result->programBusy = code == ETXTBSY;
  result->programUnusable = isProgramFault(static_cast<int>(code));
  return true;
}

std::string currentDirectory() {
  std::vector<char> buffer(4096);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::string absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  return currentDirectory() + "/" + path;
}

bool isExecutableFile(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

// 0 and the path to run, or ENOENT (EACCES when only files that may not be
// run were found), as execvp would decide.
int findProgram(const std::string& name, std::string* path) {
  if (name.empty()) return ENOENT;
  if (name.find('/') != std::string::npos) {
    *path = absolute(name);
    return 0;
  }
  const char* searchPath = getenv("PATH");
  const std::string directories = searchPath ? searchPath : "/bin:/usr/bin";
  int error = ENOENT;
  size_t start = 0;
  for (;;) {
    const size_t colon = directories.find(':', start);
    std::string directory = directories.substr(start, colon - start);
    if (directory.empty()) directory = ".";
    const std::string candidate = absolute(directory + "/" + name);
    if (isExecutableFile(candidate)) {
      *path = candidate;
      return 0;
    }
    if (access(candidate.c_str(), F_OK) == 0) error = EACCES;
    if (colon == std::string::npos) return error;
    start = colon + 1;
  }
}

// Points one descriptor at another in the child; an equal pair only loses
// its close-on-exec flag, which dup2 would leave set.
int redirectDescriptor(int from, int to) {
  if (from == to) return fcntl(to, F_SETFD, 0);
  return dup2(from, to) < 0 ? -1 : 0;
}

// Starts the program with vfork and execve; 0, or the error that kept the
// child from running it. vfork, not posix_spawn: posix_spawn gives the child
// a stack of its own, mapped and unmapped by this process on every start,
// which was about a tenth of a launcher start's own time. The child shares
// this process's memory until execve, so between the two it only makes
// system calls and hands an error back in childError; this process's signals
// stay blocked meanwhile, so that none of its handlers runs in the child.
int spawnChild(const StartRequest& request, const char* program, char** argv, pid_t* started) {
  volatile int childError = 0;
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  sigprocmask(SIG_SETMASK, &all, &previous);
  const pid_t pid = vfork();
  if (pid == 0) {
    // The child starts with the default handling of the signals this
    // process catches or ignores (an ignored SIGPIPE would otherwise be
    // inherited).
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &defaultAction, nullptr);
    bool ready = true;
    if (request.redirect)
      ready = redirectDescriptor(static_cast<int>(request.outputWrite), 1) == 0 &&
              redirectDescriptor(static_cast<int>(request.errorWrite), 2) == 0;
    if (ready && request.redirect && request.emptyInput) {
      const int input = open("/dev/null", O_RDONLY);
      ready = input >= 0 && (input == 0 || (dup2(input, 0) == 0 && close(input) == 0));
    }
    if (ready && !request.workingDirectory.empty()) ready = chdir(request.workingDirectory.c_str()) == 0;
    if (ready) {
      sigprocmask(SIG_SETMASK, &previous, nullptr);
      execve(program, argv, environ);
    }
    childError = errno ? errno : EINVAL;
    _exit(127);
  }
  const int forkError = errno;
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (pid < 0) return forkError;
  if (childError != 0) {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return childError;
  }
  *started = pid;
  return 0;
}

}  // namespace

ProcessResult createPipe(Pipe* pipe) {
  // Neither end survives an exec; the child gets the write end through dup2.
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return failure(errno);
  pipe->readEnd = ends[0];
  pipe->writeEnd = ends[1];
  return ProcessResult();
}

ProcessResult startProcess(const StartRequest& request, Child* child) {
  ProcessResult fault;
  if (injected(FaultPoint::kProcessStart, &fault)) return fault;
  std::vector<std::string> arguments = splitWindowsCommandLine(request.commandLine);
  if (arguments.empty()) return failure(EINVAL);
  std::string program;
  if (const int error = findProgram(arguments[0], &program)) {
    ProcessResult failed = failure(error);
    failed.programUnusable = true;
    return failed;
  }

  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int error = spawnChild(request, program.c_str(), argv.data(), &pid);
  if (error) {
    ProcessResult failed = failure(error);
    failed.programBusy = error == ETXTBSY;
    failed.programUnusable = isProgramFault(error);
    return failed;
  }
  child->process = pid;
  return ProcessResult();
}

ProcessResult peekPipe(Handle readEnd, uint32_t* available) {
  ProcessResult fault;
  if (injected(FaultPoint::kPipePeek, &fault)) return fault;
  int bytes = 0;
  if (ioctl(static_cast<int>(readEnd), FIONREAD, &bytes) != 0) return failure(errno);
  *available = static_cast<uint32_t>(bytes);
  if (bytes == 0) {
    // Empty and without writers is what Windows calls a broken pipe.
    pollfd entry = {static_cast<int>(readEnd), POLLIN, 0};
    if (poll(&entry, 1, 0) == 1 && (entry.revents & POLLHUP)) {
      ProcessResult broken = failure(EPIPE);
      broken.brokenPipe = true;
      return broken;
    }
  }
  return ProcessResult();
}

ProcessResult readPipe(Handle readEnd, char* buffer, uint32_t size, uint32_t* count) {
  ProcessResult fault;
  if (injected(FaultPoint::kPipeRead, &fault)) return fault;
  ssize_t bytes;
  do {
    bytes = read(static_cast<int>(readEnd), buffer, size);
  } while (bytes < 0 && errno == EINTR);
  if (bytes < 0) return failure(errno);
  if (bytes == 0) {
    ProcessResult broken = failure(EPIPE);
    broken.brokenPipe = true;
    return broken;
  }
  *count = static_cast<uint32_t>(bytes);
  return ProcessResult();
}

namespace {

void collect(Child* child, int status) {
  child->collected = true;
  child->collectedCode = WIFEXITED(status)     ? static_cast<uint32_t>(WEXITSTATUS(status))
                         : WIFSIGNALED(status) ? 128u + static_cast<uint32_t>(WTERMSIG(status))
                                               : 255u;
}

}  // namespace

ProcessResult queryExit(Child* child, bool* ended, uint32_t* exitCode) {
  if (!child->collected) {
    int status = 0;
    pid_t result;
    do {
      result = waitpid(static_cast<pid_t>(child->process), &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result < 0) return failure(errno);
    if (result > 0) collect(child, status);
  }
  *ended = child->collected;
  *exitCode = child->collected ? child->collectedCode : 0;
  return ProcessResult();
}

ProcessResult waitForExit(Child* child) {
  if (child->collected) return ProcessResult();
  int status = 0;
  pid_t result;
  do {
    result = waitpid(static_cast<pid_t>(child->process), &status, 0);
  } while (result < 0 && errno == EINTR);
  if (result < 0) return failure(errno);
  collect(child, status);
  return ProcessResult();
}

ProcessResult terminateProcess(Child* child) {
  if (child->collected) return ProcessResult();
  if (kill(static_cast<pid_t>(child->process), SIGKILL) != 0) return failure(errno);
  return ProcessResult();
}

void waitForActivity(Child* child, const Handle* pipes, int pipeCount, uint32_t timeoutMs) {
  pollfd entries[3];
  nfds_t count = 0;
  for (int i = 0; i < pipeCount && count < 2; ++i)
    entries[count++] = pollfd{static_cast<int>(pipes[i]), POLLIN, 0};
  if (!child->endWatchAsked && !child->collected) {
    child->endWatchAsked = true;
    // Without pidfds (before Linux 5.3) the end is seen at the wait's
    // time-out. An ended child that is not reaped yet still gets one,
    // readable at once; the system makes it close-on-exec.
    const long ended = syscall(SYS_pidfd_open, static_cast<pid_t>(child->process), 0);
    if (ended >= 0) child->ended = static_cast<Handle>(ended);
  }
  if (child->ended != kNoHandle && !child->collected)
    entries[count++] = pollfd{static_cast<int>(child->ended), POLLIN, 0};
  // An interrupted wait just returns early: the caller looks again.
  poll(entries, count, static_cast<int>(timeoutMs));
}

bool endedChildMayHoldFiles() { return false; }

void closeChild(Child* child) {
  closeHandle(&child->ended);
  child->endWatchAsked = false;
  child->process = kNoHandle;
  child->thread = kNoHandle;
}

void closeHandle(Handle* handle) {
  if (*handle == kNoHandle) return;
  close(static_cast<int>(*handle));
  *handle = kNoHandle;
}

Handle standardHandle(int stream) { return stream; }

void sleepMilliseconds(uint32_t milliseconds) {
  timespec remaining = {static_cast<time_t>(milliseconds / 1000),
                        static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

uint32_t tickMilliseconds() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

}  // namespace os
