#include "ErasWriter.h"

#include "SourceText.h"

#include "search/KeywordTokenizer.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>

namespace discbuilder {

std::vector<EraSource> ParseErasSource(const std::string& text, const std::string& name)
{
    std::vector<EraSource> eras;
    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::string line = TrimSource(raw);
        if (line.empty() || line[0] == '#')
            continue;
        auto fail = [&](const std::string& why) {
            throw std::runtime_error(name + ":" + std::to_string(lineNumber) + ": " + why);
        };
        if (line.front() == '[') {
            if (line.back() != ']')
                fail("a header is \"[title]\"");
            eras.push_back(EraSource{Cp1252FromUtf8(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        const std::size_t bar = line.find('|');
        if (bar == std::string::npos)
            fail("an item is \"number|title\"");
        if (eras.empty())
            fail("an item before the first era's header");
        const std::string number = TrimSource(line.substr(0, bar));
        if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos ||
            std::stoul(number) == 0)
            fail("\"" + number + "\" is not a content number");
        eras.back().items.push_back(
            EraItem{static_cast<std::uint32_t>(std::stoul(number)), Cp1252FromUtf8(TrimSource(line.substr(bar + 1)))});
    }
    return eras;
}

std::string WriteErasFile(const std::vector<EraSource>& eras)
{
    auto checkField = [](const std::string& text, const char* what) {
        if (text.size() > kErasMaxField)
            throw std::invalid_argument(std::string("ERASORT.dat: ") + what + " \"" + text.substr(0, 40) +
                                        "...\" is longer than 351 characters");
        if (text.find_first_of("[]|\r\n") != std::string::npos)
            throw std::invalid_argument(std::string("ERASORT.dat: ") + what + " \"" + text +
                                        "\" holds a bracket, a bar or a line end");
    };
    std::string file;
    std::size_t slots = 0;
    for (std::size_t e = 0; e < eras.size(); ++e) {
        const EraSource& era = eras[e];
        checkField(era.title, "the era title");
        file += "[" + era.title + "]\r\n";
        slots += (e > 0 ? 1 : 0) + std::max<std::size_t>(era.items.size(), 1);
        for (const EraItem& item : era.items) {
            checkField(item.title, "the item title");
            if (item.number == 0)
                throw std::invalid_argument("ERASORT.dat: an item of \"" + era.title + "\" has the number 0");
            file += std::to_string(item.number) + "|" + item.title + "\r\n";
        }
    }
    if (slots > kErasSlotsPerEra * eras.size())
        throw std::invalid_argument("ERASORT.dat: the eras take " + std::to_string(slots) + " item slots, more than " +
                                    std::to_string(kErasSlotsPerEra) + " per era");
    if (file.size() > kErasMaxFile)
        throw std::invalid_argument("ERASORT.dat: " + std::to_string(file.size()) + " bytes, more than 65,535");
    return file;
}

std::filesystem::path WriteSampleEras(const std::filesystem::path& sampleFolder, const std::filesystem::path& dataFolder,
                                      const std::function<bool(std::uint32_t)>& bOnDisc)
{
    const std::filesystem::path source = sampleFolder / kErasSource;
    if (!std::filesystem::exists(source))
        return {};
    std::ifstream in(source, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<EraSource> eras = ParseErasSource(text, source.string());
    for (const EraSource& era : eras)
        for (const EraItem& item : era.items)
            if (bOnDisc && !bOnDisc(item.number))
                throw std::runtime_error(source.string() + ": the item " + std::to_string(item.number) + " of \"" +
                                         era.title + "\" is not on the disc");
    const std::filesystem::path target = dataFolder / kErasFileName;
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << WriteErasFile(eras);
    if (!out)
        throw std::runtime_error("cannot write " + target.string());
    return target;
}

std::vector<EraSource> ErasByDecade(const std::vector<IndexedArticle>& articles, int firstYear, int lastYear,
                                    const std::string& prefix, std::size_t maxItems)
{
    // decade -> article index -> mentions
    std::map<int, std::map<std::size_t, int>> mentions;
    for (std::size_t a = 0; a < articles.size(); ++a) {
        auto scan = [&](const std::vector<std::string>& paragraphs) {
            for (const std::string& paragraph : paragraphs) {
                const std::vector<keyword_terms::TextToken> tokens = keyword_terms::TokenizeText(paragraph);
                for (std::size_t i = 0; i < tokens.size(); ++i) {
                    const std::string date = keyword_terms::DateWordAt(tokens, i);
                    if (date.empty() || date[0] != 'A')
                        continue;
                    const int year = std::stoi(date.substr(1, date.size() - 2));
                    if (year >= firstYear && year <= lastYear)
                        ++mentions[year / 10 * 10][a];
                }
            }
        };
        for (const auto& section : articles[a].sections)
            scan(section);
        for (const auto& table : articles[a].tables)
            scan(table);
    }
    std::vector<EraSource> eras;
    for (const auto& [decade, counts] : mentions) {
        std::vector<std::pair<std::size_t, int>> ranked(counts.begin(), counts.end());
        std::stable_sort(ranked.begin(), ranked.end(), [&](const auto& x, const auto& y) {
            if (x.second != y.second)
                return x.second > y.second;
            return articles[x.first].rin < articles[y.first].rin;
        });
        if (ranked.size() > maxItems)
            ranked.resize(maxItems);
        EraSource era{prefix + std::to_string(decade) + "s", {}};
        for (const auto& [index, count] : ranked) {
            std::string title = articles[index].title;
            for (char& c : title)
                if (c == '[' || c == ']' || c == '|' || c == '\r' || c == '\n')
                    c = ' ';
            if (title.size() > kErasMaxField)
                title.resize(kErasMaxField);
            era.items.push_back(EraItem{static_cast<std::uint32_t>(articles[index].rin), title});
        }
        eras.push_back(era);
    }
    return eras;
}

std::string ErasSourceText(const std::vector<EraSource>& eras)
{
    auto ascii = [](std::string text) {
        for (char& c : text)
            if (static_cast<unsigned char>(c) > 127)
                c = '?';
        return text;
    };
    std::string text;
    for (const EraSource& era : eras) {
        text += "[" + ascii(era.title) + "]\n";
        for (const EraItem& item : era.items)
            text += std::to_string(item.number) + "|" + ascii(item.title) + "\n";
    }
    return text;
}

}  // namespace discbuilder
