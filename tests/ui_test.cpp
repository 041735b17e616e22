#include <gtest/gtest.h>

#include "base/settings.h"
#include "base/ui.h"
#include "test_support.h"

using Calls = std::vector<std::string>;

class UiGate : public LauncherStateTest {};

TEST_F(UiGate, StatusAloneThenDetailShowsOnlyTheDetailLine) {
  ui::setStatus(ui::kStatusSearching);
  ui::setStatusDetail(ui::kDetailVerifying, "Java 17");
  EXPECT_EQ(app_.calls, (Calls{"status:Searching for Java(tm) Virtual Machine...",
                               "detail:Searching for Java(tm) Virtual Machine...|Verifying Java 17"}));
}

TEST_F(UiGate, StatusInsertsTheTitleAndKeepsTheCurrentDetail) {
  app_.title = "Demo";
  ui::setStatusDetail(ui::kDetailScanning, "");
  ui::setStatus(ui::kStatusInitializing);
  EXPECT_EQ(app_.calls.back(),
            "detail:Initializing Demo...|Scanning disk(s) for a Java(tm) Virtual Machine...");
}

TEST_F(UiGate, DetailWithoutTextClearsTheDetail) {
  ui::setStatus(ui::kStatusSearching);
  ui::setStatusDetail(ui::kDetailSearching, "x");
  ui::setStatusDetail(ui::kDetailSearching, "");
  ui::setStatus(ui::kStatusSearching);
  EXPECT_EQ(app_.calls, (Calls{"status:Searching for Java(tm) Virtual Machine...",
                               "detail:Searching for Java(tm) Virtual Machine...|Searching for x",
                               "status:Searching for Java(tm) Virtual Machine..."}));
}

TEST_F(UiGate, UnknownStatusKindShowsAnEmptyLine) {
  ui::setStatus(9);
  EXPECT_EQ(app_.calls, Calls{"status:"});
}

// Put back for the next status line, but not shown again by itself: it
// would name a JVM file that is no longer being tried.
TEST_F(UiGate, SaverRestoresTheDetailLineItFoundWithoutShowingIt) {
  ui::setStatus(ui::kStatusSearching);
  ui::setStatusDetail(ui::kDetailSearching, "Java 17");
  {
    ui::StatusDetailSaver saver;
    ui::setStatusDetail(ui::kDetailVerifying, "C:\\jdk");
  }
  EXPECT_EQ(app_.calls.back(), "detail:Searching for Java(tm) Virtual Machine...|Verifying C:\\jdk");
  ui::setStatus(ui::kStatusSearching);
  EXPECT_EQ(app_.calls.back(),
            "detail:Searching for Java(tm) Virtual Machine...|Searching for Java 17");
}

TEST_F(UiGate, SilentModeDropsEverythingButTheTitleAndHidesProgress) {
  ui::setSilent(true);
  ui::setStatus(ui::kStatusSearching);
  ui::setStatusDetail(ui::kDetailScanning, "");
  ui::advanceProgress(3);
  ui::setProgress(100);
  ui::showMessage("hidden");
  ui::showProgress();
  EXPECT_EQ(ui::askDestinationDirectory(), "");
  ui::setTitle("T");
  EXPECT_EQ(app_.calls, Calls{"hideProgress"});
  EXPECT_EQ(app_.title, "T");
}

TEST_F(UiGate, OpenGatePassesCallsThrough) {
  ui::advanceProgress(3);
  ui::setProgress(40);
  ui::showProgress();
  ui::hideProgress(1);
  ui::showMessage("m");
  EXPECT_EQ(ui::askDestinationDirectory(), "answer");
  EXPECT_EQ(app_.calls, (Calls{"advance:3", "progress:40", "showProgress", "hideProgress",
                               "message:m", "ask"}));
}

TEST(TitleDecoding, EscapesBecomeCharactersOtherBytesStay) {
  EXPECT_EQ(ui::decodeTitle("Caf\\u0065 Bar"), "Cafe Bar");
  EXPECT_EQ(ui::decodeTitle("A\\U0041\\u0042"), "AAB");
  // Fewer than five characters after the backslash: kept as written.
  EXPECT_EQ(ui::decodeTitle("x\\u004"), "x\\u004");
  // No hexadecimal digit: the backslash is kept and the walk goes on.
  EXPECT_EQ(ui::decodeTitle("\\uzzzzz"), "\\uzzzzz");
  // Fewer valid digits are accepted, consuming six characters all the same.
  EXPECT_EQ(ui::decodeTitle("\\u41zzQ"), "AQ");
  // A byte above 0x7F outside an escape keeps its character.
  EXPECT_EQ(ui::decodeTitle("Caf\xE9"), "Caf\xE9");
}
