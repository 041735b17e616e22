// POSIX error numbers for the faults a test injects.

#include <errno.h>

#include "os/fault_injection.h"

namespace os {

unsigned long systemErrorCode(SystemFailure failure) {
  switch (failure) {
    case SystemFailure::kAccessDenied:
      return EACCES;
    case SystemFailure::kBrokenPipe:
      return EPIPE;
    case SystemFailure::kInvalidHandle:
      return EBADF;
    case SystemFailure::kOutOfMemory:
      return ENOMEM;
    case SystemFailure::kDiskFull:
      return ENOSPC;
    case SystemFailure::kProgramBusy:
      return ETXTBSY;
    case SystemFailure::kAlreadyExists:
      return EEXIST;
  }
  return EIO;
}

}  // namespace os
