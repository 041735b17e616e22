// The verification cache file. Only portable code.
#include "jvm/verification_cache.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/settings.h"
#include "base/text.h"
#include "os/environment.h"
#include "os/file_system.h"
#include "os/path.h"
#include "temp/temp.h"

namespace {

const char kHeader[] = "quillmark verification cache 1";
const char kBypassVariable[] = "QM_NO_VERIFY_CACHE";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string joined(const std::string& directory, const std::string& name) {
  return ensureTrailingSeparator(directory) + name;
}

std::string stampText(const std::string& path) {
  os::FileStamp stamp;
  if (!os::getFileStamp(path, &stamp).ok()) return "-";
  return std::to_string(stamp.size) + ":" + std::to_string(stamp.modified);
}

// One field a line: the separators inside are escaped.
std::string escaped(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c == '\\') result += "\\\\";
    else if (c == '\t') result += "\\t";
    else if (c == '\n') result += "\\n";
    else if (c == '\r') result += "\\r";
    else result += c;
  }
  return result;
}

bool unescaped(const char* text, size_t size, std::string* result) {
  result->clear();
  size_t start = 0;
  for (size_t i = 0; i < size; ++i) {
    if (text[i] != '\\') continue;
    // Runs without escapes are copied whole: the cache holds many.
    result->append(text + start, i - start);
    if (++i == size) return false;
    switch (text[i]) {
      case '\\': *result += '\\'; break;
      case 't': *result += '\t'; break;
      case 'n': *result += '\n'; break;
      case 'r': *result += '\r'; break;
      default: return false;
    }
    start = i + 1;
  }
  result->append(text + start, size - start);
  return true;
}

bool readWhole(const std::string& path, std::string* text) {
  File file(std::fopen(path.c_str(), "rb"));
  // Read in one piece straight into the text: a stream buffer would only
  // cost its own allocation and a look at the file for its size.
  if (file) std::setvbuf(file.get(), nullptr, _IONBF, 0);
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long size = std::ftell(file.get());
  if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
  // One buffer of the file's size, filled by one read: growing it by steps
  // touched and copied several times the memory, the larger part of a
  // repeat start's own cost.
  text->resize(static_cast<size_t>(size));
  text->resize(std::fread(&(*text)[0], 1, text->size(), file.get()));
  return !std::ferror(file.get());
}

std::string unquoted(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

// Makes directory and its missing parents.
void makeDirectories(const std::string& directory) {
  if (directory.empty() || os::isDirectory(directory)) return;
  const std::string parent = directoryPart(withoutTrailingSeparator(directory));
  if (!parent.empty()) makeDirectories(parent);
  os::createDirectory(directory);
}

// One line of the file as stored: its two fields, still escaped.
struct StoredEntry {
  const char* key;
  size_t keySize;
  const char* output;
  size_t outputSize;
};

// Gives visit the file's entries, oldest first, until it returns true;
// whether one did. A foreign file has none; a line without its separator is
// skipped. Split by hand: the fields are exact, and trimming would change them.
template <typename Visit>
bool forEachStoredEntry(const std::string& text, Visit visit) {
  const size_t headerSize = sizeof kHeader - 1;
  if (text.compare(0, headerSize, kHeader) != 0 ||
      (text.size() > headerSize && text[headerSize] != '\n'))
    return false;  // someone else's file: rewritten on the next store
  size_t position = headerSize + 1;
  while (position < text.size()) {
    size_t end = text.find('\n', position);
    if (end == std::string::npos) end = text.size();
    const char* line = text.data() + position;
    if (const void* found = std::memchr(line, '\t', end - position)) {
      const size_t keySize = static_cast<size_t>(static_cast<const char*>(found) - line);
      const StoredEntry entry{line, keySize, line + keySize + 1, end - position - keySize - 1};
      if (visit(entry)) return true;
    }
    position = end + 1;
  }
  return false;
}

}  // namespace

std::string verificationKey(const std::string& executable, const std::string& home,
                            const std::string& verifierIdentity,
                            const std::vector<std::string>& propertyNames) {
  const std::string executableStamp = stampText(executable);
  if (executableStamp == "-") return std::string();
  std::string key = executable + '\n' + executableStamp;
  key += "\nrelease " + stampText(joined(home, "release"));
  key += "\nmodules " + stampText(joined(joined(home, "lib"), "modules"));
  key += '\n' + verifierIdentity;
  for (const std::string& name : propertyNames) key += "\nproperty " + name;
  return key;
}

std::string verifierIdentity(const std::string& classpath, const std::string& className) {
  std::string bytes;
  if (!readWhole(unquoted(classpath), &bytes)) return "verifier " + className + " " + classpath;
  return jarVerifierIdentity(className, bytes);
}

std::string jarVerifierIdentity(const std::string& className, const std::string& bytes) {
  // FNV-1a over the jar: its name and place are new in every run.
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  return "verifier " + className + " jar " + std::to_string(bytes.size()) + ":" + hexDigits(hash, 16);
}

bool VerificationCache::enabled() {
  if (!resolved_) {
    resolved_ = true;
    path_ = verificationCachePath(settings().noVerifyCache, temp_);
  }
  return !path_.empty();
}

bool VerificationCache::lookup(const std::string& key, std::string* output) {
  if (!enabled() || key.empty()) return false;
  if (!loaded_) load();
  // Compared as stored: only the entry asked for is unescaped.
  const std::string wanted = escaped(key);
  std::string found;
  const bool hit = forEachStoredEntry(text_, [&](const StoredEntry& entry) {
    return entry.keySize == wanted.size() && wanted.compare(0, wanted.size(), entry.key, entry.keySize) == 0 &&
           unescaped(entry.output, entry.outputSize, &found);
  });
  if (hit) output->swap(found);
  return hit;
}

void VerificationCache::store(const std::string& key, const std::string& output) {
  if (!enabled() || key.empty()) return;
  // What other launchers stored since this one read the file is kept.
  load();
  std::vector<std::pair<std::string, std::string>> entries;  // oldest first
  forEachStoredEntry(text_, [&](const StoredEntry& entry) {
    std::string storedKey, storedOutput;
    if (unescaped(entry.key, entry.keySize, &storedKey) && storedKey != key &&
        unescaped(entry.output, entry.outputSize, &storedOutput))
      entries.emplace_back(std::move(storedKey), std::move(storedOutput));
    return false;
  });
  entries.emplace_back(key, output);
  while (entries.size() > kMaxCachedVerifications) entries.erase(entries.begin());

  std::string text = std::string(kHeader) + '\n';
  for (const auto& entry : entries) text += escaped(entry.first) + '\t' + escaped(entry.second) + '\n';
  const std::string directory = directoryPart(path_);
  makeDirectories(directory);
  std::string temporary;
  os::FileResult result = os::createUniqueTempFile(directory, &temporary);
  if (result.ok()) {
    File file(std::fopen(temporary.c_str(), "wb"));
    const bool written = file && std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    const bool closed = file && std::fclose(file.release()) == 0;
    result = written && closed ? os::replaceFile(temporary, path_) : os::FileResult{os::FileError::kOther, 0};
    if (!result.ok()) os::deleteFile(temporary);
  }
  if (!result.ok()) writeLog("Unable to write the verification cache " + path_, kLogWarning);
  text_ = std::move(text);
}

void VerificationCache::load() {
  loaded_ = true;
  text_.clear();
  if (!readWhole(path_, &text_)) text_.clear();
}

std::string verificationCachePath(bool bypassed, TempArea* temp) {
  std::string value;
  if (bypassed || os::getEnvironmentVariable(kBypassVariable, &value)) return std::string();
  std::string directory = os::userCacheDirectory();
  if (!directory.empty()) return joined(joined(directory, "quillmark"), "verified-jvms");
  if (!temp) return std::string();
  try {
    return joined(temp->root(), "quillmark-verified-jvms");
  } catch (const LauncherException&) {
    return std::string();
  }
}
