// The product record PRODREG.DAT: written from its source, read back through the platform's
// profile reader as the registration tools read it, refused when a value would not come back as
// written, and read from truncated copies without harm.
#include <gtest/gtest.h>

#include "ProductRecordWriter.h"

#include <windows.h>

#include <host/Drives.h>

#include <TempDir.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

class ProductRecordTest : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override { host::MapDrive('P', dir.str(), DRIVE_FIXED, "PRODUCT"); }
    void TearDown() override { host::ResetDrives(); }

    static std::string Read(const char* key, const char* file = "P:\\PRODREG.DAT")
    {
        char text[512] = "";
        GetPrivateProfileString("PRODUCT", key, "", text, sizeof text, file);
        return text;
    }
};

TEST_F(ProductRecordTest, RoundTripsThroughTheProfileReader)
{
    const discbuilder::ProductRecord records[] = {
        {"Veltra Jubilee 2000 (International)", "VJ2000-INTL", "ENG"},
        {"Name=with=equals; and a semicolon", "N0", "JPN"},
        {"[bracketed start", "1", ""},
        {std::string(300, 'x'), "a-very-long-product-number-beyond-31-characters", "KOR"},
    };
    for (const auto& r : records) {
        SCOPED_TRACE(r.name);
        dir.Write("PRODREG.DAT", discbuilder::WriteProductRecord(r));
        EXPECT_EQ(Read("PRODUCTNAME"), r.name);
        EXPECT_EQ(Read("PRODUCTNUM"), r.number);
        EXPECT_EQ(Read("LANGUAGE"), r.language);
    }

    // The sample disc's record, from its source.
    const auto written = discbuilder::WriteSampleProductRecord(VL_SAMPLE_DIR, dir.path() / "disc");
    ASSERT_EQ(written, dir.path() / "disc" / "Setup" / "PRODREG.DAT");
    EXPECT_EQ(Read("PRODUCTNAME", "P:\\disc\\Setup\\PRODREG.DAT"), "Veltra Jubilee 2000 (International)");
    EXPECT_EQ(Read("PRODUCTNUM", "P:\\disc\\Setup\\PRODREG.DAT"), "VJ2000-INTL");
    EXPECT_EQ(Read("LANGUAGE", "P:\\disc\\Setup\\PRODREG.DAT"), "ENG");
}

TEST_F(ProductRecordTest, RefusesValuesThatWouldNotComeBack)
{
    const discbuilder::ProductRecord bad[] = {
        {"", "1", "ENG"},
        {"Name", "", "ENG"},
        {"Two\r\nlines", "1", "ENG"},
        {" padded", "1", "ENG"},
        {"Name", "1 ", "ENG"},
        {"\"quoted\"", "1", "ENG"},
        {"Section]name", "1", "ENG"},
        {"Name", "1", std::string("E\0G", 3)},
    };
    for (const auto& r : bad) {
        SCOPED_TRACE(r.name);
        EXPECT_THROW(discbuilder::WriteProductRecord(r), std::invalid_argument);
    }

    const struct {
        const char* text;
        const char* error;
    } sources[] = {
        {"PRODUCTNAME=A\nPRODUCTNUM\n", "product.txt:2: expected KEY=value"},
        {"PRODUCTNAME=A\nPRODUCTNUM=1\nCOLOUR=red\n", "product.txt:3: unknown key COLOUR"},
        {"# only a name\nPRODUCTNAME=A\n", "PRODUCTNAME and PRODUCTNUM are needed"},
    };
    for (const auto& s : sources) {
        SCOPED_TRACE(s.text);
        const auto source = dir.Write("setup/product.txt", s.text);
        try {
            discbuilder::ReadProductSource(source);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(s.error), std::string::npos) << e.what();
        }
    }
}

// Every truncated copy reads as a shorter record: each value is the written one, a beginning of
// it, or missing.
TEST_F(ProductRecordTest, TruncatedCopiesReadAsShorterRecords)
{
    const discbuilder::ProductRecord record{"Veltra Jubilee 2000 (International)", "VJ2000-INTL", "ENG"};
    const std::string bytes = discbuilder::WriteProductRecord(record);
    for (size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        dir.Write("PRODREG.DAT", bytes.substr(0, size));
        for (const auto& [key, value] : {std::pair<const char*, std::string>{"PRODUCTNAME", record.name},
                                         {"PRODUCTNUM", record.number}, {"LANGUAGE", record.language}}) {
            std::string read = Read(key);
            EXPECT_EQ(value.compare(0, read.size(), read), 0) << key << " read as " << read;
        }
    }
}

}  // namespace
