// Evaluation of command arguments: variable references are substituted
// first, then the text is read as a number, a boolean or a value.

#include <string>

#include "base/text.h"
#include "launch/literal_text.h"
#include "script/interpreter.h"
#include "script/variables.h"

namespace {

// A value may itself hold references, which the next pass expands. A chain
// through all fifteen variables settles within sixteen passes, so a text that
// still changes after this many refers back to itself and would never settle.
constexpr int kMaxSubstitutionPasses = 100;

// Far beyond any path or command line a script builds; only values that
// reference themselves, or double up level after level, get this long.
constexpr size_t kMaxSubstitutedLength = 65536;

}  // namespace

void InstructionInterpreter::substituteVariables(std::string& text,
                                                 const std::string& context) const {
  const std::string prefix = context + " ";
  if (text.empty()) raiseScriptError(prefix + "Empty expression.");
  // Found paths go in sealed and come out whole; the bytes that mark them
  // are sealed wherever else they stand.
  text = sealMarkerBytes(text);
  for (int pass = 0;; ++pass) {
    if (pass == kMaxSubstitutionPasses)
      raiseScriptError(prefix + "Variable references nest too deeply.");
    std::string out;
    size_t scan = 0;
    bool replaced = false;
    // A failure keeps the replacements made so far, as an in-place edit would.
    auto keepProgress = [&](size_t from) { text = openLiteralsAsTheyAre(out + text.substr(from)); };
    for (;;) {
      const size_t open = text.find('@', scan);
      if (open == std::string::npos) {
        out.append(text, scan, std::string::npos);
        break;
      }
      out.append(text, scan, open - scan);
      const size_t close = text.find('@', open + 1);
      if (close == std::string::npos) {
        keepProgress(open);
        raiseScriptError(prefix + "Invalid variable specification.");
      }
      if (close == open + 1) {
        out += '@';
      } else {
        // The inserted value is not scanned in this pass: its own references
        // wait for the next pass, so a value that starts with a reference, or
        // an empty value followed by another reference, reads correctly.
        try {
          const VariableRef ref = parseVariableRef(text.substr(open + 1, close - open - 1), context);
          // A path the launcher found is data, sealed against later passes.
          const bool found = ref.type == 'S' && variables_.holdsFoundPath(ref.number);
          out += found ? literalText(variables_.text(ref)) : sealMarkerBytes(variables_.text(ref));
        } catch (...) {
          keepProgress(open);
          throw;
        }
        replaced = true;
        if (out.size() + (text.size() - close - 1) > kMaxSubstitutedLength) {
          keepProgress(close + 1);
          raiseScriptError(prefix + "Variable references expand to a text that is too long.");
        }
      }
      scan = close + 1;
    }
    text = out;
    if (!replaced) {
      text = openLiteralsAsTheyAre(text);
      return;
    }
  }
}

int32_t InstructionInterpreter::evaluateNumber(const std::string& text,
                                               const std::string& context) const {
  std::string expression = text;
  substituteVariables(expression, context);
  int32_t value = 0;
  if (!readScriptNumber(expression, value))
    raiseScriptError(context + "Invalid numeric expression (" + expression + ")");
  return value;
}

int16_t InstructionInterpreter::evaluateShort(const std::string& text,
                                              const std::string& context) const {
  std::string expression = text;
  substituteVariables(expression, context);
  int32_t value = 0;
  if (!readScriptNumber(expression, value))
    raiseScriptError(context + " Invalid numeric expression (" + expression + ")");
  // Out-of-range seconds keep their low 16 bits, like the 32-bit wrap.
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

bool InstructionInterpreter::evaluateBoolean(const std::string& text,
                                             const std::string& context) const {
  const int32_t value = evaluateNumber(text, context);
  if (value == 0) return false;
  if (value == 1) return true;
  raiseScriptError(context + " Invalid boolean value (" + text + ")");
}

void InstructionInterpreter::evaluateValue(std::string& text, const std::string& context) const {
  if (text.empty()) return;
  const bool quoted = text[0] == '"';
  size_t position = quoted ? 1 : 0;
  text = readArgument(text, position, quoted);
  substituteVariables(text, context);
}
