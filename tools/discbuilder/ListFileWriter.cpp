#include "ListFileWriter.h"

#include "ContentDatabaseSource.h"
#include "SampleAtlas.h"

#include <afx.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace discbuilder {

namespace {

void CheckField(const std::string& text)
{
    if (text.empty())
        throw std::invalid_argument("an empty list field");
    if (text.find_first_of("|\r\n") != std::string::npos)
        throw std::invalid_argument("list field \"" + text + "\" holds a separator or a line end");
}

// The short content codes of the show list's first field.
std::string ShortContentCode(const std::string& content)
{
    static const std::map<std::string, std::string> codes = {
        {"Artcl", "ART"}, {"Animt", "ANI"}, {"Video", "VID"},    {"Pict", "PIC"},    {"PicSnd", "SND"}, {"Simul", "SIM"},
        {"VirRel", "VIR"}, {"Map", "MAP"},  {"OnLine", "ONL"},  {"Centry", "CEN"}, {"TimeLine", "TML"},
    };
    auto found = codes.find(content);
    if (found == codes.end())
        throw std::invalid_argument("unknown content \"" + content + "\"");
    return found->second;
}

void CheckNumber(const std::filesystem::path& file, const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        throw std::runtime_error(file.string() + ": \"" + text + "\" is no whole number");
}

}  // namespace

ListFileBytes MakeListFiles(std::vector<ListFileEntry> entries, std::size_t lineLimit)
{
    // Sorted as the program's title search compares: case folded on the Western code page.
    std::stable_sort(entries.begin(), entries.end(), [](const ListFileEntry& a, const ListFileEntry& b) {
        return CString(a.title.c_str()).CompareNoCase(b.title.c_str()) < 0;
    });
    ListFileBytes bytes;
    std::vector<std::string> blocks;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string line;
        for (const std::string& field : entries[i].fields) {
            CheckField(field);
            line += field + "|";
        }
        CheckField(entries[i].title);
        line += entries[i].title;
        if (line.size() > lineLimit)
            throw std::invalid_argument("list line longer than " + std::to_string(lineLimit) + " characters: " +
                                        line);
        if (i % 100 == 0) {
            std::string key = entries[i].title.substr(0, 4);
            key.resize(4, ' ');
            blocks.push_back(std::to_string(bytes.data.size()) + " " + key + "\r\n");
        }
        bytes.data += line + "\r\n";
    }
    bytes.index = std::to_string(entries.size()) + "\r\n";
    for (const std::string& block : blocks)
        bytes.index += block;
    return bytes;
}

void WriteListFiles(const std::filesystem::path& dataPath, const std::filesystem::path& indexPath,
                    const std::vector<ListFileEntry>& entries, std::size_t lineLimit)
{
    const ListFileBytes bytes = MakeListFiles(entries, lineLimit);
    for (const auto& [path, text] : {std::pair{dataPath, &bytes.data}, std::pair{indexPath, &bytes.index}}) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << *text;
        if (!out)
            throw std::runtime_error("cannot write " + path.string());
    }
}

void MakePlaceListEntries(const std::vector<AtlasPlace>& places, std::vector<ListFileEntry>& mapSearch,
                          std::vector<ListFileEntry>& distances)
{
    for (const AtlasPlace& p : places) {
        if (p.hotSpot < 0 || p.hotSpot >= (1 << 17))
            throw std::invalid_argument("the place \"" + p.name + "\" has a hit offset a hit position cannot hold");
        const std::vector<std::string> hit = {p.code, std::to_string(p.map), "PPL", "220", std::to_string(p.hotSpot), "1"};
        mapSearch.push_back({hit, p.name});
        std::vector<std::string> withPoint = hit;
        withPoint.push_back(p.latitude);
        withPoint.push_back(p.longitude);
        distances.push_back({withPoint, p.name});
    }
}

std::vector<std::filesystem::path> WriteSampleLists(const std::filesystem::path& sampleFolder,
                                                    const std::filesystem::path& dataFolder,
                                                    const std::vector<AtlasPlace>* atlasPlaces)
{
    std::vector<std::filesystem::path> written;
    const std::filesystem::path lists = sampleFolder / "lists";
    if (!std::filesystem::is_directory(lists))
        return written;
    auto write = [&](const std::string& data, const std::string& index, const std::vector<ListFileEntry>& entries,
                     std::size_t limit = kListLineLimit) {
        WriteListFiles(dataFolder / data, dataFolder / index, entries, limit);
        written.push_back(dataFolder / data);
        written.push_back(dataFolder / index);
    };

    std::vector<ListFileEntry> shows;
    for (const auto& row : ReadSourceTable(lists / "shows.txt", 4)) {
        CheckNumber(lists / "shows.txt", row[1]);
        shows.push_back({{ShortContentCode(row[2]), row[1], row[3]}, row[0]});
    }
    write("Jlshow.dat", "jlshow.ndx", shows);

    // The media index of the media browser's ALL MEDIA list: the show list's media items.
    static const std::set<std::string> mediaCodes = {"ANI", "VID", "PIC", "SND", "SIM", "VIR", "MAP"};
    std::vector<ListFileEntry> media;
    for (const ListFileEntry& entry : shows)
        if (mediaCodes.count(entry.fields[0]) != 0)
            media.push_back(entry);
    write("Jlookcd1.dat", "jlookcd1.ndx", media);

    std::vector<ListFileEntry> places, distances;
    if (atlasPlaces != nullptr) {
        MakePlaceListEntries(*atlasPlaces, places, distances);
    } else {
        for (const auto& row : ReadSourceTable(lists / "places.txt", 5)) {
            CheckNumber(lists / "places.txt", row[4]);
            places.push_back({{row[1], row[4], "PPL", "0", "0", "0"}, row[0]});
            distances.push_back({{row[1], row[4], "PPL", "0", "0", "0", row[2], row[3]}, row[0]});
        }
    }
    write("map_loc.dat", "map_loc.ndx", places, kPlaceLineLimit);
    write("distcalc.dat", "distcalc.ndx", distances, kPlaceLineLimit);
    return written;
}

}  // namespace discbuilder
