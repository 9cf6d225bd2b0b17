// The registration programs' command line.
#include "common/VorbCommandLine.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

VorbCommandLine VorbCommandLine::Parse(const char* text)
{
    VorbCommandLine options;
    if (!text)
        return options;
    const std::string line = text;
    bool quoted = false;
    bool wordStart = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            quoted = !quoted;
            wordStart = false;
            continue;
        }
        if (IsBlank(c)) {
            wordStart = !quoted;
            continue;
        }
        bool option = c == '-' && wordStart && !quoted && i + 1 < line.size();
        wordStart = false;
        if (!option)
            continue;
        char letter = line[++i];
        if (letter == 'u' || letter == 'U') {
            options.uninstall = true;
        } else if (letter == 'd' || letter == 'D') {
            std::size_t start = i + 1;
            while (start < line.size() && IsBlank(line[start]))
                ++start;
            if (start < line.size() && line[start] == '"')
                ++start;  // a quoted folder: up to its closing quote, even when that is empty
            std::size_t end = line.find('"', start);
            std::string folder = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
            while (!folder.empty() && IsBlank(folder.back()))
                folder.pop_back();
            options.folder = folder;
            if (end == std::string::npos)
                break;
            i = end;  // the closing quote; what follows it is read as usual
        }
    }
    return options;
}

std::string FolderWithBackslash(const std::string& folder)
{
    if (folder.empty() || folder.back() == '\\')
        return folder;
    return folder + '\\';
}

std::string FolderWithoutBackslash(const std::string& folder)
{
    bool root = folder.size() == 3 && folder[1] == ':' && folder[2] == '\\';
    if (root || folder.empty() || folder.back() != '\\')
        return folder;
    return folder.substr(0, folder.size() - 1);
}
