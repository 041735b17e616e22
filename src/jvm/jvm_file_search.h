#pragma once
// The search and verification of candidate JVM homes for one JVM description
// file: a given home, the file's own home, its hints and its JVM paths.

#include <memory>
#include <string>

#include "jvm/jvm_match.h"

class JvmFile;
class TagFile;
class VerificationCache;
class VerifierSource;
struct LaunchContext;

class JvmFileSearch {
public:
  // cache (not owned) is where runVerifier looks for and keeps
  // verifications, none when null; launch (not owned) the run's launch
  // context that the verifier runs in, one of its own when null.
  explicit JvmFileSearch(JvmFile& file, VerificationCache* cache = nullptr,
                         LaunchContext* launch = nullptr);

  // Verification of one candidate home: null when the executable is missing
  // or the verifier's output does not qualify it (both only logged). Leaves
  // JVM_HOME at the home last run. Throws LauncherException when the
  // verifier cannot be extracted or run.
  std::unique_ptr<JvmMatch> checkCandidate(const std::string& home, const VerifierSource& verifier);
  // checkCandidate of the file's own JVM_HOME; null, with a warning, when
  // the file names no JVM_PROPERTIES.
  std::unique_ptr<JvmMatch> verifyOwnHome(const VerifierSource& verifier);
  // Runs the verifier in home (or takes what it printed for the same JVM
  // from the cache) and checks what it printed.
  bool runVerifier(const std::string& home, const VerifierSource& verifier);

  // The hint searches, each null when nothing verifies or when the file
  // names no JVM_PROPERTIES (warned). Throw LauncherException: text 27 for
  // a platform hint with an unknown hive, text 17 without drives, and the
  // errors of checkCandidate.
  // ENV_HINT (variables naming a JVM home) and PATH_JAVA: 1 (the java on
  // the PATH, through its links); nothing, not even a warning, for a file
  // without them.
  std::unique_ptr<JvmMatch> searchEnvironmentHints(const VerifierSource& verifier);
  std::unique_ptr<JvmMatch> searchPlatformHints(const VerifierSource& verifier);
  std::unique_ptr<JvmMatch> searchPathHints(const VerifierSource& verifier);
  std::unique_ptr<JvmMatch> searchJvmPaths(const VerifierSource& verifier);

private:
  JvmFile& file_;
  TagFile& tagFile_;
  VerificationCache* cache_;
  LaunchContext* launch_;
};
