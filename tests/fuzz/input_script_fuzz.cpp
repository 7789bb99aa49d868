// Fuzz target: any bytes read as an input script. Reading must not crash; a script that reads
// must write out and read back to the same events and seed; one that does not names its line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/input/input_script.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::InputScript script;
    std::string error;
    if (!platform::ParseInputScript(text, "f", &script, &error)) {
        if (!error.starts_with("f:") || !script.events.empty()) std::abort();
        return 0;
    }
    platform::InputScript back;
    if (!platform::ParseInputScript(platform::FormatInputScript(script), "f", &back, &error)) std::abort();
    if (back.events != script.events || back.seed != script.seed) std::abort();
    return 0;
}
