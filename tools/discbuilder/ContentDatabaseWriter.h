// Writes the content database "vl00i1.mdb" of a disc folder: every table the program's record
// sets open, with the columns and types they bind, and the rows the sample sources give.
//
// The file is an SQLite database in the form the class library's DAO classes read: text
// columns compare and sort without regard to case (COLLATE NOCASE) and refuse text longer than
// their size, as Jet's text fields do; the Jet types stay visible as the declared column types
// (TEXT(n), LONG, SHORT, DOUBLE, DATETIME, BIT).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace daosql {
class Connection;
class Statement;
}

namespace discbuilder {

// Jet field types as the record sets bind them (DFX_Text, DFX_Long, DFX_Short, DFX_Double,
// DFX_DateTime, DFX_Bool).
enum class FieldType { Text, Long, Short, Double, DateTime, Bit };

struct ColumnDef {
    std::string name;
    FieldType type;
    int size = 0;  // text fields: the largest number of characters
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<std::string> indexed;  // columns looked up by the program's filters
};

// Every table of the content database, in the order they are created.
const std::vector<TableDef>& ContentTables();

// A field value: Null, a whole number, a floating number or text (Windows-1252).
using FieldValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// One entry of the online article index: a [Flag File] row with its keywords and topic numbers.
struct FlagFileEntry {
    std::string rit;
    std::string type;  // "OC", "OL", "WS"
    std::string url;
    std::string timeStamp;
    std::string title;
    std::string category;
    std::string description;
    std::string graphicsList;
    double year = 0;
    std::vector<std::string> keywords;    // [Flag File Keyword] rows
    std::vector<std::string> mtlNumbers;  // [Flag File MTL] rows
};

// One item of the random browser ([Dada Vaveroz Data]); the random ordinals are given out by
// ContentDatabaseWriter::FinishDadaVaveroz.
struct DadaVaverozItem {
    std::string title;
    std::string rinCode;
    std::string category;  // GEO, HIS, HUM, IND, LIF, PHY, REC, SOC
    std::string content;   // Artcl, Animt, Video, Pict, PicSnd, Simul, VirRel, Map, OnLine, Centry, TimeLine
    std::string whichCd = "1";
    std::string showInJustLooking = "Y";
};

class ContentDatabaseWriter {
public:
    static constexpr const char* kFileName = "vl00i1.mdb";

    // Creates the database at a host path (a file already there is replaced) with every table.
    // Rows go in under one transaction that Close (or the destructor) commits.
    explicit ContentDatabaseWriter(const std::string& hostPath);
    ~ContentDatabaseWriter();
    ContentDatabaseWriter(const ContentDatabaseWriter&) = delete;
    ContentDatabaseWriter& operator=(const ContentDatabaseWriter&) = delete;

    // Adds one row to a table: column name -> value; columns not named stay Null. Throws
    // std::invalid_argument for a table or column the database does not have and daosql::Error
    // when the database refuses the row (text too long for its field).
    void Insert(const std::string& table, const std::vector<std::pair<std::string, FieldValue>>& row);

    void AddFlagFileEntry(const FlagFileEntry& entry);
    void AddFirstLine(const std::string& rinCode, const std::string& firstLine);
    void AddTimeline(std::int32_t rin, const std::string& title, std::int32_t articleRin,
                     const std::string& articleTitle);
    void AddOurCenturyItem(const std::string& item);
    void SetLastFlagIncrement(const std::string& fileName);
    void AddTableData(const std::string& keyValue, const std::string& stringKey, std::int32_t numberKey);
    void AddDadaVaverozItem(const DadaVaverozItem& item);

    // Gives every [Dada Vaveroz Data] row its random ordinals (0-based, a shuffled order within
    // each group: all rows, its category, its content, its category and content, the media
    // rows, the media rows of its category; -1 where a row is in no such group) and writes
    // [Dada Vaveroz Stats] with the size of every group: one row per content code, "All" and
    // "Media", each with the count of all its rows and of each category. The same seed gives
    // the same order. Called once, after the last item (Close calls it when no one did).
    void FinishDadaVaveroz(std::uint32_t seed);

    // Commits the rows and closes the file.
    void Close();

private:
    daosql::Statement& InsertStatement(const std::string& table, const std::vector<std::string>& columns);

    std::unique_ptr<daosql::Connection> m_db;
    std::map<std::string, std::unique_ptr<daosql::Statement>> m_statements;
    std::vector<DadaVaverozItem> m_items;
    bool m_finished = false;
};

}  // namespace discbuilder
