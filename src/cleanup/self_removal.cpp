// Removal of the launcher's own executable after exit. Only portable code.

#include "cleanup/self_removal.h"

#include <cctype>
#include <cstdio>

#include "base/exceptions.h"
#include "base/log.h"
#include "base/settings.h"
#include "cleanup/wininit_rename.h"
#include "os/file_system.h"
#include "os/path.h"
#include "os/self_removal.h"
#include "temp/cleanup_list.h"
#include "temp/temp.h"

namespace {

// A batch file expands %NAME% and %digit even inside quotes; a doubled %
// stands for the character itself.
std::string batchText(const std::string& path) {
  std::string text;
  for (char c : path) {
    if (c == '%') text += '%';
    text += c;
  }
  return text;
}

// Unquoted echo text: the command characters must not split the line into
// commands of their own.
std::string echoText(const std::string& path) {
  std::string text;
  for (char c : batchText(path)) {
    if (c == '&' || c == '|' || c == '<' || c == '>' || c == '^') text += '^';
    text += c;
  }
  return text;
}

// A redirection target with a blank or a command character is quoted.
std::string redirectTarget(const std::string& path) {
  const std::string text = batchText(path);
  if (path.find_first_of(" \t&|<>^(),;=") == std::string::npos) return text;
  return "\"" + text + "\"";
}

std::string directoryOf(const std::string& file) {
  const size_t separator = file.find_last_of(os::pathSeparator());
  return separator == std::string::npos ? std::string() : file.substr(0, separator);
}

std::string nameOf(const std::string& path) {
  const size_t separator = path.find_last_of(os::pathSeparator());
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string withoutSeparator(std::string path) {
  while (path.size() > 1 && path.back() == os::pathSeparator()) path.pop_back();
  return path;
}

// The name the private-directory rule gives: LRE, one to four hexadecimal
// digits, .tmp (in any letter case, as the systems write them).
bool isPrivateName(const std::string& name) {
  if (name.size() < 8 || name.size() > 11) return false;
  const std::string digits = name.substr(3, name.size() - 7);
  const std::string start = name.substr(0, 3), end = name.substr(name.size() - 4);
  if (!samePathIgnoringCase(start, "LRE") || !samePathIgnoringCase(end, ".tmp")) return false;
  for (char c : digits)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string batchPathFor(const std::string& tempName) {
  const size_t separator = tempName.find_last_of(os::pathSeparator());
  const size_t dot = tempName.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  return (hasExtension ? tempName.substr(0, dot) : tempName) + ".bat";
}

void removeThroughBatch(TempArea& temp, const std::string& file, const std::string& directory) {
  const LauncherSettings& s = settings();
  const std::string tempName = temp.createTempFile();
  if (tempName.empty()) return;
  temp.forgetFile(tempName);
  if (s.debugLogEnabled) writeDebugLog("Launcher: Cleanup batch file called: " + tempName, true);
  os::deleteFile(tempName);
  const std::string batch = batchPathFor(tempName);
  std::FILE* out = std::fopen(batch.c_str(), "wb");
  if (!out) return;
  const std::string text = selfRemovalBatch(file, directory, batch, s.debugLogEnabled ? &s.debugLogFile : nullptr);
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  // Half a batch must neither run nor stay behind.
  if (std::fclose(out) != 0 || !written || !os::startHiddenBatch(batch)) os::deleteFile(batch);
}

}  // namespace

std::string selfRemovalBatch(const std::string& launcherFile, const std::string& directory,
                             const std::string& batchFile, const std::string* debugLog) {
  // The launcher may take a moment to end; a file that stays (a scanner or
  // another process keeps it open) is tried about once a second for about a
  // minute, counted by a growing text as the Windows 95 command line has no
  // arithmetic, and then left, so that the batch never runs for ever.
  std::string text = "set qmtries=\r\n:Repeat\r\n";
  if (debugLog)
    text += "@echo Deleting " + echoText(launcherFile) + " from within batch file. >> " +
            redirectTarget(*debugLog) + "\r\n";
  text += "del \"" + batchText(launcherFile) + "\"\r\n";
  text += "if not exist \"" + batchText(launcherFile) + "\" goto Removed\r\n";
  text += "set qmtries=%qmtries%x\r\n";
  text += "if \"%qmtries%\"==\"" + std::string(kSelfRemovalTries, 'x') + "\" goto Done\r\n";
  text += "ping -n 2 127.0.0.1 > nul\r\n";
  text += "goto Repeat\r\n";
  text += ":Removed\r\n";
  if (!directory.empty()) text += "rmdir /q \"" + batchText(directory) + "\"\r\n";
  text += ":Done\r\n";
  text += "del \"" + batchText(batchFile) + "\"\r\n";
  if (debugLog)
    text += "@echo Deleted batch file " + echoText(batchFile) + " from within batch file. >> " +
            redirectTarget(*debugLog) + "\r\n";
  return text;
}

bool isPrivateCopyOfALauncher(const std::string& file, const std::string& tempRoot) {
  const std::string directory = directoryOf(file);
  const std::string parent = directoryOf(directory);
  const std::string root = withoutSeparator(os::listedPathForm(tempRoot));
  const bool sameParent = os::fileNamesIgnoreCase()
                              ? samePathIgnoringCase(os::listedPathForm(parent), root)
                              : os::listedPathForm(parent) == root;
  if (directory.empty() || !sameParent || !isPrivateName(nameOf(directory))) return false;
  // The directory must hold the launcher alone: anything else is not ours.
  os::DirectoryListing listing;
  os::DirectoryItem item;
  if (!listing.first(directory + os::pathSeparator(), &item).ok()) return false;
  int others = 0;
  do {
    if (item.name != "." && item.name != ".." && item.name != nameOf(file)) ++others;
  } while (others == 0 && listing.next(&item).ok());
  return others == 0;
}

void removeSelf(TempArea& temp) {
  const LauncherSettings& s = settings();
  const std::string file = s.launcherFile;
  const std::string directory = directoryOf(file);
  std::string tempRoot;
  try {
    tempRoot = temp.root();
  } catch (const LauncherException&) {
  }
  // -qm:orig given by mistake (or by a shortcut) must not cost the user the
  // program and every file beside it.
  if (tempRoot.empty() || !isPrivateCopyOfALauncher(file, tempRoot)) {
    writeLog("Refusing to remove " + file +
                 ": it is not the only file of a private directory below the temporary root.",
             kLogWarning);
    return;
  }
  if (os::runningExecutableDeletable()) {
    os::deleteFile(file);
    if (!directory.empty()) os::removeDirectory(directory);
  } else if (s.windows95Family) {
    if (s.debugLogEnabled) writeDebugLog("Launcher: Writing to wininit.ini to cleanup", true);
    WinInitRename rename;
    rename.addDeletion(file);
    if (!directory.empty()) rename.addDeletion(directory);
    rename.commit();
  } else {
    removeThroughBatch(temp, file, directory);
  }
}
