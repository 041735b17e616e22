#pragma once
// The paths that the run has made in the temporary area and that the cleanup
// removes at exit: directories and files, each in the order made.

#include <string>
#include <vector>

class CleanupList {
public:
  void addTempDir(const std::string& path) { directories_.push_back(path); }
  void addTempFile(const std::string& path) { files_.push_back(path); }
  // Remove the first entry equal to path, letter case aside; nothing when none is.
  void forgetTempDir(const std::string& path) { forget(directories_, path); }
  void forgetTempFile(const std::string& path) { forget(files_, path); }

  std::vector<std::string>& directories() { return directories_; }
  std::vector<std::string>& files() { return files_; }

private:
  static void forget(std::vector<std::string>& list, const std::string& path);

  std::vector<std::string> directories_;
  std::vector<std::string> files_;
};

// Whether two paths are equal when ASCII letter case is ignored, as Windows
// compares paths (letters beyond ASCII are compared as they are).
bool samePathIgnoringCase(const std::string& a, const std::string& b);
