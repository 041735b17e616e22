// The JVM_PROPERTIES patterns and their matching.
#include "jvm/jvm_properties.h"

#include <cctype>

#include "base/log.h"
#include "base/text.h"
#include "launch/jvm_file.h"
#include "tagfile/tag_file.h"

namespace {

const char kPropertiesTag[] = "JVM_PROPERTIES";
const char kAnyRest[] = "...";
const char kRangeSeparator[] = "..";

using Version = std::vector<long>;

// The dotted number at the start of text ("17", "1.8.0_392", "21-ea"), with
// Java's old numbering read as the new (1.8 is 8); false without a digit at
// the start.
bool readVersion(const std::string& text, Version* version, size_t* end = nullptr) {
  version->clear();
  size_t i = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    long part = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
      part = part < 100000000 ? part * 10 + (text[i] - '0') : part;
    version->push_back(part);
    if (i + 1 < text.size() && text[i] == '.' &&
        std::isdigit(static_cast<unsigned char>(text[i + 1])))
      ++i;
    else
      break;
  }
  if (end) *end = i;
  if (version->empty()) return false;
  if (version->size() > 1 && version->front() == 1) version->erase(version->begin());
  return true;
}

// Compares dotted numbers part by part, a missing part reading as 0.
int compareVersions(const Version& a, const Version& b) {
  for (size_t i = 0; i < a.size() || i < b.size(); ++i) {
    const long x = i < a.size() ? a[i] : 0, y = i < b.size() ? b[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

// An expected value "N+" or "N..M" (N and M dotted numbers): the lower bound
// and, for a range, the upper one. False for any other text.
bool readVersionRange(const std::string& expected, Version* lower, Version* upper,
                      bool* bounded) {
  size_t end = 0;
  if (!readVersion(expected, lower, &end)) return false;
  const std::string rest = expected.substr(end);
  if (rest == "+") {
    *bounded = false;
    return true;
  }
  if (rest.compare(0, 2, kRangeSeparator) != 0) return false;
  const std::string upperText = rest.substr(2);
  size_t upperEnd = 0;
  if (!readVersion(upperText, upper, &upperEnd) || upperEnd != upperText.size()) return false;
  *bounded = true;
  return true;
}

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
  Version lower, upper, actual;
  bool bounded = false;
  // No runtime reports "17+" or "11..21": such a value names versions.
  if (readVersionRange(expected, &lower, &upper, &bounded)) {
    if (!readVersion(reported, &actual) || compareVersions(actual, lower) < 0) return false;
    // The upper bound holds to its own precision: 21.0.1 is within ..21.
    if (bounded && actual.size() > upper.size()) actual.resize(upper.size());
    return !bounded || compareVersions(actual, upper) <= 0;
  }
  const long rest = endsWith(expected, kAnyRest);
  if (rest < 0) return reported == expected;
  const std::string prefix = expected.substr(0, static_cast<size_t>(rest));
  return reported.compare(0, prefix.size(), prefix) == 0;
}
