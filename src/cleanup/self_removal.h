#pragma once
// Removal of the launcher's own executable and its directory once the
// launcher has ended, for a launcher started as a temporary copy (-qm:orig).

#include <string>

// Arranges the removal of launcherFile and its directory: at once where a
// running executable may be deleted, otherwise through a hidden batch file
// (NT family) or the start-up rename list (Windows 95 family). Failures are silent.
void removeSelf();

// The text of the batch file (lines ending in CR LF) that deletes
// launcherFile as soon as it can, then directory (unless empty) and itself;
// with a debug log it notes both steps there.
std::string selfRemovalBatch(const std::string& launcherFile, const std::string& directory,
                             const std::string& batchFile, const std::string* debugLog);
