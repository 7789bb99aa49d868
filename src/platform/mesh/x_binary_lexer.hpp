// Tokens and numbers of a binary .x body.
#pragma once

#include <cstring>

#include "platform/mesh/x_lexer.hpp"

namespace platform {

// Little-endian 16-bit token codes, each followed by its own data: names and strings with a
// 32-bit length, integer and float lists with a 32-bit count. Floats are 32 or 64 bits as the
// header says; 64-bit ones are narrowed to float. Positions in messages are byte offsets.
class XBinaryLexer final : public XLexer {
public:
    XBinaryLexer(std::string_view body, bool doubles, size_t base, std::string where)
        : XLexer(body, 4, base, std::move(where)), floatBytes_(doubles ? 8 : 4) {}

    XToken Next() override;
    uint32_t ReadCount() override;
    float ReadFloat() override;

protected:
    std::string Where(size_t offset) const override;

private:
    // The next value as it lies in the file: little-endian, as on the machines the game runs on.
    template <typename T>
    T Take() {
        if (static_cast<size_t>(end_ - p_) < sizeof(T)) FailHere("the file ends inside a token");
        T v;
        std::memcpy(&v, p_, sizeof v);
        p_ += sizeof v;
        return v;
    }
    uint16_t Word() { return Take<uint16_t>(); }
    uint32_t Dword() { return Take<uint32_t>(); }
    // Reads a list's count and checks that its elements are all there.
    uint32_t ListCount(size_t elementBytes, size_t at);
    [[noreturn]] void FailFound(const char* wanted, uint16_t token, size_t at) const;

    size_t floatBytes_;
    uint32_t listLeft_ = 0;  // elements of the current list not read yet
    bool listOfFloats_ = false;
};

}  // namespace platform
