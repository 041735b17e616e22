// The verifier's command and the reading of what it printed.

#include "jvm/verifier.h"

#include "base/log.h"
#include "base/text.h"
#include "launch/jvm_file.h"
#include "launch/literal_text.h"
#include "tagfile/tag_file.h"

const char kVerifierMagic[] = "1739021872";

std::string verifierCommandTemplate(const std::string& home, char separator,
                                    const std::string& classpath, const std::string& className,
                                    const std::vector<PropertyPattern>& properties) {
  // The home and the verifier's own path are data, whatever they hold.
  std::string directory = home;
  if (home.empty() || home.back() != separator) directory += separator;
  std::string command = "\"" + literalPath(directory) + "@JVM_EXE@\" %CP%(";
  const bool quoted = classpath.size() >= 2 && classpath.front() == '"' && classpath.back() == '"';
  command += quoted ? "\"\"\"" + literalPath(classpath.substr(1, classpath.size() - 2)) + "\"\"\""
                    : sealMarkerBytes(classpath);
  command += ") " + sealMarkerBytes(className);
  for (const PropertyPattern& property : properties)
    command += " " + sealMarkerBytes(property.name);
  return command;
}

bool hasVerifierMagic(const std::string& output) {
  size_t position = 0;
  std::string line;
  while (position < output.size()) {
    line.clear();
    readLine(output, position, line);
    if (line == kVerifierMagic) return true;
  }
  return false;
}

bool checkVerifierOutput(const std::string& output, const std::vector<PropertyPattern>& properties) {
  size_t position = 0;
  std::string line;
  bool magicSeen = false;
  while (position < output.size() && !magicSeen) {
    line.clear();
    readLine(output, position, line);
    magicSeen = line == kVerifierMagic;
  }
  if (!magicSeen) {
    writeLog("Invalid magic value: " + line + "\n", kLogError);
    return false;
  }
  for (const PropertyPattern& property : properties) {
    // The verifier prints a line for every property, "null" for one the JVM
    // lacks; output that stops early has not shown that the JVM qualifies.
    if (position >= output.size()) return false;
    line.clear();
    readLine(output, position, line);
    if (!propertyValueMatches(property.expected, line)) return false;
  }
  return true;
}

bool hasRequiredProperties(const JvmFile& jvmFile) {
  if (!jvmFile.tagFile().value("JVM_PROPERTIES", 0).empty()) return true;
  writeLog("Unable to verify " + jvmFile.name() +
               " because the JVM_PROPERTIES tag was not specified.",
           kLogWarning);
  return false;
}
