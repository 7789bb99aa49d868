// Tokens and numbers of a text .x body.
#pragma once

#include "platform/mesh/x_lexer.hpp"

namespace platform {

// Names, quoted strings, GUIDs in <>, braces and numbers; whitespace, ',' and ';' separate them,
// "//" and "#" start comments. Positions in messages are line numbers.
class XTextLexer final : public XLexer {
public:
    XTextLexer(std::string_view body, std::string where) : XLexer(body, 1, 0, std::move(where)) {}

    XToken Next() override;
    uint32_t ReadCount() override;
    float ReadFloat() override;

protected:
    std::string Where(size_t offset) const override;

private:
    void SkipGaps();
    [[noreturn]] void FailExpected(const char* wanted) const;
};

}  // namespace platform
