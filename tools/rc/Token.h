// The tokens of a resource script, after the preprocessor has run.
#pragma once

#include "CompileError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

enum class TokenKind { Identifier, Number, String, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;          // identifier name, operator, or a string's bytes (escapes decoded)
    std::int64_t value = 0;    // numbers
    bool isLong = false;       // numbers written with an L suffix
    bool wide = false;         // strings written as L"..."
    SourcePlace place;

    bool Is(TokenKind k, const char* t) const { return kind == k && text == t; }
    bool IsPunct(const char* t) const { return Is(TokenKind::Punct, t); }
    // Keywords are identifiers compared without regard to case, as the platform's compiler does.
    bool IsKeyword(const char* word) const;
};

// Splits one line (comments already removed) into tokens. Throws CompileError on a malformed
// number, an unterminated string or a character that has no place in a script.
void TokenizeLine(const std::string& line, const SourcePlace& place, std::vector<Token>& out);

}  // namespace rc
