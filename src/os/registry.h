#pragma once
// Reading text values from the system registry, for the platform hints of
// JVM description files. Failures come back as a SystemResult.

#include <cstdint>
#include <string>
#include <vector>

#include "os/system_result.h"

namespace os {

// The five predefined keys a platform hint may start from.
enum class RegistryHive { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig };

using RegistryKey = intptr_t;

// A 64-bit Windows keeps two views of the software keys: the 32-bit
// programs' and the 64-bit programs'. A JVM registers in the view of its own
// width, so a search reads the process's own view, then the other one.
enum class RegistryView { kProcess, k32Bit, k64Bit };

// Whether the system has a registry at all; without one nothing is opened.
bool hasRegistry();

// The views a search reads, the process's own first: the other one only
// where the system has two (a 64-bit process, or a 32-bit one under the
// 64-bit system's emulation, which is asked of the system, never assumed).
std::vector<RegistryView> registryViews();

// Opens keyPath below hive, in the view, for reading.
SystemResult openRegistryKey(RegistryHive hive, const std::string& keyPath, RegistryView view,
                             RegistryKey* key);

// Replaces text with the value's data up to its first zero byte, whatever the
// value's type; an empty name reads the key's default value.
SystemResult readRegistryText(RegistryKey key, const std::string& valueName, std::string* text);

// The names of the key's subkeys, in the registry's order.
SystemResult listRegistrySubkeys(RegistryKey key, std::vector<std::string>* names);

void closeRegistryKey(RegistryKey key);

}  // namespace os
