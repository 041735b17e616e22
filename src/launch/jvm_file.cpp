// The @NAME@ substitution of a JVM description file's values.

#include "launch/jvm_file.h"

#include <utility>

#include "base/paths.h"
#include "launch/literal_text.h"
#include "tagfile/tag_file.h"

JvmFile::JvmFile(TagFile& tagFile) : tagFile_(tagFile), name_(tagFile.sourceName()) {}

JvmFile::JvmFile(TagFile& tagFile, std::string name) : tagFile_(tagFile), name_(std::move(name)) {}

void JvmFile::expandOne(std::string& text, char, size_t start, size_t end) {
  const std::string name = text.substr(start + 1, end - start - 1);
  std::string value = tagFile_.value(name, 0);
  if (name == "JVM_HOME") value = withoutTrailingSeparator(value);
  // The paths the search found are data; the file's own values are template
  // text that may hold # markers.
  value = name == "JVM_HOME" || name == "JVM_FILE" ? literalPath(value) : sealMarkerBytes(value);
  text.replace(start, end - start + 1, value);
}
