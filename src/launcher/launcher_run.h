#pragma once
// One run of the launcher, owned by the front end: the launcher file's
// archive, the scripts built from its entries or from an input file (the
// instruction interpreter, the launch script, the JVM search with its JVM
// files), what every launch shares (the launch context, with the launch
// options of the command line) and the outcome of the walk of the options.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/index.h"
#include "jvm/jvm_search.h"
#include "launch/launch_context.h"
#include "script/variables.h"

class InstructionInterpreter;
class LaunchScript;
class TagFile;
class TempArea;
struct CommandContext;

class LauncherRun {
public:
  // temp (not owned) is the run's temporary area, which outlives the run:
  // its removal comes after.
  explicit LauncherRun(TempArea& temp);
  ~LauncherRun();
  LauncherRun(const LauncherRun&) = delete;
  LauncherRun& operator=(const LauncherRun&) = delete;

  // Reads the archive's index (once) and, when asked, builds the scripts of
  // its entries: the first instruction script, the first launch script
  // (whose DESC becomes the title), and every JVM file unless an input file
  // gave its own. Throws LauncherException.
  void loadArchive(bool withScripts);
  // Takes the instruction script, launch script, verifier and JVM files
  // that an input file names. Throws LauncherException.
  void loadInputFile(const TagFile& input);

  const LauncherArchive& archive() const { return archive_; }
  TempArea& temp() { return *launch_.temp; }
  InstructionInterpreter* instructionScript() const { return instructionScript_.get(); }
  // The launch script in use, or null.
  LaunchScript* launchScriptInUse() const { return launchScript_.get(); }
  // The tag file the launch script in use was read from, or null.
  const TagFile* launchScript() const;
  JvmSearch& jvmSearch() { return jvmSearch_; }
  // The script's variables, which commands and service actions report in.
  ScriptVariables& variables() { return variables_; }
  // The tag files of the JVM description files, in load order.
  std::vector<const TagFile*> jvmFiles() const;
  // What the instruction script's commands act on.
  CommandContext commandContext();
  // The options of the command line that shape a launch; the walk fills them.
  LaunchOptions& launchOptions() { return launch_.options; }
  LaunchContext& launchContext() { return launch_; }
  // The launcher kind byte of the launcher file, read once per run.
  int32_t launcherKind();
  // What the last launch wrote to its standard error; empty before one.
  std::string lastLaunchErrors() const;

  // The walk's outcome: the exit code so far, and whether the instructions
  // still run once every option is taken.
  int32_t result = 0;
  bool runInstructions = true;

private:
  TagFile& loadTagFile(const std::string& path);
  void setInstructionScript(const TagFile& script);
  void setLaunchScript(const TagFile& script);

  LauncherArchive archive_;
  LaunchContext launch_;
  ScriptVariables variables_;
  bool kindRead_ = false;
  std::vector<std::unique_ptr<TagFile>> loadedTagFiles_;
  std::unique_ptr<InstructionInterpreter> instructionScript_;
  std::unique_ptr<LaunchScript> launchScript_;
  JvmSearch jvmSearch_;
  bool jvmFilesGiven_ = false;
  bool scriptsBuilt_ = false;
};
