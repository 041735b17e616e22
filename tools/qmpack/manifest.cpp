// Reading the qmpack manifest with the launcher's own tag file reader, so
// that the tool accepts exactly the text format the launcher does.

#include "qmpack/manifest.h"

#include <utility>

#include "base/exceptions.h"
#include "tagfile/tag_file.h"

namespace fs = std::filesystem;

namespace {

const char* const kTypeNames[] = {
    "INSTRUCTIONS",     "JVM",           "LAUNCHSCRIPT",        "CLASSPATH_ARCHIVE",
    "JVM_INSTALLER",    "VERIFIER_ARCHIVE", "APPLICATION_ARCHIVE", "EMBEDDED_LAUNCHER",
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Whole-text decimal with an optional minus sign; false when anything else
// is in the text or the number leaves [low, high].
bool parseInteger(const std::string& text, int64_t low, int64_t high, int64_t* number) {
  size_t pos = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (pos >= text.size()) return false;
  int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > (int64_t{1} << 40)) return false;  // far outside any range asked for
  }
  *number = text[0] == '-' ? -magnitude : magnitude;
  return *number >= low && *number <= high;
}

FileType parseType(const std::string& word) {
  for (int32_t type = 0; type < 8; ++type)
    if (word == kTypeNames[type]) return static_cast<FileType>(type);
  int64_t number = 0;
  if (parseInteger(word, INT64_MIN / 2, INT64_MAX / 2, &number)) {
    if (number < 0 || number > 7)
      throw LauncherException("file type " + word + " is outside 0 to 7");
    return static_cast<FileType>(number);
  }
  throw LauncherException("unknown file type " + word);
}

void parseCompressed(const std::string& value, FileEntry& entry) {
  const size_t comma = value.find(',');
  int64_t files = 0;
  int64_t size = 0;
  if (comma == std::string::npos || !parseInteger(value.substr(0, comma), 0, INT32_MAX, &files) ||
      !parseInteger(value.substr(comma + 1), 0, INT32_MAX, &size))
    throw LauncherException("compressed= needs two counts from 0 to 2147483647, as FILES,SIZE");
  entry.compressed = true;
  entry.decompressedFileCount = static_cast<int32_t>(files);
  entry.decompressedSize = static_cast<int32_t>(size);
}

// In the system's own separators, so that messages show one kind.
fs::path resolve(const fs::path& baseDir, const std::string& path) {
  fs::path resolved = fs::path(path).is_absolute() ? fs::path(path) : baseDir / path;
  return resolved.make_preferred();
}

}  // namespace

std::vector<std::string> splitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t pos = 0;
  for (;;) {
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos >= line.size()) return words;
    std::string word;
    while (pos < line.size() && !isBlank(line[pos])) {
      if (line[pos] != '"') {
        word += line[pos++];
        continue;
      }
      for (++pos;; ++pos) {
        if (pos >= line.size()) throw LauncherException("a double quote is not closed");
        if (line[pos] != '"') {
          word += line[pos];
        } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
          word += '"';
          ++pos;
        } else {
          ++pos;
          break;
        }
      }
    }
    words.push_back(std::move(word));
  }
}

std::string quoteWord(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
  std::string quoted = "\"";
  for (char c : word) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

PackSource parseEntryLine(const std::string& line, const fs::path& baseDir) {
  const std::vector<std::string> words = splitWords(line);
  if (words.size() < 3) throw LauncherException("an entry needs a type, an id and a source file");
  PackSource source;
  source.entry.type = parseType(words[0]);
  int64_t id = 0;
  if (!parseInteger(words[1], INT32_MIN, INT32_MAX, &id))
    throw LauncherException("the id " + words[1] + " is not a signed 32-bit number");
  source.entry.id = static_cast<int32_t>(id);
  source.path = resolve(baseDir, words[2]);
  source.entry.fileName = fs::path(words[2]).filename().string();
  bool named = false;
  for (size_t i = 3; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.compare(0, 5, "name=") == 0 && !named) {
      source.entry.fileName = word.substr(5);
      named = true;
    } else if (word.compare(0, 11, "compressed=") == 0 && !source.entry.compressed) {
      parseCompressed(word.substr(11), source.entry);
    } else {
      throw LauncherException("unexpected " + word +
                              " (only name= and compressed= may follow the source, once each)");
    }
  }
  return source;
}

PackPlan readManifest(const fs::path& manifest) {
  const std::string manifestName = manifest.string();
  const TagFile tags(manifestName);
  const fs::path baseDir = fs::absolute(manifest).parent_path();
  auto fail = [&](const std::string& message) {
    throw LauncherException(manifestName + ": " + message);
  };
  for (const Tag& tag : tags.tags()) {
    const std::string& name = tag.name();
    if (name != "STUB" && name != "OUTPUT" && name != "KIND" && name != "ENTRIES")
      fail("unknown tag " + name + " (the tags are STUB, OUTPUT, KIND and ENTRIES)");
    if (name != "ENTRIES" && tag.valueCount() != 1) fail(name + " takes exactly one value");
  }
  PackPlan plan;
  const std::string stub = tags.value("STUB");
  const std::string output = tags.value("OUTPUT");
  if (stub.empty()) fail("STUB is missing");
  if (output.empty()) fail("OUTPUT is missing");
  plan.stub = resolve(baseDir, stub);
  plan.output = resolve(baseDir, output);
  if (tags.find("KIND")) {
    int64_t kind = 0;
    if (!parseInteger(tags.value("KIND"), 0, 255, &kind)) fail("KIND must be a number from 0 to 255");
    plan.kind = static_cast<uint8_t>(kind);
  }
  const int count = tags.valueCount("ENTRIES");
  for (int i = 0; i < count; ++i) {
    try {
      plan.entries.push_back(parseEntryLine(tags.value("ENTRIES", i), baseDir));
    } catch (const LauncherException& e) {
      fail("ENTRIES value " + std::to_string(i + 1) + ": " + e.message());
    }
  }
  return plan;
}
