// A fixture that makes either list data provider over the same rows: the list-file provider over a
// show list written by the disc builder's writer, or the database provider over the random
// browser's items in a content database written by its writer.
#pragma once

#include "ListDataSupport.h"
#include "WidgetTestSupport.h"

#include "base/VLDatabase.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace listdata {

enum class Provider { File, Database };

inline std::string ProviderName(Provider kind) { return kind == Provider::File ? "File" : "Database"; }

// Drive T: on a fresh folder and an application object, from the bitmap tests' fixture.
class ListProviderTest : public BitmapTest {
protected:
    void TearDown() override
    {
        provider.reset();
        set.reset();
        if (db.IsOpen())
            db.Close();
        BitmapTest::TearDown();
    }

    std::string HostT(const std::string& name) const { return (dir.path() / "t" / name).string(); }

    // Writes the show list T:\list.dat and its index T:\list.ndx.
    void WriteShowList(const std::vector<Row>& rows) const
    {
        discbuilder::WriteListFiles(HostT("list.dat"), HostT("list.ndx"), ShowEntries(rows));
    }
    // A show list provider over T:\list.dat; `opened` tells what Open gave.
    std::unique_ptr<CShowList> OpenShowList(BOOL* opened = nullptr) const
    {
        auto list = std::make_unique<CShowList>();
        EXPECT_TRUE(list->OpenFirstFile("T:\\list.dat"));
        BOOL result = list->Open("T:\\list.ndx");
        if (opened != nullptr)
            *opened = result;
        return list;
    }

    // Makes the provider of the kind over the rows (in any order).
    CBaseListData& Make(Provider kind, const std::vector<Row>& rows, const char* content = "Artcl")
    {
        if (kind == Provider::File) {
            WriteShowList(rows);
            BOOL opened = FALSE;
            provider = OpenShowList(&opened);
            EXPECT_TRUE(opened);
        } else {
            {
                discbuilder::ContentDatabaseWriter writer(HostT("vl00i1.mdb"));
                for (const Row& row : rows)
                    writer.AddDadaVaverozItem({row.title, std::to_string(row.id), "GEO", content});
                writer.Close();
            }
            EXPECT_TRUE(db.OpenDatabase("T:\\"));
            set = std::make_unique<CTitleSet>(&db);
            set->Open();
            auto data = std::make_unique<CVLDBVirtualData>();
            data->SetRecordset(set.get());
            provider = std::move(data);
        }
        return *provider;
    }

    // The title a provider gives for a row ("" when it gives none).
    static std::string TitleOf(CBaseListData& data, long row)
    {
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(row));
        if (!data.GetItem(&item))
            return "";
        EXPECT_EQ(item.cchTextMax, static_cast<int>(std::strlen(item.pszText)));
        EXPECT_EQ(item.cChildren, 0);
        return item.pszText;
    }

    CVLDatabase db;
    std::unique_ptr<CTitleSet> set;
    std::unique_ptr<CBaseListData> provider;
};

}  // namespace listdata
