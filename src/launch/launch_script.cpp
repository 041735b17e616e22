// The launch script: its tags and the expansion of its command.

#include "launch/launch_script.h"

#include "base/log.h"
#include "launch/argument_list.h"
#include "launch/functions.h"
#include "launch/jvm_file.h"
#include "launch/literal_text.h"
#include "os/environment.h"
#include "tagfile/tag_file.h"

namespace {

// Clears the current JVM file on every way out of buildCommand.
class CurrentJvmFile {
public:
  CurrentJvmFile(JvmFile*& slot, JvmFile& jvmFile) : slot_(slot) { slot_ = &jvmFile; }
  ~CurrentJvmFile() { slot_ = nullptr; }
  CurrentJvmFile(const CurrentJvmFile&) = delete;
  CurrentJvmFile& operator=(const CurrentJvmFile&) = delete;

private:
  JvmFile*& slot_;
};

}  // namespace

LaunchScript::LaunchScript(const TagFile& script)
    : command_(sealMarkerBytes(script.value("COMMAND", 0))),
      displayConsole_(script.flag("DISPLAY_CONSOLE", false)),
      autoSetWorkingDir_(script.flag("AUTO_SET_WORKING_DIR", true)),
      description_(script.value("DESC", 0)),
      archive_(sealMarkerBytes(script.value("ARCHIVE", 0))),
      sourceTagFile_(&script) {}

LaunchScript::LaunchScript(const std::string& command, bool captureOutput,
                           bool includeEmbeddedClassPath)
    : command_(command),
      captureOutput_(captureOutput),
      includeEmbeddedClassPath_(includeEmbeddedClassPath) {}

std::string LaunchScript::buildCommand(JvmFile& jvmFile) {
  CurrentJvmFile current(currentJvmFile_, jvmFile);
  try {
    // Functions may produce @ and # markers and tag values # markers, but
    // nothing a later pass produces is taken as a function call.
    std::string text = expand(command_, '%');
    text = jvmFile.substituteValues(text);
    return openLiterals(expand(text, '#'));
  } catch (const ExpansionLimitError& e) {
    fail(e.text(), e.message());
  }
}

void LaunchScript::expandOne(std::string& text, char marker, size_t start, size_t end) {
  if (marker == '%') return expandFunction(text, start, end);
  std::string value;
  if (!os::getEnvironmentVariable(text.substr(start + 1, end - start - 1), &value)) value.clear();
  text.replace(start, end - start + 1, literalText(value));
}

void LaunchScript::expandFunction(std::string& text, size_t start, size_t end) {
  const std::string name = text.substr(start + 1, end - start - 1);
  const LaunchFunction* function = findLaunchFunction(name);
  if (!function) fail(text, "Invalid function name (" + name + ").");
  ArgumentList list;
  try {
    list = parseArgumentList(text, end + 1);
  } catch (const ArgumentListError& e) {
    fail(text, e.message());
  }
  const int count = static_cast<int>(list.arguments.size());
  if (count < function->minArguments ||
      (function->maxArguments >= 0 && count > function->maxArguments))
    fail(text, function->countMessage);
  const std::string result = function->evaluate(*this, list.arguments);
  text.replace(start, list.end - start, result);
}

void LaunchScript::fail(const std::string& text, const std::string& message) const {
  writeLog("Launch command:");
  writeLog(openLiterals(text));
  throw LauncherException("Launch script error: " + message);
}

std::string LaunchScript::jvmValue(const std::string& tag) const {
  return currentJvmFile_ ? sealMarkerBytes(currentJvmFile_->tagFile().value(tag, 0))
                         : std::string();
}

std::string LaunchScript::substituteValues(const std::string& text) {
  return currentJvmFile_ ? currentJvmFile_->substituteValues(text) : text;
}
