#include "Expression.h"

#include <array>

namespace rc {

namespace {

// Binary operators from the loosest to the tightest binding.
const std::array<std::vector<const char*>, 9> kLevels = {{
    {"||"},
    {"&&"},
    {"|"},
    {"^"},
    {"&"},
    {"==", "!="},
    {"<", ">", "<=", ">="},
    {"<<", ">>"},
    {"+", "-"},
}};
const std::vector<const char*> kMultiplicative = {"*", "/", "%"};

const Token kEnd{};

}  // namespace

ExpressionReader::ExpressionReader(const std::vector<Token>& tokens, std::size_t& pos, bool identifiersAreZero)
    : m_tokens(tokens), m_pos(pos), m_identifiersAreZero(identifiersAreZero)
{
}

bool ExpressionReader::Starts(const Token& token)
{
    return token.kind == TokenKind::Number || token.kind == TokenKind::Identifier || token.IsPunct("(") ||
           token.IsPunct("-") || token.IsPunct("+") || token.IsPunct("~") || token.IsPunct("!");
}

const Token& ExpressionReader::Peek() const
{
    return m_pos < m_tokens.size() ? m_tokens[m_pos] : kEnd;
}

void ExpressionReader::Fail(const std::string& message) const
{
    SourcePlace place = m_pos < m_tokens.size() ? m_tokens[m_pos].place
                        : m_tokens.empty()      ? SourcePlace{}
                                                : m_tokens.back().place;
    throw CompileError(place, message);
}

Value ExpressionReader::Read() { return Conditional(); }

StyleValue ExpressionReader::ReadStyle()
{
    StyleValue style;
    for (;;) {
        if (Peek().IsKeyword("NOT")) {
            ++m_pos;
            style.clear |= static_cast<std::uint32_t>(Unary().value);
        } else {
            // One term binds tighter than '|' so that "A | NOT B" splits at the bar.
            style.set |= static_cast<std::uint32_t>(Binary(3).value);
        }
        if (!Peek().IsPunct("|"))
            return style;
        ++m_pos;
    }
}

Value ExpressionReader::Conditional()
{
    Value condition = Binary(0);
    if (!Peek().IsPunct("?"))
        return condition;
    ++m_pos;
    Value whenTrue = Conditional();
    if (!Peek().IsPunct(":"))
        Fail("expected ':' in conditional expression");
    ++m_pos;
    Value whenFalse = Conditional();
    return condition.value ? whenTrue : whenFalse;
}

Value ExpressionReader::Binary(int level)
{
    if (level > static_cast<int>(kLevels.size()))
        return Unary();
    const auto& ops = level == static_cast<int>(kLevels.size()) ? kMultiplicative : kLevels[level];
    Value left = Binary(level + 1);
    for (;;) {
        const Token& t = Peek();
        const char* op = nullptr;
        if (t.kind == TokenKind::Punct)
            for (const char* candidate : ops)
                if (t.text == candidate)
                    op = candidate;
        if (!op)
            return left;
        ++m_pos;
        Value right = Binary(level + 1);
        std::int64_t a = left.value, b = right.value, r = 0;
        std::string o = op;
        if (o == "||") r = (a || b);
        else if (o == "&&") r = (a && b);
        else if (o == "|") r = a | b;
        else if (o == "^") r = a ^ b;
        else if (o == "&") r = a & b;
        else if (o == "==") r = (a == b);
        else if (o == "!=") r = (a != b);
        else if (o == "<") r = (a < b);
        else if (o == ">") r = (a > b);
        else if (o == "<=") r = (a <= b);
        else if (o == ">=") r = (a >= b);
        else if (o == "<<") r = (b < 0 || b > 63) ? 0 : static_cast<std::int64_t>(static_cast<std::uint64_t>(a) << b);
        else if (o == ">>") r = (b < 0 || b > 63) ? 0 : (a >> b);
        else if (o == "+") r = a + b;
        else if (o == "-") r = a - b;
        else if (o == "*") r = a * b;
        else {
            if (b == 0)
                Fail("division by zero");
            r = o == "/" ? a / b : a % b;
        }
        left = Value{r, left.isLong || right.isLong};
    }
}

Value ExpressionReader::Unary()
{
    const Token& t = Peek();
    if (t.IsPunct("-") || t.IsPunct("+") || t.IsPunct("~") || t.IsPunct("!")) {
        ++m_pos;
        Value v = Unary();
        if (t.text == "-") v.value = -v.value;
        else if (t.text == "~") v.value = ~v.value;
        else if (t.text == "!") v.value = !v.value;
        return v;
    }
    if (t.IsPunct("(")) {
        ++m_pos;
        Value v = Conditional();
        if (!Peek().IsPunct(")"))
            Fail("expected ')'");
        ++m_pos;
        return v;
    }
    if (t.kind == TokenKind::Number) {
        ++m_pos;
        return Value{t.value, t.isLong};
    }
    if (t.kind == TokenKind::Identifier) {
        if (m_identifiersAreZero) {
            ++m_pos;
            return Value{};
        }
        Fail("undefined name '" + t.text + "'");
    }
    if (t.kind == TokenKind::End)
        Fail("expected a number, found the end of the input");
    Fail("expected a number, found '" + t.text + "'");
}

}  // namespace rc
