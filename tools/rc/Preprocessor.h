// The preprocessor of resource scripts: #include, #define/#undef (names with a value),
// #if/#ifdef/#ifndef/#elif/#else/#endif, #pragma (ignored) and #error. Included headers (.h, .c)
// contribute only their directives, as with the platform's compiler, so a resource.h of
// #defines can be shared with the C++ sources. The platform's own headers (<windows.h>,
// <winres.h>, <afxres.h>, ...) need not exist: their names are built in (StyleNames.h).
#pragma once

#include "Token.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace rc {

class Preprocessor {
public:
    explicit Preprocessor(std::vector<std::string> includeDirs);

    // Defines a name, as -D on the command line does.
    void Define(const std::string& name, const std::string& value);
    // Reads the script and everything it includes; returns the tokens of the script's text with
    // every defined name replaced by its value.
    std::vector<Token> Run(const std::string& path);
    // Every file read, for the build's dependency list.
    const std::vector<std::string>& FilesRead() const { return m_filesRead; }

private:
    struct Macro {
        std::vector<Token> body;
        bool functionLike = false;
    };
    struct Condition {
        bool outerActive;
        bool taken;      // some branch of this #if has been taken
        bool active;     // this branch is being read
        bool seenElse;
        SourcePlace place;
    };

    void ReadFile(const std::string& path, const SourcePlace& from, int depth);
    void Directive(const std::vector<Token>& line, const std::string& currentFile, int depth,
                   const std::string& text);
    void Expand(const std::vector<Token>& in, std::vector<Token>& out, std::set<std::string>& busy,
                const SourcePlace* usedAt) const;
    bool EvaluateCondition(const std::vector<Token>& line, std::size_t from) const;
    bool Active() const { return m_conditions.empty() || m_conditions.back().active; }
    std::string FindInclude(const std::string& name, bool angled, const std::string& currentFile) const;

    std::vector<std::string> m_includeDirs;
    std::map<std::string, Macro> m_macros;
    std::vector<Condition> m_conditions;
    std::vector<Token> m_output;
    std::vector<std::string> m_filesRead;
};

// The directory part of a path ("" for a bare name), and a path joined to a directory.
std::string DirectoryOf(const std::string& path);
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace rc
