#pragma once
// The launch script: a template of the Java command line whose % function
// calls, @ tag values of the chosen JVM description file and # environment
// variables are expanded into the command that is run.

#include <cstddef>
#include <string>

#include "base/text_expander.h"
#include "launch/function_scope.h"
#include "launch/launch_context.h"

class JvmFile;
class TagFile;

class LaunchScript : public TextExpander, public LaunchFunctionScope {
public:
  // From a launch script file: COMMAND, DISPLAY_CONSOLE (default off),
  // AUTO_SET_WORKING_DIR (default on), DESC and ARCHIVE; output is
  // captured and the archive's class-path entries are included.
  explicit LaunchScript(const TagFile& script);
  // From a bare command text, as JVM verification builds one: it may hold
  // sealed values (literalText); its other text must not hold the bytes
  // that mark them (sealMarkerBytes).
  LaunchScript(const std::string& command, bool captureOutput, bool includeEmbeddedClassPath);

  // The command with its functions, then the JVM file's values, then the
  // environment variables expanded. Throws LauncherException: "Launch
  // script error: " and the problem for a faulty call or a runaway
  // expansion (after logging the command as it stood), and the errors of
  // the functions and of an unterminated quoted argument unchanged.
  std::string buildCommand(JvmFile& jvmFile);

  // % calls a function, # reads an environment variable.
  void expandOne(std::string& text, char marker, size_t start, size_t end) override;

  const std::string& command() const { return command_; }
  bool captureOutput() const { return captureOutput_; }
  bool displayConsole() const { return displayConsole_; }
  bool autoSetWorkingDir() const { return autoSetWorkingDir_; }
  bool includeEmbeddedClassPath() const override { return includeEmbeddedClassPath_; }
  const std::string& description() const { return description_; }
  const std::string& archive() const override { return archive_; }
  // The tag file this script was read from; null for a command text.
  const TagFile* sourceTagFile() const { return sourceTagFile_; }
  // The run's launch context (not owned) that the functions read and the
  // launch follows; until one is given, a context of the script's own with
  // no entries, no options and no launcher kind.
  void useContext(LaunchContext* context) { context_ = context; }
  LaunchContext& context() override { return context_ ? *context_ : ownContext_; }

  // What the program wrote; every run appends.
  std::string& standardOutput() { return standardOutput_; }
  std::string& standardError() { return standardError_; }

  // For the functions (LaunchFunctionScope), during buildCommand: the JVM
  // file being launched.
  std::string jvmValue(const std::string& tag) const override;
  std::string substituteValues(const std::string& text) override;
  std::string expandFunctions(const std::string& text) override { return expand(text, '%'); }

private:
  void expandFunction(std::string& text, size_t start, size_t end);
  // Logs the command as it stands and throws the launch-script error.
  [[noreturn]] void fail(const std::string& text, const std::string& message) const;

  std::string command_;
  bool captureOutput_ = true;
  bool displayConsole_ = false;
  bool autoSetWorkingDir_ = true;
  bool includeEmbeddedClassPath_ = true;
  std::string description_;
  std::string archive_;
  const TagFile* sourceTagFile_ = nullptr;
  LaunchContext* context_ = nullptr;
  LaunchContext ownContext_;
  std::string standardOutput_;
  std::string standardError_;
  JvmFile* currentJvmFile_ = nullptr;
};
