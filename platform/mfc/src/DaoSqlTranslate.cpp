// The Jet SQL dialect turned into SQLite's.
//
// Statements are read as tokens and written out again with these changes: [bracketed names]
// become quoted identifiers; "double-quoted" text becomes a text literal; #dates# become the
// text form that date fields hold ('yyyy-mm-dd hh:mm:ss'); True/False/Yes/No become -1/0;
// & concatenates; ! qualifies a name; Left$(...) and the like lose their $; declared parameter
// names become bound parameters; a PARAMETERS clause declares them; DISTINCTROW and TOP n are
// expressed in SQLite's terms; every sort key compares without case; and a long chain of ORs is
// flattened (equalities into IN lists, the rest into a balanced tree) so that SQLite's limit on
// expression depth never trips. LIKE keeps its Jet pattern: the connection's LIKE reads it.
#include "DaoSql.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace daosql {

namespace {

enum class Kind { Word, Name, String, Number, Date, Symbol, Param };

struct Token {
    Kind kind;
    std::string text;  // Word/Symbol: as written; Name/String/Date: content; Param: ?N
};

bool EqualsNoCase(const std::string& a, const char* b)
{
    return CompareNoCase(a.data(), a.size(), b, std::strlen(b)) == 0;
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

bool IsWord(const Token& t, const char* w) { return t.kind == Kind::Word && EqualsNoCase(t.text, w); }
bool IsSymbol(const Token& t, const char* s) { return t.kind == Kind::Symbol && t.text == s; }

[[noreturn]] void SyntaxError(const std::string& text)
{
    throw Error(kErrSyntaxInExpression, "Syntax error in query expression '" + text + "'.",
                "DAO.Database");
}

bool IsIdentStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsIdentChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

std::vector<Token> Tokenize(const std::string& s)
{
    std::vector<Token> out;
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        if (c == '[') {
            std::size_t e = s.find(']', i + 1);
            if (e == std::string::npos)
                SyntaxError(s);
            out.push_back({Kind::Name, s.substr(i + 1, e - i - 1)});
            i = e + 1;
            continue;
        }
        if (c == '\'' || c == '"') {
            std::string text;
            std::size_t j = i + 1;
            for (;;) {
                if (j >= n)
                    SyntaxError(s);
                if (s[j] == static_cast<char>(c)) {
                    if (j + 1 < n && s[j + 1] == static_cast<char>(c)) {
                        text += static_cast<char>(c);
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += s[j++];
            }
            out.push_back({Kind::String, text});
            i = j + 1;
            continue;
        }
        if (c == '#') {
            std::size_t e = s.find('#', i + 1);
            if (e == std::string::npos)
                SyntaxError(s);
            out.push_back({Kind::Date, s.substr(i + 1, e - i - 1)});
            i = e + 1;
            continue;
        }
        if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            std::size_t j = i;
            while (j < n && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.'))
                ++j;
            if (j < n && (s[j] == 'e' || s[j] == 'E')) {
                std::size_t k = j + 1;
                if (k < n && (s[k] == '+' || s[k] == '-'))
                    ++k;
                if (k < n && std::isdigit(static_cast<unsigned char>(s[k]))) {
                    j = k;
                    while (j < n && std::isdigit(static_cast<unsigned char>(s[j])))
                        ++j;
                }
            }
            out.push_back({Kind::Number, s.substr(i, j - i)});
            i = j;
            continue;
        }
        if (IsIdentStart(c)) {
            std::size_t j = i;
            while (j < n && IsIdentChar(static_cast<unsigned char>(s[j])))
                ++j;
            if (j < n && s[j] == '$')
                ++j;
            out.push_back({Kind::Word, s.substr(i, j - i)});
            i = j;
            continue;
        }
        static const char* const two[] = {"<>", "<=", ">=", "!=", "||"};
        bool done = false;
        for (const char* op : two) {
            if (s.compare(i, 2, op) == 0) {
                out.push_back({Kind::Symbol, op});
                i += 2;
                done = true;
                break;
            }
        }
        if (done)
            continue;
        if (std::strchr("=<>+-*/\\&(),;.!^", static_cast<char>(c))) {
            out.push_back({Kind::Symbol, std::string(1, static_cast<char>(c))});
            ++i;
            continue;
        }
        SyntaxError(s);
    }
    return out;
}

std::string QuoteName(const std::string& name)
{
    std::string out = "\"";
    for (char ch : name) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

std::string QuoteText(const std::string& text)
{
    std::string out = "'";
    for (char ch : text) {
        if (ch == '\'')
            out += '\'';
        out += ch;
    }
    return out + "'";
}

std::string DateLiteral(const std::string& text)
{
    auto d = ParseDateText(text);
    if (!d)
        SyntaxError("#" + text + "#");
    return QuoteText(FormatDateText(*d));
}

bool IsKeyword(const std::string& w)
{
    static const char* const words[] = {
        "SELECT", "FROM", "WHERE", "AND", "OR", "NOT", "IN", "ON", "AS", "BETWEEN", "LIKE", "IS",
        "NULL", "ORDER", "BY", "GROUP", "HAVING", "INNER", "LEFT", "RIGHT", "OUTER", "JOIN",
        "VALUES", "INTO", "SET", "EXISTS", "UNION", "ASC", "DESC", "DISTINCT", "LIMIT", "CHECK",
        "DEFAULT", "KEY", "UNIQUE"};
    for (const char* k : words)
        if (EqualsNoCase(w, k))
            return true;
    return false;
}

std::string Join(const std::vector<Token>& t)
{
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Token& cur = t[i];
        if (i > 0) {
            const Token& prev = t[i - 1];
            bool space = true;
            if (cur.kind == Kind::Symbol && (cur.text == ")" || cur.text == "," || cur.text == "." || cur.text == ";"))
                space = false;
            if (prev.kind == Kind::Symbol && (prev.text == "(" || prev.text == "."))
                space = false;
            if (cur.kind == Kind::Symbol && cur.text == "(" &&
                ((prev.kind == Kind::Word && !IsKeyword(prev.text)) ||
                 (prev.kind == Kind::Name && i >= 2 && t[i - 2].kind != Kind::Word)))
                space = false;
            if (space)
                out += ' ';
        }
        out += cur.text;
    }
    return out;
}

// Index of the parenthesis that closes the one at `open`.
std::size_t Closing(const std::vector<Token>& t, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < t.size(); ++i) {
        if (IsSymbol(t[i], "("))
            ++depth;
        else if (IsSymbol(t[i], ")") && --depth == 0)
            return i;
    }
    SyntaxError(Join(t));
}

// Translator state shared by the pieces of one statement: parameter names and their numbers.
class Translator {
public:
    explicit Translator(const TranslateOptions& options) : m_options(options) {}

    void Declare(const std::string& name) { m_declared.push_back(name); }
    void Reserve(const std::string& name) { m_used.push_back(name); }
    const std::vector<std::string>& Used() const { return m_used; }

    bool IsParameter(const std::string& name) const
    {
        for (const auto& n : m_options.parameterNames)
            if (EqualsNoCase(n, name))
                return true;
        for (const auto& n : m_declared)
            if (EqualsNoCase(n, name))
                return true;
        return false;
    }

    // Reads a PARAMETERS clause at the front, if any, and removes it.
    void TakeParameters(std::vector<Token>& t)
    {
        if (t.empty() || !IsWord(t[0], "PARAMETERS"))
            return;
        std::size_t i = 1;
        bool expectName = true;
        for (; i < t.size() && !IsSymbol(t[i], ";"); ++i) {
            if (expectName && (t[i].kind == Kind::Name || t[i].kind == Kind::Word)) {
                Declare(t[i].text);
                expectName = false;
            } else if (IsSymbol(t[i], ",")) {
                expectName = true;
            } else if (IsSymbol(t[i], "(")) {
                i = Closing(t, i);
            }
        }
        if (i >= t.size())
            SyntaxError(Join(t));
        t.erase(t.begin(), t.begin() + static_cast<long>(i) + 1);
    }

    // Maps the tokens of a piece to SQLite's spelling.
    std::vector<Token> Map(const std::vector<Token>& in)
    {
        std::vector<Token> out;
        out.reserve(in.size());
        for (std::size_t i = 0; i < in.size(); ++i) {
            const Token& t = in[i];
            bool qualified = (i > 0 && (IsSymbol(in[i - 1], ".") || IsSymbol(in[i - 1], "!"))) ||
                             (i + 1 < in.size() && (IsSymbol(in[i + 1], ".") || IsSymbol(in[i + 1], "!")));
            switch (t.kind) {
            case Kind::Name:
                if (!qualified && IsParameter(t.text))
                    out.push_back(Param(t.text));
                else
                    out.push_back({Kind::Name, QuoteName(t.text)});
                break;
            case Kind::Word: {
                bool call = i + 1 < in.size() && IsSymbol(in[i + 1], "(");
                if (!qualified && !call && IsParameter(t.text)) {
                    out.push_back(Param(t.text));
                } else if (!qualified && (EqualsNoCase(t.text, "True") || EqualsNoCase(t.text, "Yes"))) {
                    out.push_back({Kind::Number, "-1"});
                } else if (!qualified && (EqualsNoCase(t.text, "False") || EqualsNoCase(t.text, "No"))) {
                    out.push_back({Kind::Number, "0"});
                } else if (EqualsNoCase(t.text, "Mod")) {
                    out.push_back({Kind::Symbol, "%"});
                } else if (call) {
                    // Left$ is Left; Left and Right are words of SQLite's own, quoted to be names.
                    std::string fn = t.text.back() == '$' ? t.text.substr(0, t.text.size() - 1) : t.text;
                    if (EqualsNoCase(fn, "Left") || EqualsNoCase(fn, "Right"))
                        out.push_back({Kind::Name, QuoteName(fn)});
                    else
                        out.push_back({Kind::Word, fn});
                } else {
                    out.push_back(t);
                }
                break;
            }
            case Kind::String:
                out.push_back({Kind::String, QuoteText(t.text)});
                break;
            case Kind::Date:
                out.push_back({Kind::String, DateLiteral(t.text)});
                break;
            case Kind::Symbol:
                if (t.text == "&")
                    out.push_back({Kind::Symbol, "||"});
                else if (t.text == "!")
                    out.push_back({Kind::Symbol, "."});
                else if (t.text == "\\")
                    out.push_back({Kind::Symbol, "/"});
                else
                    out.push_back(t);
                break;
            default:
                out.push_back(t);
            }
        }
        return out;
    }

private:
    Token Param(const std::string& name)
    {
        std::size_t k = 0;
        for (; k < m_used.size(); ++k)
            if (EqualsNoCase(m_used[k], name))
                break;
        if (k == m_used.size())
            m_used.push_back(name);
        return {Kind::Param, "?" + std::to_string(k + 1)};
    }

    const TranslateOptions& m_options;
    std::vector<std::string> m_declared;
    std::vector<std::string> m_used;
};

// --- Flattening long OR chains ---------------------------------------------------------------

constexpr std::size_t kOrChainFlatten = 16;  // chains at least this long are rewritten
constexpr std::size_t kOrTreeLeaf = 8;       // terms per leaf of the balanced tree

bool IsLiteral(const Token& t)
{
    return t.kind == Kind::String || t.kind == Kind::Number || t.kind == Kind::Param;
}

std::vector<Token> RewriteStatement(std::vector<Token> t);

// Key of a column reference (name or qualified name) made of the tokens [b, e); "" if none.
std::string ColumnKey(const std::vector<Token>& t, std::size_t b, std::size_t e)
{
    std::string key;
    for (std::size_t i = b; i < e; ++i) {
        bool expectName = (i - b) % 2 == 0;
        if (expectName && (t[i].kind == Kind::Name || (t[i].kind == Kind::Word && !IsKeyword(t[i].text)))) {
            std::string part = t[i].kind == Kind::Name ? t[i].text.substr(1, t[i].text.size() - 2) : t[i].text;
            for (char& ch : part)
                ch = static_cast<char>(FoldUpper(static_cast<unsigned char>(ch)));
            key += part;
        } else if (!expectName && IsSymbol(t[i], ".")) {
            key += '.';
        } else {
            return {};
        }
    }
    if (key.empty() || key.back() == '.')
        return {};
    return key;
}

void Append(std::vector<Token>& out, const std::vector<Token>& in, std::size_t b, std::size_t e)
{
    out.insert(out.end(), in.begin() + static_cast<long>(b), in.begin() + static_cast<long>(e));
}

std::vector<Token> OrTree(const std::vector<std::vector<Token>>& terms, std::size_t b, std::size_t e)
{
    std::vector<Token> out;
    if (e - b <= kOrTreeLeaf) {
        for (std::size_t i = b; i < e; ++i) {
            if (i > b)
                out.push_back({Kind::Word, "OR"});
            out.push_back({Kind::Symbol, "("});
            Append(out, terms[i], 0, terms[i].size());
            out.push_back({Kind::Symbol, ")"});
        }
        return out;
    }
    std::size_t m = b + (e - b) / 2;
    out.push_back({Kind::Symbol, "("});
    auto left = OrTree(terms, b, m);
    Append(out, left, 0, left.size());
    out.push_back({Kind::Symbol, ")"});
    out.push_back({Kind::Word, "OR"});
    out.push_back({Kind::Symbol, "("});
    auto right = OrTree(terms, m, e);
    Append(out, right, 0, right.size());
    out.push_back({Kind::Symbol, ")"});
    return out;
}

// Rewrites an expression: its parenthesised parts first, then a long OR chain at its top.
std::vector<Token> RewriteExpression(const std::vector<Token>& in)
{
    std::vector<Token> t;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (IsSymbol(in[i], "(")) {
            std::size_t c = Closing(in, i);
            std::vector<Token> inner(in.begin() + static_cast<long>(i) + 1, in.begin() + static_cast<long>(c));
            inner = (!inner.empty() && IsWord(inner[0], "SELECT")) ? RewriteStatement(inner) : RewriteExpression(inner);
            t.push_back(in[i]);
            Append(t, inner, 0, inner.size());
            t.push_back(in[c]);
            i = c;
        } else {
            t.push_back(in[i]);
        }
    }
    // Split at the ORs of depth 0 (AND binds tighter, so each part is one alternative).
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (IsSymbol(t[i], "("))
            ++depth;
        else if (IsSymbol(t[i], ")"))
            --depth;
        else if (depth == 0 && IsWord(t[i], "OR")) {
            parts.emplace_back(start, i);
            start = i + 1;
        }
    }
    parts.emplace_back(start, t.size());
    if (parts.size() < kOrChainFlatten)
        return t;

    // Equalities of one column with a literal become one IN list per column.
    std::vector<std::string> keys;
    std::vector<std::vector<Token>> columns;
    std::vector<std::vector<Token>> lists;
    std::vector<std::vector<Token>> others;
    for (auto [b, e] : parts) {
        if (e - b < 3) {
            others.emplace_back(t.begin() + static_cast<long>(b), t.begin() + static_cast<long>(e));
            continue;
        }
        std::size_t eq = e;
        for (std::size_t i = b; i < e; ++i)
            if (IsSymbol(t[i], "=")) {
                eq = i;
                break;
            }
        std::string key;
        std::size_t colB = 0, colE = 0, lit = 0;
        if (eq != e && eq + 2 == e && IsLiteral(t[eq + 1])) {
            key = ColumnKey(t, b, eq);
            colB = b, colE = eq, lit = eq + 1;
        } else if (eq == b + 1 && IsLiteral(t[b])) {
            key = ColumnKey(t, eq + 1, e);
            colB = eq + 1, colE = e, lit = b;
        }
        if (key.empty()) {
            others.emplace_back(t.begin() + static_cast<long>(b), t.begin() + static_cast<long>(e));
            continue;
        }
        std::size_t k = std::find(keys.begin(), keys.end(), key) - keys.begin();
        if (k == keys.size()) {
            keys.push_back(key);
            columns.emplace_back(t.begin() + static_cast<long>(colB), t.begin() + static_cast<long>(colE));
            lists.emplace_back();
        } else {
            lists[k].push_back({Kind::Symbol, ","});
        }
        lists[k].push_back(t[lit]);
    }
    std::vector<std::vector<Token>> terms;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        std::vector<Token> term = columns[k];
        term.push_back({Kind::Word, "IN"});
        term.push_back({Kind::Symbol, "("});
        Append(term, lists[k], 0, lists[k].size());
        term.push_back({Kind::Symbol, ")"});
        terms.push_back(std::move(term));
    }
    for (auto& o : others)
        terms.push_back(std::move(o));
    return OrTree(terms, 0, terms.size());
}

// Words that end an expression clause of a statement.
bool EndsClause(const Token& t)
{
    static const char* const words[] = {"GROUP", "ORDER", "HAVING", "LIMIT", "UNION", "WHERE",
                                        "INNER", "LEFT", "RIGHT", "JOIN", "ON"};
    if (IsSymbol(t, ";"))
        return true;
    for (const char* w : words)
        if (IsWord(t, w))
            return true;
    return false;
}

// Rewrites the WHERE, HAVING and ON clauses of a statement (and subqueries in them).
std::vector<Token> RewriteStatement(std::vector<Token> t)
{
    std::vector<Token> out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        out.push_back(t[i]);
        if (IsWord(t[i], "WHERE") || IsWord(t[i], "HAVING") || IsWord(t[i], "ON")) {
            std::size_t j = i + 1;
            int depth = 0;
            for (; j < t.size(); ++j) {
                if (IsSymbol(t[j], "("))
                    ++depth;
                else if (IsSymbol(t[j], ")")) {
                    if (--depth < 0)
                        break;
                } else if (depth == 0 && EndsClause(t[j]))
                    break;
            }
            std::vector<Token> expr(t.begin() + static_cast<long>(i) + 1, t.begin() + static_cast<long>(j));
            auto done = RewriteExpression(expr);
            Append(out, done, 0, done.size());
            i = j - 1;
        }
    }
    return out;
}

// Sort keys compare text without case, as Jet sorts.
std::vector<Token> SortKeys(const std::vector<Token>& in)
{
    std::vector<Token> out;
    int depth = 0;
    auto close = [&]() {
        std::size_t at = out.size();
        if (at > 0 && (IsWord(out[at - 1], "ASC") || IsWord(out[at - 1], "DESC")))
            --at;
        out.insert(out.begin() + static_cast<long>(at), {{Kind::Word, "COLLATE"}, {Kind::Word, "NOCASE"}});
    };
    for (const Token& tok : in) {
        if (IsSymbol(tok, "("))
            ++depth;
        else if (IsSymbol(tok, ")"))
            --depth;
        if (depth == 0 && IsSymbol(tok, ",")) {
            close();
            out.push_back(tok);
            continue;
        }
        out.push_back(tok);
    }
    if (!out.empty())
        close();
    return out;
}

// The clauses of a SELECT statement, as Jet tokens.
struct SelectParts {
    bool distinct = false;
    bool distinctRow = false;
    std::string top;
    std::vector<Token> list, from, where, groupBy, having, orderBy;
};

// Splits a SELECT statement (PARAMETERS clause already taken) into its clauses.
SelectParts SplitSelect(const std::vector<Token>& t, const std::string& text)
{
    SelectParts p;
    std::size_t i = 1;  // after SELECT
    if (i < t.size() && IsWord(t[i], "DISTINCTROW")) {
        p.distinctRow = true;
        ++i;
    } else if (i < t.size() && IsWord(t[i], "DISTINCT")) {
        p.distinct = true;
        ++i;
    } else if (i < t.size() && IsWord(t[i], "ALL")) {
        ++i;
    }
    if (i < t.size() && IsWord(t[i], "TOP")) {
        if (i + 1 >= t.size() || t[i + 1].kind != Kind::Number)
            SyntaxError(text);
        p.top = t[i + 1].text;
        i += 2;
        if (i < t.size() && IsWord(t[i], "PERCENT"))
            throw Error(kErrNotSupported, "TOP n PERCENT is not supported.", "DAO.Database");
    }
    std::vector<Token>* cur = &p.list;
    int depth = 0;
    for (; i < t.size(); ++i) {
        const Token& tok = t[i];
        if (IsSymbol(tok, "("))
            ++depth;
        else if (IsSymbol(tok, ")"))
            --depth;
        if (depth == 0) {
            if (IsSymbol(tok, ";"))
                break;
            if (IsWord(tok, "FROM") && cur == &p.list) {
                cur = &p.from;
                continue;
            }
            if (IsWord(tok, "WHERE")) {
                cur = &p.where;
                continue;
            }
            if (IsWord(tok, "HAVING")) {
                cur = &p.having;
                continue;
            }
            if ((IsWord(tok, "GROUP") || IsWord(tok, "ORDER")) && i + 1 < t.size() && IsWord(t[i + 1], "BY")) {
                cur = IsWord(tok, "GROUP") ? &p.groupBy : &p.orderBy;
                ++i;
                continue;
            }
            if (IsWord(tok, "UNION"))
                throw Error(kErrNotSupported, "UNION queries are not supported by record sets.", "DAO.Database");
        }
        cur->push_back(tok);
    }
    if (p.list.empty() || p.from.empty())
        SyntaxError(text);
    return p;
}

// Names of the tables in a FROM clause (after FROM, JOIN and commas at depth 0).
std::vector<std::string> FromTables(const std::vector<Token>& from)
{
    std::vector<std::string> names;
    bool expect = true;
    int depth = 0;
    for (const Token& tok : from) {
        if (IsSymbol(tok, "(")) {
            ++depth;
            continue;
        }
        if (IsSymbol(tok, ")")) {
            --depth;
            continue;
        }
        if (depth > 0)
            continue;
        if (expect && (tok.kind == Kind::Name || (tok.kind == Kind::Word && !IsKeyword(tok.text)))) {
            names.push_back(tok.text);
            expect = false;
        } else if (IsSymbol(tok, ",") || IsWord(tok, "JOIN")) {
            expect = true;
        }
    }
    return names;
}

bool HasAggregate(const std::vector<Token>& t)
{
    static const char* const fns[] = {"Count", "Sum", "Avg", "Min", "Max", "First", "Last", "StDev", "Var"};
    for (std::size_t i = 0; i + 1 < t.size(); ++i)
        if (t[i].kind == Kind::Word && IsSymbol(t[i + 1], "("))
            for (const char* f : fns)
                if (EqualsNoCase(t[i].text, f))
                    return true;
    return false;
}

// DISTINCTROW leaves out rows that come from the same table rows. When the output draws on
// every table of the FROM clause (or there is only one), every row already does; otherwise
// the rows that look alike are the ones it leaves out.
bool DistinctRowNeedsDistinct(const SelectParts& p)
{
    auto tables = FromTables(p.from);
    if (tables.size() <= 1)
        return false;
    if (p.list.size() == 1 && IsSymbol(p.list[0], "*"))
        return false;
    std::vector<std::string> used;
    for (std::size_t i = 0; i + 1 < p.list.size(); ++i)
        if ((p.list[i].kind == Kind::Name || p.list[i].kind == Kind::Word) &&
            (IsSymbol(p.list[i + 1], ".") || IsSymbol(p.list[i + 1], "!"))) {
            bool seen = false;
            for (auto& u : used)
                seen = seen || EqualsNoCase(u, p.list[i].text);
            if (!seen)
                used.push_back(p.list[i].text);
        }
    return !used.empty() && used.size() < tables.size();
}

// The range of a whole-number type of Jet's; nothing for other types.
std::optional<std::pair<std::string, std::string>> IntegerRange(const std::string& type)
{
    if (EqualsNoCase(type, "BYTE"))
        return std::make_pair("0", "255");
    if (EqualsNoCase(type, "SHORT") || EqualsNoCase(type, "SMALLINT") || EqualsNoCase(type, "INTEGER2"))
        return std::make_pair("-32768", "32767");
    if (EqualsNoCase(type, "LONG") || EqualsNoCase(type, "INTEGER") || EqualsNoCase(type, "INT") ||
        EqualsNoCase(type, "INTEGER4"))
        return std::make_pair("-2147483648", "2147483647");
    return std::nullopt;
}

// Jet's column types in a CREATE TABLE: text fields compare without case and refuse text
// longer than their size (255 when none is given); whole numbers keep to their range; a counter
// is the table's row id.
std::vector<Token> ColumnTypes(const std::vector<Token>& in)
{
    std::vector<Token> out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        bool typePlace = i >= 3 && in[i].kind == Kind::Word &&
                         (in[i - 1].kind == Kind::Name || in[i - 1].kind == Kind::Word) &&
                         (IsSymbol(in[i - 2], "(") || IsSymbol(in[i - 2], ","));
        if (!typePlace) {
            out.push_back(in[i]);
            continue;
        }
        const std::string& type = in[i].text;
        bool sized = i + 3 < in.size() && IsSymbol(in[i + 1], "(") && in[i + 2].kind == Kind::Number &&
                     IsSymbol(in[i + 3], ")");
        if (EqualsNoCase(type, "TEXT") || EqualsNoCase(type, "CHAR") || EqualsNoCase(type, "VARCHAR") ||
            EqualsNoCase(type, "STRING")) {
            std::string size = sized ? in[i + 2].text : "255";
            out.push_back(in[i]);
            out.insert(out.end(), {{Kind::Symbol, "("}, {Kind::Number, size}, {Kind::Symbol, ")"},
                                   {Kind::Word, "COLLATE"}, {Kind::Word, "NOCASE"}, {Kind::Word, "CONSTRAINT"},
                                   {Kind::Name, "\"size\""}, {Kind::Word, "CHECK"},
                                   {Kind::Symbol, "("}, {Kind::Word, "length"}, {Kind::Symbol, "("},
                                   {Kind::Word, "CAST"}, {Kind::Symbol, "("}, in[i - 1], {Kind::Word, "AS"},
                                   {Kind::Word, "BLOB"}, {Kind::Symbol, ")"}, {Kind::Symbol, ")"},
                                   {Kind::Symbol, "<="}, {Kind::Number, size}, {Kind::Symbol, ")"}});
            if (sized)
                i += 3;
        } else if (auto range = IntegerRange(type)) {
            // Whole-number fields refuse what they cannot hold, as Jet's overflow does.
            out.push_back(in[i]);
            out.insert(out.end(), {{Kind::Word, "CONSTRAINT"}, {Kind::Name, "\"range\""}, {Kind::Word, "CHECK"},
                                   {Kind::Symbol, "("}, in[i - 1], {Kind::Word, "BETWEEN"},
                                   {Kind::Number, range->first}, {Kind::Word, "AND"}, {Kind::Number, range->second},
                                   {Kind::Symbol, ")"}});
        } else if (EqualsNoCase(type, "MEMO") || EqualsNoCase(type, "LONGTEXT")) {
            out.push_back(in[i]);
            out.insert(out.end(), {{Kind::Word, "COLLATE"}, {Kind::Word, "NOCASE"}});
        } else if (EqualsNoCase(type, "COUNTER") || EqualsNoCase(type, "AUTOINCREMENT")) {
            out.insert(out.end(), {{Kind::Word, "INTEGER"}, {Kind::Word, "PRIMARY"}, {Kind::Word, "KEY"},
                                   {Kind::Word, "AUTOINCREMENT"}});
            if (i + 1 < in.size() && IsSymbol(in[i + 1], "("))
                i = Closing(in, i + 1);
        } else {
            out.push_back(in[i]);
        }
    }
    return out;
}

void Push(std::vector<Token>& out, const char* word) { out.push_back({Kind::Word, word}); }

}  // namespace

Translation Translate(const std::string& jet, const TranslateOptions& options)
{
    Translator tr(options);
    std::vector<Token> t = Tokenize(jet);
    tr.TakeParameters(t);
    while (!t.empty() && IsSymbol(t.back(), ";"))
        t.pop_back();
    if (t.empty())
        SyntaxError(jet);

    std::vector<Token> out;
    if (IsWord(t[0], "SELECT")) {
        SelectParts p = SplitSelect(t, jet);
        Push(out, "SELECT");
        if (p.distinct || (p.distinctRow && DistinctRowNeedsDistinct(p)))
            Push(out, "DISTINCT");
        auto add = [&](const char* kw, const char* kw2, const std::vector<Token>& part) {
            if (part.empty())
                return;
            if (kw)
                Push(out, kw);
            if (kw2)
                Push(out, kw2);
            auto m = tr.Map(part);
            Append(out, m, 0, m.size());
        };
        add(nullptr, nullptr, p.list);
        add("FROM", nullptr, p.from);
        add("WHERE", nullptr, p.where);
        add("GROUP", "BY", p.groupBy);
        add("HAVING", nullptr, p.having);
        if (!p.orderBy.empty()) {
            Push(out, "ORDER");
            Push(out, "BY");
            auto m = SortKeys(tr.Map(p.orderBy));
            Append(out, m, 0, m.size());
        }
        if (!p.top.empty()) {
            Push(out, "LIMIT");
            out.push_back({Kind::Number, p.top});
        }
    } else {
        std::vector<Token> body = t;
        if (IsWord(body[0], "DELETE")) {
            // DELETE * FROM t, DELETE [t].* FROM t: the field list means nothing to SQLite.
            std::size_t from = 1;
            while (from < body.size() && !IsWord(body[from], "FROM"))
                ++from;
            body.erase(body.begin() + 1, body.begin() + static_cast<long>(from));
        }
        out = tr.Map(body);
        if (options.skipFailingRows && (IsWord(out[0], "INSERT") || IsWord(out[0], "UPDATE")))
            out.insert(out.begin() + 1, {{Kind::Word, "OR"}, {Kind::Word, "IGNORE"}});
        if (IsWord(out[0], "CREATE") && out.size() > 1 && IsWord(out[1], "TABLE"))
            out = ColumnTypes(out);
    }
    out = RewriteStatement(out);
    return {Join(out), tr.Used()};
}

Translation TranslateExpression(const std::string& jet, const TranslateOptions& options)
{
    Translator tr(options);
    auto out = RewriteExpression(tr.Map(Tokenize(jet)));
    return {Join(out), tr.Used()};
}

BuiltQuery BuildQuery(const QuerySpec& spec)
{
    TranslateOptions options;
    options.parameterNames = spec.parameterNames;
    Translator tr(options);
    std::vector<Token> src = Tokenize(spec.source);
    tr.TakeParameters(src);
    while (!src.empty() && IsSymbol(src.back(), ";"))
        src.pop_back();
    if (src.empty())
        SyntaxError(spec.source);

    SelectParts p;
    if (IsWord(src[0], "SELECT")) {
        p = SplitSelect(src, spec.source);
    } else {
        // A table name or a join: the statement is built around it from the bound columns.
        p.from = src;
        if (spec.columns.empty()) {
            p.list.push_back({Kind::Symbol, "*"});
        } else {
            for (std::size_t i = 0; i < spec.columns.size(); ++i) {
                if (i > 0)
                    p.list.push_back({Kind::Symbol, ","});
                auto col = Tokenize(spec.columns[i]);
                p.list.insert(p.list.end(), col.begin(), col.end());
            }
        }
    }
    if (!spec.filter.empty()) {
        auto f = Tokenize(spec.filter);
        if (p.where.empty()) {
            p.where = f;
        } else {
            std::vector<Token> w{{Kind::Symbol, "("}};
            w.insert(w.end(), p.where.begin(), p.where.end());
            w.push_back({Kind::Symbol, ")"});
            w.push_back({Kind::Word, "AND"});
            w.push_back({Kind::Symbol, "("});
            w.insert(w.end(), f.begin(), f.end());
            w.push_back({Kind::Symbol, ")"});
            p.where = std::move(w);
        }
    }
    if (!spec.sort.empty())
        p.orderBy = Tokenize(spec.sort);

    auto tables = FromTables(p.from);
    bool single = tables.size() == 1 && p.from.size() == 1;
    bool distinct = p.distinct || (p.distinctRow && DistinctRowNeedsDistinct(p));
    BuiltQuery q;
    q.keyed = single && !distinct && p.groupBy.empty() && p.having.empty() && !HasAggregate(p.list) && p.top.empty();

    auto list = tr.Map(p.list);
    auto from = tr.Map(p.from);
    std::vector<Token> out;
    Push(out, "SELECT");
    if (distinct)
        Push(out, "DISTINCT");
    if (q.keyed) {
        Append(out, from, 0, from.size());
        out.push_back({Kind::Symbol, "."});
        Push(out, "rowid");
        out.push_back({Kind::Symbol, ","});
        q.baseTable = tables[0];
    }
    Append(out, list, 0, list.size());
    Push(out, "FROM");
    Append(out, from, 0, from.size());
    if (!p.where.empty()) {
        Push(out, "WHERE");
        auto w = RewriteExpression(tr.Map(p.where));
        Append(out, w, 0, w.size());
    }
    if (!p.groupBy.empty()) {
        Push(out, "GROUP");
        Push(out, "BY");
        auto g = tr.Map(p.groupBy);
        Append(out, g, 0, g.size());
    }
    if (!p.having.empty()) {
        Push(out, "HAVING");
        auto h = RewriteExpression(tr.Map(p.having));
        Append(out, h, 0, h.size());
    }
    if (!p.orderBy.empty()) {
        Push(out, "ORDER");
        Push(out, "BY");
        auto o = SortKeys(tr.Map(p.orderBy));
        Append(out, o, 0, o.size());
    } else if (q.keyed) {
        // A dynaset without a sort lists its rows in table order.
        Push(out, "ORDER");
        Push(out, "BY");
        Append(out, from, 0, from.size());
        out.push_back({Kind::Symbol, "."});
        Push(out, "rowid");
    }
    if (!p.top.empty()) {
        Push(out, "LIMIT");
        out.push_back({Kind::Number, p.top});
    }
    q.select = {Join(out), tr.Used()};

    if (q.keyed) {
        Translator fetch(options);
        fetch.Reserve(std::string("\x01rowid"));
        auto flist = fetch.Map(p.list);
        std::vector<Token> f;
        Push(f, "SELECT");
        Append(f, flist, 0, flist.size());
        Push(f, "FROM");
        Append(f, from, 0, from.size());
        Push(f, "WHERE");
        Append(f, from, 0, from.size());
        f.push_back({Kind::Symbol, "."});
        Push(f, "rowid");
        f.push_back({Kind::Symbol, "="});
        f.push_back({Kind::Param, "?1"});
        q.fetchSql = Join(f);
        q.fetchParameters.assign(fetch.Used().begin() + 1, fetch.Used().end());
    }
    return q;
}

}  // namespace daosql
