// Fuzz target: any bytes read as the list of recent courses. Reading must not crash, and a list
// that was read must be written as text that reads back to the same list.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/files/recent_files.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto list = platform::ParseRecentFiles(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!list) return 0;
    if (list->size() > platform::RecentFiles::kMax) std::abort();
    if (platform::ParseRecentFiles(platform::FormatRecentFiles(*list)) != list) std::abort();
    return 0;
}
