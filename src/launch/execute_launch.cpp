// Running a launch script's command for one JVM file.

#include "launch/execute_launch.h"

#include <string>

#include "base/log.h"
#include "base/paths.h"
#include "base/settings.h"
#include "base/text.h"
#include "launch/jvm_file.h"
#include "launch/launch_script.h"
#include "launch/pass_through.h"
#include "os/environment.h"
#include "process/process_runner.h"
#include "tagfile/tag_file.h"

namespace {

const char kJavaHome[] = "JAVA_HOME";

// Sets JAVA_HOME for the child and puts the earlier value back however the
// run ends, so that a failed start does not leave the JVM's home behind.
class JavaHomeForChild {
public:
  explicit JavaHomeForChild(const std::string& home) {
    if (!os::getEnvironmentVariable(kJavaHome, &saved_)) saved_.clear();
    os::setEnvironmentVariable(kJavaHome, &home);
  }
  ~JavaHomeForChild() {
    // Unset and empty read the same; unset leaves no empty variable behind
    // for the programs started later.
    os::setEnvironmentVariable(kJavaHome, saved_.empty() ? nullptr : &saved_);
  }
  JavaHomeForChild(const JavaHomeForChild&) = delete;
  JavaHomeForChild& operator=(const JavaHomeForChild&) = delete;

private:
  std::string saved_;
};

bool isWizardKind(int32_t kind) { return kind == 0 || kind == 2; }

void applyWizardEnvironment(const TagFile& jvm) {
  const int count = jvm.valueCount("SET_ENV_FOR_WIZARD");
  for (int i = 0; i < count; ++i) {
    std::string setting = jvm.value("SET_ENV_FOR_WIZARD", i);
    trim(setting);
    if (setting.empty()) continue;
    const size_t equals = setting.find('=');
    std::string name = setting.substr(0, equals);
    std::string value = equals == std::string::npos ? std::string() : setting.substr(equals + 1);
    trim(name);
    trim(value);
    os::setEnvironmentVariable(name, &value);
  }
}

}  // namespace

int32_t executeLaunch(LaunchScript& script, JvmFile& jvmFile,
                      const StringList& passThroughArguments, bool consoleRequested,
                      const LaunchLimits& limits) {
  std::string command = script.buildCommand(jvmFile);
  const std::string workingDirectory =
      script.autoSetWorkingDir() ? directoryPart(settings().launcherFile) : std::string();
  command += passThroughText(passThroughArguments);
  writeLog("Executing launch script command: " + command +
           (script.autoSetWorkingDir() ? " in working directory " + workingDirectory
                                       : std::string(" in current working directory")));

  int32_t exitCode = 0;
  const bool console = script.displayConsole() || consoleRequested;
  const bool capture = !console && script.captureOutput();
  {
    JavaHomeForChild javaHome(jvmFile.tagFile().value("JVM_HOME", 0));
    if (isWizardKind(script.context().launcherKind))
      applyWizardEnvironment(jvmFile.tagFile());
    ProcessRequest request;
    request.commandLine = command;
    request.workingDirectory = workingDirectory;
    request.showConsole = console;
    request.captureOutput = capture;
    request.stdoutSink = &script.standardOutput();
    request.stderrSink = &script.standardError();
    request.emptyInput = limits.emptyInput;
    request.timeLimitMs = limits.timeLimitMs;
    request.settleAfterExit = limits.settleAfterExit;
    exitCode = runProcess(request);
  }
  if (capture) {
    writeLog("Output from the launch script execution");
    writeLog("StdOut:");
    writeLog(script.standardOutput());
    writeLog("ErrOut:");
    writeLog(script.standardError());
  }
  return exitCode;
}
