#include "DictionaryWriter.h"

#include "search/KeywordTokenizer.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace discbuilder {

namespace {

// A line split at spaces into pieces the reader takes whole.
std::vector<std::string> SplitLongLine(const std::string& line)
{
    std::vector<std::string> pieces;
    std::string rest = line;
    while (rest.size() > kDictMaxLine) {
        std::size_t cut = rest.rfind(' ', kDictMaxLine - 1);
        if (cut == std::string::npos || cut == 0)
            cut = kDictMaxLine - 1;
        pieces.push_back(rest.substr(0, cut + 1));
        rest = rest.substr(cut + 1);
    }
    pieces.push_back(rest);
    return pieces;
}

void AppendU32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error(path.string() + ": cannot be written");
}

}  // namespace

std::string DictionaryIndexWord(const std::string& headword)
{
    std::string word;
    for (char ch : headword) {
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        if (const char base = keyword_terms::FoldAccent(static_cast<unsigned char>(ch)))
            ch = base;
        if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
            word += ch;
    }
    return word;
}

DictionaryFiles BuildDictionary(std::vector<DictionaryEntry> entries)
{
    DictionaryFiles files;
    std::stable_sort(entries.begin(), entries.end(), [](const DictionaryEntry& a, const DictionaryEntry& b) {
        return DictionaryIndexWord(a.headword) < DictionaryIndexWord(b.headword);
    });

    // DICTDEFS.ROM and the index words with their offsets: the headword's and every other
    // headword's of each entry.
    struct Word {
        DictionaryIndexEntry entry;
        bool other;  // another headword of its entry
    };
    std::vector<Word> words;
    for (const DictionaryEntry& entry : entries) {
        if (files.definitions.size() > 0xFFFFFFF0u)
            throw std::invalid_argument("DICTDEFS.ROM: the definitions pass 4 GB");
        const auto offset = static_cast<std::uint32_t>(files.definitions.size());
        files.entryOffsets.push_back(offset);
        words.push_back({{DictionaryIndexWord(entry.headword).substr(0, kDictMaxWord), offset}, false});
        for (const std::string& other : entry.otherHeadwords)
            words.push_back({{DictionaryIndexWord(other).substr(0, kDictMaxWord), offset}, true});
        std::vector<std::string> lines = SplitLongLine(entry.firstLine);
        for (const std::string& line : entry.lines) {
            std::vector<std::string> pieces = SplitLongLine(line);
            lines.insert(lines.end(), pieces.begin(), pieces.end());
        }
        for (const std::string& line : lines) {
            files.definitions += line;
            files.definitions += '\n';
        }
        files.definitions += static_cast<char>(kDictEntryEnd);
        files.definitions += '\n';
    }
    files.definitions += static_cast<char>(kDictEndOfData);
    files.entries = std::move(entries);
    // One index entry per word, sorted: a word of several entries leads to the first of them (a
    // headword before another entry's other headword of the same spelling).
    std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return a.entry.word != b.entry.word ? a.entry.word < b.entry.word : a.other < b.other;
    });
    for (const Word& word : words)
        if (!word.entry.word.empty() && (files.index.empty() || files.index.back().word != word.entry.word))
            files.index.push_back(word.entry);

    // dicmain.ndx: whole entries per block; the last word of every block for the master index.
    std::vector<std::string> lastWords;
    std::string block;
    auto closeBlock = [&](const std::string& last) {
        block.resize(kDictBlockSize, '\0');
        files.mainIndex += block;
        block.clear();
        lastWords.push_back(last);
    };
    std::string previous;
    for (const DictionaryIndexEntry& item : files.index) {
        const std::size_t size = item.word.size() + 6;
        if (block.size() + size > kDictBlockSize)
            closeBlock(previous);
        AppendU32(block, item.offset);
        block += static_cast<char>(item.word.size());
        block += item.word;
        block += '\0';
        previous = item.word;
    }
    if (!block.empty())
        closeBlock(previous);

    // dicmstr.ndx: the texts front-coded.
    std::string text;
    for (const std::string& word : lastWords) {
        std::size_t shared = 0;
        while (shared < text.size() && shared < word.size() && text[shared] == word[shared])
            ++shared;
        shared = std::min<std::size_t>(shared, 195);
        const std::string own = word.substr(shared, 5);
        files.masterIndex += static_cast<char>(shared);
        files.masterIndex += own;
        files.masterIndex.append(5 - own.size(), '\0');
        text = word.substr(0, shared + own.size());
    }
    return files;
}

void WriteDictionary(const DictionaryFiles& files, const std::filesystem::path& dataFolder)
{
    std::filesystem::create_directories(dataFolder);
    WriteFile(dataFolder / "DICTDEFS.ROM", files.definitions);
    WriteFile(dataFolder / "dicmain.ndx", files.mainIndex);
    WriteFile(dataFolder / "dicmstr.ndx", files.masterIndex);
}

std::vector<std::filesystem::path> WriteSampleDictionary(const std::filesystem::path& sampleFolder,
                                                         const std::filesystem::path& dataFolder)
{
    std::vector<DictionaryEntry> entries = ReadDictionarySources(sampleFolder / "dictionary");
    if (entries.empty())
        return {};
    WriteDictionary(BuildDictionary(std::move(entries)), dataFolder);
    return {dataFolder / "DICTDEFS.ROM", dataFolder / "dicmain.ndx", dataFolder / "dicmstr.ndx"};
}

}  // namespace discbuilder
