#include "RomLinkWriter.h"

#include "ContentDatabaseSource.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace discbuilder {

namespace {

void Require(bool condition, const std::string& what, std::int32_t rin)
{
    if (!condition)
        throw std::invalid_argument("ROM_LINK record " + std::to_string(rin) + ": " + what);
}

}  // namespace

const std::vector<std::int32_t>& RomLinkDefaultRins()
{
    static const std::vector<std::int32_t> rins = {1, 2000461, 3000732, 4010010, 4020019, 4040006};
    return rins;
}

int RomLinkKindDigitFor(std::int32_t rin)
{
    // Online items (second digit 1) are never on a disc.
    if (rin < 0 || rin >= 100000000 || (rin / 10000000) % 10 != 0)
        throw std::invalid_argument("no disc kind for RIN " + std::to_string(rin));
    const std::int32_t million = rin / 1000000;
    switch (million) {
    case 0:
    case 5:
    case 7:
    case 8:
        return 0;  // articles and the other text kinds
    case 1:
    case 2:
    case 9:
        return 3;  // pictures
    case 3:
        return 6;  // maps
    case 6:
        return 4;  // sounds
    default:
        break;
    }
    switch (rin / 10000) {
    case 401:
        return 1;  // animations
    case 402:
        return 2;  // videos
    case 403:
        return 5;  // simulations
    case 404:
        return 7;  // virtual-reality scenes
    case 405:
        return 9;  // bubbles
    case 406:
        return 8;  // timelines: no file of their own
    default:
        throw std::invalid_argument("no disc kind for RIN " + std::to_string(rin));
    }
}

void AddMissingRomLinkDefaults(std::vector<RomLinkEntry>& entries)
{
    if (entries.empty())
        throw std::invalid_argument("ROM_LINK defaults need an item to stand for");
    const std::size_t given = entries.size();
    for (std::int32_t rin : RomLinkDefaultRins()) {
        auto begin = entries.begin();
        auto end = entries.begin() + static_cast<std::ptrdiff_t>(given);
        if (std::any_of(begin, end, [&](const RomLinkEntry& e) { return e.rin == rin; }))
            continue;
        const int kind = RomLinkKindDigitFor(rin);
        auto model = std::find_if(begin, end, [&](const RomLinkEntry& e) { return e.kind == kind; });
        RomLinkEntry entry = model != end ? *model : entries.front();
        entry.rin = rin;
        entry.kind = kind;
        entries.push_back(entry);
    }
}

std::string RomLinkText(std::vector<RomLinkEntry> entries)
{
    std::sort(entries.begin(), entries.end(), [](const RomLinkEntry& a, const RomLinkEntry& b) { return a.rin < b.rin; });
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const RomLinkEntry& e = entries[i];
        Require(e.rin >= 0, "negative RIN", e.rin);
        Require(i == 0 || entries[i - 1].rin != e.rin, "RIN listed twice", e.rin);
        Require(e.category >= 0 && e.category <= 9, "category digit out of range", e.rin);
        Require(e.kind >= 0 && e.kind <= 9, "kind digit out of range", e.rin);
        Require(e.pictureFlag == 0 || e.pictureFlag == 1, "picture flag not 0 or 1", e.rin);
        Require(e.disc == 1 || e.disc == 2, "disc not 1 or 2", e.rin);
        Require(e.block < (1u << 23), "block of 2^23 or more", e.rin);
        Require(e.blockCount >= 1 && e.blockCount <= 127, "block count outside 1 to 127", e.rin);
    }
    for (std::int32_t rin : RomLinkDefaultRins()) {
        bool present = std::binary_search(entries.begin(), entries.end(), RomLinkEntry{rin},
                                          [](const RomLinkEntry& a, const RomLinkEntry& b) { return a.rin < b.rin; });
        Require(present, "default record missing", rin);
    }

    std::string text;
    for (const RomLinkEntry& e : entries) {
        text += std::to_string(e.rin) + '|' + std::to_string(e.category) + '|' + std::to_string(e.kind) + '|' +
                std::to_string(e.pictureFlag) + '|' + std::to_string(e.disc) + '|' + std::to_string(e.block) + '|' +
                std::to_string(e.blockCount) + "\r\n";
    }
    return text;
}

std::filesystem::path WriteRomLinkFile(const std::filesystem::path& dataFolder, const std::vector<RomLinkEntry>& entries)
{
    const std::string text = RomLinkText(entries);
    std::filesystem::create_directories(dataFolder);
    const std::filesystem::path file = dataFolder / kRomLinkFileName;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    return file;
}

std::vector<RomLinkEntry> ReadRomLinkSource(const std::filesystem::path& sourceFile)
{
    std::vector<RomLinkEntry> entries;
    std::size_t row = 0;
    for (const std::vector<std::string>& fields : ReadSourceTable(sourceFile, 6)) {
        ++row;
        long long values[6];
        for (std::size_t i = 0; i < 6; ++i) {
            const std::string& field = fields[i];
            bool decimal = !field.empty() && field.size() <= 10 &&
                           std::all_of(field.begin(), field.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
            if (!decimal)
                throw std::runtime_error(sourceFile.string() + ": record " + std::to_string(row) + ": field " +
                                         std::to_string(i + 1) + " is not a decimal number");
            values[i] = std::stoll(field);
        }
        RomLinkEntry entry;
        entry.rin = static_cast<std::int32_t>(values[0]);
        try {
            entry.kind = RomLinkKindDigitFor(entry.rin);
        } catch (const std::invalid_argument& e) {
            throw std::runtime_error(sourceFile.string() + ": record " + std::to_string(row) + ": " + e.what());
        }
        entry.category = static_cast<int>(values[1]);
        entry.pictureFlag = static_cast<int>(values[2]);
        entry.disc = static_cast<int>(values[3]);
        entry.block = static_cast<std::uint32_t>(values[4]);
        entry.blockCount = static_cast<int>(values[5]);
        entries.push_back(entry);
    }
    return entries;
}

std::filesystem::path WriteRomLinkFromSource(const std::filesystem::path& sourceFile,
                                             const std::filesystem::path& dataFolder)
{
    std::vector<RomLinkEntry> entries = ReadRomLinkSource(sourceFile);
    AddMissingRomLinkDefaults(entries);
    return WriteRomLinkFile(dataFolder, entries);
}

}  // namespace discbuilder
