#pragma once
// Which family of the operating system the launcher runs on.

namespace os {

// The platform id of the version query: 1 for the Windows 95 family, 2 for
// the NT family; -1 when the query fails. POSIX systems answer 2.
int platformId();

// Whether this is Windows (either family): there reports name the Windows
// calls that failed, as support and earlier versions know them.
bool systemIsWindows();

}  // namespace os
