// The message table of the POSIX build: every language's texts, compiled in,
// and the choice among them by locale name.

#include "resources/message_tables.h"

#include <cstring>

namespace {

struct Text {
  int number;
  const char* text;
};

#define QM_TEXT(number, text) {number, text},
const Text en[] = {
#include "resources/messages/en.def"
};
const Text bg[] = {
#include "resources/messages/bg.def"
};
const Text cs[] = {
#include "resources/messages/cs.def"
};
const Text da[] = {
#include "resources/messages/da.def"
};
const Text de[] = {
#include "resources/messages/de.def"
};
const Text el[] = {
#include "resources/messages/el.def"
};
const Text es[] = {
#include "resources/messages/es.def"
};
const Text fi[] = {
#include "resources/messages/fi.def"
};
const Text fr[] = {
#include "resources/messages/fr.def"
};
const Text hu[] = {
#include "resources/messages/hu.def"
};
const Text it[] = {
#include "resources/messages/it.def"
};
const Text nl[] = {
#include "resources/messages/nl.def"
};
const Text no[] = {
#include "resources/messages/no.def"
};
const Text pl[] = {
#include "resources/messages/pl.def"
};
const Text ro[] = {
#include "resources/messages/ro.def"
};
const Text ru[] = {
#include "resources/messages/ru.def"
};
const Text hr[] = {
#include "resources/messages/hr.def"
};
const Text sk[] = {
#include "resources/messages/sk.def"
};
const Text sv[] = {
#include "resources/messages/sv.def"
};
const Text tr[] = {
#include "resources/messages/tr.def"
};
const Text sl[] = {
#include "resources/messages/sl.def"
};
const Text zh_tw[] = {
#include "resources/messages/zh_tw.def"
};
const Text zh_cn[] = {
#include "resources/messages/zh_cn.def"
};
const Text ja[] = {
#include "resources/messages/ja.def"
};
const Text ko[] = {
#include "resources/messages/ko.def"
};
const Text pt_br[] = {
#include "resources/messages/pt_br.def"
};
const Text pt_pt[] = {
#include "resources/messages/pt_pt.def"
};
#undef QM_TEXT

struct Language {
  const char* prefix;  // what the locale name starts with
  const Text* texts;
  size_t count;
};

#define QM_LANGUAGE(prefix, table) {prefix, table, sizeof table / sizeof table[0]}
// Longer prefixes first, so that zh_TW and pt_PT win over zh and pt.
const Language kLanguages[] = {
    QM_LANGUAGE("zh_TW", zh_tw), QM_LANGUAGE("zh_HK", zh_tw), QM_LANGUAGE("zh", zh_cn),
    QM_LANGUAGE("pt_PT", pt_pt), QM_LANGUAGE("pt", pt_br),    QM_LANGUAGE("en", en),
    QM_LANGUAGE("bg", bg),       QM_LANGUAGE("cs", cs),       QM_LANGUAGE("da", da),
    QM_LANGUAGE("de", de),       QM_LANGUAGE("el", el),       QM_LANGUAGE("es", es),
    QM_LANGUAGE("fi", fi),       QM_LANGUAGE("fr", fr),       QM_LANGUAGE("hu", hu),
    QM_LANGUAGE("it", it),       QM_LANGUAGE("nl", nl),       QM_LANGUAGE("nb", no),
    QM_LANGUAGE("nn", no),       QM_LANGUAGE("no", no),       QM_LANGUAGE("pl", pl),
    QM_LANGUAGE("ro", ro),       QM_LANGUAGE("ru", ru),       QM_LANGUAGE("hr", hr),
    QM_LANGUAGE("sk", sk),       QM_LANGUAGE("sv", sv),       QM_LANGUAGE("tr", tr),
    QM_LANGUAGE("sl", sl),       QM_LANGUAGE("ja", ja),       QM_LANGUAGE("ko", ko),
};
#undef QM_LANGUAGE

bool localeMatches(const char* locale, const char* prefix) {
  const size_t length = std::strlen(prefix);
  if (std::strncmp(locale, prefix, length) != 0) return false;
  const char next = locale[length];
  return next == '\0' || next == '_' || next == '.' || next == '@';
}

const char* find(const Text* texts, size_t count, int number) {
  for (size_t i = 0; i < count; ++i)
    if (texts[i].number == number) return texts[i].text;
  return nullptr;
}

}  // namespace

const char* builtinMessageText(const char* localeName, int number) {
  for (const Language& language : kLanguages) {
    if (localeName && localeMatches(localeName, language.prefix))
      return find(language.texts, language.count, number);
  }
  return find(en, sizeof en / sizeof en[0], number);
}
