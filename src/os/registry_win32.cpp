// Win32 registry reads through the ANSI calls.
#include "os/registry.h"

#include <windows.h>

#include <vector>

#include "os/ansi_path_win32.h"

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

constexpr bool kProcessIs64Bit = sizeof(void*) == 8;

// A 32-bit process on a 64-bit system. IsWow64Process is looked up: Windows
// before XP SP2 lacks it, and there the answer is no. Systems before WOW64
// may refuse the view flags, so they are passed only where this says yes.
bool runsUnderWow64() {
  typedef BOOL(WINAPI * IsWow64ProcessCall)(HANDLE, PBOOL);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const IsWow64ProcessCall isWow64 =
      kernel ? reinterpret_cast<IsWow64ProcessCall>(
                   reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
             : nullptr;
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

bool hasRegistry() { return true; }

std::vector<RegistryView> registryViews() {
  if (windows95Family()) return {RegistryView::kProcess};  // no 95-family system is 64-bit
  if (kProcessIs64Bit) return {RegistryView::kProcess, RegistryView::k32Bit};
  if (runsUnderWow64()) return {RegistryView::kProcess, RegistryView::k64Bit};
  return {RegistryView::kProcess};
}

SystemResult openRegistryKey(RegistryHive hive, const std::string& keyPath, RegistryView view,
                             RegistryKey* key) {
  // The flags' values, for headers of systems that predate them.
  constexpr REGSAM kWow64View64Key = 0x0100, kWow64View32Key = 0x0200;
  REGSAM access = KEY_READ;
  if (view == RegistryView::k64Bit) access |= kWow64View64Key;
  if (view == RegistryView::k32Bit) access |= kWow64View32Key;
  HKEY opened = nullptr;
  const LONG error = RegOpenKeyExA(predefinedKey(hive), keyPath.c_str(), 0, access, &opened);
  if (error != ERROR_SUCCESS) return systemResult(static_cast<unsigned long>(error));
  *key = reinterpret_cast<RegistryKey>(opened);
  return SystemResult();
}

SystemResult readRegistryText(RegistryKey key, const std::string& valueName, std::string* text) {
  DWORD size = 0;
  LONG error = RegQueryValueExA(handleOf(key), valueName.c_str(), nullptr, nullptr, nullptr, &size);
  if (error != ERROR_SUCCESS) return systemResult(static_cast<unsigned long>(error));
  // One byte more than asked for, so that data without its terminating
  // zero still ends inside the buffer.
  std::vector<char> data(size + 1, '\0');
  error = RegQueryValueExA(handleOf(key), valueName.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(data.data()), &size);
  if (error != ERROR_SUCCESS) return systemResult(static_cast<unsigned long>(error));
  text->assign(data.data(), size);
  const size_t end = text->find('\0');
  if (end != std::string::npos) text->erase(end);
  return SystemResult();
}

SystemResult listRegistrySubkeys(RegistryKey key, std::vector<std::string>* names) {
  for (DWORD index = 0;; ++index) {
    char name[256];  // the longest key name the registry allows is 255
    DWORD length = sizeof name;
    const LONG error =
        RegEnumKeyExA(handleOf(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) return SystemResult();
    if (error != ERROR_SUCCESS) return systemResult(static_cast<unsigned long>(error));
    names->emplace_back(name, length);
  }
}

void closeRegistryKey(RegistryKey key) { RegCloseKey(handleOf(key)); }

}  // namespace os
