// The platform's usual JVM directories as candidates of a JVM file.

#include "jvm/jvm_paths.h"

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"
#include "os/jvm_paths.h"

std::vector<JvmPathCandidate> jvmPathCandidates(const std::vector<std::string>& paths,
                                                const std::string& jvmExe) {
  // jvmExe's directory with its separator, or nothing.
  const std::string directory = directoryPart(jvmExe);
  const std::string prefix = jvmExe.substr(0, directory.empty() ? 0 : directory.size() + 1);
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
