// The message table's texts and the texts of system errors.

#include "base/messages.h"

#include <cerrno>

#include "base/exceptions.h"
#include "base/text.h"
#include "os/text_resources.h"
#include "os/version.h"

int messageNumber(int code) {
  static const int kNumbers[] = {8,  9,  10, 11, 12, 13, 14, 15, 16, 19,
                                 21, 22, 23, 24, 29, 33, 34, 35, 36};
  if (code < 0 || code >= static_cast<int>(sizeof kNumbers / sizeof kNumbers[0])) return 0;
  return kNumbers[code];
}

std::string loadMessageText(int number) {
  if (number <= 0) return std::string();
  return os::loadResourceString(number);
}

std::string messageText(int code) { return loadMessageText(messageNumber(code)); }

std::string writeFailureText(int error) {
  return loadMessageText(kTextErrorWritingFile) + decimal(error ? error : EIO) +
         loadMessageText(kTextNotEnoughSpace);
}

std::string formatMessage(int number, const std::vector<std::string>& inserts) {
  std::string formatted;
  if (!os::formatMessageText(loadMessageText(number), inserts, &formatted))
    throw LauncherException("Out of memory.");
  return formatted;
}

std::string systemErrorText(unsigned long code) { return os::systemErrorText(code); }

std::string systemCallFailure(SystemCall call, unsigned long code) {
  static const char* const kWindows[] = {
      "CreateProcess failed  ==>  ",
      "CreateProcess unable to wait for completion ==> ",
      "CreateProcess unable to get exit code for process ==> ",
      "PeekNamedPipe failed  ==>  ",
      "ReadFile failed  ==>  ",
      "GetTempFileName failed  ==>  ",
      "CreateDirectory failed  ==>  ",
      "GetDiskFreeSpace failed  ==>  ",
  };
  static const char* const kNeutral[] = {
      "Starting the program failed  ==>  ",
      "Waiting for the program failed ==> ",
      "Getting the program's exit code failed ==> ",
      "Polling the program's output failed  ==>  ",
      "Reading the program's output failed  ==>  ",
      "Making a temporary file name failed  ==>  ",
      "Creating a directory failed  ==>  ",
      "Querying the free disk space failed  ==>  ",
  };
  return (os::systemIsWindows() ? kWindows : kNeutral)[call] + systemErrorText(code);
}
