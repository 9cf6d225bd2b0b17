#include "FilesTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

std::string Label(const char* root, DWORD* serial = nullptr)
{
    char label[64] = "";
    char fileSystem[16] = "";
    if (!GetVolumeInformation(root, label, sizeof label, serial, nullptr, nullptr, fileSystem, sizeof fileSystem))
        return "<error " + std::to_string(GetLastError()) + ">";
    return label;
}

}  // namespace

class Drives : public TestDrive {};

TEST_F(Drives, LettersTypesAndRootStrings)
{
    std::filesystem::create_directories(dir.path() / "disc");
    host::MapDrive('E', (dir.path() / "disc").string(), DRIVE_CDROM, "DISC_ONE");
    DWORD mask = GetLogicalDrives();
    EXPECT_EQ(mask & (1u << 2 | 1u << 4 | 1u << 19), 1u << 2 | 1u << 4 | 1u << 19);  // C:, E:, T:
    EXPECT_EQ(mask & (1u << 16), 0u);

    char strings[128];
    DWORD length = GetLogicalDriveStrings(sizeof strings, strings);
    std::string all(strings, length);
    EXPECT_NE(all.find(std::string("E:\\\0", 4)), std::string::npos);
    EXPECT_NE(all.find(std::string("T:\\\0", 4)), std::string::npos);
    EXPECT_EQ(strings[length], '\0');
    EXPECT_EQ(GetLogicalDriveStrings(3, strings), length + 1);

    struct Case {
        const char* root;
        UINT type;
    };
    const Case cases[] = {
        {"C:\\", DRIVE_FIXED}, {"e:\\", DRIVE_CDROM}, {"E:", DRIVE_CDROM}, {"T:\\", DRIVE_FIXED},
        {"Q:\\", DRIVE_NO_ROOT_DIR}, {"T:\\sub\\", DRIVE_NO_ROOT_DIR}, {nullptr, DRIVE_FIXED},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetDriveType(c.root), c.type) << (c.root ? c.root : "(current)");

    EXPECT_TRUE(host::UnmapDrive('E'));
    EXPECT_EQ(GetDriveType("E:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_FALSE(host::UnmapDrive('E'));
}

TEST_F(Drives, DiscSwapIsSeenByGetVolumeInformation)
{
    dir.Write("disc1/VOLUME1.DAT", "first");
    dir.Write("disc2/VOLUME2.DAT", "second");
    host::MapDrive('E', (dir.path() / "disc1").string(), DRIVE_CDROM, "ENCYC_1");
    DWORD serial1 = 0;
    DWORD serial2 = 0;
    EXPECT_EQ(Label("E:\\", &serial1), "ENCYC_1");

    char label[32];
    char fileSystem[16];
    DWORD maxComponent = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetVolumeInformation("E:\\", label, sizeof label, nullptr, &maxComponent, &flags, fileSystem,
                                     sizeof fileSystem));
    EXPECT_STREQ(fileSystem, "CDFS");
    EXPECT_EQ(maxComponent, 255u);
    EXPECT_TRUE(flags & FILE_READ_ONLY_VOLUME);

    // The user puts the second disc in: new label, new serial number, new contents.
    ASSERT_TRUE(host::SwapDisc('E', (dir.path() / "disc2").string(), "ENCYC_2"));
    EXPECT_EQ(Label("E:\\", &serial2), "ENCYC_2");
    EXPECT_NE(serial1, serial2);
    EXPECT_EQ(GetFileAttributes("E:\\volume1.dat"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadAll("E:\\volume2.dat"), "second");

    // A label change alone (same folder), with a chosen serial number.
    ASSERT_TRUE(host::SetDriveLabel('E', "OTHER", 0x12345678));
    EXPECT_EQ(Label("E:\\", &serial2), "OTHER");
    EXPECT_EQ(serial2, 0x12345678u);

    // No disc at all: the drive is not ready.
    ASSERT_TRUE(host::SetDriveMedia('E', false));
    EXPECT_EQ(Label("E:\\"), "<error 21>");
    EXPECT_EQ(GetFileAttributes("E:\\volume2.dat"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
    EXPECT_EQ(GetDriveType("E:\\"), static_cast<UINT>(DRIVE_CDROM));

    struct Case {
        const char* root;
        DWORD error;
    };
    const Case failures[] = {{"E:", ERROR_INVALID_NAME}, {"Q:\\", ERROR_PATH_NOT_FOUND}, {"T:\\sub\\", ERROR_INVALID_NAME}};
    for (const Case& c : failures)
        EXPECT_EQ(Label(c.root), "<error " + std::to_string(c.error) + ">") << c.root;
    // A label buffer too small.
    EXPECT_FALSE(GetVolumeInformation("T:\\", label, 4, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(Drives, SetVolumeLabelKeepsTheSerialNumber)
{
    DWORD before = 0;
    DWORD after = 0;
    Label("T:\\", &before);
    ASSERT_TRUE(SetVolumeLabel("T:\\", "RENAMED"));
    EXPECT_EQ(Label("T:\\", &after), "RENAMED");
    EXPECT_EQ(before, after);
}

TEST_F(Drives, FreeSpaceCanBeSetForTests)
{
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    ULARGE_INTEGER totalFree;
    // The host's figures by default.
    ASSERT_TRUE(GetDiskFreeSpaceEx("T:\\", &available, &total, &totalFree));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(available.QuadPart, total.QuadPart);

    struct Case {
        std::uint64_t freeBytes;
        std::uint64_t totalBytes;
        DWORD freeClusters;  // clusters of 8 x 512 bytes
    };
    const Case cases[] = {
        {1048576, 2097152, 256},
        {0, 1048576, 0},
        {5ull << 30, 8ull << 30, 1310720},  // over 4 GB: only the Ex form shows all of it
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(host::SetDriveFreeSpace('T', c.freeBytes, c.totalBytes));
        ASSERT_TRUE(GetDiskFreeSpaceEx("T:\\", &available, &total, &totalFree));
        EXPECT_EQ(available.QuadPart, c.freeBytes);
        EXPECT_EQ(totalFree.QuadPart, c.freeBytes);
        EXPECT_EQ(total.QuadPart, c.totalBytes);
        DWORD sectorsPerCluster = 0;
        DWORD bytesPerSector = 0;
        DWORD freeClusters = 0;
        DWORD totalClusters = 0;
        ASSERT_TRUE(GetDiskFreeSpace("T:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
        EXPECT_EQ(sectorsPerCluster * bytesPerSector, 4096u);
        EXPECT_EQ(freeClusters, c.freeClusters);
        EXPECT_EQ(static_cast<std::uint64_t>(totalClusters) * 4096, c.totalBytes);
    }
    // A folder of the drive reports the drive's figures; a missing one fails.
    ASSERT_TRUE(CreateDirectory("T:\\sub", nullptr));
    ASSERT_TRUE(GetDiskFreeSpaceEx("T:\\SUB", &available, nullptr, nullptr));
    EXPECT_EQ(available.QuadPart, 5ull << 30);
    EXPECT_FALSE(GetDiskFreeSpaceEx("T:\\missing\\", &available, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    ASSERT_TRUE(host::ClearDriveFreeSpace('T'));
    ASSERT_TRUE(GetDiskFreeSpaceEx("T:\\", &available, &total, nullptr));
    EXPECT_NE(total.QuadPart, 8ull << 30);
}

// A drive given a free-space figure takes no write that would grow its files by more: the write
// fails with ERROR_DISK_FULL and writes nothing; writing over what a file holds needs no room.
TEST_F(Drives, WritesBeyondASetFreeSpaceFailAsADiskFull)
{
    ASSERT_TRUE(host::SetDriveFreeSpace('T', 10, 1000));
    HANDLE file = CreateFile("T:\\full.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(file, "eleven char", 11, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(WriteFile(file, "ten chars!", 10, &written, nullptr));
    EXPECT_EQ(written, 10u);
    ASSERT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), 2u);
    EXPECT_TRUE(WriteFile(file, "TEN", 3, &written, nullptr)) << "over the file's own bytes";
    CloseHandle(file);
    EXPECT_EQ(ReadAll("T:\\full.txt"), "teTENhars!");
    ASSERT_TRUE(host::ClearDriveFreeSpace('T'));
}

TEST_F(Drives, CdRomDrivesAreReadOnly)
{
    dir.Write("disc/DATA.BIN", "xyz");
    host::MapDrive('E', (dir.path() / "disc").string(), DRIVE_CDROM, "DISC");
    EXPECT_EQ(ReadAll("E:\\data.bin"), "xyz");
    EXPECT_TRUE(GetFileAttributes("E:\\data.bin") & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CreateFile("E:\\data.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(CreateDirectory("E:\\new", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFile("E:\\data.bin"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ULARGE_INTEGER available;
    ASSERT_TRUE(GetDiskFreeSpaceEx("E:\\", &available, nullptr, nullptr));
    EXPECT_EQ(available.QuadPart, 0u);
}

// A CD-ROM drive whose folder is missing has no disc in it: every question about it is answered
// as for an empty drive, until the folder appears (the disc is put in).
TEST_F(Drives, CdRomDriveWithoutItsFolderHoldsNoDisc)
{
    const std::string folder = (dir.path() / "absent").string();
    host::MapDrive('E', folder, DRIVE_CDROM, "DISC");
    host::MapDrive('F', (dir.path() / "gone").string(), DRIVE_REMOVABLE, "STICK");
    EXPECT_EQ(GetDriveType("E:\\"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_TRUE(GetLogicalDrives() & (1u << 4));
    for (const char* root : {"E:\\", "F:\\"}) {
        SCOPED_TRACE(root);
        EXPECT_EQ(Label(root), "<error " + std::to_string(ERROR_NOT_READY) + ">");
        EXPECT_EQ(GetFileAttributes((std::string(root) + "info_dat").c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
        ULARGE_INTEGER available;
        EXPECT_FALSE(GetDiskFreeSpaceEx(root, &available, nullptr, nullptr));
    }
    auto drive = host::FindDrive('E');
    ASSERT_TRUE(drive);
    EXPECT_FALSE(drive->mediaPresent);

    // The disc goes in.
    dir.Write("absent/DATA.BIN", "xyz");
    EXPECT_EQ(Label("E:\\"), "DISC");
    EXPECT_EQ(ReadAll("E:\\data.bin"), "xyz");
    // A fixed drive whose folder is missing is not a drive without a disc.
    host::MapDrive('G', (dir.path() / "nowhere").string(), DRIVE_FIXED, "HD");
    EXPECT_TRUE(host::FindDrive('G')->mediaPresent);
}

TEST_F(Drives, ConfigurationFromFileAndEnvironment)
{
    std::filesystem::create_directories(dir.path() / "disc");
    std::filesystem::create_directories(dir.path() / "stick");
    std::filesystem::create_directories(dir.path() / "net");
    {
        std::ofstream ini(dir.path() / "drives.ini");
        ini << "; the test machine\n"
               "[D:]\n"
               "Path = disc\n"
               "Type = cdrom\n"
               "Label = FROM_FILE\n"
               "Serial = 1A2B3C4D\n"
               "FreeSpace = 4096\n"
               "[F]\n"
               "Path=" << (dir.path() / "net").string() << "\n"
               "Type=remote\n";
    }
    std::string list = "G=" + (dir.path() / "stick").string() + ",removable,STICK;C=";
    setenv("VL_DRIVE_MAP", (dir.path() / "drives.ini").c_str(), 1);
    setenv("VL_DRIVES", list.c_str(), 1);
    host::ResetDrives();
    unsetenv("VL_DRIVE_MAP");
    unsetenv("VL_DRIVES");

    auto d = host::FindDrive('D');
    ASSERT_TRUE(d);
    EXPECT_EQ(d->hostFolder, (dir.path() / "disc").string());  // relative to the file's folder
    EXPECT_EQ(d->type, static_cast<UINT>(DRIVE_CDROM));
    DWORD serial = 0;
    EXPECT_EQ(Label("D:\\", &serial), "FROM_FILE");
    EXPECT_EQ(serial, 0x1A2B3C4Du);
    ULARGE_INTEGER available;
    ASSERT_TRUE(GetDiskFreeSpaceEx("D:\\", &available, nullptr, nullptr));
    EXPECT_EQ(available.QuadPart, 4096u);
    EXPECT_EQ(GetDriveType("F:\\"), static_cast<UINT>(DRIVE_REMOTE));
    EXPECT_EQ(GetDriveType("G:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(Label("G:\\"), "STICK");
    EXPECT_EQ(GetDriveType("C:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));  // "C=" unmapped it

    host::ResetDrives();  // back to the plain configuration
    EXPECT_FALSE(host::FindDrive('D'));
    EXPECT_EQ(GetDriveType("C:\\"), static_cast<UINT>(DRIVE_FIXED));
}
