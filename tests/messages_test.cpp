#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "base/messages.h"

// The suites run in an English environment, so these texts are the English
// ones whichever platform table they come from.

TEST(Messages, CodesMapToTheirTexts) {
  EXPECT_EQ(messageText(kMsgInputFileMissing),
            "An input file name must follow the '-in' command line option.");
  EXPECT_EQ(messageText(kMsgUnableToLoadIndex), "Unable to load the launcher file index. ");
  EXPECT_EQ(messageText(kMsgTempDirMissing).substr(0, 11), "Cannot use ");
  EXPECT_EQ(messageText(19), "");
  EXPECT_EQ(messageText(-1), "");
  EXPECT_EQ(loadMessageText(37), "");
}

TEST(Messages, LongTextsLoadWhole) {
  const std::string text = loadMessageText(kTextTempDirMissing);
  EXPECT_EQ(text.size(), 175u);
  EXPECT_EQ(text.substr(text.size() - 29), "a different directory to use.");
}

TEST(Messages, FormattingFillsInsertsInOrder) {
  EXPECT_EQ(formatMessage(kTextInitializing, {"Demo"}), "Initializing Demo...");
  EXPECT_EQ(formatMessage(kTextInvalidHive, {"HKEY_X", "HKEY_X\\Soft"}),
            "Invalid hive (HKEY_X) specified in platform hint (HKEY_X\\Soft).");
  // A text without inserts ignores the ones given.
  EXPECT_EQ(formatMessage(kTextSearchingJvm, {"unused"}),
            "Searching for Java(tm) Virtual Machine...");
  // A missing insert reads as empty rather than failing.
  EXPECT_EQ(formatMessage(kTextRunning), "Running ...");
}

TEST(Messages, FormattingANumberWithoutTextIsOutOfMemory) {
  try {
    formatMessage(99);
    FAIL() << "an empty text was formatted";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(), "Out of memory.");
  }
}

TEST(Messages, SystemErrorTextsEndInALineBreak) {
  const std::string text = systemErrorText(2);  // file not found on both platforms
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(systemErrorText(0x7FFFFFF0), "");
}
