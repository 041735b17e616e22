// Windows error codes for the faults a test injects.

#include <windows.h>

#include "os/fault_injection.h"

namespace os {

unsigned long systemErrorCode(SystemFailure failure) {
  switch (failure) {
    case SystemFailure::kAccessDenied:
      return ERROR_ACCESS_DENIED;
    case SystemFailure::kBrokenPipe:
      return ERROR_BROKEN_PIPE;
    case SystemFailure::kInvalidHandle:
      return ERROR_INVALID_HANDLE;
    case SystemFailure::kOutOfMemory:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SystemFailure::kDiskFull:
      return ERROR_DISK_FULL;
    case SystemFailure::kProgramBusy:
      return ERROR_SHARING_VIOLATION;
    case SystemFailure::kAlreadyExists:
      return ERROR_ALREADY_EXISTS;
  }
  return ERROR_GEN_FAILURE;
}

}  // namespace os
