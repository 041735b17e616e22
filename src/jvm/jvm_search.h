#pragma once
// The run's JVM search: the JVM description files in load order (owned),
// the verifier they are checked with, the hint search that finds one JVM
// and the disk scan that finds one or all.

#include <memory>
#include <string>
#include <vector>

#include "jvm/jvm_file_search.h"
#include "jvm/jvm_match.h"
#include "jvm/verification_cache.h"
#include "jvm/verifier_source.h"
#include "launch/jvm_file.h"

using JvmMatches = std::vector<std::unique_ptr<JvmMatch>>;

// Homes of one JVM file found by a scan and not yet verified.
struct CandidateGroup {
  JvmFile* jvmFile;
  std::vector<std::string> homes;  // in the order found, each once
};

struct LaunchContext;

class JvmSearch {
public:
  // launch (not owned) is the run's launch context: its launcher entries
  // hold the verifier archive, when there is one, and the verifier runs in
  // it. None: no verifier archive, and verifier runs in a context of their own.
  explicit JvmSearch(LaunchContext* launch = nullptr);
  virtual ~JvmSearch() = default;

  void addJvmFile(std::unique_ptr<JvmFile> jvmFile) { jvmFiles_.push_back(std::move(jvmFile)); }
  // The user's verification cache, shared by every JVM file of the run.
  VerificationCache& verificationCache() { return cache_; }
  LaunchContext* launchContext() const { return launch_; }
  const std::vector<std::unique_ptr<JvmFile>>& jvmFiles() const { return jvmFiles_; }

  // Appends the first verified JVM, if any: the user's home with every JVM
  // file, then each file's platform hints, path hints and platform JVM
  // paths up to the first file with SEARCH_ALL, then the disk scan when
  // that file asked for it. Throws LauncherException for configuration,
  // drive, extraction and process failures; the search ends there.
  void findJvm(JvmMatches& results);
  // Scans every fixed drive and appends the verified JVMs: all of them, or
  // only the first with stopAtFirst. Throws as findJvm.
  void findAllJvms(JvmMatches& results, bool stopAtFirst);

  // The verifier an input file names, used as given from now on.
  void setVerifier(const std::string& classpath, const std::string& className);
  // The verifier candidates are checked with: the one set, else the
  // launcher file's own (extracted when it first runs), else none.
  const VerifierSource& verifier();

  // The walk's report of an executable that matched a JVM_EXE; true ends
  // the walk (a JVM of the first file verified when only one is wanted).
  virtual bool onCandidate(const std::string& path);
  void recordCandidate(JvmFile& jvmFile, const std::string& home);
  const std::vector<CandidateGroup>& candidateGroups() const { return groups_; }

  // Walks every fixed drive for the JVM files' executables and verifies
  // the candidates (see findAllJvms); appends the matches verified after
  // the walk. Throws LauncherException for listing and process failures.
  void exhaustiveScan(JvmMatches& results);

private:
  void checkUserHome();
  // The search over one of the run's JVM files, with the run's cache.
  JvmFileSearch searchOf(JvmFile& jvmFile) { return JvmFileSearch(jvmFile, &cache_, launch_); }
  // True when the last JVM file tried asked for the disk scan.
  bool searchHints();

  LaunchContext* launch_;
  std::vector<std::unique_ptr<JvmFile>> jvmFiles_;
  std::vector<CandidateGroup> groups_;
  std::unique_ptr<JvmMatch> found_;
  bool stopAtFirst_ = false;
  VerifierSource verifier_;
  VerificationCache cache_;
};
