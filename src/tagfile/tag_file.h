#pragma once
// Tag files: the one text format of the launcher's scripts, JVM description
// files and input files. An ordered list of named tags, each with one or more
// text values, read from a file or from a byte range of an open file, and
// written back in the same format.

#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

class Tag {
public:
  explicit Tag(std::string name);

  const std::string& name() const { return name_; }
  /// All values, in order (a copy: they are not kept as one list).
  std::vector<std::string> values() const;
  int valueCount() const { return count_; }
  /// Empty when index is outside the values.
  const std::string& value(int index) const;
  /// The line of the file the value was read from; 0 for a value given
  /// otherwise or an index outside the values.
  int32_t line(int index) const;

  /// line: where the value stands in the file read, 0 for none.
  void addValue(std::string value, int32_t line = 0);
  /// Leaves exactly this one value.
  void setValue(std::string value, int32_t line = 0);

private:
  struct Value {
    std::string text;
    int32_t line = 0;
  };
  const Value* valueAt(int index) const;

  std::string name_;
  // Most tags hold one value, which then costs no list of its own.
  Value first_;
  std::vector<Value> more_;
  int count_ = 0;
};

class TagFile {
public:
  TagFile() = default;
  /// Parses the whole named file, opened in text mode. Throws
  /// LauncherException "Unable to load input file: <name>" when it will not
  /// open, and the errors of parse.
  explicit TagFile(const std::string& fileName);
  virtual ~TagFile() = default;
  TagFile(const TagFile&) = default;
  TagFile& operator=(const TagFile&) = default;
  TagFile(TagFile&&) = default;
  TagFile& operator=(TagFile&&) = default;

  /// Adds the tags found in `length` bytes (-1: to the end) of an open file
  /// from `offset`. The limit is checked only before a line outside a block;
  /// a line always runs on to its line feed. On an error, whatever was read
  /// so far stays.
  void parse(std::FILE* file, const std::string& sourceName, long offset, long length);

  /// Missing tags and values read as empty.
  std::string value(const std::string& name, int index = 0) const;
  /// The line a value was read from, for messages; 0 when it was not read.
  int32_t line(const std::string& name, int index = 0) const;
  int valueCount(const std::string& name) const;
  /// Whether value 0 is a non-zero 16-bit number; `defaultValue` when it
  /// does not start with one.
  bool flag(const std::string& name, bool defaultValue) const;

  /// A missing tag is created at the end of the list.
  void setValue(const std::string& name, const std::string& value);
  void addValue(const std::string& name, const std::string& value);
  void setFlag(const std::string& name, bool flag);
  /// Records a chosen JVM: JVM_HOME, JVM_FILE and JVM_TEMP.
  void setJvmLocation(const std::string& home, const std::string& file, bool temporary);

  /// Replaces the named file with all tags; never raises. 0 when the file
  /// was written whole, else the C library's error number (a file that could
  /// not be made, a full disk), for the callers that must not go on with a
  /// missing or cut-off file. EINVAL, with nothing written, when a value
  /// holds a line break, which the file could not read back as that value.
  int write(const std::string& path) const;

  const std::vector<Tag>& tags() const { return tags_; }
  /// Null when there is no such tag.
  const Tag* find(const std::string& name) const;
  int32_t lineCount() const { return lineCount_; }
  const std::string& sourceName() const { return sourceName_; }

private:
  Tag* findTag(const std::string& name);
  Tag& tagFor(const std::string& name);
  // A tag of a name that the file does not hold yet.
  Tag& appendTag(std::string name);
  void removeTag(const std::string& name);
  [[noreturn]] void syntaxError(const std::string& message, int32_t line) const;

  static constexpr size_t kTypicalTagCount = 32;
  // Up to this many tags a name is looked for along the list, which for the
  // few tags of a script or JVM file is quicker than keeping positions_.
  static constexpr size_t kListedTagLimit = 32;
  bool indexed() const { return tags_.size() > kListedTagLimit; }
  size_t positionOf(const std::string& name) const;

  std::vector<Tag> tags_;
  // Where each name stands in tags_ (names are unique there), kept while
  // there are more tags than kListedTagLimit, so that a file of many tags is
  // read in linear time rather than quadratic.
  std::unordered_map<std::string, size_t> positions_;
  int32_t lineCount_ = 0;
  std::string sourceName_;
};
