// The verifier a search checks candidates with, extracted at its first run.

#include "jvm/verifier_source.h"

#include <utility>

#include "archive/extract.h"
#include "archive/index.h"
#include "base/text.h"
#include "jvm/verification_cache.h"
#include "temp/temp.h"

VerifierSource::VerifierSource(std::string classPath, std::string className)
    : classPath_(std::move(classPath)), className_(std::move(className)) {}

VerifierSource VerifierSource::inArchive(const FileEntry& entry, TempArea& temp) {
  VerifierSource source;
  source.className_ = quoted("Verify");
  auto place = std::make_shared<FileEntry>();
  place->type = entry.type;
  place->id = entry.id;
  place->length = entry.length;
  place->offset = entry.offset;
  place->fileName = entry.fileName;
  place->compressed = entry.compressed;
  place->decompressedFileCount = entry.decompressedFileCount;
  place->decompressedSize = entry.decompressedSize;
  source.entry_ = std::move(place);
  source.temp_ = &temp;
  return source;
}

const std::string& VerifierSource::classPath() const {
  if (entry_ && classPath_.empty())
    classPath_ = quoted(extractTo(*entry_, temp_->createPrivateDir()));
  return classPath_;
}

const std::string& VerifierSource::identity() const {
  if (identity_.empty()) {
    std::string bytes;
    identity_ = entry_ && classPath_.empty() && readEntryBytes(*entry_, &bytes)
                    ? jarVerifierIdentity(className_, bytes)
                    : verifierIdentity(classPath_, className_);
  }
  return identity_;
}
