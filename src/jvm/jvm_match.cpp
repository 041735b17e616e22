#include "jvm/jvm_match.h"

#include <utility>

#include "archive/temp.h"
#include "tagfile/tag_file.h"

JvmMatch::JvmMatch(std::string home, TagFile& tagFile)
    : home_(std::move(home)), tagFile_(tagFile) {}

std::string JvmMatch::writeJvmFile() const {
  const std::string path = createTempFile();
  // An empty JVM_FILE would send the Java program looking for a file that
  // was never written.
  if (path.empty()) return path;
  tagFile_.setJvmLocation(home_, path, foundRelativeToLauncher_);
  tagFile_.write(path);
  return path;
}
