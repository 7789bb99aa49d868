// Which language the game speaks, and that its catalogues give the game's Japanese words: the
// language follows the settings, then the environment as gettext reads it, also under the "C"
// locale; a missing catalogue leaves the words English and says so.
#include "platform/i18n/language.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

using platform::ChooseLanguage;
using platform::Language;

namespace {

TEST(Language, SettingThenLanguageListThenTheLocaleVariables) {
    const struct {
        const char* setting;
        const char* languageList;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language expected;
    } cases[] = {
        {"auto", nullptr, nullptr, nullptr, nullptr, Language::English},
        {"auto", nullptr, nullptr, nullptr, "ja_JP.UTF-8", Language::Japanese},
        {"auto", nullptr, nullptr, nullptr, "fr_FR.UTF-8", Language::English},
        {"auto", "ja", "C", nullptr, nullptr, Language::Japanese},  // LANGUAGE holds under C
        {"auto", "fr:ja:en", nullptr, nullptr, nullptr, Language::Japanese},  // first one we have
        {"auto", "en_GB:ja", nullptr, nullptr, "ja_JP.UTF-8", Language::English},
        {"auto", "fr:de", nullptr, nullptr, "ja_JP.UTF-8", Language::English},  // none we have: English
        {"auto", "", "", "", "ja_JP.eucJP", Language::Japanese},    // empty counts as unset
        {"auto", nullptr, "en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::English},  // LC_ALL first
        {"auto", nullptr, nullptr, "ja_JP.UTF-8", "en_US.UTF-8", Language::Japanese},
        {"auto", "jam", nullptr, nullptr, "java", Language::English},  // not Japanese, only alike
        {"ja", nullptr, nullptr, nullptr, "en_US.UTF-8", Language::Japanese},
        {"en", "ja", "ja_JP.UTF-8", nullptr, nullptr, Language::English},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseLanguage(c.setting, c.languageList, c.lcAll, c.lcMessages, c.lang), c.expected)
            << c.setting << " LANGUAGE=" << (c.languageList ? c.languageList : "-") << " LC_ALL="
            << (c.lcAll ? c.lcAll : "-") << " LC_MESSAGES=" << (c.lcMessages ? c.lcMessages : "-")
            << " LANG=" << (c.lang ? c.lang : "-");
}

// The questions read as they always have in Japanese, whatever the process locale; gettext by
// itself would ignore the language under "C".
TEST(Language, JapaneseCatalogueGivesTheJapaneseWordsUnderTheCLocale) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "C");
    EXPECT_STREQ(platform::Tr("Quit the game?"), "Quit the game?") << "English until a language is spoken";
    const std::filesystem::path catalogues = platform::FindCatalogues({"/nonexistent", KORVELIN_LOCALE_DIR});
    ASSERT_EQ(catalogues, std::filesystem::path(KORVELIN_LOCALE_DIR).lexically_normal());
    std::string why;
    ASSERT_TRUE(platform::SpeakLanguage(Language::Japanese, catalogues, &why)) << why;
    EXPECT_STREQ(platform::Tr("Quit the game?"), "ゲームを終了しますか？");
    EXPECT_STREQ(platform::Tr("Return to the title?"), "タイトルに戻りますか？");
    EXPECT_STREQ(platform::Tr("Confirm"), "確認");
    EXPECT_STREQ(platform::Tr("Yes"), "はい");
    EXPECT_STREQ(platform::Tr("a text no catalogue has"), "a text no catalogue has");
    // Numbers are still written the one way the game's files use.
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");

    ASSERT_TRUE(platform::SpeakLanguage(Language::English, catalogues, &why)) << why;
    EXPECT_STREQ(platform::Tr("Quit the game?"), "Quit the game?");
}

TEST(Language, AMissingCatalogueKeepsEnglishAndSaysWhy) {
    std::string why;
    EXPECT_FALSE(platform::SpeakLanguage(Language::Japanese, "/nonexistent/locale", &why));
    EXPECT_EQ(why, "no catalogue /nonexistent/locale/ja/LC_MESSAGES/korvelin.mo");
    EXPECT_STREQ(platform::Tr("Quit the game?"), "Quit the game?");
    EXPECT_FALSE(platform::SpeakLanguage(Language::Japanese, {}, &why));
    EXPECT_EQ(why, "no catalogue of the game's words was found");
    EXPECT_TRUE(platform::SpeakLanguage(Language::English, {}, &why)) << "English needs no catalogue";
    EXPECT_TRUE(platform::FindCatalogues({"/nonexistent", ""}).empty());
}

}  // namespace
