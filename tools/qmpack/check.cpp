// The checks of a plan's entries before anything is written.

#include "qmpack/check.h"

#include <algorithm>
#include <memory>

#include "base/exceptions.h"
#include "base/text.h"
#include "launch/functions.h"
#include "script/command_bodies.h"
#include "script/instructions_exception.h"
#include "script/interpreter.h"
#include "script/variables.h"
#include "tagfile/tag_file.h"

namespace {

// What the statements ask of the other entries, as the commands hear it.
class NeedsOfScript : public CommandBodies {
public:
  void doFindJvm(bool, bool) override { findsJvm = true; }
  int32_t doLaunchInternal(int32_t, int16_t) override {
    launches = true;
    return 0;
  }
  void doInitializeUi() override {}
  void doInstallJvm(int32_t) override { installs = true; }
  int32_t doLaunch(const std::string&, int16_t) override {
    launches = true;
    return 0;
  }
  void doVerify(bool, bool, int32_t) override { verifies = true; }
  void doExecuteLauncher(int32_t) override {}

  bool findsJvm = false;
  bool launches = false;
  bool installs = false;
  bool verifies = false;
};

class Checker {
public:
  explicit Checker(const PackPlan& plan) : plan_(plan) {}

  PackCheck run() {
    for (const PackSource& source : plan_.entries) {
      const FileType type = source.entry.type;
      if (type != INSTRUCTIONS && type != JVM && type != LAUNCHSCRIPT) continue;
      std::unique_ptr<TagFile> tags = parse(source);
      if (!tags) continue;
      if (type == INSTRUCTIONS && !instructions_) instructions_ = std::move(tags);
      else if (type == LAUNCHSCRIPT && !launchScript_) launchScript_ = std::move(tags);
      else if (type == JVM) checkJvmFile(source, *tags);
    }
    if (instructions_) checkInstructions();
    else warn("the manifest has no INSTRUCTIONS entry: the launcher runs nothing unless an input file names a script");
    if (launchScript_) checkLaunchScript();
    return std::move(report_);
  }

private:
  const PackSource* first(FileType type) const {
    for (const PackSource& source : plan_.entries)
      if (source.entry.type == type) return &source;
    return nullptr;
  }
  const PackSource* withId(int32_t id) const {
    for (const PackSource& source : plan_.entries)
      if (source.entry.id == id) return &source;
    return nullptr;
  }
  void refuse(const std::string& text) { report_.refusals.push_back(text); }
  void warn(const std::string& text) { report_.warnings.push_back(text); }
  static std::string at(const TagFile& tags, const std::string& tag, int index) {
    const int32_t line = tags.line(tag, index);
    return tags.sourceName() + (line > 0 ? ", line " + decimal(line) : std::string()) + ": ";
  }

  std::unique_ptr<TagFile> parse(const PackSource& source) {
    try {
      return std::unique_ptr<TagFile>(new TagFile(source.path.string()));
    } catch (const LauncherException& e) {
      refuse(e.message());
      return nullptr;
    }
  }

  void checkJvmFile(const PackSource& source, const TagFile& tags) {
    const std::string name = source.path.string();
    if (tags.value("JVM_EXE").empty()) warn(name + ": no JVM_EXE, so no JVM can ever match it");
    if (tags.valueCount("JVM_PROPERTIES") == 0)
      warn(name + ": no JVM_PROPERTIES, so the search passes over it");
  }

  void checkInstructions() {
    const TagFile& script = *instructions_;
    const int count = script.valueCount("INSTRUCTIONS");
    ScriptVariables variables;
    InstructionInterpreter interpreter(script, variables);
    NeedsOfScript needs;
    try {
      interpreter.check(needs);
    } catch (const InstructionsException& e) {
      refuse(at(script, "INSTRUCTIONS", e.lineNumber() - 1) + e.message());
      return;
    } catch (const LauncherException& e) {
      refuse(script.sourceName() + ": " + e.message());
      return;
    }
    if (needs.launches && !launchScript_ && !first(LAUNCHSCRIPT))
      refuse(script.sourceName() + ": it launches, and the manifest has no LAUNCHSCRIPT entry");
    if (needs.findsJvm && !first(JVM))
      refuse(script.sourceName() + ": FIND_JVM searches with the JVM files, and the manifest has no JVM entry");
    if ((needs.findsJvm || needs.verifies) && !first(VERIFIER_ARCHIVE))
      refuse(script.sourceName() + ": a JVM is verified by the verifier, and the manifest has no VERIFIER_ARCHIVE entry");
    if (needs.installs && !first(JVM_INSTALLER))
      refuse(script.sourceName() + ": INSTALL_JVM needs a JVM_INSTALLER entry, and the manifest has none");
    // The entries named by number, where the number is written out.
    for (int i = 0; i < count; ++i) checkEntryNamed(script, i);
  }

  void checkEntryNamed(const TagFile& script, int index) {
    const std::string text = script.value("INSTRUCTIONS", index);
    std::vector<std::string> words;
    size_t position = 0;
    try {
      for (std::string word = readWord(text, position); !word.empty();
           word = readWord(text, position))
        words.push_back(word);
    } catch (const LauncherException&) {
      return;  // the check above reports what does not read
    }
    if (words.empty()) return;
    size_t argument = 0;
    if (words[0] == "ILAUNCH") argument = 1;
    if (words[0] == "VERIFY") argument = 3;
    if (words[0] == "EXECUTE_LAUNCHER") argument = 1;
    if (argument == 0 || argument >= words.size()) return;
    int32_t number = 0;
    if (words[argument].find('@') != std::string::npos || !readScriptNumber(words[argument], number))
      return;
    const std::string where = at(script, "INSTRUCTIONS", index);
    if (words[0] == "EXECUTE_LAUNCHER") {
      const bool embedded = number >= 0 && static_cast<size_t>(number) < plan_.entries.size() &&
                            plan_.entries[static_cast<size_t>(number)].entry.type == EMBEDDED_LAUNCHER;
      if (!embedded)
        refuse(where + "EXECUTE_LAUNCHER " + decimal(number) +
               " names no EMBEDDED_LAUNCHER entry (it counts entries from 0 in manifest order)");
      return;
    }
    const PackSource* named = withId(number);
    if (!named)
      refuse(where + words[0] + " names the entry with id " + decimal(number) + ", which the manifest lacks");
    else if (named->entry.type != JVM)
      refuse(where + words[0] + " names the entry with id " + decimal(number) + ", which is no JVM entry");
  }

  void checkLaunchScript() {
    const TagFile& script = *launchScript_;
    for (const char* tag : {"COMMAND", "ARCHIVE"}) {
      const std::string text = script.value(tag);
      // The launch script's expansion pairs % markers the same way.
      for (size_t start = text.find('%'); start != std::string::npos && start + 2 < text.size();) {
        const size_t end = text.find('%', start + 2);
        if (end == std::string::npos) break;
        const std::string name = text.substr(start + 1, end - start - 1);
        const bool looksLikeAName = std::all_of(name.begin(), name.end(), [](char c) {
          return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        });
        if (!findLaunchFunction(name)) {
          const std::string message = at(script, tag, 0) + tag + " calls %" + name + "%, which is no launch script function";
          if (looksLikeAName) refuse(message);
          else warn(message);
        }
        start = text.find('%', end + 1);
      }
    }
  }

  const PackPlan& plan_;
  std::unique_ptr<TagFile> instructions_;
  std::unique_ptr<TagFile> launchScript_;
  PackCheck report_;
};

}  // namespace

PackCheck checkPlan(const PackPlan& plan) { return Checker(plan).run(); }
