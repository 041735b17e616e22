#pragma once
// The run's JVM search. For now the list of JVM description files it
// tries, in the order in which they were loaded; it owns them.

#include <memory>
#include <vector>

#include "jvm/jvm_file.h"

class JvmSearch {
public:
  void addJvmFile(std::unique_ptr<JvmFile> jvmFile) { jvmFiles_.push_back(std::move(jvmFile)); }
  const std::vector<std::unique_ptr<JvmFile>>& jvmFiles() const { return jvmFiles_; }

private:
  std::vector<std::unique_ptr<JvmFile>> jvmFiles_;
};
