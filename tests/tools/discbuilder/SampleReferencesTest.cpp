// Every reference of the sample disc, to an article, a media item or a timeline, names what it
// leads to: the target exists, a title shown for it is the target's own title, and a caption
// written for it describes it (shares a word of the target's title). One table of every reference,
// gathered from the disc's sources, checked row by row.
#include <gtest/gtest.h>

#include "ArticleSource.h"
#include "PictureItemSource.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kSample = VL_SAMPLE_DIR;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The words of a text that say what it is about (no little words, no kind words).
std::set<std::string> Words(const std::string& text)
{
    static const std::set<std::string> little = {"a",   "an",   "the",      "of",        "and",  "at",  "in",
                                                 "on",  "its",  "with",     "to",        "from", "for", "by",
                                                 "map", "film", "timeline", "animation", "simulation", "photo",
                                                 "bubble", "tour", "picture", "how", "is", "it", "this"};
    std::set<std::string> words;
    std::string word;
    for (char c : Lower(text) + " ") {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += c;
        } else if (!word.empty()) {
            if (!little.count(word))
                words.insert(word.size() > 4 && word.back() == 's' ? word.substr(0, word.size() - 1) : word);
            word.clear();
        }
    }
    return words;
}

// The fields of the '|'-separated lines of a sample list (comments and blank lines skipped).
std::vector<std::vector<std::string>> Rows(const std::filesystem::path& file)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream s(line);
        std::string f;
        while (std::getline(s, f, '|'))
            fields.push_back(f);
        rows.push_back(fields);
    }
    return rows;
}

std::string PlainText(const std::string& recordText)
{
    std::string out;
    for (char c : recordText)
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
    return out;
}

// One reference: where it stands, what it leads to, the title shown for it (compared whole) or
// the caption written for it (compared by words).
struct Reference {
    std::string where;
    std::uint32_t target;
    std::string title;
    std::string caption;
    char kindLetter = 0;  // a media entry's letter (the outline's icon), 0: none
};

// The kind letter of a media entry that leads to a content number.
char KindLetterOf(std::uint32_t n)
{
    const struct {
        std::uint32_t first, last;
        char letter;
    } kinds[] = {{1000000, 2999999, 'P'}, {3000000, 3999999, 'M'}, {4010000, 4019999, 'A'}, {4020000, 4029999, 'V'},
                 {4030000, 4039999, 'I'}, {4040000, 4049999, 'Q'}, {4050000, 4059999, 'B'}, {4060000, 4069999, 'T'},
                 {6000000, 6999999, 'S'}};
    for (const auto& k : kinds)
        if (n >= k.first && n <= k.last)
            return k.letter;
    return '?';
}

TEST(SampleReferencesTest, EveryReferenceNamesWhatItLeadsTo)
{
    // What the disc holds: articles, media items (picture records) and timelines, by number.
    std::map<std::uint32_t, std::string> titles;
    std::map<std::uint32_t, std::uint32_t> owners;  // media item -> the article it belongs to
    std::map<std::uint32_t, std::set<std::uint32_t>> articleMedia;
    const auto articles = discbuilder::ReadArticleSources(kSample / "articles");
    for (const auto& a : articles) {
        titles[static_cast<std::uint32_t>(a.rin)] = a.title;
        for (const auto& m : a.media)
            articleMedia[static_cast<std::uint32_t>(a.rin)].insert(m.rin);
    }
    std::vector<discbuilder::PictureItemSource> items;
    for (const auto& entry : std::filesystem::directory_iterator(kSample / "pictures" / "items")) {
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        items.push_back(discbuilder::ParsePictureItemSource(text.str(), entry.path().filename().string()));
        titles[items.back().number] = items.back().record.title;
        owners[items.back().number] = items.back().record.itemNumber;
    }
    for (const auto& row : Rows(kSample / "database" / "timelines.txt"))
        titles[static_cast<std::uint32_t>(std::stoul(row.at(0)))] = row.at(1);

    std::vector<Reference> references;
    for (const auto& a : articles) {
        const std::string name = "article " + a.title;
        for (std::size_t i = 0; i < a.media.size(); ++i)
            references.push_back({name + ", media " + std::to_string(i), a.media[i].rin, "",
                                  i < a.captions.size() ? a.captions[i] : "", a.media[i].kindLetter});
        for (const auto& r : a.related)
            if (r.rin != 0)
                references.push_back({name + ", related", r.rin, r.title, ""});
        for (const auto& l : a.links)
            if (l.target.rfind("vl://", 0) == 0)
                references.push_back({name + ", link " + l.target,
                                      static_cast<std::uint32_t>(std::stoul(l.target.substr(5, 6))), "", ""});
        for (std::size_t i = 0; i < a.extraTitles.size(); ++i)
            for (const auto& section : a.sections)
                for (const auto& run : section.runs)
                    if (run.kind == 6 && run.style == static_cast<int>(i))
                        references.push_back({name + ", extra " + std::to_string(i), run.extra, a.extraTitles[i], ""});
    }
    for (const auto& item : items) {
        const std::string name = "item " + std::to_string(item.number);
        references.push_back({name + ", its article", item.record.itemNumber, "", ""});
        for (const auto& spot : item.record.hotSpots)
            if (spot.kind == discbuilder::GrfHotSpotKind::Link)
                references.push_back({name + ", hot spot", spot.target, "", ""});
        for (const auto& list : item.record.lists)
            for (const auto& entry : list)
                references.push_back({name + ", list", entry.number, entry.title, ""});
        for (const auto& named : item.record.named)
            if (named.name == "ZOOM_OUT")
                references.push_back({name + ", zoom out", named.value, "", ""});
        // The item's own caption describes it.
        references.push_back({name + ", caption", item.number, "", PlainText(item.record.caption)});
    }
    for (const auto& row : Rows(kSample / "database" / "dadavaveroz.txt")) {
        if (row.at(4) == "1")  // on the disc
            references.push_back({"browse list", static_cast<std::uint32_t>(std::stoul(row.at(1))), row.at(0), ""});
    }
    for (const auto& row : Rows(kSample / "lists" / "shows.txt")) {
        const auto number = static_cast<std::uint32_t>(std::stoul(row.at(1)));
        if (titles.count(number) || number < 1100)  // the country articles after them are not on the disc yet
            references.push_back({"show list", number, row.at(0), ""});
    }
    // The contributors' pages that Help > Contributors opens.
    for (std::uint32_t n = 1; n <= 4; ++n)
        references.push_back({"Help > Contributors " + std::to_string(n), 900000 + n, "", ""});

    ASSERT_GT(references.size(), 60u);
    for (const Reference& r : references) {
        SCOPED_TRACE(r.where + " -> " + std::to_string(r.target));
        const auto target = titles.find(r.target);
        ASSERT_NE(titles.end(), target) << "the target is on the disc";
        if (!r.title.empty()) {
            EXPECT_EQ(Lower(target->second), Lower(r.title)) << "the title shown is the target's";
        }
        if (r.kindLetter != 0) {
            EXPECT_EQ(KindLetterOf(r.target), r.kindLetter) << "the entry's kind letter is its item's";
        }
        if (!r.caption.empty()) {
            const std::set<std::string> caption = Words(r.caption), title = Words(target->second);
            EXPECT_TRUE(std::any_of(title.begin(), title.end(), [&](const std::string& w) { return caption.count(w); }))
                << "\"" << r.caption << "\" does not describe \"" << target->second << "\"";
        }
    }
    // Every media item belongs to an article that shows it.
    for (const auto& [item, article] : owners) {
        SCOPED_TRACE(item);
        EXPECT_TRUE(articleMedia[article].count(item)) << "article " << article << " lists the item it owns";
    }
}

}  // namespace
