#pragma once
// The launcher's own failure: one message text, composed by each layer that
// adds its context in front of the text it caught.

#include <string>
#include <utility>

class LauncherException {
public:
  explicit LauncherException(std::string message) : message_(std::move(message)) {}
  const std::string& message() const { return message_; }

private:
  std::string message_;
};
