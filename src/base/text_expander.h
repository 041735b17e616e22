#pragma once
// The marker-expansion engine shared by the launch script (% functions and
// # environment variables) and the JVM description file (@ tag values).

#include <cstddef>
#include <string>
#include <utility>

#include "base/exceptions.h"

// Bounds on one expansion. A value or function result that reproduces its
// own marker would otherwise be rescanned without end, and one that grows
// would eat all memory; no command line a child can be given comes near
// these sizes.
constexpr size_t kMaxExpansionsPerPass = 10000;
constexpr size_t kMaxExpandedLength = 1u << 20;
// Functions that expand text themselves (CP expands ARCHIVE) could call
// themselves through it.
constexpr int kMaxExpansionDepth = 16;

// Raised when an expansion breaks one of the bounds above; carries the text
// as it stood, for the log.
class ExpansionLimitError : public LauncherException {
public:
  ExpansionLimitError(const std::string& message, std::string text)
      : LauncherException(message), text_(std::move(text)) {}
  const std::string& text() const { return text_; }

private:
  std::string text_;
};

class TextExpander {
public:
  TextExpander() = default;
  virtual ~TextExpander() = default;
  TextExpander(const TextExpander&) = delete;
  TextExpander& operator=(const TextExpander&) = delete;

  // Expands every marked name in text, rescanning each replacement, then
  // turns each doubled marker into one. Throws ExpansionLimitError, and
  // whatever expandOne throws.
  std::string expand(const std::string& text, char marker);

  // Replaces, in text, the marked piece that begins at start (the marker at
  // start and the one at end enclose the name). In place, as a long text
  // would otherwise be copied for every marker in it.
  virtual void expandOne(std::string& text, char marker, size_t start, size_t end) = 0;

private:
  int depth_ = 0;
};

// Throws ExpansionLimitError when text has grown past kMaxExpandedLength;
// for functions that build long results before the engine sees them.
void checkExpandedLength(const std::string& text);
