// The variable store, variable names and the reading of numbers.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/exceptions.h"
#include "script/variables.h"
#include "test_support.h"

namespace {

class ScriptVariablesTest : public ::testing::Test {
protected:
  ScriptVariables vars_;
};

template <typename Call>
std::string launcherError(Call call) {
  return thrownMessage(call);
}

TEST_F(ScriptVariablesTest, StoreStartsEmptyAndKeepsBanksApart) {
  EXPECT_EQ(vars_.getString(1), "");
  EXPECT_EQ(vars_.getString(10), "");
  EXPECT_EQ(vars_.getNumber(5), 0);
  vars_.setString(10, "C:\\jre");
  vars_.setNumber(1, -3);
  EXPECT_EQ(vars_.getString(10), "C:\\jre");
  EXPECT_EQ(vars_.getString(1), "");
  EXPECT_EQ(vars_.getNumber(1), -3);
  EXPECT_EQ(vars_.getNumber(2), 0);
}

TEST_F(ScriptVariablesTest, StoreRejectsNumbersOutsideEachBank) {
  EXPECT_EQ(launcherError([&] { vars_.getString(0); }), "Invalid string variable number: 0");
  EXPECT_EQ(launcherError([&] { vars_.setString(11, "x"); }), "Invalid string variable number: 11");
  EXPECT_EQ(launcherError([&] { vars_.getNumber(6); }), "Invalid numeric variable number: 6");
  EXPECT_EQ(launcherError([&] { vars_.setNumber(-1, 1); }), "Invalid numeric variable number: -1");
}

TEST_F(ScriptVariablesTest, NumbersReadLikeTheCLibraryDecimalLong) {
  const struct {
    const char* text;
    int32_t expected;
  } cases[] = {{"12abc", 12}, {"1+2", 1}, {"0x10", 0}, {" \t-7", -7}, {"+5", 5}, {"007", 7}};
  for (const auto& c : cases) {
    int32_t value = 99;
    EXPECT_TRUE(readScriptNumber(c.text, value)) << c.text;
    EXPECT_EQ(value, c.expected) << c.text;
  }
  for (const char* text : {"", "abc", "-", "+ 5", "x12"}) {
    int32_t value = 99;
    EXPECT_FALSE(readScriptNumber(text, value)) << text;
  }
}

TEST_F(ScriptVariablesTest, NumbersBeyond32BitsWrapAround) {
  int32_t value = 0;
  ASSERT_TRUE(readScriptNumber("2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
  ASSERT_TRUE(readScriptNumber("-2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
  ASSERT_TRUE(readScriptNumber("4294967297", value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(readScriptNumber("99999999999999999999999", value));
}

TEST_F(ScriptVariablesTest, NamesTakeACaseFreeLetterAndALeadingNumber) {
  EXPECT_EQ(parseVariableRef("s10", "ctx").type, 'S');
  EXPECT_EQ(parseVariableRef("n1", "ctx").type, 'N');
  EXPECT_EQ(parseVariableRef("N01", "ctx").number, 1);
  EXPECT_EQ(parseVariableRef("N1x", "ctx").number, 1);
  const struct {
    const char* name;
    const char* message;
  } cases[] = {
      {"N", "ctx Variable references must be at least 2 characters (e.g. N1 and S10)."},
      {"N6", "ctx Variable number is invalid (6)"},
      {"S0", "ctx Variable number is invalid (0)"},
      {"S11", "ctx Variable number is invalid (11)"},
      {"N-1", "ctx Variable number is invalid (-1)"},
      {"Sx", "ctx Variable number is invalid (x)"},
      {"X1", "ctx Invalid variable reference (X1). Must use N or S as the variable type, e.g. N2 or S1."},
      {" N1", "ctx Invalid variable reference ( N1). Must use N or S as the variable type, e.g. N2 or S1."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(launcherError([&] { parseVariableRef(c.name, "ctx"); }), c.message) << c.name;
}

TEST_F(ScriptVariablesTest, AssignmentStoresTextOrTheNumberReadFromIt) {
  vars_.assign({'S', 1}, " 12 x ", "ctx");
  vars_.assign({'N', 1}, "12abc", "ctx");
  EXPECT_EQ(vars_.getString(1), " 12 x ");
  EXPECT_EQ(vars_.getNumber(1), 12);
  EXPECT_EQ(launcherError([&] { vars_.assign({'N', 1}, "abc", "ctx"); }),
            "ctx Invalid numeric expression in abc");
  EXPECT_EQ(vars_.getNumber(1), 12);
}

}  // namespace
