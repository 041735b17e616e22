// Runs one program and reports what that process alone cost, its children
// left out (Linux only: a measuring tool of the benchmarks, not part of the
// launcher).
//
//   qm_measure RESULT PROGRAM [ARGUMENTS...]
//
// writes one line to RESULT:
//   cpu_us=N rss_kib=N wall_us=N runq_us=N blocked_us=N sleeps=N tree_cpu_us=N exit=N start_us=N
//
// Why this way: wait4() and RUSAGE_CHILDREN fold the times of every child the
// program reaped into its own, and ru_maxrss is the largest of the program
// and those children (a child spawned with vfork even inherits the parent's
// peak at its exec). So the program runs traced, stopping only once, at its
// exit (PTRACE_O_TRACEEXIT; every signal it gets is passed on at once):
// - rss_kib is VmHWM of /proc/PID/status at that stop, the peak resident
//   size of the program's own address space since its exec;
// - cpu_us is the first field of /proc/PID/schedstat read once the program
//   is a zombie (still unreaped): the nanoseconds its one thread ran, user
//   and system together, from the end of its exec (the stop there) to the
//   end of its exit, children excluded: what the fork and the exec cost the
//   caller is the same for any program and not counted;
// - runq_us is the second field, the time it was ready but waited for a CPU;
// - wall_us runs over the same span, and blocked_us = wall - cpu - runq is
//   the time it slept or waited (for a child, a timer, the disk);
// - sleeps is voluntary_ctxt_switches at the exit stop;
// - tree_cpu_us is wait4's user + system time (the program and the children
//   it reaped), for comparison;
// - start_us is CLOCK_MONOTONIC at the exec stop, in microseconds.
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

long long nowMicroseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

// The value after "name:" in /proc/PID/status, or -1.
long long statusField(pid_t pid, const std::string& name) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, name.size() + 1, name + ":") != 0) continue;
    std::istringstream value(line.substr(name.size() + 1));
    long long number = -1;
    value >> number;
    return number;
  }
  return -1;
}

bool readSchedstat(pid_t pid, long long* runNs, long long* waitNs) {
  std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
  return static_cast<bool>(schedstat >> *runNs >> *waitNs);
}

int fail(const char* what) {
  std::fprintf(stderr, "qm_measure: %s: %s\n", what, std::strerror(errno));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: qm_measure RESULT PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  const pid_t pid = fork();
  if (pid < 0) return fail("fork");
  if (pid == 0) {
    ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    execvp(argv[2], argv + 2);
    std::fprintf(stderr, "qm_measure: cannot run %s: %s\n", argv[2], std::strerror(errno));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status)) return fail("exec stop");
  const long long start = nowMicroseconds();
  long long execRunNs = 0, execWaitNs = 0;
  if (!readSchedstat(pid, &execRunNs, &execWaitNs)) return fail("schedstat");
  if (ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACEEXIT | PTRACE_O_TRACEEXEC | PTRACE_O_EXITKILL) != 0)
    return fail("PTRACE_SETOPTIONS");
  ptrace(PTRACE_CONT, pid, nullptr, nullptr);

  long long rssKib = -1;
  long long sleeps = -1;
  for (;;) {
    if (waitpid(pid, &status, 0) != pid) return fail("waitpid");
    if (!WIFSTOPPED(status)) break;  // gone without an exit stop (killed)
    if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
      rssKib = statusField(pid, "VmHWM");
      sleeps = statusField(pid, "voluntary_ctxt_switches");
      ptrace(PTRACE_CONT, pid, nullptr, nullptr);
      break;
    }
    // A further exec (the program was a wrapper such as env) stops without a signal.
    const bool execStop = status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXEC << 8));
    const long signal = execStop ? 0 : WSTOPSIG(status);
    ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(signal));
  }

  siginfo_t info;
  std::memset(&info, 0, sizeof info);
  long long runNs = -1, waitNs = -1;
  if (WIFSTOPPED(status)) {
    if (waitid(P_PID, pid, &info, WEXITED | WNOWAIT) != 0) return fail("waitid");
    readSchedstat(pid, &runNs, &waitNs);
  }
  const long long wall = nowMicroseconds() - start;
  rusage usage;
  std::memset(&usage, 0, sizeof usage);
  if (WIFSTOPPED(status) && wait4(pid, &status, 0, &usage) != pid) return fail("wait4");
  const long long treeCpu = usage.ru_utime.tv_sec * 1000000LL + usage.ru_utime.tv_usec +
                            usage.ru_stime.tv_sec * 1000000LL + usage.ru_stime.tv_usec;
  const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);

  std::FILE* result = std::fopen(argv[1], "w");
  if (!result) return fail(argv[1]);
  const long long cpu = (runNs - execRunNs) / 1000, runq = (waitNs - execWaitNs) / 1000;
  std::fprintf(result,
               "cpu_us=%lld rss_kib=%lld wall_us=%lld runq_us=%lld blocked_us=%lld sleeps=%lld "
               "tree_cpu_us=%lld exit=%d start_us=%lld\n",
               cpu, rssKib, wall, runq, wall - cpu - runq, sleeps, treeCpu, exitCode, start);
  std::fclose(result);
  return runNs < 0 || rssKib < 0 ? 2 : 0;
}
