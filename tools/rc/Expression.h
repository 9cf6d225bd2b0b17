// Integer expressions of resource scripts and of #if lines, with C's operators and precedence.
#pragma once

#include "Token.h"

#include <cstdint>
#include <vector>

namespace rc {

struct Value {
    std::int64_t value = 0;
    bool isLong = false;  // some operand carried an L suffix (RCDATA then writes 32 bits)
};

// A style expression: the bits to set and, from "NOT name" terms, the bits to clear from the
// statement's default style.
struct StyleValue {
    std::uint32_t set = 0;
    std::uint32_t clear = 0;
    std::uint32_t Apply(std::uint32_t defaults) const { return (defaults | set) & ~clear; }
};

class ExpressionReader {
public:
    // Reads from tokens[pos]; pos moves past what was read. When identifiersAreZero (#if lines),
    // a name that is not defined reads as 0; otherwise it is an error.
    ExpressionReader(const std::vector<Token>& tokens, std::size_t& pos, bool identifiersAreZero = false);

    Value Read();          // a whole expression
    StyleValue ReadStyle();  // terms joined by '|', each possibly "NOT term"
    // True when the next token can begin an expression.
    static bool Starts(const Token& token);

private:
    Value Conditional();
    Value Binary(int level);
    Value Unary();
    const Token& Peek() const;
    [[noreturn]] void Fail(const std::string& message) const;

    const std::vector<Token>& m_tokens;
    std::size_t& m_pos;
    bool m_identifiersAreZero;
};

}  // namespace rc
