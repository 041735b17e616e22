#pragma once
// The JVM_PROPERTIES patterns of a JVM description file: the system
// properties a JVM must report, each as name=value, where a value ending in
// "..." accepts any reported value that starts with the text before it, and
// "N+" or "N..M" accepts a version from N on, or from N to M.

#include <string>
#include <vector>

class JvmFile;

struct PropertyPattern {
  std::string name;
  std::string expected;
};

// The usable patterns in the order of the values. A value without '=' is
// left out with a warning in the log naming the JVM file.
std::vector<PropertyPattern> propertyPatterns(const JvmFile& jvmFile);

// Whether a value the JVM reported (the text "null" for a property it does
// not have) satisfies the expected value.
bool propertyValueMatches(const std::string& expected, const std::string& reported);
