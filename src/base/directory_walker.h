#pragma once
// Depth-first walk of a directory tree: every file goes to visitFile, every
// directory is listed unless skipDirectory says otherwise, and the
// directories entered are remembered in order (parents before children).

#include <string>
#include <vector>

class DirectoryWalker {
public:
  virtual ~DirectoryWalker() = default;

  // Walks the tree below root; true when visitFile stopped it.
  // Throws LauncherException with the system's text when a listing breaks off.
  virtual bool walk(const std::string& root);
  // Gets the path of every file (anything not a directory); true stops the walk.
  virtual bool visitFile(const std::string& path) = 0;
  // True keeps a directory from being listed; it still counts as visited.
  virtual bool skipDirectory(const std::string& path);

  // The directories entered by the last walk, in order, as they were reached.
  const std::vector<std::string>& visited() const { return visited_; }

private:
  bool listDirectory(const std::string& directory);

  std::vector<std::string> pending_;
  std::vector<std::string> visited_;
  long filesSeen_ = 0;
};
