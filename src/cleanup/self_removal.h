#pragma once
// Removal of the launcher's own executable and its directory once the
// launcher has ended, for a launcher started as a temporary copy (-qm:orig).

#include <string>

class TempArea;

// Arranges the removal of launcherFile and its directory: at once where a
// running executable may be deleted, otherwise through a hidden batch file
// (NT family) or the start-up rename list (Windows 95 family). Only a copy
// that a launcher made is removed (see isPrivateCopyOfALauncher); anything
// else is refused with a warning in the log. Failures are silent.
// The batch's name comes from temp, the run's temporary area.
void removeSelf(TempArea& temp);

// Whether file is the only file of a directory that the private-directory
// rule made directly below tempRoot (LRE, hex digits, .tmp).
bool isPrivateCopyOfALauncher(const std::string& file, const std::string& tempRoot);

// How often the batch tries to delete the launcher, about a second apart.
constexpr int kSelfRemovalTries = 60;

// The text of the batch file (lines ending in CR LF) that deletes
// launcherFile as soon as it can, then directory (unless empty) and itself;
// a launcher that cannot be deleted within kSelfRemovalTries tries is left
// with its directory, and the batch still deletes itself. With a debug log
// it notes both steps there.
std::string selfRemovalBatch(const std::string& launcherFile, const std::string& directory,
                             const std::string& batchFile, const std::string* debugLog);
