// The pass-through arguments, written back onto a command line.

#include "launch/pass_through.h"

#include "os/windows_argv.h"

std::string quotePassThroughArgument(const std::string& argument) {
  const std::string quoted = os::quoteWindowsArgument(argument);
  const std::string text = argument.substr(0, argument.find('\0'));
  if (quoted != text) return quoted;
  // Left bare because it needs no quotes; every argument has always been
  // quoted, so it is quoted here too, and then its trailing backslashes
  // stand before the closing quote and must be doubled.
  const size_t lastOther = text.find_last_not_of('\\');
  const size_t trailing =
      lastOther == std::string::npos ? text.size() : text.size() - lastOther - 1;
  return '"' + text + std::string(trailing, '\\') + '"';
}

std::string passThroughText(const StringList& arguments) {
  std::string text;
  for (const std::string& argument : arguments.items())
    text += ' ' + quotePassThroughArgument(argument);
  return text;
}
