#pragma once
// A fault in the instruction script itself. It carries the statement number
// shown to the user (index + 1) and is deliberately not a LauncherException:
// only runInstructions turns it into one, adding the line number to the text.

#include <cstdint>
#include <string>
#include <utility>

class InstructionsException {
public:
  InstructionsException(std::string message, int32_t lineNumber)
      : message_(std::move(message)), lineNumber_(lineNumber) {}
  const std::string& message() const { return message_; }
  int32_t lineNumber() const { return lineNumber_; }

private:
  std::string message_;
  int32_t lineNumber_;
};
