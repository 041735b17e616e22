// What a directory listing calls a directory: only a real one, never a link,
// whatever the link points to, so that a walk cannot leave its tree or go
// round in a circle.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "os/file_system.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, bool> listing(const std::string& directory) {
  std::map<std::string, bool> names;
  os::DirectoryListing list;
  os::DirectoryItem item;
  os::FileResult result = list.first(directory, &item);
  while (result.ok()) {
    names[item.name] = item.directory;
    result = list.next(&item);
  }
  EXPECT_EQ(result.error, os::FileError::kNoMoreFiles);
  return names;
}

TEST(DirectoryListingPosix, OnlyRealDirectoriesAreDirectories) {
  ScopedTempDir dir;
  fs::create_directory(dir.file("sub"));
  writeWholeFile(dir.file("plain.txt"), "x");
  fs::create_directory_symlink(dir.file("sub"), dir.file("link-to-dir"));
  fs::create_directory_symlink(dir.path(), dir.file("sub/loop"));
  fs::create_symlink(dir.file("plain.txt"), dir.file("link-to-file"));
  fs::create_symlink(dir.file("gone"), dir.file("dangling"));
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);

  const std::map<std::string, bool> expected = {
      {".", true},          {"..", true},          {"sub", true},      {"plain.txt", false},
      {"link-to-dir", false}, {"link-to-file", false}, {"dangling", false}, {"fifo", false}};
  EXPECT_EQ(listing(dir.path() + "/"), expected);
  EXPECT_EQ(listing(dir.file("sub") + "/"),
            (std::map<std::string, bool>{{".", true}, {"..", true}, {"loop", false}}));
}

}  // namespace
