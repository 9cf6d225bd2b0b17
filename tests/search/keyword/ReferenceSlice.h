// A slice of the reference disc (the FOLDOC computing dictionary as articles) for the keyword
// engine's tests, and a reader of the keyword lists' pages for the brute-force oracles.
#pragma once

#include <ArticleSource.h>
#include <FoldocSource.h>
#include <KeywordIndexWriter.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kSlice = 1500;

inline const std::vector<discbuilder::ArticleRecordSource>& SliceSources()
{
    static const std::vector<discbuilder::ArticleRecordSource> sources = [] {
        std::vector<discbuilder::ArticleRecordSource> result;
        const std::vector<foldoc::FoldocEntry> entries =
            foldoc::ReadFoldoc(VL_FOLDOC_DIR "/foldoc.index", VL_FOLDOC_DIR "/foldoc.dict.dz", kSlice);
        for (const foldoc::ArticleSourceFile& file : foldoc::MakeArticleSources(entries))
            result.push_back(discbuilder::ParseArticleSource(file.text, file.fileName));
        return result;
    }();
    return sources;
}

inline std::vector<discbuilder::IndexedArticle> SliceArticles()
{
    std::vector<discbuilder::IndexedArticle> articles;
    for (const discbuilder::ArticleRecordSource& source : SliceSources())
        articles.push_back(discbuilder::IndexedArticleFrom(source, source.category));
    return articles;
}

// One entry of a keyword list.
struct ListEntry {
    std::string word;
    std::uint32_t first = 0;  // the word's first occurrence record
    std::uint32_t count = 0;  // its number of records
};

// The entries of a keyword list, page by page.
inline std::vector<ListEntry> ListEntries(const std::string& list)
{
    std::vector<ListEntry> entries;
    for (std::size_t page = 0; page < list.size(); page += 1024) {
        for (std::size_t offset = 0; offset <= 1016;) {
            const std::size_t length = static_cast<unsigned char>(list[page + offset + 6]);
            if (length == 0)
                break;
            ListEntry entry;
            for (int b = 3; b >= 0; --b)
                entry.first = entry.first << 8 | static_cast<unsigned char>(list[page + offset + static_cast<std::size_t>(b)]);
            entry.count = static_cast<unsigned char>(list[page + offset + 4]) |
                          static_cast<std::uint32_t>(static_cast<unsigned char>(list[page + offset + 5])) << 8;
            entry.word = list.substr(page + offset + 7, length);
            entries.push_back(std::move(entry));
            offset += 8 + length;
        }
    }
    return entries;
}

// The words of a keyword list with their first record, page by page.
inline std::vector<std::pair<std::string, std::uint32_t>> ListWords(const std::string& list)
{
    std::vector<std::pair<std::string, std::uint32_t>> words;
    for (ListEntry& entry : ListEntries(list))
        words.emplace_back(std::move(entry.word), entry.first);
    return words;
}

}  // namespace
