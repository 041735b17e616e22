#pragma once
// Copying archive entries out of the launcher file: one entry into a
// directory, or every entry with an input file that runs them.

#include <string>

class FileIndex;
struct FileEntry;

// Copies the entry's stored bytes from the launcher file into directory
// (empty: the current one) under the entry's name and gives the new path.
// Throws LauncherException (texts 33 and 34, with the error number between
// them when the copy fails).
std::string extractTo(const FileEntry& entry, const std::string& directory);

// Reads the entry's stored bytes from the launcher file into bytes; false
// when the file cannot be read or ends before the entry does.
bool readEntryBytes(const FileEntry& entry, std::string* bytes);

// Writes every embedded file and an input.tag that runs them into the
// current directory. Throws LauncherException, without writing anything,
// when one of those files is already there, unless replaceExisting.
void extractAll(const FileIndex& index, bool replaceExisting);
