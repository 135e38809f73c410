// The interface language: which one is chosen, and the two-language table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/templates.h"
#include "dialogs/texts.h"
#include "platform/platform.h"

namespace {

// The argument types a format takes, in order ("%4d %s %02d" gives "dsd").
std::string conversions(const char* format) {
  std::string out;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    while (*++p && !std::strchr("diuxXcsfeEgGp%", *p)) {
    }
    if (!*p) break;
    out += *p;
  }
  return out;
}

}  // namespace

TEST(Language, OptionThenFileThenLcAllThenLangAndJapaneseOtherwise) {
  // --lang wins over everything; the file over the environment.
  EXPECT_EQ(chooseTextLanguage("en", "ja", "ja_JP.UTF-8", "ja_JP.UTF-8"), TEXT_ENGLISH);
  EXPECT_EQ(chooseTextLanguage("ja", "en", "en_US.UTF-8", "en_US.UTF-8"), TEXT_JAPANESE);
  EXPECT_EQ(chooseTextLanguage(nullptr, "en", "ja_JP.UTF-8", nullptr), TEXT_ENGLISH);
  EXPECT_EQ(chooseTextLanguage(nullptr, "ja", "en_GB.UTF-8", "en_GB.UTF-8"), TEXT_JAPANESE);
  // An unknown option or an empty file value says nothing.
  EXPECT_EQ(chooseTextLanguage("fr", "", nullptr, "en_US.UTF-8"), TEXT_ENGLISH);
  // LC_ALL first when set and not empty, else LANG.
  EXPECT_EQ(chooseTextLanguage(nullptr, "", "en_US.UTF-8", "ja_JP.UTF-8"), TEXT_ENGLISH);
  EXPECT_EQ(chooseTextLanguage(nullptr, "", "ja_JP.UTF-8", "en_US.UTF-8"), TEXT_JAPANESE);
  EXPECT_EQ(chooseTextLanguage(nullptr, "", "", "en"), TEXT_ENGLISH);
  // Everything else is Japanese, the C locales included.
  for (const char* other : {"C", "C.UTF-8", "POSIX", "", "de_DE.UTF-8", "EN_us"})
    EXPECT_EQ(chooseTextLanguage(nullptr, nullptr, nullptr, other), TEXT_JAPANESE) << other;
  EXPECT_EQ(chooseTextLanguage(nullptr, nullptr, nullptr, nullptr), TEXT_JAPANESE);
}

TEST(Language, EveryTextHasBothLanguagesWithTheSameFormatAndTheLookupFollowsTheChoice) {
  for (int lang : {TEXT_JAPANESE, TEXT_ENGLISH}) {
    setTextLanguage(lang);
    EXPECT_EQ(platformLanguage(), lang == TEXT_ENGLISH ? PLATFORM_ENGLISH : PLATFORM_JAPANESE);
    for (int i = 0; i < texts::COUNT; ++i) {
      const auto id = static_cast<texts::Id>(i);
      ASSERT_NE(uiTextSjis(id), nullptr) << i;
      EXPECT_GT(std::strlen(uiText(id)), 0u) << i;
    }
  }
  setTextLanguage(TEXT_ENGLISH);
  const std::string englishClock = uiTextSjis(texts::CLOCK);
  const std::string englishTitle = uiText(texts::DLG_SETTINGS);
  setTextLanguage(TEXT_JAPANESE);
  for (int i = 0; i < texts::COUNT; ++i) {
    const auto id = static_cast<texts::Id>(i);
    const std::string ja = uiText(id);
    setTextLanguage(TEXT_ENGLISH);
    const std::string en = uiText(id);
    setTextLanguage(TEXT_JAPANESE);
    // A format that takes other arguments in the other language would read
    // the wrong ones.
    EXPECT_EQ(conversions(ja.c_str()), conversions(en.c_str())) << i << ": " << en;
    // No Japanese is left in the English texts but the names that read the
    // same in both; the screen's Shift_JIS takes plain ASCII as it is.
    if (en != ja) {
      for (unsigned char c : en) EXPECT_LT(c, 0x80) << i << ": " << en;
    }
  }
  // The Japanese lookups are those of the default after English was used.
  EXPECT_STRNE(uiTextSjis(texts::CLOCK), englishClock.c_str());
  EXPECT_EQ(std::string(uiText(texts::DLG_SETTINGS)), "小手先の設定");
  EXPECT_EQ(&shownTemplate(SETTINGS_TEMPLATE), &SETTINGS_TEMPLATE);
  setTextLanguage(TEXT_ENGLISH);
  const DlgTemplate& english = shownTemplate(SETTINGS_TEMPLATE);
  EXPECT_EQ(std::string(english.captionUtf8), englishTitle);
  EXPECT_EQ(&shownTemplate(SETTINGS_TEMPLATE), &english);  // one copy for the run
  setTextLanguage(TEXT_JAPANESE);
}
