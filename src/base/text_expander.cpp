// The scanning engine. Only portable code.

#include "base/text_expander.h"

#include "base/text.h"

namespace {

// Undoes the nesting count on every way out of expand.
class DepthGuard {
public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

private:
  int& depth_;
};

void collapseDoubledMarkers(std::string& text, char marker) {
  const std::string doubled(2, marker);
  // Searching on one past each replacement makes three markers two.
  for (size_t pos = text.find(doubled); pos != std::string::npos; pos = text.find(doubled, pos + 1))
    text.erase(pos, 1);
}

}  // namespace

void checkExpandedLength(const std::string& text) {
  if (text.size() > kMaxExpandedLength)
    throw ExpansionLimitError("Expanded text is longer than " +
                                  decimal(static_cast<int32_t>(kMaxExpandedLength)) +
                                  " characters.",
                              text.substr(0, 200) + "...");
}

std::string TextExpander::expand(const std::string& input, char marker) {
  const std::string markerText(1, marker);
  if (depth_ >= kMaxExpansionDepth)
    throw ExpansionLimitError("Expansion of " + markerText + " markers is nested more than " +
                                  decimal(kMaxExpansionDepth) + " deep.",
                              input);
  DepthGuard guard(depth_);
  std::string text = input;
  size_t expansions = 0;
  size_t start = text.find(marker);
  while (start != std::string::npos) {
    // A name needs at least one character between its two markers.
    if (start + 2 >= text.size()) break;
    const size_t end = text.find(marker, start + 2);
    if (end == std::string::npos) break;
    if (++expansions > kMaxExpansionsPerPass)
      throw ExpansionLimitError("Expansion of " + markerText + " markers does not come to an end.",
                                text);
    expandOne(text, marker, start, end);
    checkExpandedLength(text);
    // From the same place again: what the replacement brought is expanded too.
    start = text.find(marker, start);
  }
  collapseDoubledMarkers(text, marker);
  return text;
}
