// Feeds arbitrary command templates to the launch-script expansion with a
// small JVM description file and side files next to a scratch launcher.
// Every template must end in a command or a LauncherException, within the
// expansion bounds, and leave no JVM file behind in the script. The first
// byte chooses how the JVM file passes the class path.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/exceptions.h"
#include "base/settings.h"
#include "base/text_expander.h"
#include "launch/jvm_file.h"
#include "launch/launch_script.h"
#include "launch/literal_text.h"
#include "os/environment.h"
#include "tagfile/tag_file.h"
#include "temp/temp.h"

namespace {

void writeFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

// One scratch launcher directory per fuzzing process, removed when it exits.
struct Scratch {
  Scratch() : directory("/tmp/qm-expansion-fuzz-" + std::to_string(static_cast<long>(getpid()))) {
    std::filesystem::create_directories(directory);
    writeFile(directory + "/setup.sp", "a=@JVM_HOME@\nnovalue\nb=%TEMP_DIR%()\n");
    writeFile(directory + "/setup.ja", "-X@MAX_JAVA_HEAP@ #QM_FUZZ_VALUE#\n");
    writeFile(directory + "/setup.cp1", "first.jar\n");
    writeFile(directory + "/setup.cp2", "\"last.jar\"\n");
    settings().launcherFile = directory + "/setup.exe";
    settings().originalLauncherFile = settings().launcherFile;
    temp.setRoot(directory + "/");
    const std::string value = "%LAUNCHER_DIR%()@JVM_EXE@";
    os::setEnvironmentVariable("QM_FUZZ_VALUE", &value);
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }
  const std::string directory;
  mutable TempArea temp;
};

TagFile jvmTags(uint8_t mode) {
  TagFile tags;
  tags.setValue("JVM_HOME", "C:\\j2re1.4.1\\");
  tags.setValue("JVM_EXE", "bin\\java.exe");
  tags.setValue("CLASSPATH", "-cp ");
  tags.setValue("CLASSPATH_SEPARATOR", ";");
  tags.setValue("SYSTEM", "-D");
  tags.setValue("SYSTEM_SEPARATOR", "=");
  tags.setValue("MAX_JAVA_HEAP", "-Xmx");
  tags.setValue("ECHO", "#QM_FUZZ_VALUE#");
  if (mode & 1) {
    tags.setValue("USE_CP_ENV_VAR", "1");
    tags.setValue("CP_ENV_VAR", (mode & 2) ? "QM_FUZZ_CLASSPATH" : "");
  }
  return tags;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Scratch scratch;
  if (size == 0) return 0;

  const std::string command(reinterpret_cast<const char*>(data) + 1, size - 1);
  TagFile tags = jvmTags(data[0]);
  JvmFile jvm(tags, "fuzz.jvm");
  // As a launch script file gives it: the bytes that mark sealed values are
  // sealed themselves.
  LaunchScript script(sealMarkerBytes(command), true, false);
  script.context().temp = &scratch.temp;
  script.context().options.classPathPrepend = "pre.jar";
  // Copying or extracting archives is file work, not expansion; a path
  // remembered up front keeps the fuzzer from copying whatever it names.
  script.context().applicationArchive = scratch.directory + "/app.jar";
  std::string result;
  bool built = true;
  try {
    result = script.buildCommand(jvm);
  } catch (const LauncherException&) {
    built = false;
  }
  if (!script.jvmValue("JVM_HOME").empty()) std::abort();
  if (!built) return 0;
  if (result.size() > kMaxExpandedLength) std::abort();
  if (command.find_first_of("%@#") == std::string::npos && result != command) std::abort();
  return 0;
}
