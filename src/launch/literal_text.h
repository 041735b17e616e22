#pragma once
// Values that enter a command as data (paths, environment values): sealed
// while the template is expanded, so that none of their characters is read
// as a marker, and opened once the command is complete, quoted so that each
// stays within the argument the template put it in.

#include <string>

// The value sealed: a text without any marker character or double quote,
// empty for an empty value.
std::string literalText(const std::string& value);

// A path sealed, in the form a child program can read: its short 8.3 form
// where a Windows launcher running with UTF-8 holds a letter that the
// system's code page lacks (os::childReadablePath).
std::string literalPath(const std::string& path);

// Template text with the few control bytes that mark sealed values sealed
// themselves, so that a template holding them (by accident or on purpose)
// comes out as it went in.
std::string sealMarkerBytes(const std::string& text);

// The command with every sealed value opened. Within double quotes (after
// the program name) a value's double quotes, and the backslashes before them
// or before the closing quote, are escaped by the rules children read their
// command line with; elsewhere a value is put back as it is.
std::string openLiterals(const std::string& command);

// The text with every sealed value opened as it is, for text that is no
// command line.
std::string openLiteralsAsTheyAre(const std::string& text);
