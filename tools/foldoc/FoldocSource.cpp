#include "FoldocSource.h"

#include <DictdDatabase.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

namespace foldoc {

namespace {

// UTF-8 to the Western code page; characters it lacks become spaces (a few become their plain
// equivalents).
std::string ToWestern(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
            out += ' ';
            ++i;
            continue;
        }
        std::uint32_t code = c & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80)
                ok = false;
            code = (code << 6) | (cc & 0x3F);
        }
        i += ok ? static_cast<std::size_t>(extra) + 1 : 1;
        if (!ok)
            out += ' ';
        else if (code >= 0xA0 && code <= 0xFF)
            out += static_cast<char>(code);
        else if (code == 0x2018 || code == 0x2019)
            out += '\'';
        else if (code == 0x201C || code == 0x201D)
            out += '"';
        else if (code == 0x2013 || code == 0x2014)
            out += '-';
        else
            out += ' ';
    }
    return out;
}

std::string Lower(std::string s)
{
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

std::string CollapseSpaces(const std::string& s)
{
    std::string out;
    for (char ch : s) {
        if (ch == '\t' || ch == '\r' || ch == '\n')
            ch = ' ';
        if (ch == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += ch;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

struct RawEntry {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::vector<std::string> keys;
};

// Plain text in the article source's markup: "*", "[" and "\" are written with a backslash.
std::string Escaped(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        if (ch == '*' || ch == '[' || ch == '\\')
            out += '\\';
        out += ch;
    }
    return out;
}

// The sense number a paragraph starts with ("2. ..."), 0 for none.
int SenseNumber(const std::string& paragraph)
{
    std::size_t i = 0;
    while (i < paragraph.size() && i < 3 && std::isdigit(static_cast<unsigned char>(paragraph[i])))
        ++i;
    if (i == 0 || i + 1 >= paragraph.size() || paragraph[i] != '.' || paragraph[i + 1] != ' ')
        return 0;
    return std::atoi(paragraph.substr(0, i).c_str());
}

}  // namespace

int CategoryOfDomain(const std::string& domains)
{
    std::string first = Lower(domains.substr(0, domains.find(',')));
    first = CollapseSpaces(first);
    if (first.empty())
        return 0;
    static const std::pair<const char*, int> table[] = {
        {"language", 1},   {"programming", 2}, {"networking", 3}, {"hardware", 4}, {"architecture", 4},
        {"operating system", 5}, {"jargon", 6}, {"company", 7},   {"business", 7}, {"standard", 8},
        {"protocol", 8},
    };
    for (const auto& [name, category] : table)
        if (first == name)
            return category;
    return 9;
}

std::vector<FoldocEntry> ReadFoldoc(const std::filesystem::path& indexFile, const std::filesystem::path& dictFile,
                                    std::size_t limit)
{
    const dictd::Database db = dictd::ReadDatabase(indexFile, dictFile, "foldoc.index");
    const std::string& dict = db.text;
    std::vector<RawEntry> raws;
    std::map<std::uint64_t, std::size_t> byOffset;
    for (const dictd::IndexEntry& item : db.index) {
        RawEntry raw;
        raw.offset = item.offset;
        raw.length = item.length;
        auto it = byOffset.find(raw.offset);
        if (it != byOffset.end())
            continue;
        byOffset[raw.offset] = raws.size();
        raws.push_back(raw);
        if (limit != 0 && raws.size() >= limit)
            break;
    }

    std::vector<FoldocEntry> entries;
    for (const RawEntry& raw : raws) {
        const std::string text = ToWestern(dict.substr(static_cast<std::size_t>(raw.offset), static_cast<std::size_t>(raw.length)));
        FoldocEntry entry;
        std::istringstream body(text);
        bool inHeadwords = true;
        std::string paragraph;
        std::string line;
        auto flush = [&]() {
            std::string p = CollapseSpaces(paragraph);
            if (!p.empty())
                entry.paragraphs.push_back(p);
            paragraph.clear();
        };
        while (std::getline(body, line)) {
            const bool blank = line.find_first_not_of(" \t\r") == std::string::npos;
            if (inHeadwords) {
                if (blank) {
                    inHeadwords = false;
                } else if (entry.title.empty()) {
                    entry.title = CollapseSpaces(line).substr(0, 200);
                }
                continue;
            }
            if (blank) {
                flush();
                continue;
            }
            paragraph += ' ';
            paragraph += line;
        }
        flush();
        if (entry.title.empty())
            continue;
        entries.push_back(entry);
    }
    return entries;
}

std::vector<ArticleSourceFile> MakeArticleSources(const std::vector<FoldocEntry>& entries)
{
    std::map<std::string, std::int32_t> rins;
    for (std::size_t i = 0; i < entries.size(); ++i)
        rins.emplace(Lower(entries[i].title), kFirstRin + static_cast<std::int32_t>(i));

    std::vector<ArticleSourceFile> files;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FoldocEntry& entry = entries[i];
        const std::int32_t rin = kFirstRin + static_cast<std::int32_t>(i);
        int category = 0;
        std::ostringstream body;
        int senses = 0;
        for (const std::string& p : entry.paragraphs)
            if (SenseNumber(p) > 0)
                ++senses;
        body << "= " << entry.title << "\n";
        for (std::string p : entry.paragraphs) {
            const int sense = senses >= 2 ? SenseNumber(p) : 0;
            if (sense > 0) {
                body << "\n= Sense " << sense << "\n";
                p = p.substr(p.find(' ') + 1);
            }
            // A leading domain marker names the article's category.
            if (!p.empty() && p[0] == '<') {
                const std::size_t close = p.find('>');
                if (close != std::string::npos) {
                    if (category == 0)
                        category = CategoryOfDomain(p.substr(1, close - 1));
                    p = CollapseSpaces(p.substr(close + 1));
                }
            }
            // Cross-references in braces become links.
            std::string out;
            std::size_t pos = 0;
            while (pos < p.size()) {
                const std::size_t open = p.find('{', pos);
                const std::size_t close = open == std::string::npos ? open : p.find('}', open);
                if (close == std::string::npos) {
                    out += Escaped(p.substr(pos));
                    break;
                }
                out += Escaped(p.substr(pos, open - pos));
                std::string label = CollapseSpaces(p.substr(open + 1, close - open - 1));
                const std::size_t url = label.find(" (");
                if (url != std::string::npos && label.back() == ')')
                    label = label.substr(0, url);
                auto target = rins.find(Lower(label));
                if (target != rins.end() && !label.empty() && label.size() <= 127 &&
                    label.find_first_of("*[]()\\") == std::string::npos) {
                    char number[16];
                    std::snprintf(number, sizeof number, "%06d", target->second);
                    out += "[" + label + "](vl://" + number + ")";
                } else {
                    out += Escaped(label);
                }
                pos = close + 1;
            }
            if (out.empty())
                continue;
            if (out[0] == '#' || out[0] == '=')
                out = "\\" + out;
            body << "\n" << out << "\n";
        }
        std::ostringstream text;
        text << "number: " << rin << "\n";
        text << "title: " << entry.title << "\n";
        if (category > 0)
            text << "category: " << category << "\n";
        text << "\n" << body.str();
        char name[32];
        std::snprintf(name, sizeof name, "%06d.txt", rin);
        files.push_back(ArticleSourceFile{name, text.str()});
    }
    return files;
}

std::size_t WriteArticleSources(const std::filesystem::path& dictdFolder, const std::filesystem::path& outFolder,
                                std::size_t limit)
{
    const std::vector<ArticleSourceFile> files =
        MakeArticleSources(ReadFoldoc(dictdFolder / "foldoc.index", dictdFolder / "foldoc.dict.dz", limit));
    std::filesystem::create_directories(outFolder);
    for (const ArticleSourceFile& file : files) {
        std::ofstream out(outFolder / file.fileName, std::ios::binary | std::ios::trunc);
        out << file.text;
        if (!out)
            throw std::runtime_error((outFolder / file.fileName).string() + ": cannot be written");
    }
    return files.size();
}

}  // namespace foldoc
