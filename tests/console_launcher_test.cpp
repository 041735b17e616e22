#include <gtest/gtest.h>

#include <cstdio>

#include "launcher/app.h"
#include "test_support.h"

namespace {

// A ConsoleLauncher writing to temporary files, read back for assertions.
class ConsoleOutput {
public:
  explicit ConsoleOutput(bool dots = true)
      : out_(std::tmpfile()), results_(std::tmpfile()), in_(std::tmpfile()),
        app_(ConsoleStreams{results_, out_, in_, dots}) {}
  ~ConsoleOutput() {
    std::fclose(out_);
    std::fclose(results_);
    std::fclose(in_);
  }
  ConsoleLauncher& app() { return app_; }
  void typeInput(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), in_);
    std::rewind(in_);
  }
  // What went to standard error, and to standard output.
  std::string written() { return contents(out_); }
  std::string results() { return contents(results_); }

private:
  static std::string contents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    int c;
    while ((c = std::fgetc(file)) != EOF) text += static_cast<char>(c);
    return text;
  }

  std::FILE* out_;
  std::FILE* results_;
  std::FILE* in_;
  ConsoleLauncher app_;
};

}  // namespace

TEST(ConsoleLauncher, FirstStatusIsPrecededByABlankLineAndDetailHidesStatus) {
  ConsoleOutput console;
  console.app().showStatus("Searching");
  console.app().showStatusDetail("Searching", "Verifying X");
  console.app().showMessage("done");
  EXPECT_EQ(console.written(), "\nSearching\nVerifying X\ndone\n");
}

TEST(ConsoleLauncher, DotsFillLinesOfSeventy) {
  ConsoleOutput console;
  for (int i = 0; i < 20; ++i) console.app().advanceProgress(7);
  const std::string line(70, '.');
  EXPECT_EQ(console.written(), line + "\n" + line + "\n");
  console.app().advanceProgress(0);
  console.app().advanceProgress(-3);
  EXPECT_EQ(console.written(), line + "\n" + line + "\n");
}

TEST(ConsoleLauncher, StatusAfterDotsStartsOnAFreshLine) {
  ConsoleOutput console;
  console.app().showMessage("m");
  console.app().advanceProgress(2);
  console.app().showStatus("s");
  EXPECT_EQ(console.written(), "m\n..\ns\n");
}

TEST(ConsoleLauncher, AResultLineStartsOnALineOfItsOwnAfterDots) {
  ConsoleOutput console;
  console.app().advanceProgress(3);
  console.app().writeResult("0");
  EXPECT_EQ(console.written(), "...\n");
  EXPECT_EQ(console.results(), "0\n");
  ConsoleOutput silent;  // nothing written before: no blank line either
  silent.app().writeResult("1");
  EXPECT_EQ(silent.written() + "|" + silent.results(), "|1\n");
}

// Standard output is the application's: the launcher's chatter is on
// standard error, without dots where nobody watches, without lines that
// say again what the last one said, and not at all once progress is hidden.
TEST(ConsoleLauncher, ChatterIsOnStandardErrorAndOnlyWhereWanted) {
  ConsoleOutput console;
  console.app().showStatus("Verifying X");
  console.app().showStatusDetail("s", "Verifying X");
  console.app().showMessage("Not found");
  EXPECT_EQ(console.written() + "|" + console.results(), "\nVerifying X\nNot found\n|");
  ConsoleOutput piped(false);
  piped.app().advanceProgress(3);
  piped.app().setProgress(100);
  piped.app().showStatus("s");
  EXPECT_EQ(piped.written(), "\ns\n");
  ConsoleOutput hidden;
  hidden.app().hideProgress(0);
  hidden.app().showStatus("s");
  hidden.app().advanceProgress(3);
  hidden.app().showMessage("m");
  EXPECT_EQ(hidden.written(), "m\n");
}

TEST(ConsoleLauncher, SetProgressWritesBlankLinesOnlyWhenMovingOnOrAtTheEnd) {
  ConsoleOutput console;
  console.app().setProgress(0);
  EXPECT_EQ(console.written(), "");
  console.app().setProgress(100);
  EXPECT_EQ(console.written(), "\n");
  console.app().setProgress(100);
  EXPECT_EQ(console.written(), "\n\n");
  console.app().setProgress(50);  // counter was 100
  console.app().setProgress(10);  // backwards: nothing
  EXPECT_EQ(console.written(), "\n\n\n");
}

TEST(ConsoleLauncher, ProgressFlagTitleAndDestinationQuestion) {
  ConsoleOutput console;
  EXPECT_FALSE(console.app().isProgressShown());
  console.app().showProgress();
  EXPECT_TRUE(console.app().isProgressShown());
  console.app().hideProgress(0);
  EXPECT_FALSE(console.app().isProgressShown());

  console.app().setTitle("Demo");
  EXPECT_EQ(console.app().getTitle(), "Demo");

  const std::string longAnswer(3000, 'd');
  console.typeInput("  \n" + longAnswer + " ignored");
  EXPECT_EQ(console.app().askDestinationDirectory(), longAnswer);
  EXPECT_EQ(console.written(), "Choose the JVM Destination Directory");
  // An answer longer than any path is refused, not read without end.
  ConsoleOutput endless;
  endless.typeInput(" " + std::string(kMaxDestinationLength + 1, 'd'));
  EXPECT_EQ(endless.app().askDestinationDirectory(), "");
}

TEST(EndOfRun, LaunchErrorsAreShownOnlyForARealFailure) {
  EXPECT_TRUE(showsLaunchErrors(3, 1, "boom"));
  EXPECT_TRUE(showsLaunchErrors(1000, 1, "boom"));
  EXPECT_TRUE(showsLaunchErrors(-1, 0, "boom"));
  // The wizard kinds end with 1000 on purpose.
  EXPECT_FALSE(showsLaunchErrors(1000, 0, "boom"));
  EXPECT_FALSE(showsLaunchErrors(1000, 2, "boom"));
  EXPECT_FALSE(showsLaunchErrors(0, 1, "boom"));
  EXPECT_FALSE(showsLaunchErrors(3, 1, ""));
}
