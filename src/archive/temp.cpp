#include "archive/temp.h"

namespace {
std::string& tempRoot() {
  static std::string root;
  return root;
}
}  // namespace

void setTempRoot(const std::string& path) { tempRoot() = path; }

void extractAll() {}
