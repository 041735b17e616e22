// The variable store and the reading of variable names and numbers shared
// by SET and by expression evaluation.

#include "script/variables.h"

#include <cctype>

#include "base/exceptions.h"
#include "base/text.h"

namespace {

void checkString(int32_t number) {
  if (number < 1 || number > kStringVariables)
    throw LauncherException("Invalid string variable number: " + decimal(number));
}

void checkNumber(int32_t number) {
  if (number < 1 || number > kNumberVariables)
    throw LauncherException("Invalid numeric variable number: " + decimal(number));
}

}  // namespace

std::string ScriptVariables::getString(int32_t number) const {
  checkString(number);
  return strings_[number - 1];
}

void ScriptVariables::setFoundPath(int32_t number, const std::string& path) {
  setString(number, path);
  foundPaths_[number - 1] = true;
}

bool ScriptVariables::holdsFoundPath(int32_t number) const {
  checkString(number);
  return foundPaths_[number - 1];
}

void ScriptVariables::setString(int32_t number, const std::string& text) {
  checkString(number);
  strings_[number - 1] = text;
  foundPaths_[number - 1] = false;
}

int32_t ScriptVariables::getNumber(int32_t number) const {
  checkNumber(number);
  return numbers_[number - 1];
}

void ScriptVariables::setNumber(int32_t number, int32_t value) {
  checkNumber(number);
  numbers_[number - 1] = value;
}

bool readScriptNumber(const std::string& text, int32_t& value) {
  size_t pos = 0;
  while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) return false;
  // Unsigned arithmetic wraps modulo 2^32, so an oversized literal keeps its
  // low 32 bits instead of overflowing.
  uint32_t magnitude = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[pos] - '0');
    ++pos;
  }
  if (negative) magnitude = 0u - magnitude;
  value = static_cast<int32_t>(magnitude);
  return true;
}

VariableRef parseVariableRef(const std::string& name, const std::string& context) {
  const std::string message = context + " ";
  if (name.size() < 2)
    throw LauncherException(message +
                            "Variable references must be at least 2 characters (e.g. N1 and S10).");
  const char type = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  if (type != 'N' && type != 'S')
    throw LauncherException(message + "Invalid variable reference (" + name +
                            "). Must use N or S as the variable type, e.g. N2 or S1.");
  const std::string digits = name.substr(1);
  const int32_t highest = type == 'N' ? kNumberVariables : kStringVariables;
  int32_t number = 0;
  if (!readScriptNumber(digits, number) || number < 1 || number > highest)
    throw LauncherException(message + "Variable number is invalid (" + digits + ")");
  return VariableRef{type, number};
}

std::string ScriptVariables::text(const VariableRef& ref) const {
  if (ref.type == 'N') return decimal(getNumber(ref.number));
  return getString(ref.number);
}

void ScriptVariables::assign(const VariableRef& ref, const std::string& text,
                             const std::string& context) {
  if (ref.type != 'N') {
    setString(ref.number, text);
    return;
  }
  int32_t value = 0;
  if (!readScriptNumber(text, value))
    throw LauncherException(context + " " + "Invalid numeric expression in " + text);
  setNumber(ref.number, value);
}
