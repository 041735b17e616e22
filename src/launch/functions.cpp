// The launch-script functions that need nothing but their arguments, the
// JVM file and the settings; the table of all of them.

#include "launch/functions.h"

#include "base/paths.h"
#include "base/settings.h"
#include "base/text_expander.h"
#include "launch/application_archive.h"
#include "launch/class_path.h"
#include "launch/function_scope.h"
#include "launch/literal_text.h"
#include "launch/system_properties.h"
#include "temp/temp.h"

namespace {

// An empty find would match at every position without ever advancing; the
// text is given back unchanged instead.
std::string replaceFunction(LaunchFunctionScope& script, const std::vector<std::string>& arguments) {
  const std::string find = script.substituteValues(arguments[0]);
  const std::string with = script.substituteValues(arguments[1]);
  const std::string& text = arguments[2];
  if (find.empty()) return text;
  std::string result;
  size_t copied = 0;
  for (size_t pos = text.find(find); pos != std::string::npos; pos = text.find(find, copied)) {
    result.append(text, copied, pos - copied).append(with);
    copied = pos + find.size();
    checkExpandedLength(result);
  }
  return result.append(text, copied, std::string::npos);
}

std::string ifExistsFunction(LaunchFunctionScope& script, const std::vector<std::string>& arguments) {
  if (script.jvmValue(arguments[0]).empty()) return std::string();
  return script.substituteValues(arguments[1]);
}

std::string launcherFileFunction(LaunchFunctionScope&, const std::vector<std::string>&) {
  return literalPath(settings().launcherFile);
}

std::string launcherDirFunction(LaunchFunctionScope&, const std::vector<std::string>&) {
  return literalPath(launcherDirectory());
}

std::string tempDirFunction(LaunchFunctionScope& script, const std::vector<std::string>&) {
  return literalPath(withoutTrailingSeparator(script.context().tempArea().root()));
}

const LaunchFunction kFunctions[] = {
    {"REPLACE", 3, 3, "REPLACE function requires 3 arguments.", replaceFunction},
    {"RUNTIME_SYSTEMPROP", 0, 0, "RUNTIME_SYSTEMPROP function takes no arguments.",
     runtimeSystemPropertiesFunction},
    {"RUNTIME_JAVAARGS", 0, 0, "RUNTIME_JAVAARGS function takes no arguments.",
     runtimeJavaArgumentsFunction},
    {"SYSTEMPROP", 2, 2, "SYSTEMPROP function requires 2 arguments.", systemPropertyFunction},
    {"CP", 0, -1, "", classPathFunction},
    {"IF_EXISTS", 2, 2, "IF_EXISTS function requires 2 arguments.", ifExistsFunction},
    {"LAUNCHER_FILE", 0, 0, "LAUNCHER_FILE function takes 0 arguments.", launcherFileFunction},
    {"LAUNCHER_DIR", 0, 0, "LAUNCHER_DIR function takes 0 arguments.", launcherDirFunction},
    {"APPLICATION_ARCHIVE", 0, 1, "APPLICATION_ARCHIVE function takes 0 arguments.",
     [](LaunchFunctionScope& script, const std::vector<std::string>& arguments) {
       return literalPath(applicationArchiveFunction(script, arguments));
     }},
    {"TEMP_DIR", 0, 0, "TEMP_DIR function takes 0 arguments.", tempDirFunction},
};

}  // namespace

const LaunchFunction* findLaunchFunction(const std::string& name) {
  for (const LaunchFunction& function : kFunctions)
    if (name == function.name) return &function;
  return nullptr;
}
