#pragma once
// The temporary root, the private directories and files made below it (each
// recorded for removal at exit), the free-space estimate, and the copying of
// archive entries to disk.

#include <cstdint>
#include <string>

struct FileEntry;

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

// Whether bytes in files files fit on the volume of path, with whole
// clusters per file. Throws LauncherException "GetDiskFreeSpace failed  ==>  ...".
bool hasFreeSpace(const std::string& path, int64_t bytes, int64_t files);

// Whether a file is there: it opens, or it is held open by someone else.
// Other failures are logged and answer false.
bool fileExists(const std::string& path);

// Copies the entry's stored bytes from the launcher file into directory
// (empty: the current one) under the entry's name and gives the new path.
// Throws LauncherException (texts 33 and 34, with the error number between
// them when the copy fails).
std::string extractTo(const FileEntry& entry, const std::string& directory);

// Writes every embedded file and an input.tag that runs them into the
// current directory. Throws LauncherException, without writing anything,
// when one of those files is already there, unless replaceExisting.
void extractAll(bool replaceExisting);
