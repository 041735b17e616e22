#include "child_mode.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/command_line.h"
#include "base/settings.h"
#include "fake_jvm_mode.h"
#include "os/command_line.h"
#include "os/environment.h"
#include "os/process.h"
#include "os/version.h"

namespace {

// Writes the arguments after the program one a line, each between brackets
// so blanks show, to the file named by QM_TEST_OUTPUT (standard output when
// unset).
int writeArguments(const std::vector<std::string>& arguments) {
  const char* outputName = std::getenv("QM_TEST_OUTPUT");
  std::FILE* out = outputName ? std::fopen(outputName, "wb") : stdout;
  if (!out) return 98;
  for (size_t i = 1; i < arguments.size(); ++i) std::fprintf(out, "[%s]\n", arguments[i].c_str());
  if (out != stdout) std::fclose(out);
  return 0;
}

// The arguments as the launcher splits its own command line, by the rule
// of the Windows family it runs on.
int printArguments() {
  settings().windows95Family = os::platformId() == 1;
  CommandLine line;
  line.split();
  std::vector<std::string> arguments;
  for (int32_t i = 0; i < line.count(); ++i) arguments.push_back(line.argument(i));
  return writeArguments(arguments);
}

std::string fromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

void write(std::FILE* stream, const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

void waitForRelease() {
  const char* name = std::getenv("QM_TEST_RELEASE");
  if (!name) return;
  const std::filesystem::path release(name);
  for (int i = 0; i < 600; ++i) {
    std::error_code ignored;
    if (std::filesystem::exists(release, ignored) ||
        !std::filesystem::exists(release.parent_path(), ignored))
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

bool startGrandchild() {
  std::string mode;
  if (!os::getEnvironmentVariable("QM_TEST_GRANDCHILD", &mode)) return false;
  os::setEnvironmentVariable("QM_TEST_CHILD", &mode);
  os::StartRequest request;
  request.commandLine = "\"" + os::executablePath() + "\"";
  request.hidden = true;
  request.redirect = true;
  request.outputWrite = os::standardHandle(1);
  request.errorWrite = os::standardHandle(2);
  os::Child child;
  if (!os::startProcess(request, &child).ok()) return false;
  os::closeChild(&child);
  return true;
}

// Runs one step; false ends the child with *exitCode.
bool runStep(const std::string& step, int* exitCode) {
  const size_t colon = step.find(':');
  const std::string name = step.substr(0, colon);
  const std::string value = colon == std::string::npos ? std::string() : step.substr(colon + 1);
  if (name == "out") {
    write(stdout, value);
  } else if (name == "err") {
    write(stderr, value);
  } else if (name == "outhex") {
    write(stdout, fromHex(value));
  } else if (name == "errhex") {
    write(stderr, fromHex(value));
  } else if (name == "outfill") {
    write(stdout, childFillPattern(std::stoul(value)));
  } else if (name == "errfill") {
    write(stderr, childFillPattern(std::stoul(value)));
  } else if (name == "sleep") {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(value)));
  } else if (name == "in") {
    std::string typed((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    write(stdout, "read " + std::to_string(typed.size()));
  } else if (name == "touch") {
    std::ofstream(value, std::ios::binary) << "here";
  } else if (name == "jvmfile") {
    // What a JVM installer lays down in its destination.
    std::ofstream("jvm", std::ios::binary) << "DESC: Installed runtime\r\nJVM_EXE: bin\\java.exe\r\n";
  } else if (name == "args") {
    const char* outputName = std::getenv("QM_TEST_OUTPUT");
    std::ofstream out(outputName ? outputName : "", std::ios::binary);
    const std::vector<std::string> arguments = os::platformArguments();
    for (size_t i = 1; i < arguments.size(); ++i) out << arguments[i] << '\n';
  } else if (name == "wait-release") {
    waitForRelease();
  } else if (name == "grandchild") {
    if (!startGrandchild()) {
      *exitCode = 97;
      return false;
    }
  } else if (name == "raise") {
    std::raise(std::stoi(value));
  } else if (name == "abort") {
    std::abort();
  } else if (name == "exit") {
    *exitCode = std::stoi(value);
    return false;
  } else {
    *exitCode = 99;
    return false;
  }
  return true;
}

}  // namespace

std::string childFillPattern(size_t n) {
  std::string pattern;
  char record[16];
  for (size_t i = 0; pattern.size() < n; ++i) {
    std::snprintf(record, sizeof record, "%07lu,", static_cast<unsigned long>(i % 10000000));
    pattern += record;
  }
  pattern.resize(n);
  return pattern;
}

bool runChildModeIfAsked(int* exitCode) {
  const char* mode = std::getenv("QM_TEST_CHILD");
  if (!mode) return false;
  const std::string steps(mode);
  if (steps == "print-arguments") {
    *exitCode = printArguments();
    return true;
  }
  if (steps == "fake-jvm") {
    *exitCode = runFakeJvm();
    return true;
  }
  // The arguments as a program's runtime reads them on every family: the
  // platform's own rule, as a launched Java program gets them.
  if (steps == "print-platform-arguments") {
    *exitCode = writeArguments(os::platformArguments());
    return true;
  }
  *exitCode = 0;
  size_t start = 0;
  for (;;) {
    const size_t end = steps.find(';', start);
    if (!runStep(steps.substr(start, end - start), exitCode)) return true;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}
