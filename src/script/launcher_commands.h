#pragma once
// The bodies of the instruction script's launcher commands: each shows
// progress, calls one subsystem and reports the outcome in N1, S1 and S2.

#include <string>

#include "script/command_bodies.h"

class FileIndex;
class JvmFile;
class JvmSearch;
class LaunchScript;
class ScriptVariables;
class TempArea;

// What the commands act on; the front end's run owns all of it.
struct CommandContext {
  ScriptVariables& variables;
  TempArea& temp;
  const FileIndex& launcherEntries;
  JvmSearch& jvmSearch;
  LaunchScript* launchScript;  // null when none was loaded
};

class LauncherCommands : public CommandBodies {
public:
  explicit LauncherCommands(const CommandContext& context) : context_(context) {}

  void doFindJvm(bool showUi, bool showFailure) override;
  int32_t doLaunchInternal(int32_t jvmFileId, int16_t seconds) override;
  void doInitializeUi() override;
  void doInstallJvm(int32_t mode) override;
  int32_t doLaunch(const std::string& jvmFileName, int16_t seconds) override;
  void doVerify(bool showUi, bool showFailure, int32_t jvmFileId) override;
  void doExecuteLauncher(int32_t position) override;

  // Whether the last FIND_JVM or VERIFY left N1 at 0 and nothing was
  // launched: the run has failed, whatever the script's result says.
  bool endedWithoutAJvm() const { return searchFailed_ && !launched_; }

  // Verifies jvmFile against javaHome (or its own JVM_HOME when javaHome is
  // empty) with the search's verifier and cache; N1 becomes 1 and S1 the
  // home when it verifies, N1 0 otherwise.
  void verifyJvm(bool showUi, bool showFailure, JvmFile& jvmFile, const std::string& javaHome);

private:
  CommandContext context_;
  bool searchFailed_ = false;
  bool launched_ = false;
};
