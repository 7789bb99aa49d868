// Reading and writing the settings text from the table of settings.
#include "platform/settings/settings_format.hpp"

#include <toml++/toml.h>

#include <algorithm>
#include <functional>

#include "platform/files/message_text.hpp"
#include "platform/settings/settings_text.hpp"

namespace platform {

namespace {

constexpr const char* kVersionKey = "version";

// A step from one version of the format to the next, applied to the file as read; the steps
// are in order, the first from version 0.
using Upgrade = std::function<void(toml::table& file)>;

const std::vector<Upgrade>& Upgrades() {
    static const std::vector<Upgrade> steps = {
        // 0 to 1: the version key came in; every table and setting stayed as it was.
        [](toml::table&) {},
    };
    return steps;
}

// A list's items are taken one level deep: no setting holds lists of lists.
SettingValue ValueOf(const toml::node& node, bool withItems = true) {
    SettingValue v;
    using Type = SettingValue::Type;
    if (const auto* s = node.as_string()) {
        v.type = Type::String;
        v.text = s->get();
    } else if (const auto* i = node.as_integer()) {
        v.type = Type::Integer;
        v.integer = i->get();
    } else if (const auto* f = node.as_floating_point()) {
        v.type = Type::Float;
        v.number = f->get();
    } else if (const auto* b = node.as_boolean()) {
        v.type = Type::Boolean;
        v.flag = b->get();
    } else if (const auto* list = node.as_array()) {
        v.type = Type::List;
        // A list longer than any setting takes is refused by its size alone.
        if (!withItems || list->size() > kMaxNamesPerControl)
            v.items.resize(list->size());
        else
            for (const toml::node& item : *list) v.items.push_back(ValueOf(item, false));
    } else if (node.is_table()) {
        v.type = Type::Table;
    }
    return v;
}

std::string LineOf(const std::string& name, const toml::source_region& where) {
    return Cat({name, ":", std::to_string(where.begin.line), ": "});
}

// The file's version; a version that is no whole number is one problem and reads as this game's.
int64_t ReadVersion(const toml::table& root, const std::string& name, std::vector<std::string>* problems) {
    const toml::node* node = root.get(kVersionKey);
    if (!node) return 0;
    const auto* number = node->as_integer();
    if (number && number->get() >= 0) return number->get();
    problems->push_back(Cat({LineOf(name, node->source()), kVersionKey, ": expected a whole number from 0, found ",
                             Found(ValueOf(*node)), "; read as version ", std::to_string(kSettingsVersion)}));
    return kSettingsVersion;
}

}  // namespace

SettingsReading ReadSettings(std::string_view text, const std::string& name, const InputNaming& naming) {
    SettingsReading out;
    if (text.size() > kMaxSettingsBytes) {
        out.problems.push_back(Cat({name, ": larger than ", std::to_string(kMaxSettingsBytes / 1024),
                                    " KiB, so no settings file; the default settings are used"}));
        out.unreadable = true;
        return out;
    }
    toml::table root;
    try {
        root = toml::parse(text, name);
    } catch (const toml::parse_error& e) {
        std::string why(e.description());
        std::replace_if(why.begin(), why.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
        out.problems.push_back(Cat({LineOf(name, e.source()), why, "; the default settings are used"}));
        out.unreadable = true;
        return out;
    }
    out.version = ReadVersion(root, name, &out.problems);
    if (out.newer())
        out.problems.push_back(Cat({name, ": written by a newer version of the game (settings version ",
                                    std::to_string(out.version), "); read for the settings this version knows"}));
    const auto& upgrades = Upgrades();
    for (int64_t v = out.version; v < kSettingsVersion && v < int64_t(upgrades.size()); ++v) upgrades[size_t(v)](root);

    const Settings defaults;
    const auto& table = SettingsTable();
    for (const auto& [tableKey, tableNode] : root) {
        const std::string_view tableName = tableKey.str();
        if (tableName == kVersionKey) continue;
        const toml::table* settings = tableNode.as_table();
        const bool known = IsSettingsTable(tableName);
        if (!known && out.newer()) continue;  // the newer game's own
        if (!known || !settings) {
            if (known)
                out.problems.push_back(Cat({LineOf(name, tableKey.source()), Quoted(tableName),
                                            ": should be the table [", tableName, "]; its settings keep their defaults"}));
            else
                out.problems.push_back(Cat({LineOf(name, tableKey.source()), Quoted(tableName),
                                            ": no such table (the tables are ", SettingsTableNames(), "); ignored"}));
            continue;
        }
        for (const auto& [key, node] : *settings) {
            const std::string_view settingName = key.str();  // a lambda may not name a structured binding
            const auto setting = std::find_if(table.begin(), table.end(), [&](const Setting& s) {
                return tableName == s.table && settingName == s.key;
            });
            if (setting == table.end()) {
                if (!out.newer())
                    out.problems.push_back(Cat({LineOf(name, key.source()), "[", tableName, "] ", Quoted(settingName),
                                                ": no such setting; ignored"}));
                continue;
            }
            std::string why;
            if (!setting->read(ValueOf(node), out.settings, naming, &why))
                out.problems.push_back(Cat({LineOf(name, node.source()), "[", tableName, "] ", setting->key, ": ", why,
                                            "; the default, ", setting->write(defaults), ", stands"}));
        }
    }
    return out;
}

std::string FormatSettings(const Settings& settings) {
    std::string text =
        "# KORVELIN's settings. The game writes this file when you leave its options screen; edit it\n"
        "# while the game is not running. A setting left out keeps its default.\n"
        "\n"
        "# The version of this file's format: the game upgrades an older file as it reads it.\n";
    text += Cat({kVersionKey, " = ", std::to_string(kSettingsVersion), "\n"});
    const char* table = "";
    for (const Setting& s : SettingsTable()) {
        if (std::string_view(table) != s.table) {
            table = s.table;
            text += Cat({"\n[", table, "]\n"});
        }
        if (s.comment) text += Cat({"# ", s.comment, "\n"});
        text += Cat({s.key, " = ", s.write(settings), "\n"});
    }
    return text;
}

}  // namespace platform
