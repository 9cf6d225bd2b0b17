#include "TableSource.h"

#include "SourceText.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace discbuilder {

namespace {

class CellParser {
public:
    CellParser(TableSource& table, int& runIndex, const std::string& where)
        : m_table(table), m_runIndex(runIndex), m_where(where)
    {
    }

    TableCellSource Parse(const std::string& markup)
    {
        TableCellSource cell;
        if (markup == "^") {
            cell.merged = true;
            cell.runs.push_back({"", 0, {}, true});
            ++m_runIndex;
            return cell;
        }
        std::string text = markup;
        if (!text.empty() && text[0] == '#') {
            cell.figures = 1;
            text = TrimSource(text.substr(1));
        }
        std::vector<int> before;
        if (text.rfind("[^", 0) == 0) {
            std::size_t close = text.find(']');
            before = Marks(text.substr(2, close == std::string::npos ? std::string::npos : close - 2));
            text = TrimSource(text.substr(close + 1));
        }
        std::vector<int> behind;
        std::size_t open = text.rfind("[^");
        if (open != std::string::npos && !text.empty() && text.back() == ']') {
            behind = Marks(text.substr(open + 2, text.size() - open - 3));
            text = TrimSource(text.substr(0, open));
        }
        int font = 0;
        std::string piece;
        auto emit = [&](int f) {
            if (piece.empty())
                return;
            cell.runs.push_back({piece, f, {}, true});
            ++m_runIndex;
            piece.clear();
        };
        for (std::size_t i = 0; i < text.size();) {
            if (text.compare(i, 2, "**") == 0) {
                emit(font);
                font = font == 1 ? 0 : 1;
                i += 2;
            } else if (text[i] == '*') {
                emit(font);
                font = font == 2 ? 0 : 2;
                ++i;
            } else if (text.compare(i, 2, "{f") == 0) {
                emit(font);
                std::size_t colon = text.find(':', i);
                std::size_t close = text.find('}', i);
                if (colon == std::string::npos || close == std::string::npos || close < colon)
                    Fail("a font is written {fN:text}");
                int code = std::stoi(text.substr(i + 2, colon - i - 2));
                piece = text.substr(colon + 1, close - colon - 1);
                emit(code);
                i = close + 1;
            } else if (text[i] == '[') {
                std::size_t mid = text.find("](", i);
                if (mid == std::string::npos || text.compare(mid + 2, 5, "vl://") != 0)
                    Fail("a link is written [text](vl://001006)");
                std::size_t digits = mid + 7;
                std::size_t digitsEnd = digits;
                while (digitsEnd < text.size() && std::isdigit(static_cast<unsigned char>(text[digitsEnd])))
                    ++digitsEnd;
                TableLinkSource link;
                std::size_t close = digitsEnd;
                if (digitsEnd < text.size() && text[digitsEnd] == '(') {
                    // (N) a section of the target, (T) or (TN) its table N.
                    std::size_t placeEnd = text.find(')', digitsEnd);
                    std::string place = placeEnd == std::string::npos ? "" : text.substr(digitsEnd + 1, placeEnd - digitsEnd - 1);
                    bool table = !place.empty() && place[0] == 'T';
                    std::string number = table ? place.substr(1) : place;
                    bool numeric = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
                    if ((!table && !numeric) || (table && !number.empty() && !numeric))
                        Fail("a link's place is (N) for a section or (T) / (TN) for a table");
                    int value = number.empty() ? 0 : std::stoi(number);
                    if ((!table && (value < 1 || value > 199)) || (table && value > 55))
                        Fail("a link's section is 1 to 199, its table 0 to 55");
                    link.place = table ? 200 + value : value;
                    close = placeEnd + 1;
                }
                if (digitsEnd - digits != 6 || close >= text.size() || text[close] != ')')
                    Fail("a link is written [text](vl://001006)");
                emit(font);
                link.firstRun = m_runIndex;
                link.rin = static_cast<std::uint32_t>(std::stoul(text.substr(digits, 6)));
                piece = text.substr(i + 1, mid - i - 1);
                emit(16);
                m_table.links.push_back(link);
                i = close + 1;
            } else {
                piece += text[i++];
            }
        }
        emit(font);
        if (cell.runs.empty()) {
            cell.runs.push_back({"", 0, {}, true});
            ++m_runIndex;
        }
        if (!before.empty()) {
            cell.runs.front().marks = before;
            cell.runs.front().marksBehind = false;
        }
        if (!behind.empty())
            cell.runs.back().marks = behind;
        return cell;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const { throw std::runtime_error(m_where + ": " + what); }

    std::vector<int> Marks(const std::string& list) const
    {
        std::vector<int> marks;
        for (const std::string& mark : SplitSourceFields(list, ',')) {
            int value = std::atoi(mark.c_str());
            if (value < 1 || value > 15)
                Fail("a footnote mark is 1 to 15");
            marks.push_back(value);
        }
        if (marks.empty() || marks.size() > 7)
            Fail("a run has one to seven marks");
        return marks;
    }

    TableSource& m_table;
    int& m_runIndex;
    std::string m_where;
};

}  // namespace

TableSource ParseTableSource(const std::vector<std::string>& lines, const std::string& where)
{
    TableSource table;
    int runIndex = 0;
    CellParser cells(table, runIndex, where);
    for (const std::string& raw : lines) {
        std::string line = TrimSource(raw);
        if (line.empty() || line[0] == '#')
            continue;
        std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            throw std::runtime_error(where + ": a table line is \"kind: cells\"");
        std::string kind = TrimSource(line.substr(0, colon));
        std::string rest = TrimSource(line.substr(colon + 1));
        TableBandSource band;
        std::vector<std::string> texts = SplitSourceFields(rest);
        if (kind == "title") {
            band.kind = 0;
            texts = {rest};
        } else if (kind == "heading") {
            band.kind = 2;
            band.flag = 1;
        } else if (kind == "row") {
            band.kind = 1;
        } else if (kind == "wide") {
            band.kind = 3;
            texts = {rest};
        } else if (kind == "footnote") {
            band.kind = 6;
            texts = {rest};
        } else {
            throw std::runtime_error(where + ": unknown table line \"" + kind + "\"");
        }
        if (texts.size() > 20)
            throw std::runtime_error(where + ": a row has at most 20 cells");
        for (const std::string& text : texts) {
            TableCellSource cell = cells.Parse(text);
            if (band.kind == 3)
                cell.span = 19;
            band.cells.push_back(cell);
        }
        table.bands.push_back(band);
    }
    return table;
}

}  // namespace discbuilder
