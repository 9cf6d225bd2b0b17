#include "ContentDatabaseSource.h"

#include "ContentDatabaseWriter.h"

#include <fstream>
#include <set>
#include <stdexcept>

namespace discbuilder {

namespace {

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return fields;
        start = bar + 1;
    }
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    if (text.empty())
        return items;
    std::size_t start = 0;
    for (;;) {
        std::size_t semi = text.find(';', start);
        std::string item = text.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
        if (!item.empty())
            items.push_back(item);
        if (semi == std::string::npos)
            return items;
        start = semi + 1;
    }
}

// A whole decimal number of a field (sign allowed); the file and field name the error.
long long Number(const std::filesystem::path& file, const std::string& text, const char* what)
{
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size())
        throw std::runtime_error(file.string() + ": " + what + " \"" + text + "\" is no whole number");
    return value;
}

}  // namespace

std::vector<std::vector<std::string>> ReadSourceTable(const std::filesystem::path& file, std::size_t fields)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error(file.string() + ": cannot be read");
    std::vector<std::vector<std::string>> rows;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> row = Split(line);
        if (row.size() != fields)
            throw std::runtime_error(file.string() + ":" + std::to_string(number) + ": " + std::to_string(row.size()) +
                                     " fields, expected " + std::to_string(fields));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> BackInTimeTopics(const std::vector<std::string>& titles)
{
    std::vector<std::string> topics;
    std::set<std::string> seen;
    for (const std::string& title : titles) {
        std::size_t paren = title.find(" (");
        if (paren == std::string::npos)
            continue;
        std::string topic = title.substr(0, paren);
        if (seen.insert(topic).second)
            topics.push_back(topic);
    }
    return topics;
}

void WriteContentDatabase(const std::filesystem::path& sourceFolder, const std::string& databaseHostPath,
                          std::uint32_t seed, const std::vector<DadaVaverozItem>& extraItems)
{
    ContentDatabaseWriter db(databaseHostPath);

    const std::filesystem::path flagFile = sourceFolder / "flagfile.txt";
    std::vector<std::string> backInTimeTitles;
    for (const auto& f : ReadSourceTable(flagFile, 10)) {
        FlagFileEntry e;
        e.rit = f[0];
        e.type = f[1];
        e.category = f[2];
        e.year = static_cast<double>(Number(flagFile, f[3], "year"));
        e.timeStamp = f[4];
        e.title = f[5];
        e.url = f[6];
        e.description = f[7];
        e.keywords = SplitList(f[8]);
        e.mtlNumbers = SplitList(f[9]);
        if (e.type == "OC")
            backInTimeTitles.push_back(e.title);
        db.AddFlagFileEntry(e);
    }
    for (const std::string& topic : BackInTimeTopics(backInTimeTitles))
        db.AddOurCenturyItem(topic);

    for (const auto& f : ReadSourceTable(sourceFolder / "firstlines.txt", 2))
        db.AddFirstLine(f[0], f[1]);

    const std::filesystem::path timelines = sourceFolder / "timelines.txt";
    for (const auto& f : ReadSourceTable(timelines, 4))
        db.AddTimeline(static_cast<std::int32_t>(Number(timelines, f[0], "timeline number")), f[1],
                       static_cast<std::int32_t>(Number(timelines, f[2], "article number")), f[3]);

    const std::filesystem::path items = sourceFolder / "dadavaveroz.txt";
    for (const auto& f : ReadSourceTable(items, 6)) {
        Number(items, f[1], "content number");
        db.AddDadaVaverozItem({f[0], f[1], f[2], f[3], f[4], f[5]});
    }
    for (const DadaVaverozItem& item : extraItems)
        db.AddDadaVaverozItem(item);
    db.FinishDadaVaveroz(seed);

    const std::filesystem::path tableData = sourceFolder / "tabledata.txt";
    for (const auto& f : ReadSourceTable(tableData, 3))
        db.AddTableData(f[0], f[1], static_cast<std::int32_t>(Number(tableData, f[2], "number")));

    for (const auto& f : ReadSourceTable(sourceFolder / "system.txt", 1))
        db.SetLastFlagIncrement(f[0]);

    db.Close();
}

}  // namespace discbuilder
