// The test program standing in for a JVM's java.exe on Windows, where a
// captured child must be a Windows program: QM_TEST_CHILD=fake-jvm makes a
// copy of it write its arguments, one a line, to args.txt beside it and
// then print fake-jvm.txt from beside it, as a JVM running the verifier
// would print the magic line and the property values. Given "--exit N", it
// stands for a program that fails: it writes a line to standard error and
// exits with N instead.
#include "fake_jvm_mode.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "os/command_line.h"

int runFakeJvm() {
  const std::string self = os::executablePath();
  const std::string directory = self.substr(0, self.find_last_of("/\\") + 1);
  std::ofstream arguments(directory + "args.txt", std::ios::binary);
  const std::vector<std::string> all = os::platformArguments();
  for (size_t i = 1; i < all.size(); ++i) arguments << all[i] << '\n';
  arguments.close();
  for (size_t i = 1; i + 1 < all.size(); ++i) {
    if (all[i] == "--exit") {
      std::cerr << "fake JVM fails with " << all[i + 1] << std::endl;
      return std::atoi(all[i + 1].c_str());
    }
  }
  std::ifstream answer(directory + "fake-jvm.txt", std::ios::binary);
  if (!answer) return 1;
  std::ostringstream text;
  text << answer.rdbuf();
  std::cout << text.str() << std::flush;
  return 0;
}
