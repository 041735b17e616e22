#pragma once
// The [Rename] section of the Windows 95 family's wininit file: its "NUL="
// lines name files and directories that the system deletes at its next start.

#include <string>
#include <vector>

#include "os/system_result.h"

class WinInitRename {
public:
  // Adds "NUL=" and the path's short (8.3) form.
  void addDeletion(const std::string& path);
  // Writes the entries into the Windows directory's wininit file. The
  // entries are kept unless it succeeds.
  os::SystemResult commit();
  // The same with the file named.
  os::SystemResult commitTo(const std::string& path);

  const std::vector<std::string>& entries() const { return entries_; }

private:
  std::vector<std::string> entries_;
};

// content with the entries, each on its own line, inserted right after the
// line of "[Rename]" (searched for up to the first zero byte), or with the
// section appended at its end when there is none.
std::string insertRenameEntries(const std::string& content, const std::vector<std::string>& entries);
