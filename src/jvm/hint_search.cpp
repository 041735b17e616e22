// The three hint searches of one JVM description file.
#include <algorithm>
#include <vector>

#include "base/log.h"
#include "base/paths.h"
#include "base/settings.h"
#include "base/text.h"
#include "jvm/executable_name.h"
#include "jvm/fixed_drives.h"
#include "jvm/jvm_file_search.h"
#include "jvm/jvm_paths.h"
#include "jvm/platform_hint.h"
#include "jvm/verifier.h"
#include "launch/jvm_file.h"
#include "os/environment.h"
#include "os/file_system.h"
#include "os/jvm_paths.h"
#include "os/path.h"
#include "tagfile/tag_file.h"

namespace {

std::string searchingFor(const JvmFile& jvmFile, const char* hints) {
  return "Searching for " + jvmFile.tagFile().value("DESC", 0) + " using " + hints;
}

// Where a home came from, when not from the process's own registry view.
std::string registryViewNote(os::RegistryView view) {
  if (view == os::RegistryView::k64Bit) return " in the 64-bit view of the registry";
  if (view == os::RegistryView::k32Bit) return " in the 32-bit view of the registry";
  return std::string();
}

// The launcher directory followed by a relative hint.
std::string besideLauncher(const std::string& hint) {
  std::string directory = launcherDirectory();
  if (!directory.empty() && !isDirectorySeparator(directory.back()))
    directory += os::pathSeparator();
  return directory + hint;
}

// The names of the directories in parent; none when it cannot be listed.
std::vector<std::string> subdirectories(const std::string& parent) {
  std::vector<std::string> names;
  os::DirectoryListing listing;
  os::DirectoryItem item;
  for (os::FileResult result = listing.first(ensureTrailingSeparator(parent), &item); result.ok();
       result = listing.next(&item))
    if (item.directory && item.name != "." && item.name != "..") names.push_back(item.name);
  return names;
}

}  // namespace

std::unique_ptr<JvmMatch> JvmFileSearch::searchEnvironmentHints(const VerifierSource& verifier) {
  const int variables = tagFile_.valueCount("ENV_HINT");
  const bool pathJava = tagFile_.flag("PATH_JAVA", false);
  if ((variables == 0 && !pathJava) || !hasRequiredProperties(file_)) return nullptr;
  writeLog(searchingFor(file_, "environment hints"));
  std::unique_ptr<JvmMatch> found;
  for (int i = 0; i < variables && !found; ++i) {
    const std::string name = tagFile_.value("ENV_HINT", i);
    std::string home;
    if (name.empty() || !os::getEnvironmentVariable(name, &home)) continue;
    writeLog("Checking JVM at " + home + " which was resolved from environment variable " + name);
    found = checkCandidate(home, verifier);
  }
  if (found || !pathJava) return found;
  // The home of the first program on the PATH that is the JVM file's
  // executable once its links are followed (/usr/bin/java to the JDK's).
  const std::string executable = tagFile_.value("JVM_EXE", 0);
  for (const std::string& program : os::programsOnSearchPath(lastPathComponent(executable))) {
    if (!isHomeFollowedByExecutable(program, executable)) continue;
    const std::string home = program.substr(0, program.size() - executable.size());
    writeLog("Checking JVM at " + home + " which was resolved from the program on the PATH " +
             program);
    return checkCandidate(home, verifier);
  }
  return nullptr;
}

std::unique_ptr<JvmMatch> JvmFileSearch::searchPlatformHints(const VerifierSource& verifier) {
  if (!hasRequiredProperties(file_)) return nullptr;
  writeLog(searchingFor(file_, "platform hints"));
  std::unique_ptr<JvmMatch> found;
  const int count = tagFile_.valueCount("PLATFORM_HINT");
  for (int i = 0; i < count && !found; ++i) {
    const std::string hint = tagFile_.value("PLATFORM_HINT", i);
    if (hint.empty()) continue;
    std::vector<std::string> tried;
    for (const os::RegistryView view : os::registryViews()) {
      std::vector<std::string> homes;
      resolvePlatformHint(hint, homes, view);
      for (const std::string& home : homes) {
        // A key both views share names the same home twice.
        if (home.empty() || found ||
            std::find(tried.begin(), tried.end(), home) != tried.end())
          continue;
        tried.push_back(home);
        writeLog("Checking JVM at " + home + " which was resolved from platform hint " + hint +
                 registryViewNote(view));
        found = checkCandidate(home, verifier);
      }
    }
  }
  return found;
}

std::unique_ptr<JvmMatch> JvmFileSearch::searchPathHints(const VerifierSource& verifier) {
  if (!hasRequiredProperties(file_)) return nullptr;
  writeLog(searchingFor(file_, "path hints"));
  // The drives are listed only for a hint that needs them (on Linux the
  // mount table is read for them).
  std::vector<std::string> drives;
  bool drivesListed = false;
  auto fixedDrivesOnce = [&]() -> const std::vector<std::string>& {
    if (!drivesListed) fixedDrives(drives);
    drivesListed = true;
    return drives;
  };
  std::unique_ptr<JvmMatch> found;
  const int count = tagFile_.valueCount("PATH_HINT");
  for (int i = 0; i < count && !found; ++i) {
    const std::string hint = tagFile_.value("PATH_HINT", i);
    if (!hint.empty() && isDirectorySeparator(hint[0])) {
      fixedDrivesOnce();
      for (size_t d = 0; d < drives.size() && !found; ++d) {
        const std::string candidate = drives[d] + os::pathSeparator() + hint.substr(1);
        writeLog("Checking path hint " + candidate);
        found = checkCandidate(candidate, verifier);
      }
    } else {
      found = checkCandidate(besideLauncher(hint), verifier);
      if (found) found->setFoundRelativeToLauncher(true);
    }
  }
  // JVM_DIRS: directories whose every subdirectory may be a home (where a
  // vendor's installer puts each version), newest name first.
  const int directories = tagFile_.valueCount("JVM_DIRS");
  for (int i = 0; i < directories && !found; ++i) {
    const std::string hint = tagFile_.value("JVM_DIRS", i);
    std::vector<std::string> parents;
    if (!hint.empty() && isDirectorySeparator(hint[0]))
      for (const std::string& drive : fixedDrivesOnce()) parents.push_back(drive + os::pathSeparator() + hint.substr(1));
    else
      parents.push_back(besideLauncher(hint));
    for (size_t p = 0; p < parents.size() && !found; ++p) {
      std::vector<std::string> homes = subdirectories(parents[p]);
      std::sort(homes.begin(), homes.end(), newerVersionFirst);
      for (size_t h = 0; h < homes.size() && !found; ++h) {
        const std::string candidate = ensureTrailingSeparator(parents[p]) + homes[h];
        writeLog("Checking path hint " + candidate);
        found = checkCandidate(candidate, verifier);
      }
    }
  }
  return found;
}

std::unique_ptr<JvmMatch> JvmFileSearch::searchJvmPaths(const VerifierSource& verifier) {
  if (!hasRequiredProperties(file_)) return nullptr;
  writeLog(searchingFor(file_, "platform specific JVM Path hints"));
  std::unique_ptr<JvmMatch> found;
  for (const JvmPathCandidate& candidate :
       platformJvmPathCandidates(tagFile_.value("JVM_EXE", 0))) {
    writeLog("Checking JVM at " + candidate.home +
             " which was resolved from the platform JVM path " + candidate.path);
    found = checkCandidate(candidate.home, verifier);
    if (found) break;
  }
  return found;
}
