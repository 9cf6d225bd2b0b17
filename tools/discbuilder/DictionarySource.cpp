#include "DictionarySource.h"

#include "SourceText.h"

#include <host/Resources.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace discbuilder {

namespace {

// Characters of U+00B3 to U+00DA (and U+00FF) as plain text, since their bytes are codes.
const char* const kTransliterated[] = {
    "3", "'", "u", "P", ".", ",", "1", "o", ">>", "1/4", "1/2", "3/4", "?",  // B3-BF
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",  // C0-CF
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U",                             // D0-DA
};

// Characters outside the code page with a plain relative.
std::string PlainRelative(char32_t code)
{
    switch (code) {
    case 0x2010: case 0x2011: case 0x2012: case 0x2212: return "-";
    case 0x2032: return "'";
    case 0x2033: return "\"";
    case 0x0101: case 0x0103: case 0x0105: case 0x01CE: return "a";
    case 0x0113: case 0x0115: case 0x0117: case 0x0119: case 0x011B: return "e";
    case 0x012B: case 0x012D: case 0x012F: return "i";
    case 0x014D: case 0x014F: case 0x0151: return "o";
    case 0x016B: case 0x016D: case 0x016F: case 0x0171: return "u";
    case 0x0107: case 0x010D: return "c";
    case 0x0144: case 0x0148: return "n";
    case 0x0159: return "r";
    case 0x015B: return "s";
    case 0x0142: return "l";
    default: return "?";
    }
}

// One character as definitions-file text.
void AppendCharacter(std::string& out, char32_t code)
{
    if (code == '\t') {
        out += '\t';
        return;
    }
    if (code < 0x20 || code == 0x7F) {
        out += ' ';
        return;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    if ((code >= 0xB3 && code <= 0xDA)) {
        out += kTransliterated[code - 0xB3];
        return;
    }
    if (code == 0xFF) {
        out += 'y';
        return;
    }
    if (code >= 0xA0 && code < 0x100) {
        out += static_cast<char>(code);
        return;
    }
    const char byte = code <= 0xFFFF ? host::Cp1252FromResourceChar(static_cast<char16_t>(code)) : '?';
    // The code page's own characters of 0x80-0x9F stay (its five unassigned bytes do not).
    if (byte != '?' && code >= 0x100) {
        out += byte;
        return;
    }
    out += PlainRelative(code);
}

}  // namespace

std::string DictionaryPlainText(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t code = DecodeUtf8(utf8, i);
        AppendCharacter(out, code);
    }
    return out;
}

std::string EncodeDictionaryText(const std::string& utf8Markup)
{
    std::string out;
    bool bold = false, italic = false;
    for (std::size_t i = 0; i < utf8Markup.size();) {
        const char ch = utf8Markup[i];
        if (ch == '\\' && i + 1 < utf8Markup.size()) {
            ++i;
            AppendCharacter(out, DecodeUtf8(utf8Markup, i));
            continue;
        }
        if (ch == '*' && i + 1 < utf8Markup.size() && utf8Markup[i + 1] == '*') {
            bold = !bold;
            out += static_cast<char>(bold ? kDictBold : (italic ? kDictItalic : kDictRegular));
            i += 2;
            continue;
        }
        if (ch == '*') {
            italic = !italic;
            out += static_cast<char>(italic ? kDictItalic : (bold ? kDictBold : kDictRegular));
            ++i;
            continue;
        }
        AppendCharacter(out, DecodeUtf8(utf8Markup, i));
    }
    if (bold || italic)
        out += static_cast<char>(kDictRegular);
    return out;
}

DictionaryEntry MakeDictionaryEntry(const std::string& headword, const std::string& rest,
                                    const std::vector<std::string>& lines)
{
    DictionaryEntry entry;
    entry.headword = DictionaryPlainText(headword);
    // A comma would end the headword early in the program's reading of it.
    std::replace(entry.headword.begin(), entry.headword.end(), ',', ' ');
    std::replace(entry.headword.begin(), entry.headword.end(), '\t', ' ');
    entry.firstLine += static_cast<char>(kDictEntryMark);
    entry.firstLine += static_cast<char>(kDictBold);
    entry.firstLine += entry.headword;
    entry.firstLine += static_cast<char>(kDictHeadwordEnd);
    entry.firstLine += static_cast<char>(kDictRegular);
    if (!rest.empty()) {
        entry.firstLine += ' ';
        entry.firstLine += EncodeDictionaryText(rest);
    }
    for (const std::string& line : lines)
        entry.lines.push_back(EncodeDictionaryText(line));
    return entry;
}

std::vector<DictionaryEntry> ParseDictionarySource(const std::string& text, const std::string& name)
{
    std::vector<DictionaryEntry> entries;
    std::string headword, rest;
    std::vector<std::string> lines, others;
    bool open = false;
    auto flush = [&]() {
        if (open) {
            entries.push_back(MakeDictionaryEntry(headword, rest, lines));
            for (const std::string& other : others)
                entries.back().otherHeadwords.push_back(DictionaryPlainText(other));
        }
        lines.clear();
        others.clear();
    };
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = TrimSource(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        if (trimmed.compare(0, 2, "@+") == 0) {
            if (!open)
                throw std::runtime_error(name + ":" + std::to_string(number) + ": another headword before the first entry");
            const std::string other = TrimSource(trimmed.substr(2));
            if (other.empty())
                throw std::runtime_error(name + ":" + std::to_string(number) + ": another headword without its text");
            others.push_back(other);
            continue;
        }
        if (trimmed[0] == '@') {
            flush();
            const std::string head = trimmed.substr(1);
            const std::size_t bar = head.find('|');
            headword = TrimSource(head.substr(0, bar));
            rest = bar == std::string::npos ? std::string() : TrimSource(head.substr(bar + 1));
            if (headword.empty())
                throw std::runtime_error(name + ":" + std::to_string(number) + ": an entry without its headword");
            open = true;
            continue;
        }
        if (!open)
            throw std::runtime_error(name + ":" + std::to_string(number) + ": a definition before the first entry");
        if (trimmed[0] == '>')
            lines.push_back("\t" + TrimSource(trimmed.substr(1)));
        else
            lines.push_back(trimmed);
    }
    flush();
    return entries;
}

std::vector<DictionaryEntry> ReadDictionarySources(const std::filesystem::path& folder)
{
    std::vector<DictionaryEntry> entries;
    if (!std::filesystem::is_directory(folder))
        return entries;
    std::vector<std::filesystem::path> files;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        if (item.path().extension() == ".txt")
            files.push_back(item.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            throw std::runtime_error(file.string() + ": cannot be read");
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<DictionaryEntry> part = ParseDictionarySource(text, file.filename().string());
        entries.insert(entries.end(), part.begin(), part.end());
    }
    return entries;
}

}  // namespace discbuilder
