#include "KeywordIndexWriter.h"

#include "search/KeywordTokenizer.h"
#include "search/SelectionCode.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace discbuilder {

namespace {

constexpr unsigned kMaxSections = 200;
constexpr unsigned kMaxTables = 36;       // word-position section bytes 220-255
constexpr unsigned kTableHitBase = 200;
constexpr unsigned kTableWordBase = 220;

void PutU16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value)
{
    for (int b = 0; b < 4; ++b)
        out += static_cast<char>((value >> (8 * b)) & 0xFF);
}

std::uint32_t PackHit(unsigned section, std::size_t offset, std::size_t length)
{
    if (offset > 0x1FFFF)
        throw std::invalid_argument("a word lies beyond the 131,071st character of its section");
    return section | static_cast<std::uint32_t>(offset) << 8 | static_cast<std::uint32_t>(std::min<std::size_t>(length, 0x7F)) << 25;
}

// One list entry: the word (as it is written, forward or reversed), its first record and count.
struct ListEntry {
    std::string word;
    std::uint32_t first = 0;
    std::uint16_t count = 0;
};

// Packs the entries into pages and returns the master index's keys: key i the last word of page i.
void WriteList(const std::vector<ListEntry>& entries, std::string& list, std::string& master)
{
    std::vector<std::string> lastWords;
    std::string page;
    auto flush = [&]() {
        page.resize(kKeywordListPage, '\0');
        list += page;
        page.clear();
    };
    for (const ListEntry& entry : entries) {
        const std::size_t size = 8 + entry.word.size();
        if (!page.empty() && page.size() + size > kKeywordListPage)
            flush();
        if (page.empty())
            lastWords.emplace_back();
        PutU32(page, entry.first);
        PutU16(page, entry.count);
        page += static_cast<char>(entry.word.size());
        page += entry.word;
        page += '\0';
        lastWords.back() = entry.word;
    }
    if (!page.empty())
        flush();
    // Front coding against the previous rebuilt (shortened) key.
    std::string previous;
    for (const std::string& word : lastWords) {
        std::size_t shared = 0;
        while (shared < previous.size() && shared < word.size() && previous[shared] == word[shared])
            ++shared;
        master += static_cast<char>(shared);
        for (std::size_t i = 0; i < 5; ++i)
            master += shared + i < word.size() ? word[shared + i] : '\0';
        previous = word.substr(0, shared + 5);
    }
}

std::string Reversed(std::string word)
{
    std::reverse(word.begin(), word.end());
    return word;
}

// The number of characters of the text that a table's hit offset counts: all but NUL, space,
// TAB, CR and LF.
std::size_t VisibleCharacters(const std::string& text, std::size_t end)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < end && i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\0' && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            ++n;
    }
    return n;
}

}  // namespace

std::vector<std::string> TableTextRuns(const std::string& data)
{
    if (data.size() < 40)
        throw std::invalid_argument("a table's data is shorter than its header");
    const std::size_t length = static_cast<unsigned char>(data[2]) | static_cast<std::size_t>(static_cast<unsigned char>(data[3])) << 8;
    if (length > data.size() - 40)
        throw std::invalid_argument("a table's text runs past its data");
    const std::string text = data.substr(data.size() - length);
    std::vector<std::string> runs;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos)
            end = text.size();
        runs.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return runs;
}

IndexedArticle IndexedArticleFrom(const ArticleRecordSource& source, int domain)
{
    IndexedArticle article;
    article.rin = source.rin;
    article.title = source.title;
    article.domain = domain;
    for (const RecordSection& section : source.sections) {
        std::vector<std::string> paragraphs;
        for (const RecordRun& run : section.runs)
            if (run.kind != 3)
                paragraphs.push_back(run.text);
        article.sections.push_back(paragraphs);
    }
    for (const RecordTable& table : source.tables)
        article.tables.push_back(TableTextRuns(table.data));
    return article;
}

IndexedArticle IndexedPictureFrom(std::int32_t rin, const GrfRecordSource& record, int domain)
{
    if (record.sections.size() > grf::kSectionSlots)
        throw std::invalid_argument("a picture record has more than 20 text sections");
    IndexedArticle picture;
    picture.rin = rin;
    picture.title = record.title;
    picture.domain = domain;
    picture.picture = true;
    auto lines = [](const std::string& text) {
        std::vector<std::string> paragraphs;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\r', start);
            if (end == std::string::npos)
                end = text.size();
            // The carriage return stays with its line, so that offsets run on through the text.
            paragraphs.push_back(text.substr(start, end + 1 - start));
            start = end + 1;
        }
        return paragraphs;
    };
    picture.sections.push_back(lines(record.caption));
    for (const GrfSection& section : record.sections)
        picture.sections.push_back(lines(section.text));
    return picture;
}

const std::vector<std::string>& DefaultDropWords()
{
    static const std::vector<std::string> words = {
        "A",    "AN",   "AND",  "ARE", "AS",    "AT",   "BE",    "BY",   "FOR",  "FROM",
        "HAS",  "HAVE", "IN",   "IS",  "IT",    "ITS",  "OF",    "ON",   "OR",   "THAT",
        "THE",  "THEIR", "THIS", "TO", "WAS",   "WERE", "WHICH", "WITH",
    };
    return words;
}

void WalkArticleWords(const IndexedArticle& article, std::uint16_t number,
                      const std::function<void(const std::string&, const KeywordOccurrence&)>& f)
{
    if (article.sections.size() > kMaxSections)
        throw std::invalid_argument("an article has more than 200 sections");
    if (article.tables.size() > kMaxTables)
        throw std::invalid_argument("an article has more than 36 tables");
    if (article.domain > 0)
        f("#" + std::to_string(article.domain), KeywordOccurrence{number, 0, 0});
    // A section's hit offsets count its characters; a table's count only its visible ones (the
    // table reader turns them back into text indexes), with its runs' NULs between paragraphs.
    auto walkUnit = [&](const std::vector<std::string>& paragraphs, unsigned hitSection, unsigned wordSection, bool bTable) {
        keyword_terms::WordPositionCounter counter(wordSection);
        std::size_t base = 0;
        for (const std::string& paragraph : paragraphs) {
            const std::vector<keyword_terms::TextToken> tokens = keyword_terms::TokenizeText(paragraph);
            for (std::size_t i = 0; i < tokens.size(); ++i) {
                const keyword_terms::TextToken& token = tokens[i];
                const std::size_t offset = bTable ? base + VisibleCharacters(paragraph, token.offset) : base + token.offset;
                KeywordOccurrence occurrence{number, PackHit(hitSection, offset, token.length), counter.Next()};
                f(token.word, occurrence);
                std::string date = keyword_terms::DateWordAt(tokens, i);
                if (!date.empty()) {
                    f(date, occurrence);
                    for (const std::string& period : selection_code::PeriodCodesOf(date))
                        f(period, occurrence);
                }
                if (token.endsSentence)
                    counter.EndSentence();
            }
            counter.EndParagraph();
            base += bTable ? VisibleCharacters(paragraph, paragraph.size()) : paragraph.size();
        }
    };
    if (article.picture && article.sections.size() > 1 + grf::kSectionSlots)
        throw std::invalid_argument("a picture item has more than 20 text sections");
    for (std::size_t s = 0; s < article.sections.size(); ++s) {
        unsigned hitSection = static_cast<unsigned>(s);
        if (article.picture)
            hitSection = s == 0 ? kPictureCaptionSection : kPictureTextSection + static_cast<unsigned>(s - 1);
        walkUnit(article.sections[s], hitSection, static_cast<unsigned>(s), false);
    }
    for (std::size_t t = 0; t < article.tables.size(); ++t)
        walkUnit(article.tables[t], kTableHitBase + static_cast<unsigned>(t), kTableWordBase + static_cast<unsigned>(t), true);
}

KeywordIndexFiles BuildKeywordIndex(const std::vector<IndexedArticle>& articles, std::vector<std::string> dropWords)
{
    KeywordIndexFiles files;

    std::vector<TitleLinkEntry> titles;
    for (const IndexedArticle& article : articles)
        titles.push_back(TitleLinkEntry{article.rin, article.parent, article.title});
    files.titleLinks = BuildTitleLinkTable(titles);

    std::set<std::string> drops;
    for (const std::string& word : dropWords)
        drops.insert(keyword_terms::NormalizeTerm(word));
    std::map<std::string, std::vector<KeywordOccurrence>> words;
    for (std::size_t a = 0; a < articles.size(); ++a) {
        WalkArticleWords(articles[a], files.titleLinks.articleNumbers[a], [&](const std::string& word, const KeywordOccurrence& o) {
            if (keyword_terms::IsIndexableWord(word) && !drops.count(word))
                words[word].push_back(o);
        });
    }
    for (auto it = words.begin(); it != words.end();) {
        if (it->second.size() > kMaxOccurrencesPerWord) {
            drops.insert(it->first);
            it = words.erase(it);
        } else {
            // Positions rise through an article, but a section that carries past its own section
            // byte could overtake the next: keep every word's records strictly in order.
            std::stable_sort(it->second.begin(), it->second.end(), [](const KeywordOccurrence& x, const KeywordOccurrence& y) {
                return x.article != y.article ? x.article < y.article : x.wordPosition < y.wordPosition;
            });
            ++it;
        }
    }
    if (drops.size() > kMaxDropWords)
        throw std::invalid_argument("more than 200 drop words");
    files.dropWords.assign(drops.begin(), drops.end());
    for (const std::string& word : files.dropWords)
        files.dropWordFile += word + "\r\n";

    std::vector<ListEntry> forward;
    for (const auto& [word, occurrences] : words) {
        ListEntry entry{word, static_cast<std::uint32_t>(files.occurrences.size() / 10),
                        static_cast<std::uint16_t>(occurrences.size())};
        for (const KeywordOccurrence& o : occurrences) {
            PutU16(files.occurrences, o.article);
            PutU32(files.occurrences, o.hitPosition);
            PutU32(files.occurrences, o.wordPosition);
        }
        forward.push_back(entry);
    }
    files.occurrences.append(10, '\0');
    files.words = forward.size();

    std::vector<ListEntry> reverse = forward;
    for (ListEntry& entry : reverse)
        entry.word = Reversed(entry.word);
    std::sort(reverse.begin(), reverse.end(), [](const ListEntry& x, const ListEntry& y) { return x.word < y.word; });

    WriteList(forward, files.keywordList, files.masterIndex);
    WriteList(reverse, files.reverseKeywordList, files.reverseMasterIndex);
    return files;
}

void WriteKeywordIndex(const KeywordIndexFiles& files, const std::filesystem::path& dataFolder)
{
    std::filesystem::create_directories(dataFolder);
    const std::pair<const char*, const std::string*> outputs[] = {
        {KeywordIndexFiles::kMasterIndex, &files.masterIndex},
        {KeywordIndexFiles::kReverseMasterIndex, &files.reverseMasterIndex},
        {KeywordIndexFiles::kKeywordList, &files.keywordList},
        {KeywordIndexFiles::kReverseKeywordList, &files.reverseKeywordList},
        {KeywordIndexFiles::kOccurrences, &files.occurrences},
        {KeywordIndexFiles::kDropWords, &files.dropWordFile},
        {kTitleLinkFileName, &files.titleLinks.bytes},
    };
    for (const auto& [name, bytes] : outputs) {
        const std::filesystem::path path = dataFolder / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
        if (!out)
            throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace discbuilder
