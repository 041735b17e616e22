#pragma once
// What a failed system call means to the core: a kind it can act on, and the
// system's own code, kept only for the text of the error. Each backend maps
// its codes to kinds in one place (systemResult).

namespace os {

enum class SystemError { kNone, kNotFound, kAccessDenied, kInUse, kExists, kNoMoreFiles, kOther };

struct SystemResult {
  SystemError error = SystemError::kNone;
  unsigned long code = 0;  // the system's error code, for systemErrorText
  bool ok() const { return error == SystemError::kNone; }
};

// The kind of the system's error code; 0 is success.
SystemResult systemResult(unsigned long code);

}  // namespace os
