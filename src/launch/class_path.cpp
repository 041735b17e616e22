// The CP launch-script function: the class path in its order.

#include "launch/class_path.h"

#include <utility>

#include "archive/extract.h"
#include "archive/index.h"
#include "base/log.h"
#include "base/settings.h"
#include "base/text.h"
#include "launch/function_scope.h"
#include "launch/literal_text.h"
#include "launch/side_files.h"
#include "os/environment.h"
#include "temp/temp.h"

namespace {

class ClassPath {
public:
  explicit ClassPath(std::string separator) : separator_(std::move(separator)) {}
  // An empty element, quoted or not, is the current directory to Java: a
  // class there (a download beside the launcher) would shadow the
  // application's own, so none is ever added.
  void add(const std::string& element) {
    if (element.empty() || element == "\"\"") return;
    if (added_) text_ += separator_;
    text_ += element;
    added_ = true;
  }
  void addAll(const std::vector<std::string>& elements) {
    for (const std::string& element : elements) add(element);
  }
  // Quotes alone where nothing was added, so that the option still takes
  // its value and not the next argument.
  std::string text() const { return added_ ? text_ : "\"\""; }

private:
  std::string separator_;
  std::string text_;
  bool added_ = false;
};

std::string withoutSurroundingQuotes(std::string text) {
  if (!text.empty() && text.front() == '"') text.erase(0, 1);
  if (!text.empty() && text.back() == '"') text.pop_back();
  return text;
}

// Every class-path archive of the launcher file, extracted into a new
// private directory; a launcher without any makes none.
std::vector<std::string> extractEmbeddedClassPath(LaunchContext& context) {
  std::vector<std::string> paths;
  const FileIndex* launcherEntries = context.launcherEntries;
  if (!launcherEntries) return paths;
  std::string directory;
  for (const FileEntry& entry : launcherEntries->entries()) {
    if (entry.type != CLASSPATH_ARCHIVE) continue;
    if (directory.empty()) directory = context.tempArea().createPrivateDir();
    paths.push_back(extractTo(entry, directory));
  }
  return paths;
}

}  // namespace

std::string classPathFunction(LaunchFunctionScope& script, const std::vector<std::string>& arguments) {
  const bool environmentMode = script.jvmValue("USE_CP_ENV_VAR") == "1";
  const auto element = [environmentMode](const std::string& text) {
    return environmentMode ? withoutSurroundingQuotes(text) : text;
  };

  ClassPath path(script.jvmValue("CLASSPATH_SEPARATOR"));
  path.add(quoted(literalText(script.context().options.classPathPrepend)));
  path.addAll(readSideFile(kClassPathFirstFile));
  path.add(script.jvmValue("JVM_CLASSPATH"));
  path.addAll(readSideFile(kClassPathFile));
  for (const std::string& argument : arguments) path.add(element(argument));
  path.add(element(script.expandFunctions(script.archive())));
  if (script.includeEmbeddedClassPath())
    for (const std::string& extracted : extractEmbeddedClassPath(script.context()))
      path.add(environmentMode ? literalPath(extracted) : quoted(literalPath(extracted)));
  path.addAll(readSideFile(kClassPathLastFile));
  path.add(quoted(literalText(script.context().options.classPathAppend)));

  if (!environmentMode) return script.jvmValue("CLASSPATH") + path.text();
  const std::string variable = script.jvmValue("CP_ENV_VAR");
  if (variable.empty()) {
    writeLog(
        "If USE_CP_ENV_VAR is set to 1 in the jvm file, then the jvm file should also define "
        "CP_ENV_VAR.",
        kLogError);
  } else {
    // The variable holds the paths themselves, not command text.
    const std::string text = openLiterals(path.text());
    if (os::setEnvironmentVariable(variable, &text))
      writeLog("Set env var " + variable + " to " + text + "\n");
    else
      writeLog("Unable to set env var " + variable + " to " + text + "\n", kLogError);
  }
  return std::string();
}
