// Platform hints: JVM homes read from the registry.

#include "jvm/platform_hint.h"

#include <algorithm>

#include "base/exceptions.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/text.h"

namespace {

// The home held by value valueName of key keyPath (empty for an empty
// value), or the failure that stopped the read.
os::SystemResult readHome(os::RegistryHive hive, const std::string& keyPath,
                          os::RegistryView view, const std::string& valueName, std::string* home) {
  os::RegistryKey key = 0;
  os::SystemResult result = os::openRegistryKey(hive, keyPath, view, &key);
  if (!result.ok()) return result;
  result = os::readRegistryText(key, valueName, home);
  os::closeRegistryKey(key);
  return result;
}

// A "*" segment stands for every subkey there, newest name first (the
// versions of a vendor's JDKs): the homes of all that resolve, in that order.
void resolveEverySubkey(os::RegistryHive hive, const std::string& hint, size_t wildcard,
                        std::vector<std::string>& homes, os::RegistryView view) {
  const PlatformHintParts parent = splitPlatformHint(hint.substr(0, wildcard) + "\\x");
  os::RegistryKey key = 0;
  std::vector<std::string> names;
  os::SystemResult result = os::openRegistryKey(hive, parent.keyPath, view, &key);
  if (result.ok()) {
    result = os::listRegistrySubkeys(key, &names);
    os::closeRegistryKey(key);
  }
  if (!result.ok()) {
    if (view == os::RegistryView::kProcess)
      writeLog(formatMessage(kTextInvalidPlatformHint, {systemErrorText(result.code)}), kLogWarning);
    return;
  }
  std::sort(names.begin(), names.end(), newerVersionFirst);
  for (const std::string& name : names) {
    const std::string concrete = hint.substr(0, wildcard + 1) + name + hint.substr(wildcard + 2);
    std::vector<std::string> found;
    // Not every version holds the value: the others are passed over quietly.
    if (concrete.find("\\*\\") != std::string::npos) {
      resolveEverySubkey(hive, concrete, concrete.find("\\*\\"), found, view);
    } else {
      const PlatformHintParts parts = splitPlatformHint(concrete);
      std::string home;
      if (readHome(hive, parts.keyPath, view, parts.valueName, &home).ok() && !home.empty())
        found.push_back(home);
    }
    homes.insert(homes.end(), found.begin(), found.end());
  }
}

}  // namespace

PlatformHintParts splitPlatformHint(const std::string& hint) {
  PlatformHintParts parts;
  const size_t start = !hint.empty() && hint[0] == '\\' ? 1 : 0;
  const size_t separator = hint.find('\\', start);
  if (separator == std::string::npos) return parts;
  const size_t last = hint.rfind('\\');
  parts.hive = hint.substr(start, separator - start);
  parts.valueName = hint.substr(last + 1);
  parts.keyPath =
      separator == last ? parts.valueName : hint.substr(separator + 1, last - separator - 1);
  parts.afterHive = hint.substr(separator + 1);
  return parts;
}

bool registryHiveFromName(const std::string& name, os::RegistryHive* hive) {
  static const struct {
    const char* name;
    os::RegistryHive hive;
  } kHives[] = {{"HKEY_LOCAL_MACHINE", os::RegistryHive::kLocalMachine},
                {"HKEY_CURRENT_USER", os::RegistryHive::kCurrentUser},
                {"HKEY_USERS", os::RegistryHive::kUsers},
                {"HKEY_CLASSES_ROOT", os::RegistryHive::kClassesRoot},
                {"HKEY_CURRENT_CONFIG", os::RegistryHive::kCurrentConfig}};
  for (const auto& entry : kHives) {
    if (name == entry.name) {
      *hive = entry.hive;
      return true;
    }
  }
  return false;
}

void resolvePlatformHint(const std::string& hint, std::vector<std::string>& homes,
                         os::RegistryView view) {
  homes.clear();
  if (hint.empty()) return;
  const PlatformHintParts parts = splitPlatformHint(hint);
  os::RegistryHive hive;
  if (!registryHiveFromName(parts.hive, &hive))
    throw LauncherException(formatMessage(kTextInvalidHive, {parts.hive, hint}));
  if (!os::hasRegistry()) return;
  const size_t wildcard = hint.find("\\*\\");
  if (wildcard != std::string::npos) {
    resolveEverySubkey(hive, hint, wildcard, homes, view);
    return;
  }
  os::RegistryKey key = 0;
  os::SystemResult result = os::openRegistryKey(hive, parts.keyPath, view, &key);
  // A key that does not open has no subkey either, so only a value that
  // cannot be read earns the try of the default value one level down.
  if (result.ok()) {
    std::string home;
    result = os::readRegistryText(key, parts.valueName, &home);
    os::closeRegistryKey(key);
    if (!result.ok()) result = readHome(hive, parts.afterHive, view, std::string(), &home);
    if (result.ok()) {
      if (!home.empty()) homes.push_back(home);
      return;
    }
  }
  // The other view is read in case a JVM of the other width registered
  // there; that it holds nothing is no news.
  if (view == os::RegistryView::kProcess)
    writeLog(formatMessage(kTextInvalidPlatformHint, {systemErrorText(result.code)}), kLogWarning);
}
