#include "FoldocJustLooking.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace foldoc {

namespace {

constexpr std::size_t kShowTitleLength = 100;
constexpr std::size_t kFirstLineLength = 200;

std::string Clean(std::string text)
{
    for (char& ch : text)
        if (ch == '|' || ch == '\r' || ch == '\n' || ch == '\t')
            ch = ch == '|' ? '/' : ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The paragraph without its sense number and domain marker, its cross-references as plain text.
std::string PlainParagraph(std::string p)
{
    std::size_t digits = 0;
    while (digits < p.size() && p[digits] >= '0' && p[digits] <= '9')
        ++digits;
    if (digits > 0 && p.compare(digits, 2, ". ") == 0)
        p = p.substr(digits + 2);
    if (!p.empty() && p[0] == '<') {
        const std::size_t close = p.find('>');
        if (close != std::string::npos)
            p = p.substr(close + 1);
    }
    std::string out;
    for (char ch : p)
        if (ch != '{' && ch != '}')
            out += ch;
    const std::size_t first = out.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first);
}

void Write(const std::filesystem::path& path, const std::string& text, std::ios::openmode mode)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | mode);
    out << text;
    if (!out)
        throw std::runtime_error(path.string() + ": cannot be written");
}

}  // namespace

std::string JustLookingCategory(const FoldocEntry& entry)
{
    static const char* const codes[10] = {"IND", "HUM", "IND", "SOC", "PHY", "IND", "REC", "SOC", "HIS", "LIF"};
    for (const std::string& p : entry.paragraphs) {
        std::size_t start = p.find_first_not_of("0123456789. ");
        if (start == std::string::npos || p[start] != '<')
            continue;
        const std::size_t close = p.find('>', start);
        if (close != std::string::npos)
            return codes[CategoryOfDomain(p.substr(start + 1, close - start - 1))];
    }
    return codes[0];
}

std::string FirstLineOf(const FoldocEntry& entry)
{
    for (const std::string& p : entry.paragraphs) {
        std::string text = Clean(PlainParagraph(p));
        if (text.empty())
            continue;
        const std::size_t end = text.find(". ");
        if (end != std::string::npos)
            text = text.substr(0, end + 1);
        if (text.size() > kFirstLineLength) {
            text = text.substr(0, kFirstLineLength);
            const std::size_t blank = text.rfind(' ');
            if (blank != std::string::npos && blank > kFirstLineLength / 2)
                text = text.substr(0, blank);
            text += "...";
        }
        return text;
    }
    return std::string();
}

JustLookingRows MakeJustLookingRows(const std::vector<FoldocEntry>& entries)
{
    JustLookingRows rows;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FoldocEntry& entry = entries[i];
        std::string title = Clean(entry.title).substr(0, kShowTitleLength);
        while (!title.empty() && title.back() == ' ')
            title.pop_back();
        if (title.empty())
            continue;
        const std::int32_t rin = kFirstRin + static_cast<std::int32_t>(i);
        const std::string number = std::to_string(rin);
        const std::string category = JustLookingCategory(entry);
        rows.items += title + "|" + number + "|" + category + "|Artcl|1|Y\n";
        rows.shows += title + "|" + number + "|Artcl|" + category + "\n";
        const std::string firstLine = FirstLineOf(entry);
        if (!firstLine.empty()) {
            char key[16];
            std::snprintf(key, sizeof key, "%07d", static_cast<int>(rin));
            rows.firstLines += std::string(key) + "|" + firstLine + "\n";
        }
    }
    return rows;
}

std::size_t WriteJustLookingSources(const std::filesystem::path& dictdFolder, const std::filesystem::path& sourcesFolder,
                                    std::size_t limit)
{
    const std::vector<FoldocEntry> entries =
        ReadFoldoc(dictdFolder / "foldoc.index", dictdFolder / "foldoc.dict.dz", limit);
    const JustLookingRows rows = MakeJustLookingRows(entries);
    Write(sourcesFolder / "database" / "dadavaveroz.txt",
          "# The browsing view's items: one per FOLDOC article.\n" + rows.items, std::ios::trunc);
    Write(sourcesFolder / "database" / "firstlines.txt", rows.firstLines, std::ios::app);
    Write(sourcesFolder / "lists" / "shows.txt", "# The show list: one row per FOLDOC article.\n" + rows.shows,
          std::ios::trunc);
    return entries.size();
}

}  // namespace foldoc
