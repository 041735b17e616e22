#pragma once
// What verifiers printed for JVMs this user's launchers verified before,
// kept in a small file per user, so that a repeat start need not run the
// same JVM on the verifier again.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// At most this many JVMs are remembered; the oldest go first.
constexpr size_t kMaxCachedVerifications = 64;

// Everything a verification depends on, as one text: the executable's path,
// size and modification time, those of the home's release file and
// lib/modules (where present), the verifier and the property names asked
// for. Empty when the executable has no stamp (then nothing is cached).
std::string verificationKey(const std::string& executable, const std::string& home,
                            const std::string& verifierIdentity,
                            const std::vector<std::string>& propertyNames);

// The verifier's identity for the key: the class and the classpath, with
// a hash of the jar's bytes where the classpath is one file (the launcher
// extracts its verifier anew for every run, so its path and times change).
std::string verifierIdentity(const std::string& classpath, const std::string& className);
// The same for a verifier jar holding bytes.
std::string jarVerifierIdentity(const std::string& className, const std::string& bytes);

// The cache file, read on first use. A missing, foreign or damaged file
// reads as empty and is written anew; every write goes to a new file that
// replaces the old in one step, so that launchers writing at once leave one
// whole file (the last one's).
class TempArea;

class VerificationCache {
public:
  // The user's cache, found at first use (verificationCachePath with the
  // run's -qm:noverifycache and temporary area).
  explicit VerificationCache(TempArea* temp = nullptr) : temp_(temp) {}
  // The cache in path; an empty path switches it off.
  explicit VerificationCache(std::string path) : path_(std::move(path)), resolved_(true) {}

  bool enabled();

  // The output stored for key; false when there is none.
  bool lookup(const std::string& key, std::string* output);
  // Remembers output for key and writes the file; a failure is only logged.
  void store(const std::string& key, const std::string& output);


private:
  void load();

  TempArea* temp_ = nullptr;
  std::string path_;
  bool resolved_ = false;
  bool loaded_ = false;
  std::string text_;  // the file as last read
};

// Where this user's cache lives (the user's cache directory, else the
// launcher's temporary root, when given), or empty when -qm:noverifycache or
// QM_NO_VERIFY_CACHE switch it off.
std::string verificationCachePath(bool bypassed, TempArea* temp);
