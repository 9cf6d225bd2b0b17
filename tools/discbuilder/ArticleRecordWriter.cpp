#include "ArticleRecordWriter.h"

#include <stdexcept>

namespace discbuilder {

namespace {

void Put16(std::string& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::size_t at, std::uint32_t value)
{
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

void Append16(std::string& out, std::uint32_t value)
{
    out.append(2, '\0');
    Put16(out, out.size() - 2, value);
}

void Append32(std::string& out, std::uint32_t value)
{
    out.append(4, '\0');
    Put32(out, out.size() - 4, value);
}

void Check(std::size_t value, std::size_t limit, const char* what)
{
    if (value > limit)
        throw std::invalid_argument(std::string("article record: too many ") + what);
}

std::string SectionData(const RecordSection& section, bool newLayout)
{
    std::string text;
    std::string runs;
    for (const RecordRun& run : section.runs) {
        bool noText = newLayout ? run.kind == 3 : run.noText;
        std::uint32_t length = noText ? 0 : static_cast<std::uint32_t>(run.text.size());
        if (!noText)
            text += run.text;
        if (newLayout) {
            Check(length, 0xFFFF, "characters in a paragraph");
            runs += static_cast<char>(((run.kind & 0x0F) << 4) | (run.flags & 0x0F));
            runs += static_cast<char>(run.style & 0xFF);
            Append16(runs, static_cast<std::uint32_t>(run.level));
            Append16(runs, length);
        } else {
            std::uint32_t word = (run.flags & 0x0F) | (run.noText ? 0x10 : 0) | (run.extra != 0 ? 0x20 : 0) |
                                 (run.heading ? 0x40 : 0) | (run.headingLevel ? 0x80 : 0) |
                                 ((run.style & 0xFF) << 8);
            Append16(runs, word);
            Append32(runs, length);
        }
        Append32(runs, run.extra);
    }
    Check(text.size(), 0xFFFF, "characters in a section");
    std::vector<std::uint16_t> styles = section.styles;
    if (styles.empty()) {
        for (std::size_t left = text.size(); left > 0;) {
            std::size_t take = std::min<std::size_t>(left, 0x7FFF);
            styles.push_back(static_cast<std::uint16_t>(take << 1));
            left -= take;
        }
    }
    Check(styles.size(), 0xFFFF, "style entries");
    Check(section.indents.size(), 0xFF, "indent entries");

    std::string header(newLayout ? 10 : 22, '\0');
    Put16(header, 0, static_cast<std::uint32_t>(section.runs.size()));
    Put16(header, newLayout ? 4 : 8, static_cast<std::uint32_t>(styles.size()));
    Put16(header, newLayout ? 6 : 10, static_cast<std::uint32_t>(text.size()));
    header[newLayout ? 9 : 12] = static_cast<char>(section.indents.size());
    std::string out = header + runs;
    for (std::uint16_t style : styles)
        Append16(out, style);
    out += text;
    for (const auto& indent : section.indents)
        out.append(reinterpret_cast<const char*>(indent.data()), 4);
    return out;
}

}  // namespace

std::uint32_t PackTextPosition(unsigned section, unsigned offset, unsigned length)
{
    return (section & 0xFF) | ((offset & 0x1FFFF) << 8) | ((length & 0x7F) << 25);
}

std::string WriteArticleRecord(const ArticleRecordSource& source)
{
    const bool newLayout = source.formatYear >= 1998;
    Check(source.sections.size(), 200, "sections");
    Check(source.tables.size(), 20, "tables");
    Check(source.extraTitles.size(), 20, "extra items");
    Check(source.media.size(), 0xFFFF, "media entries");
    Check(source.related.size(), 500, "related items");
    if (source.skippedEntries < 0 || source.skippedEntries > 127)
        throw std::invalid_argument("article record: skipped entries out of range");

    // Text area: sections, the picture area, then the tables.
    std::string textArea;
    std::vector<std::uint32_t> sectionStarts;
    for (const RecordSection& section : source.sections) {
        sectionStarts.push_back(static_cast<std::uint32_t>(textArea.size()));
        textArea += SectionData(section, newLayout);
    }
    textArea += source.pictures;
    const std::uint32_t sectionsEnd = static_cast<std::uint32_t>(textArea.size());
    std::vector<std::uint32_t> tableStarts;
    for (const RecordTable& table : source.tables) {
        tableStarts.push_back(static_cast<std::uint32_t>(textArea.size()));
        textArea += table.data;
    }

    // Entry lists and string pool.
    std::string lists;
    for (std::uint32_t start : sectionStarts) {
        Append32(lists, start);
        Append32(lists, 0);
    }
    for (std::uint32_t start : tableStarts) {
        Append32(lists, start);
        Append32(lists, 0);
    }
    for (const RecordMedia& media : source.media) {
        Append32(lists, media.rin);
        lists += media.kindLetter;
        lists += static_cast<char>(media.iconNumber);
        Append32(lists, 0);
    }
    std::vector<std::uint32_t> positions;
    for (std::size_t i = 0; i < source.links.size(); ++i) {
        const RecordLink& link = source.links[i];
        Append16(lists, static_cast<std::uint32_t>(i));
        Append16(lists, static_cast<std::uint32_t>(link.positions.size()));
        Append16(lists, static_cast<std::uint32_t>(positions.size()));
        Append32(lists, 0);
        positions.insert(positions.end(), link.positions.begin(), link.positions.end());
    }
    Check(positions.size(), 0xFFFF, "link positions");
    for (const RecordRelated& related : source.related) {
        Append32(lists, related.rin);
        lists += static_cast<char>(related.flag);
        lists += static_cast<char>(related.link.empty() ? 1 : 0);
    }
    for (std::uint32_t position : positions)
        Append32(lists, position);
    lists.append(static_cast<std::size_t>(source.skippedEntries) * 10, '\0');

    std::string pool;
    auto add = [&pool](const std::string& s) {
        pool += s;
        pool += '\0';
    };
    add(source.title);
    for (const RecordSection& section : source.sections)
        add(section.title);
    for (const RecordTable& table : source.tables)
        add(table.title);
    if (newLayout)
        for (const std::string& title : source.extraTitles)
            add(title);
    for (const std::string& caption : source.captions)
        add(caption);
    for (const RecordLink& link : source.links)
        add(link.target);
    for (const RecordRelated& related : source.related)
        add(related.title);
    std::vector<std::string> relatedLinks = source.relatedLinks;
    if (relatedLinks.empty())
        for (const RecordRelated& related : source.related)
            if (!related.link.empty())
                relatedLinks.push_back(related.link);
    for (const std::string& link : relatedLinks)
        add(link);
    if (!newLayout)
        for (const std::string& s : source.trailing)
            add(s);
    Check(pool.size(), 0xFFFF, "bytes of strings");

    std::string header(82, '\0');
    Put32(header, 0, static_cast<std::uint32_t>(source.rin));
    std::string year = std::to_string(source.formatYear);
    if (year.size() != 4)
        throw std::invalid_argument("article record: the format year has four digits");
    header.replace(26, 4, year);
    std::string date = source.issueDate;
    date.resize(8, ' ');
    header.replace(32, 8, date);
    header[40] = static_cast<char>(source.sections.size());
    header[41] = static_cast<char>(source.tables.size());
    Put16(header, 42, static_cast<std::uint32_t>(source.links.size()));
    Put16(header, 44, static_cast<std::uint32_t>(source.related.size()));
    Put16(header, 46, static_cast<std::uint32_t>(positions.size()));
    Put16(header, 48, static_cast<std::uint32_t>(pool.size()));
    Put32(header, 50, sectionsEnd);
    header[55] = static_cast<char>(source.skippedEntries);
    Put16(header, 72, static_cast<std::uint32_t>(source.media.size()));
    if (newLayout) {
        int count = source.relatedLinkCountField >= 0
                        ? source.relatedLinkCountField
                        : (relatedLinks.empty() ? 0 : static_cast<int>(relatedLinks.size()) - 1);
        Put16(header, 74, static_cast<std::uint32_t>(count));
        Put16(header, 76, static_cast<std::uint32_t>(source.extraTitles.size()));
    }
    Put32(header, 78, static_cast<std::uint32_t>(source.pictures.size()));

    return header + lists + pool + std::string(12, '\0') + textArea;
}

}  // namespace discbuilder
