#pragma once
// Faults on demand, for tests: a test arms the nth call of one kind to fail
// with an error of its choosing, as the system would report it, and the
// operations of that kind ask before they act. Nothing arms a fault outside
// the tests; unarmed, asking costs one load of a flag. Process-wide, as the
// system calls whose failures it stands for are.

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace os {

enum class FaultPoint {
  kFileWrite,      // writing a file the launcher makes (C library: an errno value)
  kLauncherOpen,   // opening the launcher file to read it (C library: an errno value)
  kTempName,       // asking for a unique temporary name (a system code)
  kPipePeek,       // asking how much a child's pipe holds (a system code)
  kPipeRead,       // reading a child's pipe (a system code)
  kProcessStart,   // creating a process (a system code)
  kCreateDirectory,  // creating a directory (a system code)
  kDeleteFile,       // deleting a file (a system code)
};

// Failures whose system codes differ between the systems, named portably.
enum class SystemFailure {
  kAccessDenied,
  kBrokenPipe,
  kInvalidHandle,
  kOutOfMemory,
  kDiskFull,
  kProgramBusy,  // a program file held by someone else
  kAlreadyExists,
};

// The system's own code for the failure (Windows' ERROR_..., POSIX errno).
unsigned long systemErrorCode(SystemFailure failure);

constexpr uint32_t kEveryLaterCall = 0xFFFFFFFFu;

// Makes calls n .. n + times - 1 of the point (counted from 1 since the last
// reset) fail with code; a point holds one arming at a time.
void failNth(FaultPoint point, uint32_t n, unsigned long code, uint32_t times = 1);

// Disarms every point and restarts their counts.
void resetFaults();

// Asked by each operation of the point before it acts: 0, or the code it
// must fail with instead.
unsigned long injectedFault(FaultPoint point);

// How many calls of the point have asked, and how many were made to fail,
// since the last reset; counted only while some point is armed.
uint32_t faultCalls(FaultPoint point);
uint32_t faultsInjected(FaultPoint point);

// The C library's fopen and fwrite with a fault point in front: an armed
// fault fails the call with its code as errno.
std::FILE* openFile(FaultPoint point, const char* path, const char* mode);
size_t writeFile(const void* data, size_t size, std::FILE* file);

}  // namespace os
