// The game's words in the player's language. The code is written in English; another language's
// words come from its catalogue (po/LANG.po, compiled to LANG/LC_MESSAGES/korvelin.mo), looked up
// through gettext. The Japanese catalogue gives the game's questions and captions in the Japanese
// words exactly ("ゲームを終了しますか？").
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

enum class Language { English, Japanese };

// The language to speak. `setting` is the settings file's "auto", "en" or "ja"; "auto" follows
// the environment as gettext does: LANGUAGE first (a list such as "fr:ja": its first language
// the game has; English when it has none of them), else the first of LC_ALL, LC_MESSAGES and
// LANG that is set. Everything that is not Japanese is English; any other setting than "auto"
// names the language. Null or empty variables count as unset.
Language ChooseLanguage(std::string_view setting, const char* languageList, const char* lcAll, const char* lcMessages,
                        const char* lang);

// The same, from this process's environment.
Language LanguageFromEnvironment(std::string_view setting);

// "en" or "ja": the catalogue's folder name.
const char* LanguageCode(Language language);

// Where the catalogues are: the first of `candidates` that holds the Japanese one; empty if none.
std::filesystem::path FindCatalogues(std::initializer_list<std::filesystem::path> candidates);

// From now on Tr answers in `language`, from the catalogues below `catalogues`. Also under the
// "C" locale, where gettext itself would speak only English. False, with the reason, when the
// language's catalogue cannot be used: Tr then keeps to English.
bool SpeakLanguage(Language language, const std::filesystem::path& catalogues, std::string* why);

// `english` in the language spoken: itself until SpeakLanguage succeeded, and for a text the
// catalogue lacks. The compiler checks printf formats through it as through the literal.
const char* Tr(const char* english) __attribute__((format_arg(1)));

// `english` as it is, marked for the catalogues: a text kept in a table before the language is
// known, and translated with Tr where it is shown.
constexpr const char* TrLater(const char* english) { return english; }

}  // namespace platform
