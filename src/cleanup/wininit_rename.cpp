// The wininit rename list. Only portable code.

#include "cleanup/wininit_rename.h"

#include "os/self_removal.h"

void WinInitRename::addDeletion(const std::string& path) {
  entries_.push_back("NUL=" + os::shortPathName(path));
}

os::SystemResult WinInitRename::commit() {
  if (entries_.empty()) return os::SystemResult();
  std::string windows;
  const os::SystemResult found = os::windowsDirectory(&windows);
  if (!found.ok()) return found;
  return commitTo(windows + "\\WinInit.Ini");
}

os::SystemResult WinInitRename::commitTo(const std::string& path) {
  if (entries_.empty()) return os::SystemResult();
  size_t room = 0;
  for (const std::string& entry : entries_) room += entry.size() + 1;
  const os::SystemResult result = os::rewriteFileMapped(
      path, room, [this](const std::string& content) { return insertRenameEntries(content, entries_); });
  if (result.ok()) entries_.clear();
  return result;
}

std::string insertRenameEntries(const std::string& content, const std::vector<std::string>& entries) {
  static const std::string kSection = "[Rename]";
  std::string lines;
  for (const std::string& entry : entries) lines += entry + '\n';
  const std::string text = content.substr(0, content.find('\0'));
  const size_t section = text.find(kSection);
  if (section == std::string::npos) {
    // A last line without its line break would take the section's name.
    const bool openLine = !content.empty() && content.back() != '\n';
    return content + (openLine ? "\n" : "") + kSection + '\n' + lines;
  }
  const size_t afterHeader = section + kSection.size();
  const size_t lineFeed = text.find('\n', afterHeader);
  if (lineFeed == std::string::npos) {
    std::string result = content;
    return result.insert(afterHeader, '\n' + lines);
  }
  std::string result = content;
  return result.insert(lineFeed + 1, lines);
}
