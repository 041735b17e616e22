#pragma once
// The launcher's own command bodies behind the instruction script's
// commands: the user interface now; searching, verifying, launching and
// installing as those subsystems arrive.

#include "script/command_bodies.h"

class LauncherCommands : public CommandBodies {
public:
  void doFindJvm(bool showUi, bool showFailure) override;
  int32_t doLaunchInternal(int32_t jvmFileId, int16_t seconds) override;
  void doInitializeUi() override;
  void doInstallJvm(int32_t mode) override;
  int32_t doLaunch(const std::string& jvmFileName, int16_t seconds) override;
  void doVerify(bool showUi, bool showFailure, int32_t jvmFileId) override;
  void doExecuteLauncher(int32_t position) override;
};
