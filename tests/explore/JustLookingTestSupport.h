// Fixture of the browsing view's tests: drive T: with the data folder T:\disc\info_dat\ (the
// show list is read from there when the program folder has none), a content database written
// there by the disc builder's writer, and the show list written by its list writer.
#pragma once

#include "MediaTestSupport.h"

#include "base/AppDatabase.h"
#include "base/VLAppRecords.h"
#include "base/VLDatabase.h"

#include <ContentDatabaseWriter.h>
#include <ListFileWriter.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace explore_test {

// n items "Item 0000" ... (titles sort as numbered), content number 1001 + i, categories and
// contents taken in turn; every seventh item is an online item (18000101 + i).
inline std::vector<discbuilder::DadaVaverozItem> Items(int n)
{
    static const char* const categories[] = {"GEO", "HIS", "HUM", "IND", "LIF", "PHY", "REC", "SOC"};
    static const char* const contents[] = {"Artcl", "Pict", "Video", "Map", "TimeLine"};
    std::vector<discbuilder::DadaVaverozItem> items;
    for (int i = 0; i < n; ++i) {
        char title[32];
        std::snprintf(title, sizeof title, "Item %04d", i);
        discbuilder::DadaVaverozItem item;
        item.title = title;
        item.rinCode = std::to_string(i % 7 == 6 ? 18000101 + i : 1001 + i);
        item.category = categories[i % 8];
        item.content = i % 7 == 6 ? "OnLine" : contents[i % 5];
        item.whichCd = i % 3 == 0 ? "2" : "1";
        items.push_back(item);
    }
    return items;
}

class JustLookingTest : public media_test::MediaTest {
protected:
    void TearDown() override
    {
        SetAppDatabase(NULL);
        if (db.IsOpen())
            db.Close();
        MediaTest::TearDown();
    }

    std::string DatabasePath() const { return (DataFolder() / "vl00i1.mdb").string(); }
    static constexpr const char* kDatabase = "T:\\disc\\info_dat\\vl00i1.mdb";

    void WriteDatabase(const std::vector<discbuilder::DadaVaverozItem>& items)
    {
        discbuilder::ContentDatabaseWriter writer(DatabasePath());
        for (const auto& item : items)
            writer.AddDadaVaverozItem(item);
        writer.Close();
    }
    // Opens the database (read-only when asked) and installs it as the program's.
    void OpenDatabase(BOOL bReadOnly = FALSE)
    {
        db.Open(kDatabase, FALSE, bReadOnly);
        SetAppDatabase(&db);
    }

    // The show list of the items, as the disc builder writes it.
    void WriteShowList(const std::vector<discbuilder::DadaVaverozItem>& items)
    {
        std::vector<discbuilder::ListFileEntry> entries;
        for (const auto& item : items)
            entries.push_back({{item.content.substr(0, 3), item.rinCode, item.category}, item.title});
        discbuilder::WriteListFiles(DataFolder() / "Jlshow.dat", DataFolder() / "jlshow.ndx", entries);
    }
    void WriteFile(const char* name, const std::string& bytes)
    {
        std::ofstream out(DataFolder() / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    // The [Table Data] rows of the count cache: key value -> number.
    std::vector<std::pair<std::string, long>> CacheRows()
    {
        std::vector<std::pair<std::string, long>> rows;
        CVLAppRecords records(&db);
        records.m_strFilter = "[Key Value] LIKE 'Dada Vaveroz Records-*'";
        records.Open();
        while (!records.IsEOF()) {
            rows.emplace_back(std::string(records.m_KeyValue), records.m_NumberKey);
            records.MoveNext();
        }
        records.Close();
        return rows;
    }

    CVLDatabase db;
};

}  // namespace explore_test
