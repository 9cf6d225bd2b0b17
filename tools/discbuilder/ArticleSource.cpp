#include "ArticleSource.h"

#include "GifWriter.h"
#include "PictureSource.h"
#include "SourceText.h"
#include "TableSource.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace discbuilder {

namespace {

enum : int { kStyleBold = 0, kStyleItalic = 2 };

class Parser {
public:
    Parser(const std::string& fileName, const std::filesystem::path& pictureFolder)
        : m_fileName(fileName), m_pictureFolder(pictureFolder)
    {
    }

    ArticleRecordSource Run(const std::string& text)
    {
        m_source.formatYear = 1999;
        std::stringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            ++m_line;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            Line(line);
        }
        FlushParagraph();
        if (m_inTable)
            Fail("a table is not ended with \"+end\"");
        if (m_source.rin == 0)
            Fail("the article has no number");
        if (m_source.title.empty())
            Fail("the article has no title");
        return m_source;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error(m_fileName + ":" + std::to_string(m_line) + ": " + what);
    }

    void Line(const std::string& raw)
    {
        std::string line = TrimSource(raw);
        if (m_inTable || line.rfind("+table", 0) == 0) {
            TableLine(line);
            return;
        }
        if (line.empty()) {
            FlushParagraph();
            return;
        }
        if (line[0] == '#' && line.rfind("###", 0) != 0)
            return;
        if (line.rfind("= ", 0) == 0) {
            FlushParagraph();
            RecordSection section;
            section.title = TrimSource(line.substr(2));
            m_source.sections.push_back(section);
            m_styles.emplace_back();
            return;
        }
        if (m_source.sections.empty()) {
            HeaderLine(line);
            return;
        }
        if (line.rfind("###", 0) == 0) {
            FlushParagraph();
            AddTextParagraph("**" + TrimSource(line.substr(3)) + "**");
            return;
        }
        if (line.front() == '[' && line.back() == ']' && SpecialParagraph(line))
            return;
        if (m_paragraph.empty() && line.front() == '{' && ParagraphFlag(line))
            return;
        if (line.front() == '[' && line.back() == ']' &&
            (line.rfind("[media ", 0) == 0 || line.rfind("[extra ", 0) == 0)) {
            FlushParagraph();
            bool media = line.rfind("[media ", 0) == 0;
            int index = std::atoi(line.c_str() + 7);
            std::size_t count = media ? m_source.media.size() : m_source.extraTitles.size();
            if (index < 0 || static_cast<std::size_t>(index) >= count)
                Fail(std::string("no ") + (media ? "media entry " : "extra item ") + std::to_string(index));
            RecordRun run;
            run.kind = media ? 4 : 6;
            run.style = index;
            if (!media)
                run.extra = m_extraNumbers[static_cast<std::size_t>(index)];
            m_source.sections.back().runs.push_back(run);
            return;
        }
        if (!m_paragraph.empty())
            m_paragraph += ' ';
        m_paragraph += line;
    }

    void HeaderLine(const std::string& line)
    {
        std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            Fail("expected \"key: value\" before the first section");
        std::string key = TrimSource(line.substr(0, colon));
        std::string value = TrimSource(line.substr(colon + 1));
        if (key == "number") {
            m_source.rin = std::atoi(value.c_str());
        } else if (key == "title") {
            m_source.title = value;
        } else if (key == "category") {
            m_source.category = std::atoi(value.c_str());
            if (m_source.category < 0 || m_source.category > 9 || value.find_first_not_of("0123456789") != std::string::npos)
                Fail("the category is a digit");
        } else if (key == "date") {
            if (value.size() != 8)
                Fail("the date has the form YY/MM/DD");
            m_source.issueDate = value;
        } else if (key == "media") {
            std::vector<std::string> f = SplitSourceFields(value);
            if (f.size() != 3 || f[1].size() != 1)
                Fail("media: number | kind letter | caption");
            RecordMedia media;
            media.rin = static_cast<std::uint32_t>(std::stoul(f[0]));
            media.kindLetter = f[1][0];
            media.iconNumber = static_cast<std::uint8_t>(m_source.media.size());
            m_source.media.push_back(media);
            m_source.captions.push_back(f[2]);
        } else if (key == "related") {
            std::vector<std::string> f = SplitSourceFields(value);
            if (f.empty() || f.size() > 2 || f[0].empty())
                Fail("related: title | link (no link for a heading)");
            RecordRelated related;
            related.title = f[0];
            if (f.size() == 2) {
                related.link = f[1];
                if (related.link.rfind("vl://", 0) == 0)
                    related.rin = static_cast<std::uint32_t>(std::atoi(related.link.c_str() + 5));
            }
            m_source.related.push_back(related);
        } else if (key == "extra") {
            // "extra: Title | 4060001": the item's number (a timeline) rides on its icon runs.
            std::vector<std::string> f = SplitSourceFields(value);
            if (f.empty() || f.size() > 2)
                Fail("extra: title | number");
            m_source.extraTitles.push_back(f[0]);
            m_extraNumbers.push_back(f.size() == 2 ? static_cast<std::uint32_t>(std::stoul(f[1])) : 0);
        } else {
            Fail("unknown key \"" + key + "\"");
        }
    }

    void FlushParagraph()
    {
        if (m_paragraph.empty())
            return;
        AddTextParagraph(m_paragraph);
        m_paragraph.clear();
    }

    // Appends a text run; **bold**, *italic* and [text](target) become style and link entries.
    void AddTextParagraph(const std::string& markup)
    {
        RecordSection& section = m_source.sections.back();
        std::vector<std::pair<int, std::size_t>>& styles = m_styles.back();  // (code or -1, length)
        std::size_t sectionOffset = 0;
        for (const RecordRun& r : section.runs)
            if (r.kind != 3)
                sectionOffset += r.text.size();
        std::string text;
        int style = -1;
        auto emit = [&](const std::string& piece) {
            if (piece.empty())
                return;
            if (!styles.empty() && styles.back().first == style)
                styles.back().second += piece.size();
            else
                styles.emplace_back(style, piece.size());
            text += piece;
        };
        std::string piece;
        for (std::size_t i = 0; i < markup.size();) {
            if (markup[i] == '\\' && i + 1 < markup.size()) {
                piece += markup[i + 1];
                i += 2;
            } else if (markup.compare(i, 2, "**") == 0) {
                emit(piece);
                piece.clear();
                style = style == kStyleBold ? -1 : kStyleBold;
                i += 2;
            } else if (markup[i] == '*') {
                emit(piece);
                piece.clear();
                style = style == kStyleItalic ? -1 : kStyleItalic;
                ++i;
            } else if (markup.compare(i, 2, "{s") == 0 && style == -1) {
                std::size_t colon = markup.find(':', i);
                std::size_t close = markup.find('}', i);
                if (colon == std::string::npos || close == std::string::npos || close < colon)
                    Fail("a style is written {sN:text}");
                emit(piece);
                piece.clear();
                int code = std::atoi(markup.c_str() + i + 2);
                if (code < 0 || code > 15)
                    Fail("a style code is 0 to 15");
                style = code;
                emit(Unescape(markup.substr(colon + 1, close - colon - 1)));
                style = -1;
                i = close + 1;
            } else if (markup[i] == '[') {
                std::size_t close = markup.find("](", i);
                std::size_t end = close == std::string::npos ? close : markup.find(')', close);
                if (end == std::string::npos)
                    Fail("a link is written [text](target)");
                emit(piece);
                piece.clear();
                std::string label = markup.substr(i + 1, close - i - 1);
                std::string target = markup.substr(close + 2, end - close - 2);
                if (label.size() > 127)
                    Fail("link text longer than 127 characters");
                AddLink(target, PackTextPosition(static_cast<unsigned>(m_source.sections.size() - 1),
                                                 static_cast<unsigned>(sectionOffset + text.size()),
                                                 static_cast<unsigned>(label.size())));
                emit(label);
                i = end + 1;
            } else {
                piece += markup[i++];
            }
        }
        emit(piece);
        if (style != -1)
            Fail("a style is not closed");
        RecordRun run;
        run.text = text;
        run.kind = m_pending.kind;
        run.style = m_pending.style;
        run.level = m_pending.level;
        run.flags = m_pending.flags;
        if (m_pending.indent)
            section.indents.push_back({static_cast<std::uint8_t>(section.runs.size()),
                                       static_cast<std::uint8_t>(section.runs.size()),
                                       static_cast<std::uint8_t>(m_pending.firstIndent),
                                       static_cast<std::uint8_t>(m_pending.otherIndent)});
        m_pending = Pending();
        section.runs.push_back(run);
        section.styles = StyleTable(styles);
    }

    // "+table Title | style 3 | centre" ... "+end": a table of the article.
    void TableLine(const std::string& line)
    {
        if (!m_inTable) {
            FlushParagraph();
            std::vector<std::string> f = SplitSourceFields(TrimSource(line.substr(6)));
            if (f.empty() || f[0].empty())
                Fail("a table has a title: +table Title | style N | centre");
            m_tableTitle = f[0];
            m_tableStyle = 0;
            m_tableCentred = false;
            for (std::size_t i = 1; i < f.size(); ++i) {
                if (f[i].rfind("style ", 0) == 0)
                    m_tableStyle = std::atoi(f[i].c_str() + 6);
                else if (f[i] == "centre")
                    m_tableCentred = true;
                else
                    Fail("unknown table option \"" + f[i] + "\"");
            }
            m_tableLines.clear();
            m_tableStart = m_line;
            m_inTable = true;
            return;
        }
        if (line != "+end") {
            m_tableLines.push_back(line);
            return;
        }
        m_inTable = false;
        TableSource table = ParseTableSource(m_tableLines, m_fileName + ":" + std::to_string(m_tableStart));
        table.style = m_tableStyle;
        table.centred = m_tableCentred;
        m_source.tables.push_back({m_tableTitle, WriteTable(table)});
    }

    // [table N], [picture NAME] or [picture NAME | link RIN], [thumbnails left|right FIRST COUNT].
    bool SpecialParagraph(const std::string& line)
    {
        std::string inner = line.substr(1, line.size() - 2);
        if (inner.rfind("table ", 0) == 0) {
            FlushParagraph();
            int index = std::atoi(inner.c_str() + 6);
            if (index < 0 || static_cast<std::size_t>(index) >= m_source.tables.size())
                Fail("no table " + std::to_string(index) + " (tables come before the paragraphs that show them)");
            RecordRun run;
            run.kind = 5;
            run.style = index;
            m_source.sections.back().runs.push_back(run);
            return true;
        }
        if (inner.rfind("picture ", 0) == 0) {
            FlushParagraph();
            std::vector<std::string> f = SplitSourceFields(inner.substr(8));
            RecordRun run;
            run.kind = 3;
            if (f.size() == 2 && f[1].rfind("link ", 0) == 0)
                run.extra = static_cast<std::uint32_t>(std::stoul(f[1].substr(5)));
            else if (f.size() != 1)
                Fail("[picture NAME] or [picture NAME | link NUMBER]");
            AddPicture(f[0]);
            m_source.sections.back().runs.push_back(run);
            return true;
        }
        if (inner.rfind("thumbnails ", 0) == 0) {
            FlushParagraph();
            std::stringstream in(inner.substr(11));
            std::string side;
            int first = -1, count = 0;
            in >> side >> first >> count;
            if ((side != "left" && side != "right") || first < 0 || count < 1 ||
                static_cast<std::size_t>(first + count) > m_source.media.size())
                Fail("[thumbnails left|right FIRST COUNT] naming media entries");
            m_pending.kind = side == "left" ? 1 : 2;
            m_pending.style = first;
            m_pending.level = count;
            return true;
        }
        return false;
    }

    // {centre}, {fixed}, {indent FIRST OTHER}, {tight} (no blank line after), {hidden}: flags of
    // the paragraph that follows.
    bool ParagraphFlag(const std::string& line)
    {
        if (line.back() != '}' || line.find('{', 1) != std::string::npos)
            return false;
        std::string flag = line.substr(1, line.size() - 2);
        if (flag == "centre") {
            m_pending.flags |= 1;
        } else if (flag == "fixed") {
            m_pending.flags |= 2;
        } else if (flag.rfind("indent ", 0) == 0) {
            std::stringstream in(flag.substr(7));
            in >> m_pending.firstIndent >> m_pending.otherIndent;
            m_pending.flags |= 4;
            m_pending.indent = true;
        } else if (flag == "tight") {
            m_pending.flags |= 8;
        } else if (flag == "hidden") {
            m_pending.flags |= 15;
        } else {
            return false;
        }
        return true;
    }

    void AddPicture(const std::string& name)
    {
        if (m_pictureFolder.empty())
            Fail("pictures need the sample's picture folder");
        BmpPicture picture = ReadPictureSource(m_pictureFolder / (name + ".txt"));
        if (picture.bitCount > 8)
            Fail("an inline picture has at most 256 colours");
        GifImage image;
        image.width = picture.width;
        image.height = picture.height;
        image.indices = picture.indices;
        std::string gif = GifFile(image, picture.colors);
        // The program finds pictures by their signature: no other "GIF" may stand in the data.
        std::string lower = gif;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower.find("gif", 3) != std::string::npos)
            Fail("picture " + name + ": its data holds the letters GIF; change a colour");
        m_source.pictures += gif;
    }

    // "\xHH" stands for the byte HH (the code points of the symbol and mathematics faces).
    std::string Unescape(const std::string& text) const
    {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 2, "\\x") == 0) {
                if (i + 4 > text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 2])) ||
                    !std::isxdigit(static_cast<unsigned char>(text[i + 3])))
                    Fail("a byte is written \\xHH");
                out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                out += text[i];
            }
        }
        return out;
    }

    static std::vector<std::uint16_t> StyleTable(const std::vector<std::pair<int, std::size_t>>& styles)
    {
        std::vector<std::uint16_t> table;
        for (auto [code, length] : styles) {
            std::size_t limit = code < 0 ? 0x7FFF : 0x7FF;
            while (length > 0) {
                std::size_t take = std::min(length, limit);
                table.push_back(code < 0 ? static_cast<std::uint16_t>(take << 1)
                                         : static_cast<std::uint16_t>(1 | (code << 1) | (take << 5)));
                length -= take;
            }
        }
        return table;
    }

    void AddLink(const std::string& target, std::uint32_t position)
    {
        if (target.rfind("vl://", 0) != 0 && target.rfind("tf:", 0) != 0)
            Fail("a link target begins \"vl://\" or \"tf:\"");
        for (RecordLink& link : m_source.links) {
            if (link.target == target) {
                link.positions.push_back(position);
                return;
            }
        }
        RecordLink link;
        link.target = target;
        link.positions.push_back(position);
        m_source.links.push_back(link);
    }

    struct Pending {
        int kind = 0;
        int style = 0;
        int level = 0;
        int flags = 0;
        bool indent = false;
        int firstIndent = 0;
        int otherIndent = 0;
    };

    std::string m_fileName;
    std::filesystem::path m_pictureFolder;
    Pending m_pending;
    bool m_inTable = false;
    std::string m_tableTitle;
    int m_tableStyle = 0;
    bool m_tableCentred = false;
    int m_tableStart = 0;
    std::vector<std::string> m_tableLines;
    int m_line = 0;
    ArticleRecordSource m_source;
    std::string m_paragraph;
    std::vector<std::uint32_t> m_extraNumbers;  // the number of each extra item (0: none)
    std::vector<std::vector<std::pair<int, std::size_t>>> m_styles;
};

}  // namespace

ArticleRecordSource ParseArticleSource(const std::string& text, const std::string& fileName,
                                       const std::filesystem::path& pictureFolder)
{
    return Parser(fileName, pictureFolder).Run(text);
}

ArticleRecordSource ReadArticleSource(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error(file.string() + ": cannot be read");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseArticleSource(text, file.filename().string(), file.parent_path().parent_path() / "pictures");
}

std::vector<ArticleRecordSource> ReadArticleSources(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<ArticleRecordSource> sources;
    for (const auto& file : files)
        sources.push_back(ReadArticleSource(file));
    return sources;
}

}  // namespace discbuilder
