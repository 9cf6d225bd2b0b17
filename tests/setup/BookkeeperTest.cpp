// The registration bookkeeping tool in this process, against a private system tree: the install
// record (slot, slot keys, status and date in both files), reinstalls, full lists, recorded slots,
// and the uninstall record with and without the registration count.
#include "vorbadmin/Bookkeeper.h"

#include "RegistrationFixture.h"

#include <fstream>
#include <iterator>

namespace {

class BookkeeperTest : public RegistrationFixture {
protected:
    // Runs the tool in C:\<folder> with the arguments.
    int Run(const std::string& folder, const char* arguments = "")
    {
        EXPECT_TRUE(SetCurrentDirectory(("C:\\" + folder).c_str()));
        return RunRegistrationBookkeeper(arguments);
    }
    // The bytes of a file of the platform, "(missing)" when there is none.
    static std::string Bytes(const std::string& file)
    {
        auto host = host::ToHostPath(file);
        std::ifstream in(host.value_or(""), std::ios::binary);
        if (!in)
            return "(missing)";
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void FillList(int products)
    {
        for (int slot = 1; slot <= products; ++slot) {
            char key[32];
            std::snprintf(key, sizeof key, "PRODNAME%04d", slot);
            Set(GlobalList(), "PRODLIST", key, "Other product " + std::to_string(slot));
        }
        char count[32];
        std::snprintf(count, sizeof count, "%04d", products);
        Set(GlobalList(), "PRODLIST", "NUMPROD", count);
    }
};

TEST_F(BookkeeperTest, InstallRecordsTheProductAndAReinstallKeepsItsSlot)
{
    std::string folder = Product("VL", "Veltra Jubilee 2000");
    std::string local = folder + "REG.REG";
    ASSERT_EQ(Run("VL"), 0);
    const std::string list = GlobalList();
    EXPECT_EQ(Text(list, "PRODLIST", "NUMPROD"), "0001");
    EXPECT_EQ(Text(list, "PRODLIST", "PROD0001"), "VJ2000-INTL");
    EXPECT_EQ(Text(list, "PRODLIST", "OSTRELID0001"), "VJ2000-I");  // the identifier's 8 characters
    EXPECT_EQ(Text(list, "PRODLIST", "PRODNAME0001"), "Veltra Jubilee 2000");
    EXPECT_EQ(Text(list, "PRODLIST", "DEFDIR0001"), "C:\\VL\\");
    EXPECT_EQ(Text(local, "Veltra Jubilee 2000", "PRODLIST"), "0001");
    for (const std::string& file : {list, local}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(Text(file, "Veltra Jubilee 2000", "STATUS"), "7");
        EXPECT_EQ(Text(file, "Veltra Jubilee 2000", "INSTALLDATE"), "20261230");
    }

    // Registered meanwhile, installed again two days later: the same slot, a fresh status and date.
    Set(list, "Veltra Jubilee 2000", "STATUS", "5");
    Set(local, "Veltra Jubilee 2000", "STATUS", "5");
    host::StepClock(2 * 86400000LL);
    ASSERT_EQ(Run("VL"), 0);
    EXPECT_EQ(Text(list, "PRODLIST", "NUMPROD"), "0001");
    EXPECT_FALSE(Value(list, "PRODLIST", "PRODNAME0002").has_value());
    for (const std::string& file : {list, local}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(Text(file, "Veltra Jubilee 2000", "STATUS"), "7");
        EXPECT_EQ(Text(file, "Veltra Jubilee 2000", "INSTALLDATE"), "20270101");
    }

    // A second product gets the next slot; the first keeps its own.
    Product("Atlas", "Veltra Atlas", "VA1");
    ASSERT_EQ(Run("Atlas"), 0);
    EXPECT_EQ(Text(list, "PRODLIST", "NUMPROD"), "0002");
    EXPECT_EQ(Text(list, "PRODLIST", "PRODNAME0002"), "Veltra Atlas");
    EXPECT_EQ(Text(list, "PRODLIST", "DEFDIR0002"), "C:\\Atlas\\");
    EXPECT_EQ(Text(list, "PRODLIST", "PRODNAME0001"), "Veltra Jubilee 2000");
}

// Where the slot comes from: the search of the first 99 slots, the slot the local record names
// (under either key), and after NUMPROD when neither finds the product.
TEST_F(BookkeeperTest, SlotFromTheListOrTheLocalRecord)
{
    const struct {
        const char* what;
        int listed;                // products already in the list
        int productAt;             // the product's own slot in the list (0: not listed)
        const char* localKey;      // the key of the local record naming a slot
        const char* localSlot;
        const char* expectedSlot;
        const char* expectedCount;
    } cases[] = {
        {"a full search list appends", 99, 0, nullptr, nullptr, "0100", "0100"},
        {"found by the search", 5, 3, nullptr, nullptr, "0003", "0005"},
        {"the recorded PRODLIST", 120, 110, "PRODLIST", "0110", "0110", "0120"},
        {"only PRODUCTLISTNUM", 120, 110, "PRODUCTLISTNUM", "0110", "0110", "0120"},
        {"a recorded slot of another product", 4, 0, "PRODLIST", "0002", "0005", "0005"},
        {"a recorded slot that is no number", 4, 0, "PRODLIST", "two", "0005", "0005"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ec;
        std::filesystem::remove_all(root.path() / "VL", ec);
        DeleteFile(GlobalList().c_str());
        std::string folder = Product("VL", "Veltra Jubilee 2000");
        FillList(c.listed);
        if (c.productAt)
            Set(GlobalList(), "PRODLIST", "PRODNAME" + std::string(c.expectedSlot), "Veltra Jubilee 2000");
        if (c.localKey)
            Set(folder + "REG.REG", "Veltra Jubilee 2000", c.localKey, c.localSlot);
        ASSERT_EQ(Run("VL"), 0);
        EXPECT_EQ(Text(GlobalList(), "PRODLIST", "NUMPROD"), c.expectedCount);
        EXPECT_EQ(Text(GlobalList(), "PRODLIST", std::string("PRODNAME") + c.expectedSlot), "Veltra Jubilee 2000");
        EXPECT_EQ(Text(GlobalList(), "PRODLIST", std::string("DEFDIR") + c.expectedSlot), "C:\\VL\\");
        EXPECT_EQ(Text(folder + "REG.REG", "Veltra Jubilee 2000", "PRODLIST"), c.expectedSlot);
        // Other products keep their names.
        EXPECT_EQ(Text(GlobalList(), "PRODLIST", "PRODNAME0001"),
                  c.productAt == 1 ? "Veltra Jubilee 2000" : "Other product 1");
        if (c.listed >= 2 && c.productAt != 2) {
            EXPECT_EQ(Text(GlobalList(), "PRODLIST", "PRODNAME0002"), "Other product 2");
        }
    }
}

TEST_F(BookkeeperTest, UninstallRecordsAndCounts)
{
    const struct {
        const char* what;
        std::optional<DWORD> count;
        std::optional<DWORD> countAfter;
        bool listKept;
    } cases[] = {
        {"REGCOUNT 2", 2u, 1u, true},
        {"REGCOUNT 1", 1u, 0u, false},
        {"REGCOUNT 0 stays 0", 0u, 0u, false},
        {"no REGCOUNT", std::nullopt, std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrel\\Software Registration");
        std::string folder = Product("VL", "Veltra Jubilee 2000");
        ASSERT_EQ(Run("VL"), 0);
        if (c.count)
            SetRegCount(*c.count);
        EXPECT_EQ(Run("VL", "9"), 1);
        EXPECT_EQ(RegCount(), c.countAfter);
        EXPECT_EQ(Exists(GlobalList()), c.listKept);
        EXPECT_EQ(Text(folder + "REG.REG", "Veltra Jubilee 2000", "STATUS"), "9");
        if (c.listKept) {
            EXPECT_EQ(Text(GlobalList(), "Veltra Jubilee 2000", "STATUS"), "7");
        }
    }
}

TEST_F(BookkeeperTest, RefusalsChangeNothing)
{
    std::string folder = Product("VL", "Veltra Jubilee 2000");
    ASSERT_EQ(Run("VL"), 0);
    SetRegCount(2);
    std::string local = folder + "REG.REG";
    const std::string listBefore = Bytes(GlobalList());
    const std::string localBefore = Bytes(local);

    // Arguments that are neither nothing nor an uninstall.
    for (const char* arguments : {"x", "19", "-u", "\"8\" 9"}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(Run("VL", arguments), 1);
    }
    EXPECT_EQ(Bytes(GlobalList()), listBefore);
    EXPECT_EQ(Bytes(local), localBefore);
    EXPECT_EQ(RegCount(), 2u);

    // An uninstall in a folder without a local record.
    Product("Other", "Veltra Atlas");
    EXPECT_EQ(Run("Other", "9"), 1);
    EXPECT_EQ(Run("Other", "\"99\""), 1);
    EXPECT_EQ(Bytes(GlobalList()), listBefore);
    EXPECT_EQ(Bytes("C:\\Other\\REG.REG"), "(missing)");
    EXPECT_EQ(RegCount(), 2u);

    // An install in a folder without a product record writes no section without a name.
    std::filesystem::create_directories(root.path() / "Empty");
    EXPECT_EQ(Run("Empty"), 1);
    EXPECT_EQ(Bytes(GlobalList()), listBefore);
    EXPECT_EQ(Bytes("C:\\Empty\\REG.REG"), "(missing)");
}

// Folders and product names of any length are kept whole.
TEST_F(BookkeeperTest, LongFoldersAndNamesAreKeptWhole)
{
    std::string deep = "Programs/" + std::string(90, 'f') + "/Veltra";
    std::string name = "Veltra Jubilee 2000 " + std::string(100, 'n');
    Product(deep, name);
    std::string platformFolder = "Programs\\" + std::string(90, 'f') + "\\Veltra";
    ASSERT_EQ(Run(platformFolder), 0);
    EXPECT_EQ(Text(GlobalList(), "PRODLIST", "PRODNAME0001"), name);
    EXPECT_EQ(Text(GlobalList(), "PRODLIST", "DEFDIR0001"), "C:\\" + platformFolder + "\\");
    EXPECT_EQ(Text("C:\\" + platformFolder + "\\REG.REG", name, "STATUS"), "7");
}

}  // namespace
