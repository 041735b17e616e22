#pragma once
// Removal, at the end of a run, of everything the run left in the temporary
// area, and of single paths on the way.

#include <cstdint>
#include <string>

// Removes the recorded directories, then the recorded files, newest first,
// retrying what is still held open for a while. Never throws.
void removeTemporaries();

// Deletes a file, or a directory with everything in it that can go.
// -1 when the path is not there, 1 when it is gone, 0 when it is not.
// Throws LauncherException when a directory listing breaks off.
int32_t deletePath(const std::string& path);

// Deletes one file or one empty directory, read-only or not; a failure is
// logged as a warning and answers false.
bool deleteOne(const std::string& path);
