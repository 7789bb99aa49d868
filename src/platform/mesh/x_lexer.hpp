// The tokens of a .x file's body, whichever form (text or binary) it is stored in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/mesh/x_file_error.hpp"

namespace platform {

struct XToken {
    enum Kind : uint8_t {
        End,     // no more input
        Name,    // a template or instance name; "template" for a template definition
        String,  // a quoted string; text holds its bytes without quotes
        Number,  // a number, or in the binary form a list of them, where the walker wanted none
        Guid,
        Open,    // {
        Close,   // }
        Other,   // anything else that only a template definition holds: [ ] ( ) . and type words
    };
    Kind kind = End;
    std::string_view text;  // the name or the string, pointing into the file's bytes
    size_t offset = 0;      // where the token starts, for messages
};

// Reads a body (what follows the 16-byte header) as tokens and numbers. Separators (',' and ';')
// are optional between values and never reach the caller. Every read stays inside the buffer;
// anything malformed is refused with an XFileError naming the position.
class XLexer {
public:
    // `base` is the body's offset in the file and `where` what follows a position in messages
    // (" of the inflated data" for compressed files).
    XLexer(std::string_view body, size_t minNumberBytes, size_t base, std::string where)
        : begin_(body.data()), p_(body.data()), end_(body.data() + body.size()), base_(base),
          minNumberBytes_(minNumberBytes), whereSuffix_(std::move(where)) {}
    virtual ~XLexer() = default;
    XLexer(const XLexer&) = delete;
    XLexer& operator=(const XLexer&) = delete;

    virtual XToken Next() = 0;
    // A whole number that fits 32 bits (counts and indices).
    virtual uint32_t ReadCount() = 0;
    // A finite number, as a 32-bit float.
    virtual float ReadFloat() = 0;

    // Refuses `count` items of `numbersEach` numbers each when the bytes left cannot hold them,
    // before anything is allocated for them.
    void CheckFits(uint64_t count, uint64_t numbersEach, const char* what) const {
        const uint64_t left = static_cast<uint64_t>(end_ - p_);
        if (count > left || count * numbersEach > NumbersLeft())
            FailHere(std::string("a ") + what + " count of " + std::to_string(count) + ", more than the " +
                     std::to_string(left) + " bytes left can hold");
    }
    // The most numbers the bytes left could hold.
    uint64_t NumbersLeft() const { return static_cast<uint64_t>(end_ - p_) / minNumberBytes_; }

    size_t Position() const { return static_cast<size_t>(p_ - begin_); }
    [[noreturn]] void Fail(size_t offset, const std::string& what) const {
        throw XFileError(Where(offset) + whereSuffix_ + ": " + what);
    }
    [[noreturn]] void FailHere(const std::string& what) const { Fail(Position(), what); }

protected:
    // "line N" or "offset N" for a byte offset into the body.
    virtual std::string Where(size_t offset) const = 0;

    const char* begin_;
    const char* p_;
    const char* end_;
    size_t base_;

private:
    size_t minNumberBytes_;
    std::string whereSuffix_;
};

}  // namespace platform
