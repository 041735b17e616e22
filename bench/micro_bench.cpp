// Micro benchmarks of the launcher's text and index machinery, each beside a
// floor: the least work that reads the same input (one pass over the same
// bytes), so that the ratio says how far above plain reading the launcher is.
//
//   qm_micro SAMPLES_DIR [Google Benchmark flags]
//
// SAMPLES_DIR holds the sample launch script launch.txt and jvm/linux-java25.jvm.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "archive/index.h"
#include "archive/index_writer.h"
#include "base/exceptions.h"
#include "base/settings.h"
#include "launch/jvm_file.h"
#include "launch/launch_script.h"
#include "script/command_bodies.h"
#include "script/interpreter.h"
#include "script/variables.h"
#include "tagfile/tag_file.h"
#include "temp/temp.h"

namespace {

std::string workDirectory;
std::string samplesDirectory;

std::string workFile(const std::string& name) { return workDirectory + "/" + name; }

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Counts the lines of a file read whole: the floor of every text reader.
size_t countLines(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  char buffer[65536];
  size_t lines = 0, got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    for (const char* at = buffer; (at = static_cast<const char*>(std::memchr(at, '\n', buffer + got - at)));
         ++at)
      ++lines;
  std::fclose(file);
  return lines;
}

// One pass that copies text and finds every marker in it.
size_t copyFindingMarkers(const std::string& text, char marker, std::string& out) {
  out.clear();
  size_t markers = 0;
  for (char c : text) {
    markers += c == marker;
    out += c;
  }
  return markers;
}

// --- the file index of 5,000 entries ---------------------------------------

const int kIndexEntries = 5000;

const std::string& launcherWith5000Entries() {
  static const std::string path = [] {
    const std::string stub(4096, '\x7f');
    std::vector<FileEntry> entries;
    std::vector<int64_t> sizes;
    for (int i = 0; i < kIndexEntries; ++i) {
      FileEntry entry;
      entry.type = CLASSPATH_ARCHIVE;
      entry.id = i;
      entry.fileName = "library-" + std::to_string(i) + ".jar";
      entries.push_back(std::move(entry));
      sizes.push_back(16);
    }
    const ArchiveLayout layout = layOutArchive(static_cast<int64_t>(stub.size()), std::move(entries), sizes, 0);
    const std::string file = workFile("index5000");
    writeFile(file, stub + std::string(16 * kIndexEntries, 'd') + layout.tail);
    return file;
  }();
  return path;
}

void LoadIndex5000(benchmark::State& state) {
  settings().launcherFile = launcherWith5000Entries();
  for (auto _ : state) {
    LauncherArchive archive;
    archive.loadIndex(false);
    if (archive.fileIndex().count() != kIndexEntries) state.SkipWithError("index not read");
  }
}

void LoadIndex5000Floor(benchmark::State& state) {
  const std::string& path = launcherWith5000Entries();
  std::string bytes;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    unsigned char trailer[8];
    std::fseek(file, -8, SEEK_END);
    std::fread(trailer, 1, 8, file);
    const long offset = (long(trailer[0]) << 24) | (trailer[1] << 16) | (trailer[2] << 8) | trailer[3];
    std::fseek(file, 0, SEEK_END);
    bytes.resize(static_cast<size_t>(std::ftell(file) - offset));
    std::fseek(file, offset, SEEK_SET);
    benchmark::DoNotOptimize(std::fread(&bytes[0], 1, bytes.size(), file));
    std::fclose(file);
  }
}

// --- a tag file of 10,000 lines --------------------------------------------

const std::string& tagFileOf10000Lines() {
  static const std::string path = [] {
    std::string text;
    int lines = 0;
    for (int tag = 0; lines < 10000; ++tag) {
      if (tag % 10 == 0) {  // a block of eight quoted values
        text += "BLOCK_" + std::to_string(tag) + ":\n";
        for (int value = 0; value < 8; ++value)
          text += "\t\"value " + std::to_string(value) + " of a block, \"\"quoted\"\" \"\n";
        text += "/:\n";
        lines += 10;
      } else {
        text += "TAG_" + std::to_string(tag) + ": \"a value with blanks\" second-value\n";
        lines += 1;
      }
    }
    const std::string file = workFile("tags10000.txt");
    writeFile(file, text);
    return file;
  }();
  return path;
}

void ParseTagFile10000(benchmark::State& state) {
  const std::string& path = tagFileOf10000Lines();
  for (auto _ : state) {
    TagFile tags(path);
    benchmark::DoNotOptimize(tags.tags().size());
  }
}

void ParseTagFile10000Floor(benchmark::State& state) {
  const std::string& path = tagFileOf10000Lines();
  for (auto _ : state) benchmark::DoNotOptimize(countLines(path));
}

// --- the sample launch command ---------------------------------------------

void ExpandSampleCommand(benchmark::State& state) {
  TempArea temp;
  temp.setRoot(workDirectory);
  settings().launcherFile = workFile("sample-launcher");
  settings().originalLauncherFile = settings().launcherFile;
  TagFile launchTags(samplesDirectory + "/launch.txt");
  TagFile jvmTags(samplesDirectory + "/jvm/linux-java25.jvm");
  jvmTags.setJvmLocation("/usr/lib/jvm/java-25-openjdk-amd64", workFile("LRE2.tmp"), true);
  LaunchScript script(launchTags);
  script.context().temp = &temp;
  script.context().applicationArchive = workFile("LRE1.tmp/sample.jar");
  JvmFile jvm(jvmTags, "linux-java25.jvm");
  try {
    for (auto _ : state) {
      benchmark::DoNotOptimize(script.buildCommand(jvm));
      // Each expansion makes the class path's private directory; a temp
      // root that filled up would run out of names.
      state.PauseTiming();
      temp.removeAll();
      state.ResumeTiming();
    }
  } catch (const LauncherException& failure) {
    state.SkipWithError(failure.message().c_str());
  }
}

void ExpandSampleCommandFloor(benchmark::State& state) {
  const std::string command = TagFile(samplesDirectory + "/launch.txt").value("COMMAND");
  std::string out;
  for (auto _ : state) benchmark::DoNotOptimize(copyFindingMarkers(command, '%', out));
}

// --- variables in a script of 1,000 statements ------------------------------

class NoCommands : public CommandBodies {
public:
  void doFindJvm(bool, bool) override {}
  int32_t doLaunchInternal(int32_t, int16_t) override { return 0; }
  void doInitializeUi() override {}
  void doInstallJvm(int32_t) override {}
  int32_t doLaunch(const std::string&, int16_t) override { return 0; }
  void doVerify(bool, bool, int32_t) override {}
  void doExecuteLauncher(int32_t) override {}
};

TagFile scriptOf1000Statements() {
  TagFile script;
  script.setValue("S", "");
  script.setValue("INSTRUCTIONS", "SET S2 = \"C:\\Program Files\\Java\"");
  for (int i = 1; i < 1000; ++i)
    script.addValue("INSTRUCTIONS", i % 2 ? "SET S1 = \"@S2@\\jre @N1@ of @S3@\"" : "SET N1 = @N2@");
  return script;
}

void SubstituteScript1000(benchmark::State& state) {
  const TagFile script = scriptOf1000Statements();
  NoCommands bodies;
  for (auto _ : state) {
    ScriptVariables variables;
    InstructionInterpreter interpreter(script, variables);
    benchmark::DoNotOptimize(interpreter.execute(bodies));
  }
}

void SubstituteScript1000Floor(benchmark::State& state) {
  const TagFile script = scriptOf1000Statements();
  std::string out;
  for (auto _ : state)
    for (int i = 0; i < script.valueCount("INSTRUCTIONS"); ++i)
      benchmark::DoNotOptimize(copyFindingMarkers(script.value("INSTRUCTIONS", i), '@', out));
}

}  // namespace

BENCHMARK(LoadIndex5000);
BENCHMARK(LoadIndex5000Floor);
BENCHMARK(ParseTagFile10000);
BENCHMARK(ParseTagFile10000Floor);
BENCHMARK(ExpandSampleCommand);
BENCHMARK(ExpandSampleCommandFloor);
BENCHMARK(SubstituteScript1000);
BENCHMARK(SubstituteScript1000Floor);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2) {
    std::cerr << "usage: qm_micro SAMPLES_DIR [benchmark flags]\n";
    return 2;
  }
  samplesDirectory = argv[1];
  char work[] = "/tmp/qm_micro.XXXXXX";
  if (!mkdtemp(work)) return 2;
  workDirectory = work;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::system(("rm -rf '" + workDirectory + "'").c_str());
  return 0;
}
