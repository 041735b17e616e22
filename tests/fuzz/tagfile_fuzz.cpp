// Feeds arbitrary bytes to the tag file reader, whole and as a byte range of
// a larger file, and checks that whatever parses is written back in a form
// that parses to the same tags. Failures must be LauncherException only.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "tagfile/tag_file.h"

namespace {

struct MemoryFile {
  explicit MemoryFile(const std::string& bytes)
      : buffer(bytes), file(fmemopen(buffer.empty() ? nullptr : &buffer[0], buffer.size(), "rb")) {
    if (!file) file = std::tmpfile();  // fmemopen refuses an empty buffer
  }
  ~MemoryFile() { std::fclose(file); }
  std::string buffer;
  std::FILE* file;
};

using TagList = std::vector<std::pair<std::string, std::vector<std::string>>>;

// What reading back a written file keeps: a block loses its empty values
// and its "/:" values (both documented), and a block left empty defines
// nothing.
TagList keptOnWriteBack(const TagFile& tags) {
  TagList kept;
  for (const Tag& tag : tags.tags()) {
    std::vector<std::string> values;
    for (const std::string& value : tag.values()) {
      if (tag.valueCount() > 1 && (value.empty() || value == "/:")) continue;
      values.push_back(value);
    }
    if (!values.empty()) kept.emplace_back(tag.name(), values);
  }
  return kept;
}

TagList listOf(const TagFile& tags) {
  TagList list;
  for (const Tag& tag : tags.tags()) list.emplace_back(tag.name(), tag.values());
  return list;
}

// One scratch file per fuzzing process, removed after every input because
// libFuzzer may end the process without running destructors.
const std::string& scratchPath() {
  static const std::string path =
      "/tmp/qm-tagfile-fuzz-" + std::to_string(static_cast<long>(getpid())) + ".tag";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  TagFile whole;
  bool parsed = true;
  {
    MemoryFile memory(bytes);
    try {
      whole.parse(memory.file, "fuzz.txt", 0, -1);
    } catch (const LauncherException&) {
      parsed = false;
    }
  }
  if (parsed) {
    whole.write(scratchPath());
    try {
      const TagFile reread(scratchPath());
      if (listOf(reread) != keptOnWriteBack(whole)) std::abort();
    } catch (const LauncherException&) {
      std::abort();  // a written file must always parse
    }
    std::remove(scratchPath().c_str());
  }

  // The same bytes as an embedded file: the first two bytes choose where
  // the range starts and how long it is.
  if (size >= 2) {
    const long offset = data[0] % static_cast<long>(size);
    const long length = static_cast<long>(data[1]) - 1;
    MemoryFile memory(bytes);
    TagFile ranged;
    try {
      ranged.parse(memory.file, "embedded.txt", offset, length);
    } catch (const LauncherException&) {
    }
  }
  return 0;
}
