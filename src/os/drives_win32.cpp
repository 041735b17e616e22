// Win32 drives: the logical drive list, kept to the drives of type fixed.
#include "os/drives.h"

#include <windows.h>

#include <cstring>

namespace os {

bool fixedDriveRoots(std::vector<std::string>* roots) {
  roots->clear();
  DWORD size = GetLogicalDriveStringsA(0, nullptr);
  if (size == 0) return false;
  std::vector<char> buffer;
  // A drive mounted between the two calls makes the list longer than the
  // size first reported; the call then answers with the size it needs.
  for (;;) {
    buffer.assign(size + 1, '\0');
    const DWORD written = GetLogicalDriveStringsA(size, buffer.data());
    if (written == 0) return false;
    if (written <= size) break;
    size = written;
  }
  for (const char* root = buffer.data(); *root; root += std::strlen(root) + 1)
    if (GetDriveTypeA(root) == DRIVE_FIXED) roots->push_back(root);
  return true;
}

// Each drive is a tree of its own on Windows; nothing inside one leads to
// another that the scan would have to avoid.
std::vector<std::string> scanFences() { return {}; }

}  // namespace os
