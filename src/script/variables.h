#pragma once
// The script's global variables: ten strings S1..S10 and five 32-bit numbers
// N1..N5, living for the whole run. Commands report their results here and
// SET assigns them; `@N1@`-style references read them back.

#include <cstdint>
#include <string>

// A parsed variable name: the type letter ('N' or 'S') and a number that is
// valid for that type.
struct VariableRef {
  char type;
  int32_t number;
};

constexpr int32_t kStringVariables = 10;
constexpr int32_t kNumberVariables = 5;

// The store, owned by the run; a fresh one holds empty strings and zeros. A
// number outside the bank throws LauncherException.
class ScriptVariables {
public:
  std::string getString(int32_t number) const;
  void setString(int32_t number, const std::string& text);
  // A path the launcher found (a JVM home, a JVM file): data that references
  // insert as it is, never read for references of its own.
  void setFoundPath(int32_t number, const std::string& path);
  bool holdsFoundPath(int32_t number) const;
  int32_t getNumber(int32_t number) const;
  void setNumber(int32_t number, int32_t value);

  // The value as text: numbers in signed decimal, strings as they are.
  std::string text(const VariableRef& ref) const;
  // Stores text into the variable; a numeric variable takes the number read
  // from it. Throws LauncherException when no number can be read.
  void assign(const VariableRef& ref, const std::string& text, const std::string& context);

private:
  std::string strings_[kStringVariables];
  bool foundPaths_[kStringVariables] = {};
  int32_t numbers_[kNumberVariables] = {};
};

// Reads a decimal number the way the C library reads a long: leading white
// space, an optional sign, digits; anything after the digits is ignored.
// False when no digit could be read. Values beyond 32 bits wrap around.
bool readScriptNumber(const std::string& text, int32_t& value);

// Parses a bare name such as "N1" or "s10" (the letter is case-insensitive).
// Throws LauncherException whose message starts with context and a blank.
VariableRef parseVariableRef(const std::string& name, const std::string& context);

