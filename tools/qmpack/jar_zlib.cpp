// Reading a jar's central directory and inflating the entries qmpack needs,
// with zlib.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "base/exceptions.h"
#include "qmpack/jar.h"

namespace {

uint32_t little(const std::string& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

struct ZipEntry {
  std::string name;
  uint32_t method;
  uint32_t compressedSize;
  uint32_t localHeader;
};

class Jar {
public:
  explicit Jar(const std::filesystem::path& path) : path_(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot be read");
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    readDirectory();
  }

  const std::vector<ZipEntry>& entries() const { return entries_; }

  // The entry's bytes, at most limit of them.
  std::string contents(const ZipEntry& entry, size_t limit) const {
    const size_t local = entry.localHeader;
    if (local + 30 > bytes_.size() || little(bytes_, local, 4) != 0x04034b50)
      fail("is damaged (" + entry.name + ")");
    const size_t data = local + 30 + little(bytes_, local + 26, 2) + little(bytes_, local + 28, 2);
    if (data + entry.compressedSize > bytes_.size()) fail("is damaged (" + entry.name + ")");
    if (entry.method == 0) return bytes_.substr(data, std::min<size_t>(entry.compressedSize, limit));
    if (entry.method != 8) fail("stores " + entry.name + " in a way qmpack cannot read");
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) fail("cannot be inflated");
    std::string out(limit, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes_.data() + data));
    stream.avail_in = entry.compressedSize;
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(limit);
    const int result = inflate(&stream, Z_FINISH);
    out.resize(limit - stream.avail_out);
    inflateEnd(&stream);
    if (result != Z_STREAM_END && result != Z_BUF_ERROR && result != Z_OK)
      fail("is damaged (" + entry.name + ")");
    return out;
  }

  [[noreturn]] void fail(const std::string& what) const {
    throw LauncherException(path_.string() + ": the jar " + what);
  }

private:
  void readDirectory() {
    if (bytes_.size() < 22) fail("is no zip file");
    const size_t lowest = bytes_.size() > 65557 ? bytes_.size() - 65557 : 0;
    size_t end = std::string::npos;
    for (size_t at = bytes_.size() - 22;; --at) {
      if (little(bytes_, at, 4) == 0x06054b50) {
        end = at;
        break;
      }
      if (at == lowest) break;
    }
    if (end == std::string::npos) fail("is no zip file");
    const uint32_t count = little(bytes_, end + 10, 2);
    size_t at = little(bytes_, end + 16, 4);
    for (uint32_t i = 0; i < count; ++i) {
      if (at + 46 > bytes_.size() || little(bytes_, at, 4) != 0x02014b50) fail("is damaged");
      const size_t nameLength = little(bytes_, at + 28, 2);
      if (at + 46 + nameLength > bytes_.size()) fail("is damaged");
      entries_.push_back(ZipEntry{bytes_.substr(at + 46, nameLength), little(bytes_, at + 10, 2),
                                  little(bytes_, at + 20, 4), little(bytes_, at + 42, 4)});
      at += 46 + nameLength + little(bytes_, at + 30, 2) + little(bytes_, at + 32, 2);
    }
  }

  std::filesystem::path path_;
  std::string bytes_;
  std::vector<ZipEntry> entries_;
};

// The manifest's main attributes: lines of "Name: value", a line that starts
// with a blank continuing the one before.
std::string attribute(const std::string& manifest, const std::string& name) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i <= manifest.size(); ++i) {
    const char c = i < manifest.size() ? manifest[i] : '\n';
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < manifest.size() && manifest[i + 1] == '\n') ++i;
      if (!line.empty() && line[0] == ' ' && !lines.empty())
        lines.back() += line.substr(1);
      else
        lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  const std::string key = name + ":";
  for (const std::string& entry : lines) {
    if (entry.empty()) break;  // the main section ends at the first blank line
    if (entry.compare(0, key.size(), key) != 0) continue;
    std::string value = entry.substr(key.size());
    const size_t first = value.find_first_not_of(' ');
    const size_t last = value.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
  }
  return std::string();
}

}  // namespace

JarFacts readJarFacts(const std::filesystem::path& path) {
  const Jar jar(path);
  JarFacts facts;
  for (const ZipEntry& entry : jar.entries()) {
    if (entry.name == "META-INF/MANIFEST.MF") {
      const std::string manifest = jar.contents(entry, 1 << 20);
      facts.mainClass = attribute(manifest, "Main-Class");
      std::string words = attribute(manifest, "Class-Path");
      for (size_t at = 0; at < words.size();) {
        const size_t end = std::min(words.find(' ', at), words.size());
        if (end > at) facts.classPath.push_back(words.substr(at, end - at));
        at = end + 1;
      }
    }
    // Classes for newer runtimes of a multi-release jar do not raise its floor.
    const bool isClass = entry.name.size() > 6 &&
                         entry.name.compare(entry.name.size() - 6, 6, ".class") == 0 &&
                         entry.name.compare(0, 18, "META-INF/versions/") != 0;
    if (!isClass) continue;
    const std::string head = jar.contents(entry, 8);
    if (head.size() < 8 || little(head, 0, 4) != 0xBEBAFECAu) jar.fail("holds a class file that is none: " + entry.name);
    const int major = (static_cast<unsigned char>(head[6]) << 8) | static_cast<unsigned char>(head[7]);
    facts.javaVersion = std::max(facts.javaVersion, major - 44);
  }
  return facts;
}
