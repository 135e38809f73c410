// The two-language table's lookups, the language choice, and dialog templates
// in English.
#include "dialogs/texts.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/dialog.h"
#include "platform/platform.h"
#include "platform/sjis.h"

namespace {

struct TextRow {
  const char* ja;
  const char* en;
};

const TextRow textRows[texts::COUNT] = {
#define BRINDLE_TEXT_ROW(id, ja, en) {ja, en},
    BRINDLE_TEXTS(BRINDLE_TEXT_ROW)
#undef BRINDLE_TEXT_ROW
};

int language = TEXT_JAPANESE;

// Each language's Shift_JIS texts, one run of zero-terminated texts, made on
// first use. The longest text is well under 256 bytes.
constexpr size_t SJIS_TABLE_BYTES = 16384;
struct SjisTable {
  bool made = false;
  const char* text[texts::COUNT] = {};
  char bytes[SJIS_TABLE_BYTES] = {};
};
SjisTable sjisTables[2];

void makeSjisTable(SjisTable& t, int lang) {
  size_t used = 0;
  for (int i = 0; i < texts::COUNT; ++i) {
    const char* utf8 = lang == TEXT_ENGLISH ? textRows[i].en : textRows[i].ja;
    const int n = utf8ToSjis(utf8, t.bytes + used, SJIS_TABLE_BYTES - used);
    if (n < 0) {
      // A fixed text that cannot be converted is a programming error; stop at
      // once rather than show mangled text.
      std::fprintf(stderr, "internal error: text %d not representable in Shift_JIS\n", i);
      std::abort();
    }
    t.text[i] = t.bytes + used;
    used += static_cast<size_t>(n) + 1;
  }
  t.made = true;
}

bool startsWithEn(const char* s) { return s && s[0] == 'e' && s[1] == 'n'; }

// A dialog's English copy: up to this many controls, one per template.
constexpr int SHOWN_CONTROLS_MAX = 40;
constexpr int SHOWN_TEMPLATES_MAX = 8;
struct ShownTemplate {
  const DlgTemplate* japanese = nullptr;
  DlgTemplate english{};
  DlgControl controls[SHOWN_CONTROLS_MAX]{};
};
ShownTemplate shownTemplates[SHOWN_TEMPLATES_MAX];

// Where an English caption needs more room than the Japanese one had: the
// control's place and width in dialog units. The start-up dialog's wallpaper
// box pushes its path field to the right.
struct EnglishRoom {
  int resourceId, controlId, x, w;
};
constexpr EnglishRoom englishRoom[] = {{105, 1002, 10, 52}, {105, 1013, 62, 113}};

// The English text of a caption the table holds, or the caption itself (a
// name, a number, "OK").
const char* inEnglish(const char* japanese) {
  for (const TextRow& row : textRows)
    if (std::strcmp(row.ja, japanese) == 0) return row.en;
  return japanese;
}

}  // namespace

void setTextLanguage(int lang) {
  language = lang == TEXT_ENGLISH ? TEXT_ENGLISH : TEXT_JAPANESE;
  platformSetLanguage(language == TEXT_ENGLISH ? PLATFORM_ENGLISH : PLATFORM_JAPANESE);
}

int textLanguage() { return language; }

const char* uiText(texts::Id id) { return language == TEXT_ENGLISH ? textRows[id].en : textRows[id].ja; }

const char* uiTextSjis(texts::Id id) {
  SjisTable& t = sjisTables[language];
  if (!t.made) makeSjisTable(t, language);
  return t.text[id];
}

const DlgTemplate& shownTemplate(const DlgTemplate& japanese) {
  if (language != TEXT_ENGLISH || japanese.controlCount > SHOWN_CONTROLS_MAX) return japanese;
  ShownTemplate* slot = nullptr;
  for (ShownTemplate& s : shownTemplates) {
    if (s.japanese == &japanese) return s.english;
    if (!slot && !s.japanese) slot = &s;
  }
  if (!slot) return japanese;
  slot->japanese = &japanese;
  slot->english = japanese;
  slot->english.captionUtf8 = inEnglish(japanese.captionUtf8);
  for (int i = 0; i < japanese.controlCount; ++i) {
    slot->controls[i] = japanese.controls[i];
    DlgControl& c = slot->controls[i];
    c.captionUtf8 = inEnglish(c.captionUtf8);
    for (const EnglishRoom& room : englishRoom)
      if (room.resourceId == japanese.resourceId && room.controlId == c.id) {
        c.x = room.x;
        c.w = room.w;
      }
  }
  slot->english.controls = slot->controls;
  return slot->english;
}

int chooseTextLanguage(const char* option, const char* fromFile, const char* lcAll, const char* lang) {
  for (const char* said : {option, fromFile}) {
    if (said && std::strcmp(said, "en") == 0) return TEXT_ENGLISH;
    if (said && std::strcmp(said, "ja") == 0) return TEXT_JAPANESE;
  }
  const char* locale = lcAll && lcAll[0] ? lcAll : lang;
  return startsWithEn(locale) ? TEXT_ENGLISH : TEXT_JAPANESE;
}
