#pragma once
// Platform hints: registry values that name a JVM home, written
// \HIVE\key path\value name (the leading backslash may be left out).

#include <string>
#include <vector>

#include "os/registry.h"

struct PlatformHintParts {
  std::string hive;
  std::string keyPath;    // the value name too when the hive is followed by one element only
  std::string valueName;
  std::string afterHive;  // everything after the hive, tried as a key whose default value is the home
};

// The pieces of a hint; all empty when no backslash follows the hive.
PlatformHintParts splitPlatformHint(const std::string& hint);

// The predefined key a hive text names; false for any other text, letter
// case included.
bool registryHiveFromName(const std::string& name, os::RegistryHive* hive);

// Replaces homes with the JVM home the hint yields in the view (none or
// one). A key segment "*" stands for every subkey there (the versions under
// a vendor's key), newest name first, and yields the home of each that has
// the value. A key or value of the process's own view that cannot be read
// is a warning in the log. Throws LauncherException (text 27) for an
// unknown hive.
void resolvePlatformHint(const std::string& hint, std::vector<std::string>& homes,
                         os::RegistryView view = os::RegistryView::kProcess);
