// Choosing the language and looking up its words.
#include "platform/i18n/language.hpp"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <system_error>

// glibc's count of catalogue changes (see SpeakLanguage).
extern "C" int _nl_msg_cat_cntr;

namespace platform {
namespace {

constexpr const char* kDomain = "korvelin";

bool gSpeaking = false;  // a catalogue is bound and LANGUAGE names it

bool Set(const char* v) { return v && *v; }

// A locale or LANGUAGE entry names Japanese: "ja", "ja_JP", "ja_JP.UTF-8", "ja.UTF-8@x".
bool IsJapanese(std::string_view name) {
    return name.starts_with("ja") && (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@');
}

bool IsEnglish(std::string_view name) {
    return name.starts_with("en") && (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@');
}

}  // namespace

Language ChooseLanguage(std::string_view setting, const char* languageList, const char* lcAll, const char* lcMessages,
                        const char* lang) {
    // A language named in the settings wins: Japanese, or else English, which every player reads.
    if (!setting.empty() && setting != "auto") return IsJapanese(setting) ? Language::Japanese : Language::English;
    if (Set(languageList)) {
        std::string_view list = languageList;
        while (!list.empty()) {
            const size_t colon = list.find(':');
            const std::string_view entry = list.substr(0, colon);
            if (IsJapanese(entry)) return Language::Japanese;
            if (IsEnglish(entry)) return Language::English;
            list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
        }
        // As gettext: LANGUAGE names the languages to use; none of them we have is English.
        return Language::English;
    }
    for (const char* locale : {lcAll, lcMessages, lang})
        if (Set(locale)) return IsJapanese(locale) ? Language::Japanese : Language::English;
    return Language::English;
}

Language LanguageFromEnvironment(std::string_view setting) {
    return ChooseLanguage(setting, std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                          std::getenv("LANG"));
}

const char* LanguageCode(Language language) { return language == Language::Japanese ? "ja" : "en"; }

std::filesystem::path FindCatalogues(std::initializer_list<std::filesystem::path> candidates) {
    std::error_code ec;
    for (const std::filesystem::path& folder : candidates)
        if (!folder.empty() && std::filesystem::is_regular_file(folder / "ja/LC_MESSAGES/korvelin.mo", ec))
            return folder.lexically_normal();
    return {};
}

bool SpeakLanguage(Language language, const std::filesystem::path& catalogues, std::string* why) {
    gSpeaking = false;
    const char* code = LanguageCode(language);
    std::error_code ec;
    const std::filesystem::path catalogue = catalogues / code / "LC_MESSAGES/korvelin.mo";
    if (catalogues.empty() || !std::filesystem::is_regular_file(catalogue, ec)) {
        // English is the code's own words: its catalogue only ever mends them.
        if (language == Language::English) return true;
        *why = catalogues.empty() ? std::string("no catalogue of the game's words was found")
                                  : "no catalogue " + catalogue.string();
        return false;
    }
    // The system's own messages (strerror: "No space left on device") come in the language too,
    // and in UTF-8: in the characters of the "C" locale its Japanese would be question marks.
    bind_textdomain_codeset("libc", "UTF-8");
    if (!bindtextdomain(kDomain, catalogues.c_str()) || !bind_textdomain_codeset(kDomain, "UTF-8")) {
        *why = "gettext refused the catalogues in " + catalogues.string();
        return false;
    }
    // Only the messages' locale changes: numbers keep being written the one way the files use.
    // gettext ignores LANGUAGE under the locale "C"; "C.UTF-8" is the same locale by another
    // name, which it does not ignore, so the language chosen here always holds.
    setenv("LANGUAGE", code, 1);
    // gettext keeps the translations it found; the manual's way to have it look again after a
    // change of LANGUAGE is this counter.
    ++_nl_msg_cat_cntr;
    if (!std::setlocale(LC_MESSAGES, "C.UTF-8")) {
        *why = "the locale C.UTF-8 is missing, so gettext would not look up the catalogue";
        return false;
    }
    gSpeaking = true;
    return true;
}

const char* Tr(const char* english) {
    if (!gSpeaking || !english || !*english) return english;
    return dgettext(kDomain, english);
}

}  // namespace platform
