// The platform's usual JVM directories as candidates of a JVM file.

#include "jvm/jvm_paths.h"

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"
#include "os/jvm_paths.h"

namespace {

// The part of jvmExe up to and including its last separator; empty without one.
std::string directoryPrefix(const std::string& jvmExe) {
  for (size_t i = jvmExe.size(); i > 0; --i)
    if (isDirectorySeparator(jvmExe[i - 1])) return jvmExe.substr(0, i);
  return std::string();
}

}  // namespace

std::vector<JvmPathCandidate> jvmPathCandidates(const std::vector<std::string>& paths,
                                                const std::string& jvmExe) {
  const std::string prefix = directoryPrefix(jvmExe);
  std::vector<JvmPathCandidate> candidates;
  for (const std::string& path : paths) {
    std::string home = ensureTrailingSeparator(path);
    // Only whole components are cut: "jdk/sbin/" does not end in "bin/".
    const long cut = prefix.empty() ? -1 : endsWith(home, prefix);
    if (cut > 0 && isDirectorySeparator(home[static_cast<size_t>(cut) - 1]))
      home.erase(static_cast<size_t>(cut));
    const bool seen = std::any_of(candidates.begin(), candidates.end(),
                                  [&](const JvmPathCandidate& c) { return c.home == home; });
    if (!seen) candidates.push_back({home, path});
  }
  return candidates;
}

std::vector<JvmPathCandidate> platformJvmPathCandidates(const std::string& jvmExe) {
  return jvmPathCandidates(os::platformJvmPaths(lastPathComponent(jvmExe)), jvmExe);
}
