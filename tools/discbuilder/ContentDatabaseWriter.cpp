#include "ContentDatabaseWriter.h"

#include "DaoSql.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace discbuilder {

namespace {

ColumnDef Text(const char* name, int size = 255) { return {name, FieldType::Text, size}; }
ColumnDef Long(const char* name) { return {name, FieldType::Long, 0}; }
ColumnDef Short(const char* name) { return {name, FieldType::Short, 0}; }
ColumnDef Double(const char* name) { return {name, FieldType::Double, 0}; }

const char* const kCategories[] = {"GEO", "HIS", "HUM", "IND", "LIF", "PHY", "REC", "SOC"};
const char* const kContents[] = {"Artcl", "Animt", "Video", "Pict", "PicSnd", "Simul",
                                 "VirRel", "Map", "OnLine", "Centry", "TimeLine"};
const char* const kMedia[] = {"Animt", "Map", "PicSnd", "Pict", "Simul", "Video", "VirRel"};

std::string Quote(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// A column as Jet's DDL declares it; the engine gives it Jet's rules (no case, size, range).
std::string ColumnDdl(const ColumnDef& c)
{
    std::string name = "[" + c.name + "]";
    switch (c.type) {
    case FieldType::Text: return name + " TEXT(" + std::to_string(c.size) + ")";
    case FieldType::Long: return name + " LONG";
    case FieldType::Short: return name + " SHORT";
    case FieldType::Double: return name + " DOUBLE";
    case FieldType::DateTime: return name + " DATETIME";
    case FieldType::Bit: return name + " BIT";
    }
    return name;
}

bool Same(const std::string& a, const std::string& b)
{
    return daosql::CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

bool IsMedia(const std::string& content)
{
    for (const char* m : kMedia)
        if (content == m)
            return true;
    return false;
}

int CategoryIndex(const std::string& category)
{
    for (int i = 0; i < 8; ++i)
        if (Same(category, kCategories[i]))
            return i;
    return -1;
}

}  // namespace

const std::vector<TableDef>& ContentTables()
{
    static const std::vector<TableDef> tables = {
        {"Flag File",
         {Text("RIT"), Text("Type"), Text("URL"), Text("Article TimeStamp"), Text("Title"), Text("Category"),
          Text("Description"), Text("Graphics List"), Double("Year")},
         {"RIT", "Type"}},
        {"Flag File Keyword", {Text("RIT"), Text("Keyword")}, {"Keyword", "RIT"}},
        {"Flag File MTL", {Text("MTL Number"), Text("RIT")}, {"MTL Number", "RIT"}},
        {"First Line", {Text("Rin Code"), Text("First Line")}, {"Rin Code"}},
        {"Dada Vaveroz Data",
         {Text("Title"), Text("Rin Code"), Text("Category"), Text("Content"), Text("Which CD"),
          Text("Show In JustLooking"), Long("Random"), Short("RandomCategory"), Long("RandomContent"),
          Short("RandomCategoryContent"), Short("RandomMedia"), Short("RandomCategoryMedia")},
         {"Title", "Rin Code", "Content"}},
        {"Dada Vaveroz Stats",
         {Text("Content"), Long("ALL"), Short("GEO"), Short("HIS"), Short("HUM"), Short("IND"), Short("LIF"),
          Short("PHY"), Short("REC"), Short("SOC")},
         {"Content"}},
        {"Our Century List", {Text("Item")}, {}},
        {"System Table", {Text("Last Flag Increment")}, {}},
        {"Timelines", {Long("RIN"), Text("Title"), Long("Article RIN"), Text("Article Title")}, {"RIN"}},
        {"Table Data", {Text("Key Value"), Text("String Key"), Long("Number Key")}, {"Key Value"}},
    };
    return tables;
}

ContentDatabaseWriter::ContentDatabaseWriter(const std::string& hostPath)
{
    std::error_code ec;
    std::filesystem::remove(hostPath, ec);
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        std::filesystem::remove(hostPath + suffix, ec);
    m_db = std::make_unique<daosql::Connection>(hostPath, daosql::OpenOptions{false, false, true});
    for (const TableDef& t : ContentTables()) {
        std::string ddl = "CREATE TABLE [" + t.name + "] (";
        for (std::size_t i = 0; i < t.columns.size(); ++i)
            ddl += (i ? ", " : "") + ColumnDdl(t.columns[i]);
        m_db->Execute(ddl + ")", true);
        for (const std::string& c : t.indexed)
            m_db->Execute("CREATE INDEX [" + t.name + " by " + c + "] ON [" + t.name + "] ([" + c + "])", true);
    }
    m_db->BeginTrans();
}

ContentDatabaseWriter::~ContentDatabaseWriter()
{
    try {
        Close();
    } catch (...) {
        // A destructor cannot report; Close called directly does.
    }
}

void ContentDatabaseWriter::Close()
{
    if (!m_db)
        return;
    if (!m_finished && !m_items.empty())
        FinishDadaVaveroz(1);
    m_statements.clear();
    m_db->CommitTrans();
    m_db.reset();
}

daosql::Statement& ContentDatabaseWriter::InsertStatement(const std::string& table,
                                                          const std::vector<std::string>& columns)
{
    std::string sql = "INSERT INTO " + Quote(table) + " (";
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? ", " : "") + Quote(columns[i]);
        marks += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    sql += ") VALUES (" + marks + ")";
    auto& slot = m_statements[sql];
    if (!slot) {
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(m_db->Handle(), sql.c_str(), -1, &raw, nullptr);
        if (rc != SQLITE_OK)
            m_db->Fail(rc, "DAO.Database", sql);
        slot = std::make_unique<daosql::Statement>(raw);
    }
    return *slot;
}

void ContentDatabaseWriter::Insert(const std::string& table,
                                   const std::vector<std::pair<std::string, FieldValue>>& row)
{
    if (!m_db)
        throw std::logic_error("the content database is closed");
    const TableDef* def = nullptr;
    for (const TableDef& t : ContentTables())
        if (Same(t.name, table))
            def = &t;
    if (!def)
        throw std::invalid_argument("no table [" + table + "] in the content database");
    std::vector<std::string> columns;
    for (const auto& [name, value] : row) {
        bool known = false;
        for (const ColumnDef& c : def->columns)
            known = known || Same(c.name, name);
        if (!known)
            throw std::invalid_argument("no column [" + name + "] in table [" + def->name + "]");
        columns.push_back(name);
    }
    if (row.empty())
        throw std::invalid_argument("an empty row for table [" + def->name + "]");
    sqlite3_stmt* s = InsertStatement(def->name, columns).get();
    sqlite3_reset(s);
    for (std::size_t i = 0; i < row.size(); ++i)
        daosql::BindValue(s, static_cast<int>(i + 1), row[i].second);
    int rc = sqlite3_step(s);
    sqlite3_reset(s);
    if (rc != SQLITE_DONE)
        m_db->Fail(sqlite3_extended_errcode(m_db->Handle()), "DAO.Database", "INSERT INTO [" + def->name + "]");
}

void ContentDatabaseWriter::AddFlagFileEntry(const FlagFileEntry& e)
{
    Insert("Flag File", {{"RIT", e.rit},
                         {"Type", e.type},
                         {"URL", e.url},
                         {"Article TimeStamp", e.timeStamp},
                         {"Title", e.title},
                         {"Category", e.category},
                         {"Description", e.description},
                         {"Graphics List", e.graphicsList},
                         {"Year", e.year}});
    for (const std::string& k : e.keywords)
        Insert("Flag File Keyword", {{"RIT", e.rit}, {"Keyword", k}});
    for (const std::string& m : e.mtlNumbers)
        Insert("Flag File MTL", {{"MTL Number", m}, {"RIT", e.rit}});
}

void ContentDatabaseWriter::AddFirstLine(const std::string& rinCode, const std::string& firstLine)
{
    Insert("First Line", {{"Rin Code", rinCode}, {"First Line", firstLine}});
}

void ContentDatabaseWriter::AddTimeline(std::int32_t rin, const std::string& title, std::int32_t articleRin,
                                        const std::string& articleTitle)
{
    Insert("Timelines", {{"RIN", std::int64_t{rin}},
                         {"Title", title},
                         {"Article RIN", std::int64_t{articleRin}},
                         {"Article Title", articleTitle}});
}

void ContentDatabaseWriter::AddOurCenturyItem(const std::string& item) { Insert("Our Century List", {{"Item", item}}); }

void ContentDatabaseWriter::SetLastFlagIncrement(const std::string& fileName)
{
    m_db->Execute("DELETE FROM [System Table]", true);
    Insert("System Table", {{"Last Flag Increment", fileName}});
}

void ContentDatabaseWriter::AddTableData(const std::string& keyValue, const std::string& stringKey,
                                         std::int32_t numberKey)
{
    Insert("Table Data", {{"Key Value", keyValue}, {"String Key", stringKey}, {"Number Key", std::int64_t{numberKey}}});
}

void ContentDatabaseWriter::AddDadaVaverozItem(const DadaVaverozItem& item)
{
    if (m_finished)
        throw std::logic_error("the random browser's rows are already written");
    m_items.push_back(item);
}

void ContentDatabaseWriter::FinishDadaVaveroz(std::uint32_t seed)
{
    if (m_finished)
        throw std::logic_error("the random browser's rows are already written");
    m_finished = true;
    const std::size_t n = m_items.size();
    std::mt19937 rng(seed);
    // Ordinals of the rows within a group: a shuffled 0..size-1; -1 for rows outside it.
    auto ordinals = [&](auto inGroup, auto groupKey) {
        std::map<std::string, std::vector<std::size_t>> groups;
        for (std::size_t i = 0; i < n; ++i)
            if (inGroup(m_items[i]))
                groups[groupKey(m_items[i])].push_back(i);
        std::vector<std::int64_t> out(n, -1);
        for (auto& [key, rows] : groups) {
            std::shuffle(rows.begin(), rows.end(), rng);
            for (std::size_t k = 0; k < rows.size(); ++k)
                out[rows[k]] = static_cast<std::int64_t>(k);
        }
        return out;
    };
    auto all = [](const DadaVaverozItem&) { return true; };
    auto hasCategory = [](const DadaVaverozItem& i) { return CategoryIndex(i.category) >= 0; };
    auto media = [](const DadaVaverozItem& i) { return IsMedia(i.content); };
    auto mediaWithCategory = [&](const DadaVaverozItem& i) { return media(i) && hasCategory(i); };
    auto one = [](const DadaVaverozItem&) { return std::string(); };
    auto category = [](const DadaVaverozItem& i) { return std::string(kCategories[CategoryIndex(i.category)]); };
    auto content = [](const DadaVaverozItem& i) { return i.content; };
    auto categoryContent = [&](const DadaVaverozItem& i) { return category(i) + "/" + i.content; };

    auto random = ordinals(all, one);
    auto randomCategory = ordinals(hasCategory, category);
    auto randomContent = ordinals(all, content);
    auto randomCategoryContent = ordinals(hasCategory, categoryContent);
    auto randomMedia = ordinals(media, one);
    auto randomCategoryMedia = ordinals(mediaWithCategory, category);
    for (std::size_t i = 0; i < n; ++i) {
        const DadaVaverozItem& it = m_items[i];
        Insert("Dada Vaveroz Data", {{"Title", it.title},
                                     {"Rin Code", it.rinCode},
                                     {"Category", it.category},
                                     {"Content", it.content},
                                     {"Which CD", it.whichCd},
                                     {"Show In JustLooking", it.showInJustLooking},
                                     {"Random", random[i]},
                                     {"RandomCategory", randomCategory[i]},
                                     {"RandomContent", randomContent[i]},
                                     {"RandomCategoryContent", randomCategoryContent[i]},
                                     {"RandomMedia", randomMedia[i]},
                                     {"RandomCategoryMedia", randomCategoryMedia[i]}});
    }

    // The size of every group, one row per content choice.
    std::vector<std::string> rows = {"All"};
    rows.insert(rows.end(), std::begin(kContents), std::end(kContents));
    rows.push_back("Media");
    for (const std::string& row : rows) {
        std::int64_t total = 0;
        std::int64_t perCategory[8] = {};
        for (const DadaVaverozItem& it : m_items) {
            bool counts = row == "All" || (row == "Media" ? IsMedia(it.content) : it.content == row);
            if (!counts)
                continue;
            ++total;
            int c = CategoryIndex(it.category);
            if (c >= 0)
                ++perCategory[c];
        }
        std::vector<std::pair<std::string, FieldValue>> fields = {{"Content", row}, {"ALL", total}};
        for (int c = 0; c < 8; ++c)
            fields.emplace_back(kCategories[c], perCategory[c]);
        Insert("Dada Vaveroz Stats", fields);
    }
    m_items.clear();
}

}  // namespace discbuilder
