#pragma once
// What the removal of the launcher's own executable after its exit needs of
// the system: a batch that outlives the process, or the Windows 95 family's
// start-up rename list.

#include <cstddef>
#include <functional>
#include <string>

#include "os/system_result.h"

namespace os {

// Whether a running executable's file may be deleted while it runs (POSIX yes, Windows no).
bool runningExecutableDeletable();

// Starts the batch file hidden at idle priority and raises this process above it; false when it does not start.
bool startHiddenBatch(const std::string& batchPath);

// The short (8.3) form of an existing path; the path unchanged when the system gives none.
std::string shortPathName(const std::string& path);

// The Windows directory; a failure where there is none.
SystemResult windowsDirectory(std::string* directory);

// Opens path unshared (creating it), maps it with room spare bytes and replaces its content by edit(old content),
// which must fit in the mapping; a failure leaves the content unchanged.
SystemResult rewriteFileMapped(const std::string& path, size_t room,
                               const std::function<std::string(const std::string&)>& edit);

}  // namespace os
