// The text .x lexer: one pass over the bytes, numbers read in place.
#include "platform/mesh/x_text_lexer.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Everything that ends a name or a number.
bool IsDelimiter(char c) {
    if (IsSpace(c)) return true;
    switch (c) {
        case '{': case '}': case '"': case ';': case ',': case '<': case '>':
        case '[': case ']': case '(': case ')':
            return true;
        default:
            return false;
    }
}

// 10^-n for the fraction digits, as doubles.
constexpr double kTenths[16] = {0.0,   0.1,   0.01,   0.001,   1e-4,   1e-5,   1e-6,   1e-7,
                                1e-8,  1e-9,  1e-10,  1e-11,   1e-12,  1e-13,  1e-14,  1e-15};
constexpr int kMaxFractionDigits = 15;

}  // namespace

std::string XTextLexer::Where(size_t offset) const {
    const size_t lines = static_cast<size_t>(std::count(begin_, begin_ + offset, '\n'));
    return "line " + std::to_string(lines + 1);  // the header is line 1
}

void XTextLexer::SkipGaps() {
    for (;;) {
        while (p_ < end_ && (IsSpace(*p_) || *p_ == ',' || *p_ == ';')) ++p_;
        if (p_ < end_ && (*p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/'))) {
            const void* nl = std::memchr(p_, '\n', static_cast<size_t>(end_ - p_));
            p_ = nl ? static_cast<const char*>(nl) + 1 : end_;
            continue;
        }
        return;
    }
}

void XTextLexer::FailExpected(const char* wanted) const {
    if (p_ == end_) FailHere(std::string("expected ") + wanted + ", found the end of the file");
    const char* q = p_ + 1;
    while (q < end_ && q - p_ < 24 && !IsDelimiter(*q)) ++q;
    FailHere(std::string("expected ") + wanted + ", found '" + std::string(p_, q) + "'");
}

XToken XTextLexer::Next() {
    SkipGaps();
    XToken t;
    t.offset = Position();
    if (p_ == end_) return t;
    const char c = *p_;
    switch (c) {
        case '{':
            ++p_;
            t.kind = XToken::Open;
            return t;
        case '}':
            ++p_;
            t.kind = XToken::Close;
            return t;
        case '"':
        case '<': {
            const char close = c == '"' ? '"' : '>';
            const void* q = std::memchr(p_ + 1, close, static_cast<size_t>(end_ - p_ - 1));
            if (!q) FailHere(c == '"' ? "a string without its closing quote" : "a GUID without its closing '>'");
            t.kind = c == '"' ? XToken::String : XToken::Guid;
            t.text = std::string_view(p_ + 1, static_cast<size_t>(static_cast<const char*>(q) - p_ - 1));
            p_ = static_cast<const char*>(q) + 1;
            return t;
        }
        case '>': case '[': case ']': case '(': case ')':
            ++p_;
            t.kind = XToken::Other;
            return t;
        default:
            break;
    }
    const char* start = p_;
    while (p_ < end_ && !IsDelimiter(*p_)) ++p_;
    t.text = std::string_view(start, static_cast<size_t>(p_ - start));
    t.kind = (IsDigit(c) || c == '-' || c == '+' || c == '.') ? XToken::Number : XToken::Name;
    return t;
}

uint32_t XTextLexer::ReadCount() {
    SkipGaps();
    const char* q = p_;
    if (q < end_ && *q == '+') ++q;
    if (q == end_ || !IsDigit(*q)) FailExpected("a whole number");
    uint64_t value = 0;
    while (q < end_ && IsDigit(*q)) {
        value = value * 10 + static_cast<uint64_t>(*q - '0');
        if (value > UINT32_MAX) FailHere("a whole number past 4294967295");
        ++q;
    }
    if (q < end_ && !IsDelimiter(*q)) FailExpected("a whole number");
    p_ = q;
    return static_cast<uint32_t>(value);
}

// The integer part and the fraction are rounded to float each and then added (the fraction
// through a double), the way the game's models were always read: a value differs from the
// correctly rounded one by at most one unit in the last place, and every model keeps the exact
// vertices it was checked against.
float XTextLexer::ReadFloat() {
    SkipGaps();
    const char* q = p_;
    const bool negative = q < end_ && *q == '-';
    if (q < end_ && (*q == '-' || *q == '+')) ++q;
    const bool digitFirst = q < end_ && IsDigit(*q);
    if (!digitFirst && !(q + 1 < end_ && *q == '.' && IsDigit(q[1]))) FailExpected("a number");

    uint64_t whole = 0;
    while (q < end_ && IsDigit(*q)) {
        if (whole > (UINT64_MAX - 9) / 10) FailHere("a number with too many digits");
        whole = whole * 10 + static_cast<uint64_t>(*q - '0');
        ++q;
    }
    float f = static_cast<float>(whole);
    if (q + 1 < end_ && *q == '.' && IsDigit(q[1])) {
        ++q;
        uint64_t fraction = 0;
        int digits = 0;
        for (; q < end_ && IsDigit(*q); ++q) {
            if (digits == kMaxFractionDigits) continue;  // past what a float can hold
            fraction = fraction * 10 + static_cast<uint64_t>(*q - '0');
            ++digits;
        }
        f += static_cast<float>(static_cast<double>(fraction) * kTenths[digits]);
    } else if (q < end_ && *q == '.') {
        ++q;
    }
    if (q < end_ && (*q == 'e' || *q == 'E')) {
        ++q;
        const bool negativeExponent = q < end_ && *q == '-';
        if (q < end_ && (*q == '-' || *q == '+')) ++q;
        if (q == end_ || !IsDigit(*q)) FailExpected("a number");
        uint32_t exponent = 0;
        for (; q < end_ && IsDigit(*q); ++q) exponent = std::min<uint32_t>(exponent * 10 + (*q - '0'), 100000);
        const float e = negativeExponent ? -static_cast<float>(exponent) : static_cast<float>(exponent);
        f *= std::pow(10.0f, e);
    }
    if (q < end_ && !IsDelimiter(*q)) {
        // Some exporters write a broken value as the C library printed it; it reads as 0.
        for (const char* nan : {"-1.#IND00", "1.#IND00", "1.#QNAN0"}) {
            const size_t n = std::strlen(nan);
            if (static_cast<size_t>(end_ - p_) >= n && std::memcmp(p_, nan, n) == 0) {
                p_ += n;
                return 0.0f;
            }
        }
        FailExpected("a number");
    }
    if (!std::isfinite(f)) FailHere("a number out of the range of a float");
    p_ = q;
    return negative ? -f : f;
}

}  // namespace platform
