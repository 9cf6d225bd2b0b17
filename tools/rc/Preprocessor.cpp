#include "Preprocessor.h"

#include "Expression.h"
#include "StyleNames.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace rc {

namespace {

// The platform's headers that scripts include by habit; their names are built in.
const char* const kBuiltInHeaders[] = {"windows.h", "winres.h",  "winresrc.h", "afxres.h", "winuser.h",
                                       "winver.h",  "commctrl.h", "dlgs.h",    "winnt.h",  "afxres.rc"};

bool FileExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsHeader(const std::string& path)
{
    std::string lower = Lower(path);
    for (const char* ext : {".h", ".hpp", ".hh", ".c"})
        if (lower.size() > std::strlen(ext) && lower.compare(lower.size() - std::strlen(ext), std::string::npos, ext) == 0)
            return true;
    return false;
}

// Removes comments from one line; `inBlock` carries an open /* comment to the next line.
std::string StripComments(const std::string& line, bool& inBlock)
{
    std::string out;
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (inBlock) {
            if (c == '*' && i + 1 < line.size() && line[i + 1] == '/') {
                inBlock = false;
                ++i;
                out += ' ';
            }
            continue;
        }
        if (inString) {
            out += c;
            if (c == '\\' && i + 1 < line.size())
                out += line[++i];
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            out += c;
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            break;
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
            inBlock = true;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string DirectoryOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    std::string n = name;
    std::replace(n.begin(), n.end(), '\\', '/');
    if (dir.empty() || (!n.empty() && n[0] == '/'))
        return n;
    return dir + "/" + n;
}

Preprocessor::Preprocessor(std::vector<std::string> includeDirs) : m_includeDirs(std::move(includeDirs))
{
    std::size_t count = 0;
    const PredefinedName* names = PredefinedNames(count);
    for (std::size_t i = 0; i < count; ++i) {
        Token t;
        t.kind = TokenKind::Number;
        t.value = names[i].value;
        t.text = std::to_string(names[i].value);
        m_macros[std::string(names[i].name)].body.push_back(t);
    }
}

void Preprocessor::Define(const std::string& name, const std::string& value)
{
    Macro macro;
    TokenizeLine(value, SourcePlace{"<command line>", 0}, macro.body);
    m_macros[name] = std::move(macro);
}

std::vector<Token> Preprocessor::Run(const std::string& path)
{
    m_output.clear();
    m_conditions.clear();
    ReadFile(path, SourcePlace{path, 0}, 0);
    Token end;
    end.kind = TokenKind::End;
    end.place = SourcePlace{path, m_output.empty() ? 0 : m_output.back().place.line};
    m_output.push_back(end);
    return std::move(m_output);
}

std::string Preprocessor::FindInclude(const std::string& name, bool angled, const std::string& currentFile) const
{
    if (!angled) {
        std::string local = JoinPath(DirectoryOf(currentFile), name);
        if (FileExists(local))
            return local;
    }
    for (const std::string& dir : m_includeDirs) {
        std::string candidate = JoinPath(dir, name);
        if (FileExists(candidate))
            return candidate;
    }
    return {};
}

void Preprocessor::ReadFile(const std::string& path, const SourcePlace& from, int depth)
{
    if (depth > 32)
        throw CompileError(from, "#include nested too deeply (a file includes itself?)");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CompileError(from, "cannot open '" + path + "'");
    m_filesRead.push_back(path);
    const bool header = IsHeader(path);
    const std::size_t conditionDepth = m_conditions.size();

    std::string raw;
    int lineNumber = 0;
    bool inBlock = false;
    while (std::getline(in, raw)) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        SourcePlace place{path, lineNumber};
        std::string text = StripComments(raw, inBlock);
        std::size_t first = text.find_first_not_of(" \t");
        bool directive = first != std::string::npos && text[first] == '#';
        // A directive continues on the next line after a trailing backslash.
        while (directive && !text.empty() && text.back() == '\\') {
            text.pop_back();
            if (!std::getline(in, raw))
                break;
            ++lineNumber;
            if (!raw.empty() && raw.back() == '\r')
                raw.pop_back();
            text += StripComments(raw, inBlock);
        }
        if (!directive && (header || !Active()))
            continue;
        std::vector<Token> tokens;
        if (directive) {
            // Inactive branches are skipped without complaint about their text.
            try {
                TokenizeLine(text, place, tokens);
            } catch (const CompileError&) {
                if (Active())
                    throw;
                TokenizeLine(text.substr(0, text.find_first_of(" \t", first + 1)), place, tokens);
            }
            Directive(tokens, path, depth, text);
        } else {
            TokenizeLine(text, place, tokens);
            std::set<std::string> busy;
            Expand(tokens, m_output, busy, nullptr);
        }
    }
    if (m_conditions.size() > conditionDepth)
        throw CompileError(m_conditions.back().place, "#if without #endif");
}

void Preprocessor::Expand(const std::vector<Token>& in, std::vector<Token>& out, std::set<std::string>& busy,
                          const SourcePlace* usedAt) const
{
    for (const Token& token : in) {
        if (token.kind == TokenKind::Identifier && !busy.count(token.text)) {
            auto it = m_macros.find(token.text);
            if (it != m_macros.end()) {
                if (it->second.functionLike)
                    throw CompileError(usedAt ? *usedAt : token.place,
                                       "macro '" + token.text + "' takes arguments, which scripts do not support");
                busy.insert(token.text);
                Expand(it->second.body, out, busy, usedAt ? usedAt : &token.place);
                busy.erase(token.text);
                continue;
            }
        }
        out.push_back(token);
        if (usedAt)
            out.back().place = *usedAt;
    }
}

bool Preprocessor::EvaluateCondition(const std::vector<Token>& line, std::size_t from) const
{
    // "defined NAME" and "defined(NAME)" are decided before names are replaced.
    std::vector<Token> resolved;
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i].kind == TokenKind::Identifier && line[i].text == "defined") {
            std::size_t j = i + 1;
            bool paren = j < line.size() && line[j].IsPunct("(");
            if (paren)
                ++j;
            if (j >= line.size() || line[j].kind != TokenKind::Identifier)
                throw CompileError(line[i].place, "'defined' needs a name");
            Token value = line[i];
            value.kind = TokenKind::Number;
            value.value = m_macros.count(line[j].text) ? 1 : 0;
            resolved.push_back(value);
            if (paren) {
                ++j;
                if (j >= line.size() || !line[j].IsPunct(")"))
                    throw CompileError(line[i].place, "expected ')' after 'defined(" + line[j - 1].text + "'");
            }
            i = j;
            continue;
        }
        resolved.push_back(line[i]);
    }
    std::vector<Token> expanded;
    std::set<std::string> busy;
    Expand(resolved, expanded, busy, nullptr);
    if (expanded.empty())
        throw CompileError(line.front().place, "#" + line[1].text + " without an expression");
    std::size_t pos = 0;
    ExpressionReader reader(expanded, pos, true);
    Value v = reader.Read();
    if (pos != expanded.size())
        throw CompileError(expanded[pos].place, "unexpected '" + expanded[pos].text + "' in #" + line[1].text);
    return v.value != 0;
}

void Preprocessor::Directive(const std::vector<Token>& line, const std::string& currentFile, int depth,
                             const std::string& text)
{
    const SourcePlace& place = line.front().place;
    if (line.size() < 2)
        return;  // a lone '#' is allowed
    if (line[1].kind != TokenKind::Identifier)
        throw CompileError(place, "malformed directive");
    const std::string& name = line[1].text;

    if (name == "if" || name == "ifdef" || name == "ifndef") {
        bool outer = Active();
        bool value = false;
        if (outer) {
            if (name == "if") {
                value = EvaluateCondition(line, 2);
            } else {
                if (line.size() < 3 || line[2].kind != TokenKind::Identifier)
                    throw CompileError(place, "#" + name + " needs a name");
                value = m_macros.count(line[2].text) != 0;
                if (name == "ifndef")
                    value = !value;
            }
        }
        m_conditions.push_back(Condition{outer, outer && value, outer && value, false, place});
        return;
    }
    if (name == "elif" || name == "else" || name == "endif") {
        if (m_conditions.empty())
            throw CompileError(place, "#" + name + " without #if");
        Condition& c = m_conditions.back();
        if (name == "endif") {
            m_conditions.pop_back();
            return;
        }
        if (c.seenElse)
            throw CompileError(place, "#" + name + " after #else");
        if (name == "else") {
            c.seenElse = true;
            c.active = c.outerActive && !c.taken;
        } else {
            c.active = c.outerActive && !c.taken && EvaluateCondition(line, 2);
        }
        c.taken = c.taken || c.active;
        return;
    }
    if (!Active())
        return;

    if (name == "define") {
        if (line.size() < 3 || line[2].kind != TokenKind::Identifier)
            throw CompileError(place, "#define needs a name");
        Macro macro;
        std::size_t bodyStart = 3;
        // A '(' right after the name, with no space, makes a macro with arguments.
        std::size_t nameAt = text.find(line[2].text, text.find("define") + 6);
        std::size_t after = nameAt + line[2].text.size();
        if (line.size() > 3 && line[3].IsPunct("(") && after < text.size() && text[after] == '(') {
            macro.functionLike = true;
            bodyStart = line.size();
        }
        macro.body.assign(line.begin() + static_cast<std::ptrdiff_t>(bodyStart), line.end());
        m_macros[line[2].text] = std::move(macro);
    } else if (name == "undef") {
        if (line.size() < 3 || line[2].kind != TokenKind::Identifier)
            throw CompileError(place, "#undef needs a name");
        m_macros.erase(line[2].text);
    } else if (name == "include") {
        std::string file;
        bool angled = false;
        if (line.size() >= 3 && line[2].kind == TokenKind::String) {
            file = line[2].text;
        } else if (line.size() >= 3 && line[2].IsPunct("<")) {
            angled = true;
            std::size_t i = 3;
            for (; i < line.size() && !line[i].IsPunct(">"); ++i)
                file += line[i].text;
            if (i == line.size())
                throw CompileError(place, "#include <... without '>'");
        } else {
            throw CompileError(place, "#include needs a file name");
        }
        std::string found = FindInclude(file, angled, currentFile);
        if (found.empty()) {
            std::string base = Lower(file.substr(file.find_last_of("/\\") + 1));
            for (const char* builtIn : kBuiltInHeaders)
                if (base == builtIn)
                    return;
            throw CompileError(place, "cannot find include file '" + file + "'");
        }
        ReadFile(found, place, depth + 1);
    } else if (name == "pragma" || name == "line") {
        // code_page, once and friends change nothing here.
    } else if (name == "error") {
        std::string text;
        for (std::size_t i = 2; i < line.size(); ++i)
            text += (i > 2 ? " " : "") + line[i].text;
        throw CompileError(place, "#error " + text);
    } else {
        throw CompileError(place, "unknown directive '#" + name + "'");
    }
}

}  // namespace rc
