#pragma once
// The system operations a run is made of, behind one seam: the real set
// forwards to src/os, and tests put in a scripted set to watch the polling
// call by call without timing it.

#include <cstdint>

#include "os/process.h"

class ProcessSystem {
public:
  virtual ~ProcessSystem() = default;
  virtual os::ProcessResult createPipe(os::Pipe* pipe) = 0;
  virtual os::ProcessResult start(const os::StartRequest& request, os::Child* child) = 0;
  virtual os::ProcessResult peek(os::Handle readEnd, uint32_t* available) = 0;
  virtual os::ProcessResult read(os::Handle readEnd, char* buffer, uint32_t size,
                                 uint32_t* count) = 0;
  virtual os::ProcessResult queryExit(os::Child* child, bool* ended, uint32_t* exitCode) = 0;
  virtual os::ProcessResult wait(os::Child* child) = 0;
  virtual void waitForActivity(os::Child* child, const os::Handle* pipes, int pipeCount,
                               uint32_t timeoutMs) = 0;
  virtual bool endedChildMayHoldFiles() = 0;
  virtual os::ProcessResult terminate(os::Child* child) = 0;
  virtual void closeChild(os::Child* child) = 0;
  virtual void closeHandle(os::Handle* handle) = 0;
  virtual void sleep(uint32_t milliseconds) = 0;
  virtual uint32_t tickMilliseconds() = 0;
};

// The operating system's own operations; the object holds no state.
ProcessSystem& realProcessSystem();
