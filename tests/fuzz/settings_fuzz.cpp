// Fuzz target: any bytes read as a settings file. Reading must not crash or throw; every problem
// is one line naming the file; the settings read write out and read back the same, cleanly.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/settings/settings_format.hpp"

namespace {

// A few key and button names, in any case, as the game's SDL naming would take them.
class FewNames : public platform::InputNaming {
public:
    std::optional<std::string> KeyName(std::string_view name) const override { return Find(name, kKeys); }
    std::optional<std::string> ButtonName(std::string_view name) const override { return Find(name, kButtons); }

private:
    static constexpr const char* kKeys[] = {"A", "D", "Left", "Return", "Space", "Escape", "P", "MouseLeft"};
    static constexpr const char* kButtons[] = {"a", "b", "start", "back", "leftx-", "leftx+", "righttrigger",
                                               "leftshoulder", "rightshoulder"};
    template <size_t N>
    static std::optional<std::string> Find(std::string_view name, const char* const (&names)[N]) {
        for (const char* n : names) {
            const std::string_view s(n);
            if (s.size() != name.size()) continue;
            bool same = true;
            for (size_t i = 0; i < s.size() && same; ++i) same = std::tolower(s[i]) == std::tolower(name[i]);
            if (same) return std::string(s);
        }
        return std::nullopt;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const FewNames naming;
    const platform::SettingsReading reading = platform::ReadSettings(text, "f", naming);
    for (const std::string& line : reading.problems)
        if (!line.starts_with("f") || line.find('\n') != std::string::npos) std::abort();
    if (reading.unreadable && !(reading.settings == platform::Settings{})) std::abort();
    const platform::SettingsReading back = platform::ReadSettings(platform::FormatSettings(reading.settings), "f", naming);
    if (!back.problems.empty() || !(back.settings == reading.settings)) std::abort();
    return 0;
}
