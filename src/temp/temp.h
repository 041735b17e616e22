#pragma once
// The temporary root, and the private directories and files made below it,
// each recorded for removal at exit.

#include <cstdint>
#include <string>

// Sets the temporary root (the -qm:tempdir option); used as given.
void setTempRoot(const std::string& path);

// The temporary root, the system's temporary path when none was set.
// Throws LauncherException (text 36) when it is not an existing directory.
std::string getTempRoot();

// A new directory below the root, recorded for removal; no trailing separator.
// Throws LauncherException: text 36, "GetTempFileName failed  ==>  ..." or
// "CreateDirectory failed  ==>  ...".
std::string createPrivateDir();

// A new empty file below the root, recorded for removal; empty (and logged)
// when the system makes none. Throws LauncherException (text 36).
std::string createTempFile();

// Take the first recorded file or directory equal to path, letter case
// aside, off the removal list; nothing when none is.
void forgetTempFile(const std::string& path);
void forgetTempDir(const std::string& path);

// Whether a file is there: it opens, or it is held open by someone else.
// Other failures are logged and answer false.
bool fileExists(const std::string& path);
