#pragma once
// Removal of the launcher's own executable and its directory once the
// launcher has ended, for a launcher started as a temporary copy (-qm:orig).

#include <string>

// Arranges the removal of launcherFile and its directory: at once where a
// running executable may be deleted, otherwise through a hidden batch file
// (NT family) or the start-up rename list (Windows 95 family). Failures are silent.
void removeSelf();

// How often the batch tries to delete the launcher, about a second apart.
constexpr int kSelfRemovalTries = 60;

// The text of the batch file (lines ending in CR LF) that deletes
// launcherFile as soon as it can, then directory (unless empty) and itself;
// a launcher that cannot be deleted within kSelfRemovalTries tries is left
// with its directory, and the batch still deletes itself. With a debug log
// it notes both steps there.
std::string selfRemovalBatch(const std::string& launcherFile, const std::string& directory,
                             const std::string& batchFile, const std::string* debugLog);
