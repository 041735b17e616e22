// The verification cache file. Only portable code.
#include "jvm/verification_cache.h"

#include <cstdint>
#include <cstdio>
#include <memory>

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

bool unescaped(const std::string& text, std::string* result) {
  result->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      *result += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\': *result += '\\'; break;
      case 't': *result += '\t'; break;
      case 'n': *result += '\n'; break;
      case 'r': *result += '\r'; break;
      default: return false;
    }
  }
  return true;
}

bool readWhole(const std::string& path, std::string* text) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  char buffer[16384];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text->append(buffer, count);
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
  for (const auto& entry : entries_) {
    if (entry.first != key) continue;
    *output = entry.second;
    return true;
  }
  return false;
}

void VerificationCache::store(const std::string& key, const std::string& output) {
  if (!enabled() || key.empty()) return;
  // What other launchers stored since this one read the file is kept.
  load();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->first == key) {
      entries_.erase(it);
      break;
    }
  }
  entries_.emplace_back(key, output);
  while (entries_.size() > kMaxCachedVerifications) entries_.erase(entries_.begin());

  std::string text = std::string(kHeader) + '\n';
  for (const auto& entry : entries_) text += escaped(entry.first) + '\t' + escaped(entry.second) + '\n';
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
}

void VerificationCache::load() {
  loaded_ = true;
  entries_.clear();
  std::string text;
  if (!readWhole(path_, &text)) return;
  // Split by hand: the fields are exact, and trimming would change them.
  size_t position = 0;
  bool first = true;
  while (position < text.size()) {
    size_t end = text.find('\n', position);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(position, end - position);
    position = end + 1;
    if (first) {
      first = false;
      if (line != kHeader) return;  // someone else's file: rewritten on the next store
      continue;
    }
    const size_t tab = line.find('\t');
    std::string key, output;
    if (tab == std::string::npos || !unescaped(line.substr(0, tab), &key) ||
        !unescaped(line.substr(tab + 1), &output))
      continue;
    entries_.emplace_back(key, output);
  }
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
