// The binary .x lexer: token codes with lengths, every length checked against the bytes left.
#include "platform/mesh/x_binary_lexer.hpp"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

enum : uint16_t {
    kName = 1,
    kString = 2,
    kInteger = 3,
    kGuid = 5,
    kIntegerList = 6,
    kFloatList = 7,
    kOpenBrace = 0x0a,
    kCloseBrace = 0x0b,
    kComma = 0x13,
    kSemicolon = 0x14,
    kTemplate = 0x1f,
};

// The punctuation and type words that only template definitions hold.
bool IsTemplateToken(uint16_t t) { return (t >= 0x0c && t <= 0x12) || (t >= 0x28 && t <= 0x34); }

const char* Describe(uint16_t t) {
    switch (t) {
        case kName: return "a name";
        case kString: return "a string";
        case kInteger: return "a whole number";
        case kGuid: return "a GUID";
        case kIntegerList: return "a list of whole numbers";
        case kFloatList: return "a list of floats";
        case kOpenBrace: return "'{'";
        case kCloseBrace: return "'}'";
        case kTemplate: return "a template";
        default: return IsTemplateToken(t) ? "a template's type word" : "an unknown token";
    }
}

}  // namespace

std::string XBinaryLexer::Where(size_t offset) const { return "offset " + std::to_string(base_ + offset); }


uint32_t XBinaryLexer::ListCount(size_t elementBytes, size_t at) {
    const uint32_t count = Dword();
    if (static_cast<uint64_t>(count) * elementBytes > static_cast<uint64_t>(end_ - p_))
        Fail(at, "a list of " + std::to_string(count) + " numbers, more than the " + std::to_string(end_ - p_) +
                     " bytes left can hold");
    return count;
}

void XBinaryLexer::FailFound(const char* wanted, uint16_t token, size_t at) const {
    Fail(at, std::string("expected ") + wanted + ", found " + Describe(token));
}

XToken XBinaryLexer::Next() {
    XToken t;
    t.offset = Position();
    if (listLeft_ != 0) {
        // Numbers where the reader wanted none: the caller decides whether that is wrong.
        p_ += static_cast<size_t>(listLeft_) * (listOfFloats_ ? floatBytes_ : 4);
        listLeft_ = 0;
        t.kind = XToken::Number;
        return t;
    }
    for (;;) {
        t.offset = Position();
        if (p_ == end_) return t;
        const uint16_t token = Word();
        switch (token) {
            case kName:
            case kString: {
                const uint32_t length = Dword();
                if (length > static_cast<uint64_t>(end_ - p_))
                    Fail(t.offset, "a name or string of " + std::to_string(length) + " bytes, past the end of the file");
                t.text = std::string_view(p_, length);
                p_ += length;
                t.kind = token == kName ? XToken::Name : XToken::String;
                if (token == kString) {
                    const size_t at = Position();
                    const uint16_t terminator = end_ - p_ >= 2 ? Word() : 0;
                    if (terminator != kComma && terminator != kSemicolon) Fail(at, "a string without its terminator");
                }
                return t;
            }
            case kInteger:
                Dword();
                t.kind = XToken::Number;
                return t;
            case kGuid:
                if (end_ - p_ < 16) FailHere("the file ends inside a GUID");
                t.text = std::string_view(p_, 16);
                p_ += 16;
                t.kind = XToken::Guid;
                return t;
            case kIntegerList:
            case kFloatList: {
                const size_t bytes = token == kIntegerList ? 4 : floatBytes_;
                p_ += static_cast<size_t>(ListCount(bytes, t.offset)) * bytes;
                t.kind = XToken::Number;
                return t;
            }
            case kOpenBrace:
                t.kind = XToken::Open;
                return t;
            case kCloseBrace:
                t.kind = XToken::Close;
                return t;
            case kComma:
            case kSemicolon:
                continue;
            case kTemplate:
                t.kind = XToken::Name;
                t.text = "template";
                return t;
            default:
                if (!IsTemplateToken(token)) Fail(t.offset, "unknown token code " + std::to_string(token));
                t.kind = XToken::Other;
                return t;
        }
    }
}

uint32_t XBinaryLexer::ReadCount() {
    for (;;) {
        if (listLeft_ != 0) {
            if (listOfFloats_) FailHere("expected a whole number, found a float");
            --listLeft_;
            return Dword();
        }
        const size_t at = Position();
        if (p_ == end_) FailHere("expected a whole number, found the end of the file");
        const uint16_t token = Word();
        if (token == kComma || token == kSemicolon) continue;
        if (token == kInteger) return Dword();
        if (token != kIntegerList) FailFound("a whole number", token, at);
        listLeft_ = ListCount(4, at);
        listOfFloats_ = false;
    }
}

float XBinaryLexer::ReadFloat() {
    for (;;) {
        if (listLeft_ != 0) {
            if (!listOfFloats_) FailHere("expected a float, found a whole number");
            --listLeft_;
            if (floatBytes_ == 4) {
                const float f = Take<float>();
                if (!std::isfinite(f)) Fail(Position() - 4, "a float that is not a finite number");
                return f;
            }
            const double d = Take<double>();
            if (!(std::fabs(d) <= FLT_MAX)) Fail(Position() - 8, "a double out of the range of a float");
            return static_cast<float>(d);
        }
        const size_t at = Position();
        if (p_ == end_) FailHere("expected a float, found the end of the file");
        const uint16_t token = Word();
        if (token == kComma || token == kSemicolon) continue;
        if (token != kFloatList) FailFound("a float", token, at);
        listLeft_ = ListCount(floatBytes_, at);
        listOfFloats_ = true;
    }
}

}  // namespace platform
