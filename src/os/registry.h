#pragma once
// Reading text values from the system registry, for the platform hints of
// JVM description files. Failures are the system's error codes (0: none).

#include <cstdint>
#include <string>

namespace os {

// The five predefined keys a platform hint may start from.
enum class RegistryHive { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig };

using RegistryKey = intptr_t;

// Whether the system has a registry at all; without one nothing is opened.
bool hasRegistry();

// Opens keyPath below hive for reading; 0 or the error code.
unsigned long openRegistryKey(RegistryHive hive, const std::string& keyPath, RegistryKey* key);

// Replaces text with the value's data up to its first zero byte, whatever the
// value's type; an empty name reads the key's default value. 0 or the error code.
unsigned long readRegistryText(RegistryKey key, const std::string& valueName, std::string* text);

void closeRegistryKey(RegistryKey key);

}  // namespace os
