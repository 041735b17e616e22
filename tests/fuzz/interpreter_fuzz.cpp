// Feeds arbitrary statements to the interpreter: every line of the input is
// one INSTRUCTIONS value, and the run must end with a result or a
// LauncherException, never a crash, a hang or another exception.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/exceptions.h"
#include "base/text.h"
#include "script/command_bodies.h"
#include "script/interpreter.h"
#include "script/variables.h"
#include "tagfile/tag_file.h"

namespace {

const char kInstructions[] = "INSTRUCTIONS";

class CountingBodies : public CommandBodies {
public:
  long calls = 0;
  void doFindJvm(bool, bool) override { ++calls; }
  int32_t doLaunchInternal(int32_t, int16_t) override { return static_cast<int32_t>(++calls); }
  void doInitializeUi() override { ++calls; }
  void doInstallJvm(int32_t) override { ++calls; }
  int32_t doLaunch(const std::string&, int16_t) override { return static_cast<int32_t>(++calls); }
  void doVerify(bool, bool, int32_t) override { ++calls; }
  void doExecuteLauncher(int32_t) override { ++calls; }
};

// A script may legitimately loop for ever with GOTO or JMP0, which a fuzzer
// would report as a hang. Rather than give the launcher a step limit that it
// must not have, only scripts whose every jump lands after itself are run:
// then each statement runs at most once. A label that is computed from
// variables could land on any label line, so it is accepted only when no
// label line comes before the jump.
bool jumpsOnlyForward(const TagFile& script) {
  const int count = script.valueCount(kInstructions);
  int firstLabelLine = count;
  for (int line = 0; line < count; ++line) {
    const std::string text = script.value(kInstructions, line);
    size_t position = 0;
    const std::string command = readWord(text, position);
    if (!command.empty() && command[0] == ':' && firstLabelLine == count) firstLabelLine = line;
    if (command != "GOTO" && command != "JMP0") continue;
    if (command == "JMP0") readWord(text, position);
    const std::string label = readWord(text, position);
    if (label.empty()) continue;
    if (label.find('@') != std::string::npos) {
      if (firstLabelLine < line) return false;
      continue;
    }
    for (int target = 0; target < line; ++target) {
      if (script.value(kInstructions, target) == ":" + label) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  TagFile script;
  size_t start = 0;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    script.addValue(kInstructions, input.substr(start, end - start));
    start = end + 1;
  }
  if (!jumpsOnlyForward(script)) return -1;

  ScriptVariables variables;
  InstructionInterpreter interpreter(script, variables);
  CountingBodies bodies;
  try {
    runInstructions(&interpreter, bodies);
  } catch (const LauncherException&) {
    // The script's own faults end the run this way.
  }
  return 0;
}
