#pragma once
// One JVM found by a search: its home and the JVM description file it
// matched, whose tag file it shares with the JvmFile.

#include <string>

class TagFile;
class TempArea;

class JvmMatch {
public:
  JvmMatch(std::string home, TagFile& tagFile);

  const std::string& home() const { return home_; }
  TagFile& tagFile() const { return tagFile_; }
  bool foundRelativeToLauncher() const { return foundRelativeToLauncher_; }
  void setFoundRelativeToLauncher(bool relative) { foundRelativeToLauncher_ = relative; }

  // Records the match in the shared tag file (JVM_HOME, JVM_FILE, JVM_TEMP)
  // and writes the whole file to a new temporary file, for the Java program
  // to read; gives that file's path. Empty, with the tag file untouched,
  // when the system makes no temporary file (createTempFile logs that).
  // Throws LauncherException when the temporary root is missing, or texts
  // 33 and 34 with the error number between them when the copy cannot be
  // written whole (the file stays recorded for removal).
  std::string writeJvmFile(TempArea& temp) const;

private:
  std::string home_;
  TagFile& tagFile_;
  bool foundRelativeToLauncher_ = false;
};

// The log's error for a match whose file writeJvmFile could not make.
std::string unrecordedMatchText(const std::string& home);
