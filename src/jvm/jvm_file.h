#pragma once
// One JVM description file: a loaded tag file (not owned) with the JVM
// operations on it, and the @NAME@ substitution of its tag values.

#include <cstddef>
#include <memory>
#include <string>

#include "jvm/jvm_match.h"
#include "launch/text_expander.h"

class TagFile;
class VerificationCache;

class JvmFile : public TextExpander {
public:
  // The name for messages is the one the tag file was loaded under.
  explicit JvmFile(TagFile& tagFile);
  JvmFile(TagFile& tagFile, std::string name);

  TagFile& tagFile() const { return tagFile_; }
  const std::string& name() const { return name_; }

  // Replaces @NAME@ (start and end at the two @) by the first value of tag
  // NAME; JVM_HOME loses one trailing separator so that templates can add
  // their own.
  void expandOne(std::string& text, char marker, size_t start, size_t end) override;

  // Every @NAME@ of text replaced by its tag value.
  std::string substituteValues(const std::string& text) { return expand(text, '@'); }

  // Verification of one candidate home: null when the executable is missing
  // or the verifier's output does not qualify it (both only logged). Leaves
  // JVM_HOME at the home last run. Throws LauncherException when the
  // verifier cannot be extracted or run.
  std::unique_ptr<JvmMatch> checkCandidate(const std::string& home, const std::string& classpath,
                                           const std::string& className);
  // checkCandidate of the file's own JVM_HOME; null, with a warning, when
  // the file names no JVM_PROPERTIES.
  std::unique_ptr<JvmMatch> verifyOwnHome(const std::string& classpath,
                                          const std::string& className);
  // Where runVerifier looks for and keeps verifications (not owned); none by default.
  void useVerificationCache(VerificationCache* cache) { cache_ = cache; }

  // Runs the verifier in home (or takes what it printed for the same JVM
  // from the cache) and checks what it printed.
  bool runVerifier(const std::string& home, const std::string& classpath,
                   const std::string& className);

  // The hint searches, each null when nothing verifies or when the file
  // names no JVM_PROPERTIES (warned). Throw LauncherException: text 27 for
  // a platform hint with an unknown hive, text 17 without drives, and the
  // errors of checkCandidate.
  // ENV_HINT (variables naming a JVM home) and PATH_JAVA: 1 (the java on
  // the PATH, through its links); nothing, not even a warning, for a file
  // without them.
  std::unique_ptr<JvmMatch> searchEnvironmentHints(const std::string& classpath,
                                                   const std::string& className);
  std::unique_ptr<JvmMatch> searchPlatformHints(const std::string& classpath,
                                                const std::string& className);
  std::unique_ptr<JvmMatch> searchPathHints(const std::string& classpath,
                                            const std::string& className);
  std::unique_ptr<JvmMatch> searchJvmPaths(const std::string& classpath,
                                           const std::string& className);

private:
  TagFile& tagFile_;
  std::string name_;
  VerificationCache* cache_ = nullptr;
};
