// Tag file reader and writer. Only portable code.

#include "tagfile/tag_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "base/exceptions.h"
#include "base/log.h"
#include "base/text.h"
#include "os/fault_injection.h"
#include "os/file_system.h"

Tag::Tag(std::string name) : name_(std::move(name)) {}

const Tag::Value* Tag::valueAt(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  return index == 0 ? &first_ : &more_[static_cast<size_t>(index - 1)];
}

std::vector<std::string> Tag::values() const {
  std::vector<std::string> all;
  for (int index = 0; index < count_; ++index) all.push_back(valueAt(index)->text);
  return all;
}

const std::string& Tag::value(int index) const {
  static const std::string kNoValue;
  const Value* found = valueAt(index);
  return found ? found->text : kNoValue;
}

int32_t Tag::line(int index) const {
  const Value* found = valueAt(index);
  return found ? found->line : 0;
}

void Tag::addValue(std::string value, int32_t line) {
  if (count_ == 0)
    first_ = Value{std::move(value), line};
  else
    more_.push_back(Value{std::move(value), line});
  ++count_;
}

void Tag::setValue(std::string value, int32_t line) {
  more_.clear();
  count_ = 0;
  addValue(std::move(value), line);
}

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a leading decimal number the way "%hd" does, except that a number
// that does not fit 16 bits is refused instead of being cut down, which
// would make 65536 read as 0 and 65537 as 1.
bool readShort(const std::string& text, long* number) {
  size_t pos = 0;
  while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos >= text.size() || !isDigit(text[pos])) return false;
  long magnitude = 0;
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > 32768) return false;  // stops before long could overflow
  }
  if (!negative && magnitude > 32767) return false;
  *number = negative ? -magnitude : magnitude;
  return true;
}

// The input of a parse, read in pieces and split into lines as the format
// reads them: a line ends at a line feed or at the end of the file, and
// carriage returns are dropped wherever they stand. Reading a character at
// a time was the larger part of a start's own work.
class LineSource {
public:
  // The first piece is the byte range, when it is given and not large.
  LineSource(std::FILE* file, long length) : file_(file) {
    if (length > 0) fill(static_cast<size_t>(std::min(length, 65536L)));
  }

  // Bytes taken from the file by the lines read so far.
  size_t consumed() const { return position_; }

  // The next line, trimmed; ended: the end of the file (or a read error,
  // which sets no end-of-file indicator on every C library) ended it.
  std::string next(bool* ended) {
    size_t end = text_.find('\n', position_);
    while (end == std::string::npos && !atEnd_) {
      const size_t searched = text_.size();
      fill(kPiece);
      end = text_.find('\n', searched);
    }
    *ended = end == std::string::npos;
    if (*ended) end = text_.size();
    size_t start = std::min(position_, end);
    position_ = end + 1;
    // Trimmed before it is copied: a carriage return is one of the spaces
    // trimmed, so dropping the others afterwards gives the same line.
    while (start < end && isSpace(text_[start])) ++start;
    while (end > start && isSpace(text_[end - 1])) --end;
    std::string line;
    line.reserve(end - start);
    for (size_t run = start; run < end;) {
      const void* found = std::memchr(text_.data() + run, '\r', end - run);
      const size_t stop = found ? static_cast<size_t>(static_cast<const char*>(found) - text_.data()) : end;
      line.append(text_, run, stop - run);
      run = stop + 1;
    }
    return line;
  }

private:
  // Smaller than the C library's buffer, which a larger read would pass by
  // with reads of its own.
  static constexpr size_t kPiece = 1024;

  void fill(size_t size) {
    const size_t old = text_.size();
    text_.resize(old + size);
    const size_t count = std::fread(&text_[old], 1, size, file_);
    text_.resize(old + count);
    if (count < size) atEnd_ = true;
  }

  std::FILE* file_;
  std::string text_;  // what was read, from the start of the parse
  size_t position_ = 0;
  bool atEnd_ = false;
};

// The form in which a value survives being read back: bare when trimming
// and unquoting cannot change it, quoted with doubled quotes otherwise.
std::string writtenValue(const std::string& value) {
  if (!value.empty() && !isSpace(value.front()) && !isSpace(value.back()) &&
      value.find('"') == std::string::npos) {
    return value;
  }
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

TagFile::TagFile(const std::string& fileName) {
  FilePointer file(std::fopen(fileName.c_str(), "r"));
  if (!file) throw LauncherException("Unable to load input file: " + fileName);
  parse(file.get(), fileName, 0, -1);
}

void TagFile::parse(std::FILE* file, const std::string& sourceName, long offset,
                    long length) {
  sourceName_ = sourceName;
  lineCount_ = 0;
  // A stale error indicator from the caller's own reads would end the input
  // before the first line.
  std::clearerr(file);
  if (std::fseek(file, offset, SEEK_SET) != 0) throw LauncherException("Unable to read tag file.");

  LineSource input{file, length};
  bool ended = false;
  auto nextLine = [&]() {
    std::string line = input.next(&ended);
    if (lineCount_ < INT32_MAX) ++lineCount_;
    return line;
  };

  while (!ended) {
    // The range is checked only before a line outside a block: a line is
    // always read to its line feed, and a block to its end.
    if (length >= 0 && input.consumed() >= static_cast<size_t>(length)) break;
    const std::string line = nextLine();
    if (line.empty()) continue;

    const size_t colon = line.find(':');
    if (colon == std::string::npos) syntaxError("Missing colon at the end of the tag name.", lineCount_);
    std::string name = line.substr(0, colon);
    trim(name);
    removeTag(name);

    if (colon + 1 == line.size()) {
      const int32_t blockLine = lineCount_;
      // A block without values makes no tag. Only this tag grows while the
      // block is read, so the pointer stays good.
      Tag* tag = nullptr;
      for (;;) {
        if (ended) syntaxError("Missing /: tag completer.", blockLine);
        std::string value = nextLine();
        if (!value.empty() && value[0] == '"') {
          size_t pos = 1;
          value = readArgument(value, pos, true);
        }
        if (value.empty()) continue;
        if (value == "/:") break;
        if (!tag) tag = &appendTag(std::move(name));
        tag->addValue(std::move(value), lineCount_);
      }
    } else {
      const size_t start = line.find_first_not_of(kFormatSpaces, colon + 1);
      if (start == std::string::npos) syntaxError("Invalid tag format.", lineCount_);
      if (line[start] == '"') {
        size_t pos = start + 1;
        appendTag(std::move(name)).setValue(readArgument(line, pos, true), lineCount_);
      } else {
        appendTag(std::move(name)).setValue(line.substr(start), lineCount_);
      }
    }
  }
  // The room made ahead for a typical file's tags goes back: a start holds
  // eight tag files at once, most with far fewer tags.
  tags_.shrink_to_fit();
}

std::string TagFile::value(const std::string& name, int index) const {
  const Tag* tag = find(name);
  return tag ? tag->value(index) : std::string();
}

int32_t TagFile::line(const std::string& name, int index) const {
  const Tag* tag = find(name);
  return tag ? tag->line(index) : 0;
}

int TagFile::valueCount(const std::string& name) const {
  const Tag* tag = find(name);
  return tag ? tag->valueCount() : 0;
}

bool TagFile::flag(const std::string& name, bool defaultValue) const {
  long number = 0;
  if (!readShort(value(name, 0), &number)) return defaultValue;
  return number != 0;
}

void TagFile::setValue(const std::string& name, const std::string& value) {
  tagFor(name).setValue(value);
}

void TagFile::addValue(const std::string& name, const std::string& value) {
  tagFor(name).addValue(value);
}

void TagFile::setFlag(const std::string& name, bool flag) { setValue(name, flag ? "1" : "0"); }

void TagFile::setJvmLocation(const std::string& home, const std::string& file, bool temporary) {
  setValue("JVM_HOME", home);
  setValue("JVM_FILE", file);
  setFlag("JVM_TEMP", temporary);
}

int TagFile::write(const std::string& path) const {
  // A value holding a line break would read back as other lines, other tags
  // among them (a directory name on disk may hold one): nothing is written.
  for (const Tag& tag : tags_)
    for (int index = 0; index < tag.valueCount(); ++index) {
      const std::string& value = tag.value(index);
      if (value.find('\n') != std::string::npos || value.find('\r') != std::string::npos)
        return EINVAL;
    }
  errno = 0;
  FilePointer file(os::openForRewrite(path));
  if (!file) return errno ? errno : EIO;
  int error = 0;
  for (const Tag& tag : tags_) {
    if (tag.valueCount() == 0) continue;
    const bool block = tag.valueCount() > 1;
    std::string text = tag.name() + ":";
    if (block) text += '\n';
    for (int index = 0; index < tag.valueCount(); ++index) {
      const std::string& value = tag.value(index);
      // A "/:" line closes a block whether quoted or not, so written it would
      // cut the block short and turn the values after it into tag lines that
      // break the whole file; it is left out, as an empty value is lost.
      if (block && value == "/:") continue;
      text += "  " + writtenValue(value) + '\n';
    }
    if (block) text += "/:\n";
    errno = 0;
    if (os::writeFile(text.data(), text.size(), file.get()) != text.size()) {
      error = errno ? errno : EIO;
      break;
    }
  }
  // A full disk may only show when the buffered text is written out.
  errno = 0;
  if (std::fclose(file.release()) != 0 && error == 0) error = errno ? errno : EIO;
  return error;
}

size_t TagFile::positionOf(const std::string& name) const {
  if (indexed()) {
    const auto position = positions_.find(name);
    return position == positions_.end() ? tags_.size() : position->second;
  }
  size_t position = 0;
  while (position < tags_.size() && tags_[position].name() != name) ++position;
  return position;
}

const Tag* TagFile::find(const std::string& name) const {
  const size_t position = positionOf(name);
  return position == tags_.size() ? nullptr : &tags_[position];
}

Tag* TagFile::findTag(const std::string& name) {
  return const_cast<Tag*>(static_cast<const TagFile*>(this)->find(name));
}

Tag& TagFile::tagFor(const std::string& name) {
  if (Tag* tag = findTag(name)) return *tag;
  return appendTag(name);
}

Tag& TagFile::appendTag(std::string name) {
  // The few tags of a script or JVM file without growing the list step by step.
  if (tags_.empty()) tags_.reserve(kTypicalTagCount);
  tags_.emplace_back(std::move(name));
  if (indexed()) {
    if (positions_.empty())
      for (size_t position = 0; position < tags_.size(); ++position)
        positions_.emplace(tags_[position].name(), position);
    else
      positions_.emplace(tags_.back().name(), tags_.size() - 1);
  }
  return tags_.back();
}

void TagFile::removeTag(const std::string& name) {
  const size_t removed = positionOf(name);
  if (removed == tags_.size()) return;
  if (indexed()) positions_.erase(name);
  tags_.erase(tags_.begin() + static_cast<std::ptrdiff_t>(removed));
  if (!indexed()) {
    positions_.clear();
    return;
  }
  for (size_t position = removed; position < tags_.size(); ++position)
    positions_[tags_[position].name()] = position;
}

void TagFile::syntaxError(const std::string& message, int32_t line) const {
  const std::string text =
      "Syntax error in " + sourceName_ + " at line " + decimal(line) + " ==> " + message;
  writeLog(text, kLogError);
  throw LauncherException(text);
}
