#pragma once
// The verifier a search checks candidates with: a classpath and class an
// input file names, or the launcher file's own verifier, which is extracted
// only when a candidate first runs it (a start whose verifications all come
// from the cache never writes it out).

#include <memory>
#include <string>

struct FileEntry;
class TempArea;

class VerifierSource {
public:
  VerifierSource() = default;
  // A verifier used as named; both are quoted as the command wants them.
  VerifierSource(std::string classPath, std::string className);
  // The launcher file's verifier in entry (its place is copied), extracted
  // into a private directory of temp (not owned) at the first classPath().
  static VerifierSource inArchive(const FileEntry& entry, TempArea& temp);

  bool isSet() const { return entry_ != nullptr || !classPath_.empty() || !className_.empty(); }
  // The classpath for the command, extracting the archive's verifier on the
  // first call. Throws LauncherException when the extraction fails.
  const std::string& classPath() const;
  const std::string& className() const { return className_; }
  // What the verification cache keys on: the class and the jar's bytes
  // where the classpath is one file (an extracted verifier's path is new in
  // every run), read from the launcher file while it is not extracted.
  const std::string& identity() const;

private:
  mutable std::string classPath_;
  std::string className_;
  std::shared_ptr<const FileEntry> entry_;
  TempArea* temp_ = nullptr;
  mutable std::string identity_;
};
