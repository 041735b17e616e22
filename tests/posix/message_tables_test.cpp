#include <gtest/gtest.h>

#include <string>

#include "resources/message_tables.h"

namespace {

int countOf(const std::string& text, const std::string& what) {
  int count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

const char* const kLocales[] = {"bg_BG", "cs_CZ", "da_DK", "de_DE", "el_GR", "es_ES", "fi_FI",
                                "fr_FR", "hu_HU", "it_IT", "nl_NL", "nb_NO", "pl_PL", "ro_RO",
                                "ru_RU", "hr_HR", "sk_SK", "sv_SE", "tr_TR", "sl_SI", "zh_TW",
                                "zh_CN", "ja_JP", "ko_KR", "pt_BR", "pt_PT"};

}  // namespace

TEST(MessageTables, EveryLanguageTranslatesEveryTextWithTheSameInserts) {
  for (const char* locale : kLocales) {
    for (int number = 1; number <= 36; ++number) {
      const std::string english = builtinMessageText("C", number);
      const char* translated = builtinMessageText(locale, number);
      ASSERT_NE(translated, nullptr) << locale << " lacks text " << number;
      const std::string text = translated;
      EXPECT_EQ(countOf(text, "%1!s!"), countOf(english, "%1!s!")) << locale << " " << number;
      EXPECT_EQ(countOf(text, "%2!s!"), countOf(english, "%2!s!")) << locale << " " << number;
      EXPECT_EQ(countOf(text, "%"), countOf(english, "%")) << locale << " " << number;
      if (english.find("Quillmark") != std::string::npos) {
        EXPECT_NE(text.find("Quillmark"), std::string::npos) << locale << " " << number;
      }
      if (english.find("-qm:") != std::string::npos) {
        EXPECT_NE(text.find("-qm:"), std::string::npos) << locale << " " << number;
      }
      if (number != 1) {
        EXPECT_NE(text, english) << locale << " " << number << " is untranslated";
      }
    }
  }
}

TEST(MessageTables, LocaleNamesPickTheirLanguage) {
  const std::string english = builtinMessageText(nullptr, 22);
  EXPECT_EQ(builtinMessageText("C", 22), english);
  EXPECT_EQ(builtinMessageText("POSIX", 22), english);
  EXPECT_EQ(builtinMessageText("en_GB.UTF-8", 22), english);
  EXPECT_EQ(builtinMessageText("ar_EG.UTF-8", 22), english);
  EXPECT_NE(builtinMessageText("de_DE.UTF-8", 22), english);
  EXPECT_EQ(std::string(builtinMessageText("de_AT", 22)), builtinMessageText("de", 22));
  EXPECT_NE(std::string(builtinMessageText("zh_TW.UTF-8", 3)), builtinMessageText("zh_CN", 3));
  EXPECT_NE(std::string(builtinMessageText("pt_PT", 3)), builtinMessageText("pt_BR", 3));
  // A locale that merely begins with a language's letters is not that language.
  EXPECT_EQ(builtinMessageText("deu", 22), english);
  EXPECT_EQ(builtinMessageText("de_DE", 37), nullptr);
}
