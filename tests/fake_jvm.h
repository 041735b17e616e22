#pragma once
// Fake JVM homes for the verification and search tests: bin/fakejava is a
// shell script natively and a copy of the test program (child mode
// "fake-jvm", see fake_jvm_mode.cpp) on Windows. Either prints the text of
// bin/fake-jvm.txt and records its arguments in bin/args.txt.

#include <filesystem>
#include <string>

#include "launch_fixture.h"
#include "os/command_line.h"
#include "os/path.h"

inline bool windowsPaths() { return os::pathSeparator() == '\\'; }

// A relative path written with the platform's separator.
inline std::string platformPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = os::pathSeparator();
  return path;
}

// The JVM_EXE of a fake home.
inline std::string fakeJvmExe() {
  return windowsPaths() ? "bin\\fakejava.exe" : "bin/fakejava";
}

// The output of a verifier run by a JVM with these properties.
inline std::string verifierOutput(const std::string& vendor, const std::string& version) {
  return "1739021872\n" + vendor + "\n" + version + "\n";
}

// Makes home (and its parents) with an executable that prints output.
inline void makeFakeJvm(const std::string& home, const std::string& output,
                        const std::string& executable = fakeJvmExe()) {
  namespace fs = std::filesystem;
  const fs::path program = fs::path(home) / executable;
  fs::create_directories(program.parent_path());
  writeWholeFile((program.parent_path() / "fake-jvm.txt").string(), output);
  if (windowsPaths()) {
    std::error_code linkFailed;
    fs::create_hard_link(os::executablePath(), program, linkFailed);
    if (linkFailed) fs::copy_file(os::executablePath(), program);
    return;
  }
  writeWholeFile(program.string(),
                 "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/args.txt\"\n"
                 "cat \"${0%/*}/fake-jvm.txt\"\n");
  fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

// What the fake JVM of home was last started with, one argument a line.
inline std::string fakeJvmArguments(const std::string& home) {
  return readTextFile(
      (std::filesystem::path(home) / fakeJvmExe()).parent_path().append("args.txt").string());
}

// The lines of text that start with one of the prefixes, in order.
inline std::vector<std::string> linesStartingWith(const std::string& text,
                                                  const std::vector<std::string>& prefixes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    for (const std::string& prefix : prefixes) {
      if (line.rfind(prefix, 0) == 0) {
        lines.push_back(line);
        break;
      }
    }
    start = end + 1;
  }
  return lines;
}

// A LaunchFixture whose children answer as fake JVMs on Windows.
class FakeJvmFixture : public LaunchFixture {
protected:
  ScopedVariable childMode_{"QM_TEST_CHILD", "fake-jvm"};
};
