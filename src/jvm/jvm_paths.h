#pragma once
// Candidates from the platform's own list of JVM paths.

#include <string>
#include <vector>

struct JvmPathCandidate {
  std::string home;  // with a trailing separator
  std::string path;  // the platform's path it came from
};

// The homes the paths propose for jvmExe: each path with a trailing
// separator and, when that ends in the directory part of jvmExe ("bin\") as
// whole components, without it. Each home once, in the order of the paths.
std::vector<JvmPathCandidate> jvmPathCandidates(const std::vector<std::string>& paths,
                                                const std::string& jvmExe);

// jvmPathCandidates of the platform's list for jvmExe.
std::vector<JvmPathCandidate> platformJvmPathCandidates(const std::string& jvmExe);
