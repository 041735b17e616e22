// qmpack: builds a launcher from the launcher stub and a set of files, and
// lists the index of a launcher.
//
//   qmpack MANIFEST          write the launcher that MANIFEST describes
//   qmpack --no-checks MANIFEST
//                            the same without refusing a launcher that could
//                            never run (for testing the launcher's own errors)
//   qmpack --jar APP.jar ... -o OUTPUT
//                            write a launcher for the jar directly (docs/qmpack.md)
//   qmpack --list LAUNCHER   print one line per entry of LAUNCHER's index
//
// The manifest is a tag file, read by the launcher's own reader:
//
//   STUB: qmlauncher.exe            the launcher executable to start from
//   OUTPUT: MyApp.exe               the launcher to write
//   KIND: 0                         launcher kind byte, 0 to 255 (default 0)
//   ENTRIES:
//     INSTRUCTIONS 0 instructions.txt
//     VERIFIER_ARCHIVE 1 lib/Verify.jar
//     2 2 launch.txt
//     JVM 3 jvm/sun_win32_14X.jvm
//     APPLICATION_ARCHIVE 4 "build/My App.jar" name=MyApp.jar
//     CLASSPATH_ARCHIVE 5 libs.zip compressed=12,482113
//   /:
//
// Each ENTRIES value is `type id source [name=NAME] [compressed=FILES,SIZE]`:
// the type as a number 0 to 7 or by name, the id as a signed 32-bit number,
// the source file (relative paths, STUB and OUTPUT included, are taken from
// the manifest's directory), the name stored in the index (by default the
// source's file name) and, for an entry that expands after extraction, the
// number of files and bytes it expands into. A word may be quoted with
// double quotes; two double quotes inside stand for one. The entries' bytes
// follow the stub in the order listed. docs/qmpack.md has the details.
//
// Exit codes: 0 done, 1 refused or failed (the reason on stderr; no output
// is written then), 2 wrong command line.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "base/exceptions.h"
#include "qmpack/check.h"
#include "qmpack/direct.h"
#include "qmpack/manifest.h"
#include "qmpack/pack.h"
#include "os/command_line.h"

namespace {

namespace fs = std::filesystem;

// Checks the plan (unless given a check's outcome), says what it found, and
// writes the launcher when nothing was refused.
int pack(const PackPlan& plan, const PackCheck& check) {
  for (const std::string& warning : check.warnings)
    std::fprintf(stderr, "qmpack: warning: %s\n", warning.c_str());
  for (const std::string& refusal : check.refusals)
    std::fprintf(stderr, "qmpack: %s\n", refusal.c_str());
  if (!check.refusals.empty()) {
    std::fprintf(stderr, "qmpack: refused: the launcher could never run; nothing was written\n");
    return 1;
  }
  const int64_t size = writeLauncher(plan);
  std::printf("qmpack: wrote %s (%zu entries, %lld bytes)\n", plan.output.string().c_str(),
              plan.entries.size(), static_cast<long long>(size));
  return 0;
}

int pack(const PackPlan& plan) { return pack(plan, checkPlan(plan)); }

const char kUsage[] =
    "usage: qmpack [--no-checks] MANIFEST\n"
    "       qmpack --jar APP.jar [--jar DEP.jar ...] [--lib DIR] [--main-class CLASS]\n"
    "              [--java 17+ | 11..21 | 21] [--target linux|windows] [--name NAME]\n"
    "              [--jvm-option OPTION ...] [--working-dir caller|launcher]\n"
    "              [--stub STUB] [--verifier Verify.jar] [--save-manifest DIR] -o OUTPUT\n"
    "       qmpack --list LAUNCHER\n";

// Direct mode: the generated files go to --save-manifest's directory, or to
// a temporary one that is removed again.
int runDirect(const std::vector<std::string>& arguments) {
  const DirectRequest request = parseDirectArguments(arguments);
  std::error_code error;
  const fs::path qmpackDirectory = fs::path(os::executablePath()).parent_path();
  fs::path directory = request.saveDir;
  bool temporary = false;
  if (directory.empty()) {
    directory = fs::temp_directory_path(error) / ("qmpack-" + std::to_string(std::random_device()()));
    temporary = true;
  }
  struct Remover {
    fs::path path;
    ~Remover() {
      std::error_code ignored;
      if (!path.empty()) fs::remove_all(path, ignored);
    }
  } remover{temporary ? directory : fs::path()};
  const PackPlan plan = planDirect(request, directory, qmpackDirectory);
  return pack(plan);
}

int run(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (isDirectCommandLine(arguments)) return runDirect(arguments);
  if (argc == 3 && std::string(argv[1]) == "--list") {
    for (const std::string& line : listLauncher(argv[2])) std::printf("%s\n", line.c_str());
    return 0;
  }
  const bool checked = !(argc == 3 && std::string(argv[1]) == "--no-checks");
  if ((argc == 2 && argv[1][0] != '-') || !checked) {
    const PackPlan plan = readManifest(argv[argc - 1]);
    return checked ? pack(plan) : pack(plan, PackCheck());
  }
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const LauncherException& e) {
    std::fprintf(stderr, "qmpack: %s\n", e.message().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qmpack: %s\n", e.what());
  }
  return 1;
}
