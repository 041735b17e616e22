// The run's JVM search: the user's home, each JVM file's hints, then the disk scan.

#include "jvm/jvm_search.h"

#include <algorithm>

#include "archive/index.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/settings.h"
#include "base/text.h"
#include "base/ui.h"
#include "jvm/executable_name.h"
#include "jvm/fixed_drives.h"
#include "jvm/jvm_scan_walker.h"
#include "launch/launch_context.h"
#include "os/file_system.h"
#include "os/path.h"
#include "tagfile/tag_file.h"
#include "temp/temp.h"

JvmSearch::JvmSearch(LaunchContext* launch)
    : launch_(launch), cache_(launch ? launch->temp : nullptr) {}

void JvmSearch::setVerifier(const std::string& classpath, const std::string& className) {
  verifier_ = VerifierSource(classpath, className);
}

const VerifierSource& JvmSearch::verifier() {
  if (verifier_.isSet() || !launch_ || !launch_->launcherEntries) return verifier_;
  // The last verifier entry wins, as the archive lists them.
  const FileEntry* archived = nullptr;
  for (const FileEntry& entry : launch_->launcherEntries->entries())
    if (entry.type == VERIFIER_ARCHIVE) archived = &entry;
  if (archived) verifier_ = VerifierSource::inArchive(*archived, launch_->tempArea());
  return verifier_;
}

void JvmSearch::findJvm(JvmMatches& results) {
  found_.reset();
  verifier();  // settles which verifier every candidate runs
  checkUserHome();
  const bool scanAsked = !found_ && searchHints();
  if (!found_ && scanAsked) {
    stopAtFirst_ = true;
    exhaustiveScan(results);
  }
  if (found_) results.push_back(std::move(found_));
}

void JvmSearch::checkUserHome() {
  const std::string& home = settings().userJavaHome;
  if (home.empty()) return;
  writeLog("Checking user specified Java home directory => " + home);
  for (size_t i = 0; i < jvmFiles_.size() && !found_; ++i)
    found_ = searchOf(*jvmFiles_[i]).checkCandidate(home, verifier_);
  if (found_ || jvmFiles_.empty()) return;
  // The user named this directory: say why it was passed over before the
  // search goes on without it.
  std::string reason = "it does not exist";
  if (os::isDirectory(home)) {
    reason = "it holds no " + jvmFiles_.front()->tagFile().value("JVM_EXE", 0);
    for (const std::unique_ptr<JvmFile>& jvmFile : jvmFiles_) {
      const std::string executable = jvmFile->tagFile().value("JVM_EXE", 0);
      if (!executable.empty() && fileExists(ensureTrailingSeparator(home) + executable))
        reason = "the runtime there is not one the launcher's JVM files accept (see the log)";
    }
  }
  const std::string text = "The Java home given with -qm:javahome, " + home +
                           ", is not used: " + reason + ".";
  writeLog(text, kLogWarning);
  ui::showMessage(text);
}

bool JvmSearch::searchHints() {
  writeLog("Initiating JVM search based on hints...");
  bool searchAll = false;
  for (size_t i = 0; i < jvmFiles_.size() && !found_ && !searchAll; ++i) {
    JvmFile& jvmFile = *jvmFiles_[i];
    searchAll = jvmFile.tagFile().flag("SEARCH_ALL", false);
    ui::StatusDetailSaver saver;
    ui::setStatusDetail(ui::kDetailSearching, jvmFile.tagFile().value("DESC", 0));
    JvmFileSearch fileSearch = searchOf(jvmFile);
    found_ = fileSearch.searchEnvironmentHints(verifier_);
    if (!found_) found_ = fileSearch.searchPlatformHints(verifier_);
    if (!found_) found_ = fileSearch.searchPathHints(verifier_);
    if (!found_) found_ = fileSearch.searchJvmPaths(verifier_);
  }
  return searchAll;
}

void JvmSearch::findAllJvms(JvmMatches& results, bool stopAtFirst) {
  found_.reset();
  verifier();  // settles which verifier every candidate runs
  stopAtFirst_ = stopAtFirst;
  exhaustiveScan(results);
  // A JVM verified during the walk would otherwise be lost to the caller.
  if (found_) results.push_back(std::move(found_));
}

void JvmSearch::exhaustiveScan(JvmMatches& results) {
  groups_.clear();
  std::vector<std::string> names;
  for (const std::unique_ptr<JvmFile>& jvmFile : jvmFiles_) {
    const std::string name = jvmFile->tagFile().value("JVM_EXE", 0);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  ui::StatusDetailSaver saver;
  ui::setStatusDetail(ui::kDetailScanning, std::string());
  writeLog("Beginning exhaustive search");
  // The launcher's own temporary files are no candidates; a missing root
  // ends the scan as it would end any extraction.
  JvmScanWalker walker(names, [this](const std::string& path) { return onCandidate(path); },
                       launch_ && launch_->temp ? launch_->temp->root() : std::string());
  std::vector<std::string> drives;
  fixedDrives(drives);
  for (const std::string& drive : drives)
    if (walker.walk(drive + os::pathSeparator())) break;
  if (found_) return;
  writeLog("Processing unverified matches.\n");
  for (const CandidateGroup& group : groups_) {
    for (const std::string& home : group.homes) {
      std::unique_ptr<JvmMatch> match =
          searchOf(*group.jvmFile).checkCandidate(home, verifier_);
      if (!match) continue;
      results.push_back(std::move(match));
      if (stopAtFirst_) return;
    }
  }
}

bool JvmSearch::onCandidate(const std::string& path) {
  if (found_) return false;
  for (size_t i = 0; i < jvmFiles_.size() && !found_; ++i) {
    JvmFile& jvmFile = *jvmFiles_[i];
    const std::string executable = jvmFile.tagFile().value("JVM_EXE", 0);
    if (!isHomeFollowedByExecutable(path, executable)) continue;
    const std::string home = path.substr(0, path.size() - executable.size() - 1);
    if (i == 0 && stopAtFirst_)
      found_ = searchOf(jvmFile).checkCandidate(home, verifier_);
    else
      recordCandidate(jvmFile, home);
  }
  return found_ != nullptr;
}

void JvmSearch::recordCandidate(JvmFile& jvmFile, const std::string& home) {
  for (CandidateGroup& group : groups_) {
    if (group.jvmFile != &jvmFile) continue;
    if (std::find(group.homes.begin(), group.homes.end(), home) == group.homes.end())
      group.homes.push_back(home);
    return;
  }
  groups_.push_back({&jvmFile, {home}});
}
