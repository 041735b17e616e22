// The lists of temporary files and directories to remove at exit.

#include "temp/cleanup_list.h"

#include <algorithm>
#include <cctype>


namespace {

char folded(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

bool samePathIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return folded(x) == folded(y); });
}

void CleanupList::forget(std::vector<std::string>& list, const std::string& path) {
  const auto found = std::find_if(list.begin(), list.end(),
                                  [&](const std::string& entry) { return samePathIgnoringCase(entry, path); });
  if (found != list.end()) list.erase(found);
}
