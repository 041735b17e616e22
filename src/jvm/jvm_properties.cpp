#include "jvm/jvm_properties.h"

#include "jvm/jvm_file.h"
#include "launcher/log.h"
#include "launcher/text.h"
#include "tagfile/tag_file.h"

namespace {

const char kPropertiesTag[] = "JVM_PROPERTIES";
const char kAnyRest[] = "...";

}  // namespace

std::vector<PropertyPattern> propertyPatterns(const JvmFile& jvmFile) {
  std::vector<PropertyPattern> patterns;
  const TagFile& tags = jvmFile.tagFile();
  const int count = tags.valueCount(kPropertiesTag);
  for (int i = 0; i < count; ++i) {
    const std::string pattern = tags.value(kPropertiesTag, i);
    const size_t equals = pattern.find('=');
    if (equals == std::string::npos) {
      writeLog(std::string("Invalid ") + kPropertiesTag + " setting (" + pattern +
                   ") in JVM File " + jvmFile.name(),
               kLogWarning);
      continue;
    }
    PropertyPattern parsed{pattern.substr(0, equals), pattern.substr(equals + 1)};
    trim(parsed.name);
    trim(parsed.expected);
    patterns.push_back(parsed);
  }
  return patterns;
}

bool propertyValueMatches(const std::string& expected, const std::string& reported) {
  const long rest = endsWith(expected, kAnyRest);
  if (rest < 0) return reported == expected;
  const std::string prefix = expected.substr(0, static_cast<size_t>(rest));
  return reported.compare(0, prefix.size(), prefix) == 0;
}
