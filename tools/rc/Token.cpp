#include "Token.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace rc {

bool Token::IsKeyword(const char* word) const
{
    if (kind != TokenKind::Identifier || text.size() != std::strlen(word))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != word[i])
            return false;
    return true;
}

namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a string literal starting at the opening quote; returns the index after the closing one.
std::size_t ReadString(const std::string& line, std::size_t i, const SourcePlace& place, std::string& out)
{
    ++i;  // opening quote
    for (;;) {
        if (i >= line.size())
            throw CompileError(place, "unterminated string");
        char c = line[i];
        if (c == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {  // "" stands for one quote
                out += '"';
                i += 2;
                continue;
            }
            return i + 1;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= line.size())
            throw CompileError(place, "unterminated string");
        char e = line[i + 1];
        i += 2;
        switch (e) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'v': out += '\v'; break;
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case '\'': out += '\''; break;
        case 'x':
        case 'X': {
            int value = 0, digits = 0;
            while (i < line.size() && digits < 2 && HexDigit(line[i]) >= 0) {
                value = value * 16 + HexDigit(line[i++]);
                ++digits;
            }
            if (digits == 0)
                throw CompileError(place, "\\x without hex digits in string");
            out += static_cast<char>(value);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0', digits = 1;
                while (i < line.size() && digits < 3 && line[i] >= '0' && line[i] <= '7') {
                    value = value * 8 + (line[i++] - '0');
                    ++digits;
                }
                out += static_cast<char>(value & 0xFF);
            } else {
                out += '\\';  // an unknown escape keeps its backslash, as file paths need
                out += e;
            }
        }
    }
}

}  // namespace

void TokenizeLine(const std::string& line, const SourcePlace& place, std::vector<Token>& out)
{
    static const char* const kTwoCharOps[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        Token token;
        token.place = place;
        if ((c == 'L' || c == 'l') && i + 1 < line.size() && line[i + 1] == '"') {
            token.kind = TokenKind::String;
            token.wide = true;
            i = ReadString(line, i + 1, place, token.text);
        } else if (c == '"') {
            token.kind = TokenKind::String;
            i = ReadString(line, i, place, token.text);
        } else if (IsIdentStart(c)) {
            std::size_t start = i;
            while (i < line.size() && IsIdentChar(line[i]))
                ++i;
            token.kind = TokenKind::Identifier;
            token.text = line.substr(start, i - start);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t start = i;
            std::uint64_t value = 0;
            if (c == '0' && i + 1 < line.size() && (line[i + 1] == 'x' || line[i + 1] == 'X')) {
                i += 2;
                if (i >= line.size() || HexDigit(line[i]) < 0)
                    throw CompileError(place, "malformed number '" + line.substr(start, i - start) + "'");
                while (i < line.size() && HexDigit(line[i]) >= 0)
                    value = value * 16 + static_cast<std::uint64_t>(HexDigit(line[i++]));
            } else {
                while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])))
                    value = value * 10 + static_cast<std::uint64_t>(line[i++] - '0');
            }
            while (i < line.size() && (line[i] == 'L' || line[i] == 'l' || line[i] == 'U' || line[i] == 'u')) {
                if (line[i] == 'L' || line[i] == 'l')
                    token.isLong = true;
                ++i;
            }
            if (i < line.size() && IsIdentChar(line[i])) {
                std::size_t end = i;
                while (end < line.size() && IsIdentChar(line[end]))
                    ++end;
                throw CompileError(place, "malformed number '" + line.substr(start, end - start) + "'");
            }
            token.kind = TokenKind::Number;
            token.value = static_cast<std::int64_t>(value);
            token.text = line.substr(start, i - start);
        } else if (c == '\'') {
            // A character constant, as headers sometimes use: its byte value.
            if (i + 2 < line.size() && line[i + 2] == '\'') {
                token.kind = TokenKind::Number;
                token.value = static_cast<unsigned char>(line[i + 1]);
                token.text = line.substr(i, 3);
                i += 3;
            } else {
                throw CompileError(place, "malformed character constant");
            }
        } else {
            token.kind = TokenKind::Punct;
            bool two = false;
            if (i + 1 < line.size()) {
                for (const char* op : kTwoCharOps) {
                    if (line[i] == op[0] && line[i + 1] == op[1]) {
                        token.text = op;
                        i += 2;
                        two = true;
                        break;
                    }
                }
            }
            if (!two) {
                if (!std::strchr(",{}()|&+-~*/%!<>^?:#=.;", c) || c == '\0')
                    throw CompileError(place, std::string("unexpected character '") + c + "'");
                token.text = std::string(1, c);
                ++i;
            }
        }
        out.push_back(std::move(token));
    }
}

}  // namespace rc
