// The scripts of one run, built from the archive's entries or an input file.

#include "launcher/launcher_run.h"

#include "base/exceptions.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/ui.h"
#include "launch/jvm_file.h"
#include "launch/launch_script.h"
#include "script/interpreter.h"
#include "script/launcher_commands.h"
#include "tagfile/tag_file.h"

namespace {

LaunchContext launchContextOf(TempArea& temp, const FileIndex& launcherEntries) {
  LaunchContext context;
  context.temp = &temp;
  context.launcherEntries = &launcherEntries;
  return context;
}

}  // namespace

LauncherRun::LauncherRun(TempArea& temp)
    : launch_(launchContextOf(temp, archive_.fileIndex())), jvmSearch_(&launch_) {}
LauncherRun::~LauncherRun() = default;

int32_t LauncherRun::launcherKind() {
  if (!kindRead_)
    launch_.launcherKind = archive_.indexLoaded() ? archive_.launcherKind()
                                                  : readLauncherKind(settings().launcherFile);
  kindRead_ = true;
  return launch_.launcherKind;
}

std::string LauncherRun::lastLaunchErrors() const {
  return launchScript_ ? launchScript_->standardError() : std::string();
}

void LauncherRun::loadArchive(bool withScripts) {
  archive_.loadIndex(withScripts);
  launcherKind();
  if (!withScripts || scriptsBuilt_) return;
  scriptsBuilt_ = true;
  for (const FileEntry& entry : archive_.fileIndex().entries()) {
    if (!entry.tagFile) continue;
    TagFile& script = *entry.tagFile;
    if (entry.type == INSTRUCTIONS) {
      if (!instructionScript_) {
        try {
          setInstructionScript(script);
        } catch (const LauncherException& e) {
          throw LauncherException(messageText(kMsgErrorLoadingInstructions) + e.message());
        }
      }
    } else if (entry.type == JVM) {
      if (!jvmFilesGiven_) jvmSearch_.addJvmFile(std::unique_ptr<JvmFile>(new JvmFile(script)));
    } else if (entry.type == LAUNCHSCRIPT && !launchScript_) {
      setLaunchScript(script);
    }
  }
  jvmFilesGiven_ = true;
}

void LauncherRun::setInstructionScript(const TagFile& script) {
  instructionScript_.reset(new InstructionInterpreter(script, variables_));
}

void LauncherRun::setLaunchScript(const TagFile& script) {
  launchScript_.reset(new LaunchScript(script));
  launchScript_->useContext(&launch_);
  ui::setTitle(launchScript_->description());
}

const TagFile* LauncherRun::launchScript() const {
  return launchScript_ ? launchScript_->sourceTagFile() : nullptr;
}

std::vector<const TagFile*> LauncherRun::jvmFiles() const {
  std::vector<const TagFile*> tagFiles;
  for (const std::unique_ptr<JvmFile>& jvmFile : jvmSearch_.jvmFiles())
    tagFiles.push_back(&jvmFile->tagFile());
  return tagFiles;
}

CommandContext LauncherRun::commandContext() {
  return CommandContext{variables_, *launch_.temp, archive_.fileIndex(), jvmSearch_,
                        launchScript_.get()};
}

TagFile& LauncherRun::loadTagFile(const std::string& path) {
  loadedTagFiles_.emplace_back(new TagFile(path));
  return *loadedTagFiles_.back();
}

void LauncherRun::loadInputFile(const TagFile& input) {
  const std::string instructions = input.value("INSTRUCTIONS", 0);
  if (!instructions.empty()) {
    try {
      setInstructionScript(loadTagFile(instructions));
    } catch (const LauncherException& e) {
      throw LauncherException(messageText(kMsgErrorLoadingInstructions) + e.message());
    }
  }
  const std::string launchScript = input.value("LAUNCHSCRIPT", 0);
  if (!launchScript.empty()) {
    try {
      setLaunchScript(loadTagFile(launchScript));
    } catch (const LauncherException& e) {
      throw LauncherException(messageText(kMsgErrorLoadingLaunchScript) + e.message());
    }
  }
  const std::string classPath = input.value("VERIFY_CLASSPATH", 0);
  const std::string className = input.value("VERIFY_CLASS_NAME", 0);
  if (!classPath.empty() && !className.empty()) jvmSearch_.setVerifier(classPath, className);
  const std::string title = input.value("UI_TITLE", 0);
  if (!title.empty()) ui::setTitle(title);
  const int32_t jvmCount = input.valueCount("JVM");
  for (int32_t i = 0; i < jvmCount; ++i) {
    jvmFilesGiven_ = true;
    const std::string path = input.value("JVM", i);
    if (path.empty()) continue;
    try {
      jvmSearch_.addJvmFile(std::unique_ptr<JvmFile>(new JvmFile(loadTagFile(path))));
    } catch (const LauncherException& e) {
      throw LauncherException(messageText(kMsgErrorLoadingJvmFile) + e.message());
    }
  }
}
