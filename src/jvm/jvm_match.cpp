// One JVM found by a search, and the temporary JVM file that records it.

#include "jvm/jvm_match.h"

#include <utility>

#include "base/exceptions.h"
#include "base/messages.h"
#include "base/text.h"
#include "tagfile/tag_file.h"
#include "temp/temp.h"

JvmMatch::JvmMatch(std::string home, TagFile& tagFile)
    : home_(std::move(home)), tagFile_(tagFile) {}

std::string JvmMatch::writeJvmFile(TempArea& temp) const {
  const std::string path = temp.createTempFile();
  // An empty JVM_FILE would send the Java program looking for a file that
  // was never written.
  if (path.empty()) return path;
  tagFile_.setJvmLocation(home_, path, foundRelativeToLauncher_);
  // A copy cut short by a full disk would launch the program with half a
  // description; it is a failure to write, like an extraction's.
  if (const int error = tagFile_.write(path))
    throw LauncherException(writeFailureText(error));
  return path;
}

std::string unrecordedMatchText(const std::string& home) {
  return "No temporary JVM file could be made for the JVM at " + home + ".";
}
