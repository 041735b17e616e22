// Stands in for a JVM's bin/java in the benchmarks, so that what is timed is
// the launcher and not a JVM: given the verifier's class it prints the magic
// line and the asked properties at once; given anything else (the
// application's command) it ends at once with 0. When QM_BENCH_MARK names a
// file, each run appends a line to it, "verifier" or "application" and the
// time it started (CLOCK_MONOTONIC, in microseconds), so that the suite can
// tell a run that went the whole way from one that gave up early, and see
// when a disk scan's walk ended (its first verification starts then).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const char* const kProperties[][2] = {
    {"java.specification.version", "25"},
    {"java.version", "25.0.1"},
    {"java.vendor", "Bench Inc."},
    {"java.vm.specification.name", "Java Virtual Machine Specification"},
};

const char* propertyValue(const char* name) {
  for (const auto& property : kProperties)
    if (std::strcmp(property[0], name) == 0) return property[1];
  return "null";
}

void mark(const char* what) {
  const char* path = std::getenv("QM_BENCH_MARK");
  if (!path || !*path) return;
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  if (std::FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s %lld\n", what, now.tv_sec * 1000000LL + now.tv_nsec / 1000);
    std::fclose(file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int verifier = 1;
  while (verifier < argc && std::strcmp(argv[verifier], "Verify") != 0) ++verifier;
  if (verifier == argc) {
    mark("application");
    return 0;
  }
  mark("verifier");
  std::printf("1739021872\n");
  for (int i = verifier + 1; i < argc; ++i) std::printf("%s\n", propertyValue(argv[i]));
  return 0;
}
