// A real Java program run through a launch script with the machine's JDK:
// the command the template describes, its output captured and logged, its
// exit code returned.

#include <gtest/gtest.h>

#include <filesystem>

#include "launch/execute_launch.h"
#include "launch_fixture.h"
#include "os/command_line.h"

namespace fs = std::filesystem;

namespace {

// A JDK of this machine, or empty.
std::string installedJdk() {
  std::error_code error;
  for (const auto& home : fs::directory_iterator("/usr/lib/jvm", error)) {
    if (fs::exists(home.path() / "bin" / "java") && fs::exists(home.path() / "bin" / "javac"))
      return home.path().string();
  }
  return std::string();
}

}  // namespace

class JavaLaunch : public LaunchFixture {};

TEST_F(JavaLaunch, RunsTheVerifierWithTheMachinesJdk) {
  const std::string jdk = installedJdk();
  // Verify.jar is built next to the test program.
  const std::string jar = (fs::path(os::executablePath()).parent_path() / "Verify.jar").string();
  if (jdk.empty() || !fs::exists(jar)) GTEST_SKIP() << "no JDK or no Verify.jar here";

  jvmTags_.setValue("JVM_HOME", jdk + "/");
  jvmTags_.setValue("JVM_EXE", "bin/java");
  jvmTags_.setValue("CLASSPATH_SEPARATOR", ":");
  LaunchScript script("\"@JVM_HOME@/@JVM_EXE@\" %CP%(\"\"\"" + jar +
                          "\"\"\") Verify java.specification.version qm.absent",
                      true, false);
  takeLog();
  EXPECT_EQ(executeLaunch(script, jvm_, StringList(), false), 0);

  // The class path is the jar alone: no empty element for the current directory.
  const std::string expectedCommand = "\"" + jdk + "/bin/java\" -cp \"" + jar +
                                      "\" Verify java.specification.version qm.absent";
  const std::string& output = script.standardOutput();
  EXPECT_TRUE(::testing::internal::RE::FullMatch(output, "1739021872\n[0-9.]+\nnull\n")) << output;
  const std::string log = takeLog();
  EXPECT_NE(log.find("Executing launch script command: " + expectedCommand), std::string::npos)
      << log;
  EXPECT_NE(log.find("StdOut:\n" + output), std::string::npos) << log;
}
