// Verification of a candidate JVM home against one JVM description file.
#include <memory>

#include "base/log.h"
#include "base/text.h"
#include "base/ui.h"
#include "jvm/jvm_file_search.h"
#include "jvm/verification_cache.h"
#include "jvm/verifier_source.h"
#include "jvm/verifier.h"
#include "launch/execute_launch.h"
#include "launch/jvm_file.h"
#include "launch/launch_script.h"
#include "os/path.h"
#include "process/process_runner.h"
#include "tagfile/tag_file.h"
#include "temp/temp.h"

namespace {

// Generous for a JVM that starts slowly on a busy machine; a program that
// takes longer is no JVM this launcher wants to wait for.
constexpr uint32_t kVerifierTimeLimitMs = 30000;

}  // namespace

JvmFileSearch::JvmFileSearch(JvmFile& file, VerificationCache* cache, LaunchContext* launch)
    : file_(file), tagFile_(file.tagFile()), cache_(cache), launch_(launch) {}

std::unique_ptr<JvmMatch> JvmFileSearch::checkCandidate(const std::string& home,
                                                  const VerifierSource& verifier) {
  const std::string executable = tagFile_.value("JVM_EXE", 0);
  if (executable.empty() || home.empty()) return nullptr;
  ui::StatusDetailSaver saver;
  const std::string description = tagFile_.value("DESC", 0);
  ui::setStatusDetail(ui::kDetailVerifying, description);
  const std::string path = ensureTrailingSeparator(home) + executable;
  writeLog("Verifying JVM at " + path + "\n   for JVM: " + description);
  if (!fileExists(path)) {
    writeLog(path + " does not exist");
    ui::advanceProgress(2);
    return nullptr;
  }
  if (!runVerifier(home, verifier)) return nullptr;
  writeLog("Found matching JVM at " + home);
  return std::unique_ptr<JvmMatch>(new JvmMatch(home, tagFile_));
}

std::unique_ptr<JvmMatch> JvmFileSearch::verifyOwnHome(const VerifierSource& verifier) {
  if (!hasRequiredProperties(file_)) return nullptr;
  return checkCandidate(tagFile_.value("JVM_HOME", 0), verifier);
}

bool JvmFileSearch::runVerifier(const std::string& home, const VerifierSource& verifier) {
  // JVM_HOME is what @JVM_HOME@ and the child's JAVA_HOME are made from.
  tagFile_.setValue("JVM_HOME", home);
  const std::vector<PropertyPattern> properties = propertyPatterns(file_);
  const std::string executable = ensureTrailingSeparator(home) + tagFile_.value("JVM_EXE", 0);
  std::string key;
  if (cache_ && cache_->enabled()) {
    std::vector<std::string> names;
    for (const PropertyPattern& property : properties) names.push_back(property.name);
    key = verificationKey(executable, home, verifier.identity(), names);
    std::string output;
    if (cache_->lookup(key, &output)) {
      writeLog("Using the cached verification of " + executable);
      ui::advanceProgress(6);
      return checkVerifierOutput(output, properties);
    }
  }
  LaunchScript script(
      verifierCommandTemplate(home, os::pathSeparator(), verifier.classPath(),
                              verifier.className(), properties), true,
      false);
  if (launch_) script.useContext(launch_);
  LaunchLimits limits;
  limits.emptyInput = true;
  limits.timeLimitMs = kVerifierTimeLimitMs;
  limits.settleAfterExit = false;  // nothing of the verifier's is deleted after it
  int32_t exitCode = 0;
  try {
    exitCode = executeLaunch(script, file_, StringList(), false, limits);
  } catch (const ProcessStartFailure& e) {
    // The candidate's own program cannot run: it is not a match, and the
    // search goes on to the next candidate.
    writeLog("Unable to run the JVM at " + home + ": " + e.message(), kLogWarning);
    return false;
  } catch (const ProcessTimedOut& e) {
    writeLog("The JVM at " + home + " did not finish the verification: " + e.message(),
             kLogWarning);
    return false;
  }
  const std::string& output = script.standardOutput();
  // Only a verifier that ran to its end speaks for the JVM next time; a JVM
  // that failed to start may start another time.
  if (!key.empty() && exitCode == 0 && hasVerifierMagic(output)) cache_->store(key, output);
  const bool verified = checkVerifierOutput(output, properties);
  ui::advanceProgress(6);
  return verified;
}
