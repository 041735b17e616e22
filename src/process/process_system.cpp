// The process system the runner uses: the OS layer's, or a test's stand-in.

#include "process/process_system.h"

namespace {

class RealProcessSystem : public ProcessSystem {
public:
  os::ProcessResult createPipe(os::Pipe* pipe) override { return os::createPipe(pipe); }
  os::ProcessResult start(const os::StartRequest& request, os::Child* child) override {
    return os::startProcess(request, child);
  }
  os::ProcessResult peek(os::Handle readEnd, uint32_t* available) override {
    return os::peekPipe(readEnd, available);
  }
  os::ProcessResult read(os::Handle readEnd, char* buffer, uint32_t size,
                         uint32_t* count) override {
    return os::readPipe(readEnd, buffer, size, count);
  }
  os::ProcessResult queryExit(os::Child* child, bool* ended, uint32_t* exitCode) override {
    return os::queryExit(child, ended, exitCode);
  }
  os::ProcessResult wait(os::Child* child) override { return os::waitForExit(child); }
  void waitForActivity(os::Child* child, const os::Handle* pipes, int pipeCount,
                       uint32_t timeoutMs) override {
    os::waitForActivity(child, pipes, pipeCount, timeoutMs);
  }
  bool endedChildMayHoldFiles() override { return os::endedChildMayHoldFiles(); }
  os::ProcessResult terminate(os::Child* child) override { return os::terminateProcess(child); }
  void closeChild(os::Child* child) override { os::closeChild(child); }
  void closeHandle(os::Handle* handle) override { os::closeHandle(handle); }
  void sleep(uint32_t milliseconds) override { os::sleepMilliseconds(milliseconds); }
  uint32_t tickMilliseconds() override { return os::tickMilliseconds(); }
};

}  // namespace

ProcessSystem& realProcessSystem() {
  static RealProcessSystem system;
  return system;
}
