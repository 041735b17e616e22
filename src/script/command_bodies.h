#pragma once
// What the script's launcher commands actually do. The interpreter checks and
// evaluates the arguments and then calls these; keeping them behind an
// interface lets the statement machinery run without searching or launching.

#include <cstdint>
#include <string>

class CommandBodies {
public:
  virtual ~CommandBodies() = default;

  virtual void doFindJvm(bool showUi, bool showFailure) = 0;
  // Returns the launched program's exit code.
  virtual int32_t doLaunchInternal(int32_t jvmFileId, int16_t seconds) = 0;
  virtual void doInitializeUi() = 0;
  virtual void doInstallJvm(int32_t mode) = 0;
  // Returns the launched program's exit code.
  virtual int32_t doLaunch(const std::string& jvmFileName, int16_t seconds) = 0;
  virtual void doVerify(bool showUi, bool showFailure, int32_t jvmFileId) = 0;
  virtual void doExecuteLauncher(int32_t position) = 0;
};
