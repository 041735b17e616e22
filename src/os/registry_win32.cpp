// Win32 registry reads through the ANSI calls.
#include "os/registry.h"

#include <windows.h>

#include <vector>

namespace os {

namespace {

HKEY predefinedKey(RegistryHive hive) {
  switch (hive) {
    case RegistryHive::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryHive::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryHive::kUsers:
      return HKEY_USERS;
    case RegistryHive::kCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RegistryHive::kLocalMachine:
    default:
      return HKEY_LOCAL_MACHINE;
  }
}

HKEY handleOf(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

bool hasRegistry() { return true; }

unsigned long openRegistryKey(RegistryHive hive, const std::string& keyPath, RegistryKey* key) {
  HKEY opened = nullptr;
  const LONG error = RegOpenKeyExA(predefinedKey(hive), keyPath.c_str(), 0, KEY_READ, &opened);
  if (error != ERROR_SUCCESS) return static_cast<unsigned long>(error);
  *key = reinterpret_cast<RegistryKey>(opened);
  return 0;
}

unsigned long readRegistryText(RegistryKey key, const std::string& valueName, std::string* text) {
  DWORD size = 0;
  LONG error = RegQueryValueExA(handleOf(key), valueName.c_str(), nullptr, nullptr, nullptr, &size);
  if (error != ERROR_SUCCESS) return static_cast<unsigned long>(error);
  // One byte more than asked for, so that data without its terminating
  // zero still ends inside the buffer.
  std::vector<char> data(size + 1, '\0');
  error = RegQueryValueExA(handleOf(key), valueName.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(data.data()), &size);
  if (error != ERROR_SUCCESS) return static_cast<unsigned long>(error);
  text->assign(data.data(), size);
  const size_t end = text->find('\0');
  if (end != std::string::npos) text->erase(end);
  return 0;
}

void closeRegistryKey(RegistryKey key) { RegCloseKey(handleOf(key)); }

}  // namespace os
