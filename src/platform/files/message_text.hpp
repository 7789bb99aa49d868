// Messages about outside data, built from pieces.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

// Joins message pieces (and keeps GCC 12's -Wrestrict false alarm on "a" + std::string away).
inline std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view p : parts) s.append(p);
    return s;
}

}  // namespace platform
