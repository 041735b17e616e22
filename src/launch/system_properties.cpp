// The SYSTEMPROP and RUNTIME_SYSTEMPROP launch-script functions.

#include "launch/system_properties.h"

#include "launch/function_scope.h"
#include "launch/side_files.h"

namespace {

// The system property as the JVM file writes one; the name is taken as it is.
std::string systemProperty(LaunchFunctionScope& script, const std::string& name,
                           const std::string& value) {
  return script.jvmValue("SYSTEM") + name + script.jvmValue("SYSTEM_SEPARATOR") +
         script.substituteValues(value);
}

void appendWithBlank(std::string& joined, const std::string& piece) {
  if (piece.empty()) return;
  if (!joined.empty()) joined += ' ';
  joined += piece;
}

}  // namespace

std::string systemPropertyFunction(LaunchFunctionScope& script,
                                   const std::vector<std::string>& arguments) {
  return systemProperty(script, arguments[0], arguments[1]);
}

std::string runtimeSystemPropertiesFunction(LaunchFunctionScope& script, const std::vector<std::string>&) {
  std::string joined;
  for (const std::string& line : readSideFile(kSystemPropertyFile)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    appendWithBlank(joined,
                    systemProperty(script, line.substr(0, equals), line.substr(equals + 1)));
  }
  return joined;
}

std::string runtimeJavaArgumentsFunction(LaunchFunctionScope& script, const std::vector<std::string>&) {
  std::string joined;
  for (const std::string& line : readSideFile(kJavaArgumentsFile))
    appendWithBlank(joined, script.substituteValues(line));
  return joined;
}
