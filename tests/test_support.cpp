#include "test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "archive/index_writer.h"
#include "base/exceptions.h"
#include "base/settings.h"
#include "base/ui.h"
#include "launcher/launcher_run.h"
#include "temp/temp.h"

namespace fs = std::filesystem;

ScopedTempDir::ScopedTempDir() {
  std::random_device random;
  for (;;) {
    fs::path candidate = fs::temp_directory_path() / ("qmtest-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ScopedTempDir::file(const std::string& name) const {
  return (fs::path(path_) / name).string();
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string readTextFile(const std::string& path) {
  std::string text = readWholeFile(path);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::string readLogFile(const std::string& path) {
  const std::string text = readTextFile(path);
  std::string lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, end - start);
    // "2026-12-10T05:50:12.345Z "
    if (line.size() >= 25 && line[4] == '-' && line[10] == 'T' && line[19] == '.' &&
        line[23] == 'Z' && line[24] == ' ')
      line.erase(0, 25);
    lines += line;
    start = end;
  }
  return lines;
}

void writeWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

namespace {
std::unique_ptr<TempArea>& testTempInstance() {
  static std::unique_ptr<TempArea> temp(new TempArea);
  return temp;
}
std::unique_ptr<LauncherRun>& testRunInstance() {
  static std::unique_ptr<LauncherRun> run(new LauncherRun(*testTempInstance()));
  return run;
}
void newTestTemp() {
  testRunInstance().reset();
  testTempInstance().reset(new TempArea);
}
}  // namespace

std::vector<LauncherPart> numberedParts(const std::vector<Stored>& stored) {
  std::vector<LauncherPart> parts;
  for (const Stored& file : stored) {
    parts.emplace_back();
    parts.back().entry.type = file.type;
    parts.back().entry.id = static_cast<int32_t>(parts.size());
    parts.back().entry.fileName = file.name;
    parts.back().data = file.bytes;
  }
  return parts;
}

std::string launcherFileBytes(std::vector<LauncherPart> parts, uint8_t kind,
                              const std::string& stub) {
  std::vector<FileEntry> entries;
  std::vector<int64_t> sizes;
  std::string bytes = stub;
  for (LauncherPart& part : parts) {
    sizes.push_back(static_cast<int64_t>(part.data.size()));
    bytes += part.data;
    entries.push_back(std::move(part.entry));
  }
  return bytes + layOutArchive(static_cast<int64_t>(stub.size()), std::move(entries), sizes, kind).tail;
}

std::string thrownMessage(const std::function<void()>& step) {
  try {
    step();
  } catch (const LauncherException& e) {
    return e.message();
  }
  return std::string();
}

TempArea& testTemp() { return *testTempInstance(); }
LauncherRun& testRun() { return *testRunInstance(); }
void newTestRun() { testRunInstance().reset(new LauncherRun(testTemp())); }

void LauncherStateTest::SetUp() {
  settings() = LauncherSettings();
  ui::resetStatusState();
  newTestTemp();
  newTestRun();
  setTheApp(&app_);
}

void LauncherStateTest::TearDown() {
  setTheApp(nullptr);
  settings() = LauncherSettings();
  ui::resetStatusState();
  newTestTemp();
  newTestRun();
}
