#pragma once
// One JVM description file: a loaded tag file (not owned) and the @NAME@
// substitution of its tag values, which the launch of a found JVM uses.

#include <cstddef>
#include <string>

#include "base/text_expander.h"

class TagFile;

class JvmFile : public TextExpander {
public:
  // The name for messages is the one the tag file was loaded under.
  explicit JvmFile(TagFile& tagFile);
  JvmFile(TagFile& tagFile, std::string name);

  TagFile& tagFile() const { return tagFile_; }
  const std::string& name() const { return name_; }

  // Replaces @NAME@ (start and end at the two @) by the first value of tag
  // NAME; JVM_HOME loses one trailing separator so that templates can add
  // their own.
  void expandOne(std::string& text, char marker, size_t start, size_t end) override;

  // Every @NAME@ of text replaced by its tag value.
  std::string substituteValues(const std::string& text) { return expand(text, '@'); }

private:
  TagFile& tagFile_;
  std::string name_;
};
