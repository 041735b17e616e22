#pragma once
// The message table: 36 texts in the user's language, and the codes by which
// the launcher's errors name them.

#include <string>
#include <vector>

// Text numbers of the message table that the launcher names directly.
enum MessageNumber {
  kTextInitializing = 2,
  kTextSearchingJvm = 3,
  kTextPreparingJvm = 4,
  kTextRunning = 5,
  kTextJvmNotFound = 6,
  kTextSearchingFor = 7,
  kTextInvalidHive = 27,
  kTextInvalidPlatformHint = 28,
  kTextChooseDestination = 30,
  kTextErrorWritingFile = 33,
  kTextNotEnoughSpace = 34,
  kTextTempDirMissing = 36,
  kTextScanningDisks = 25,
  kTextVerifying = 26,
};

// Message codes 0 to 18 of the launcher's errors.
enum MessageCode {
  kMsgCouldNotLoadInputFile = 0,
  kMsgErrorLoadingInstructions = 1,
  kMsgErrorLoadingLaunchScript = 2,
  kMsgErrorLoadingJvmFile = 3,
  kMsgInvalidJvmFileId = 4,
  kMsgInvalidAction = 5,
  kMsgLogFileMissing = 6,
  kMsgUnableToExtract = 7,
  kMsgUnableToLoadIndex = 8,
  kMsgNoJvmInstaller = 9,
  kMsgJvmNotValid = 10,
  kMsgInputFileMissing = 11,
  kMsgNoSuitableJvm = 12,
  kMsgUnableToSearchAll = 13,
  kMsgUnableToOpenInputFile = 14,
  kMsgErrorWritingFile = 15,
  kMsgNotEnoughSpace = 16,
  kMsgCanceled = 17,
  kMsgTempDirMissing = 18,
};

// The table's text number for a message code; 0 for a code outside 0 to 18.
int messageNumber(int code);

// The text of a table number in the user's language; empty without a text.
std::string loadMessageText(int number);

// The text of a message code in the user's language.
std::string messageText(int code);

// The text of a table number with %1!s!, %2!s! filled from inserts in order.
// Throws LauncherException "Out of memory." when formatting fails.
std::string formatMessage(int number, const std::vector<std::string>& inserts = {});

// The text of a failed write of a file (texts 33 and 34 around the C
// library's error number; EIO when the system gave none).
std::string writeFailureText(int error);

// The platform's text for a system error code, ending in a line break.
std::string systemErrorText(unsigned long code);

// System calls whose failure a report names.
enum SystemCall {
  kCallStartProcess,
  kCallWaitForProcess,
  kCallProcessExitCode,
  kCallPeekPipe,
  kCallReadPipe,
  kCallTempFileName,
  kCallCreateDirectory,
  kCallDiskFreeSpace,
};

// The report of a failed system call, followed by the system's text for the
// code: the Windows call's own name on Windows ("CreateProcess failed  ==>  "),
// words that fit any system elsewhere.
std::string systemCallFailure(SystemCall call, unsigned long code);
