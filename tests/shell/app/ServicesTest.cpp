// The services the application object makes at start-up, each on its own: the preferences
// store, the sticky-note store's file, the new-edition reminder's date rule, the sound player,
// the online manager's initialisation, the dictionary engine's index and the running-object
// table with the automation object.
#include "media/AudioPlayer.h"
#include "online/Cloud.h"
#include "online/OnlineUpdater.h"
#include "search/DictionarySearchEngine.h"
#include "base/AppServices.h"
#include "shell/NewEditionReminderDlg.h"
#include "base/PreferencesStore.h"
#include "base/StickyRecordSet.h"
#include "shell/VeltraApplication.h"

#include <host/Drives.h>
#include <host/Paths.h>
#include <host/Sound.h>
#include <host/TimeZone.h>

#include "../ShellUiTest.h"

#include <BundleBytes.h>

#include <oleauto.h>

#include <afxwin.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

// A drive T: with the program folder T:\prog\ and one profile, T:\vl.ini, that is both the
// framework's and the application's.
class ServicesTest : public ShellUiTest {
protected:
    ServicesTest() : ShellUiTest("T:\\vl.ini", false) {}

    void SetUp() override
    {
        ShellUiTest::SetUp();
        std::filesystem::create_directories(dir.path() / "t" / "prog");
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        host::SetTimeZone("UTC0");
    }
    void TearDown() override
    {
        host::SetTimeZone("");
        ShellUiTest::TearDown();
    }
    std::string FileBytes(const char* name) const
    {
        std::ifstream in(dir.path() / "t" / "prog" / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

// ---- preferences store ----

TEST_F(ServicesTest, PreferenceFlagsReadOnlyOneAsSetAndMissingKeepsTheDefault)
{
    const struct {
        const char* value;  // NULL: missing
        BOOL flag;
    } cases[] = {{"1", TRUE}, {"2", FALSE}, {"yes", FALSE}, {"0", FALSE}, {NULL, TRUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value != NULL ? c.value : "missing");
        SetProfile("Program Options", "ESN", c.value);  // entry 39, default on
        PreferencesStore store;
        EXPECT_EQ(c.flag, store.GetEntry(39).bEnabled);
    }
    SetProfile("Program Options", "MP", "12");
    PreferencesStore store;
    EXPECT_EQ(12, store.GetEntry(55).nNumber);
    EXPECT_EQ(1, store.GetEntry(54).nNumber) << "VID missing keeps its default";
}

TEST_F(ServicesTest, PreferenceFoldersFollowTheOptimizerAndTheInstall)
{
    SetProfile("Network Optimizer", "ACD1", "1");
    SetProfile("Network Optimizer", "ACD1L", "D:\\Opt");
    SetProfile("Network Optimizer", "V1E", "1");
    {
        PreferencesStore store;
        EXPECT_TRUE(store.GetEntry(1).bEnabled);
        EXPECT_STREQ("D:\\Opt\\", store.GetEntry(1).strText);
        EXPECT_STREQ("D:\\Opt\\info_dat\\Movies\\", store.GetEntry(3).strText);
        EXPECT_STREQ("D:\\Opt\\info_dat\\Sound\\", store.GetEntry(5).strText);
        // No folder of its own for the PFL entry: the program folder; the same for AAL and TFL.
        EXPECT_STREQ("T:\\prog\\", store.GetEntry(23).strText);
        EXPECT_STREQ("T:\\prog\\", store.GetEntry(18).strText);
        EXPECT_STREQ("T:\\prog\\", store.GetEntry(25).strText);
        EXPECT_EQ(0, store.GetInstallMode());
    }
    // A PFL folder that cannot be found also reads as the program folder.
    SetProfile("File Locations", "PFL", "T:\\nowhere");
    {
        PreferencesStore store;
        EXPECT_STREQ("T:\\prog\\", store.GetEntry(23).strText);
    }
    // With the data on the hard disk the disc-1 optimizer entries are off, whatever is set.
    SetProfile("Files", "DataDir", "T:\\data\\");
    {
        PreferencesStore store;
        EXPECT_EQ(PreferencesStore::installDisc1OnDisk, store.GetInstallMode());
        for (int i : {1, 3, 4, 5, 6, 7, 26, 28})
            EXPECT_FALSE(store.GetEntry(i).bEnabled) << i;
        EXPECT_STREQ("", store.GetEntry(3).strText);
        EXPECT_STREQ("T:\\data\\", store.GetDisc1DataFolder());
    }
    // Without UNO nothing of the optimizer is on.
    SetProfile("Files", "DataDir", NULL);
    SetProfile("Network Optimizer", "ACD2", "1");
    SetProfile("File Locations", "UNO", "0");
    {
        PreferencesStore store;
        for (int i = 1; i <= 10; ++i)
            EXPECT_FALSE(store.GetEntry(i).bEnabled) << i;
        for (int i = 26; i <= 35; ++i)
            EXPECT_FALSE(store.GetEntry(i).bEnabled) << i;
    }
}

// ---- sticky notes ----

TEST_F(ServicesTest, StickyNotesFileIsCreatedEmptyAndHoldsPlacedNotesAfterExit)
{
    {
        CStickyRecordSet notes;
        EXPECT_EQ(0, notes.GetSize());
        EXPECT_EQ(std::string("\0\0", 2), FileBytes("sticky.nte")) << "the first run's empty file";
        for (LONG key : {1234L, 5678L}) {
            CStickyNote* pNote = new CStickyNote;
            pNote->m_strTitle = key == 1234 ? "T" : "U";
            pNote->m_strText = "note";
            pNote->m_nKey = key;
            pNote->m_pPosition[0] = 3;
            pNote->m_pPosition[3] = 77;
            notes.Add(pNote);
        }
    }
    const std::string expected = std::string("\x02\x00\xFF\xFF\x01\x00\x0B\x00", 8) + "CStickyNote" +
                                 std::string("\x01T\x04note\x00\xD2\x04\x00\x00\x03\x00\x00\x00\x00\x00\x4D\x00", 20) +
                                 std::string("\x01\x80\x01U\x04note\x00\x2E\x16\x00\x00\x03\x00\x00\x00\x00\x00\x4D\x00", 22);
    EXPECT_EQ(expected, FileBytes("sticky.nte"));

    CStickyRecordSet notes;
    ASSERT_EQ(2, notes.GetSize());
    CStickyNote* pFound = notes.FindNote(5678);
    ASSERT_NE(nullptr, pFound);
    EXPECT_STREQ("U", pFound->m_strTitle);
    EXPECT_TRUE(pFound->m_bPlaced);
    EXPECT_EQ(77, pFound->m_pPosition[3]);
    EXPECT_EQ(nullptr, notes.FindNote(1));
}

TEST_F(ServicesTest, ADamagedStickyFileKeepsTheNotesReadBeforeTheDamage)
{
    {
        CStickyRecordSet notes;
        for (LONG key : {1L, 2L}) {
            CStickyNote* pNote = new CStickyNote;
            pNote->m_nKey = key;
            notes.Add(pNote);
        }
    }
    std::string bytes = FileBytes("sticky.nte");
    bytes.resize(bytes.size() - 5);  // the second note cut short
    dir.Write("t/prog/sticky.nte", bytes);
    host::AnswerMessageBox("The Sticky Note file  has become corrupted.", IDOK);
    {
        CStickyRecordSet notes;
        ASSERT_EQ(1, notes.GetSize());
        EXPECT_EQ(1, notes.GetNote(0)->m_nKey);
    }
    // Written back at once; the damaged file is kept beside it and the reader told once.
    EXPECT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_EQ(bytes, FileBytes("sticky.nte.damaged"));
    CStickyRecordSet notes;
    EXPECT_EQ(1, notes.GetSize());
}

TEST_F(ServicesTest, StickyNotesFollowTheSnlFolder)
{
    std::filesystem::create_directories(dir.path() / "t" / "notes");
    SetProfile("Veltra Jubilee 2000 (International)", "SNL", "T:\\notes");
    EXPECT_STREQ("T:\\notes\\sticky.nte", CStickyRecordSet::LocateFile());
    { CStickyRecordSet notes; }
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "t" / "notes" / "sticky.nte"));
    // A folder that does not exist: the file cannot be opened, which is said once per attempt.
    SetProfile("Veltra Jubilee 2000 (International)", "SNL", "T:\\missing\\");
    host::AnswerMessageBox("Unable to open sticky note file.", IDOK);
    host::AnswerMessageBox("Unable to open sticky note file.", IDOK);
    { CStickyRecordSet notes; }
}

// ---- new-edition reminder ----

class ReminderTest : public ServicesTest {
protected:
    // The clock at a UTC (here local) date and hour.
    static void At(int year, int month, int day, int hour)
    {
        std::int64_t days = host::DaysFromCivil(year, unsigned(month), unsigned(day));
        host::UseTestClock((days * 86400 + hour * 3600) * 1000, 1000);
    }
    static int Check()
    {
        CNewEditionReminderDlg reminder(NULL);
        return reminder.CheckAndShow();
    }
    static constexpr const char* kSection = "Veltra Jubilee 2000 (International)";
};

TEST_F(ReminderTest, TheFirstStartWritesTheFirstDateWithoutANotice)
{
    At(2000, 1, 10, 9);
    EXPECT_EQ(0, Check());
    EXPECT_EQ("2000/09/01", Profile(kSection, "Next Prompt"));

    SetProfile(kSection, "Next Prompt", NULL);
    At(2000, 6, 10, 9);
    EXPECT_EQ(0, Check());
    EXPECT_EQ("2000/10/08", Profile(kSection, "Next Prompt"));
}

TEST_F(ReminderTest, ValuesThatShowNothing)
{
    At(2000, 9, 1, 15);
    // "OFF " keeps its blank only in quotes: the profile trims unquoted values.
    const struct {
        const char* stored;
        const char* read;
    } cases[] = {{"OFF", "OFF"}, {"\"OFF \"", "OFF "}, {"Sept 1", "Sept 1"}, {"2000/09/02", "2000/09/02"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        SetProfile(kSection, "Next Prompt", c.stored);
        ASSERT_EQ(c.read, Profile(kSection, "Next Prompt"));
        Check();
        EXPECT_EQ(c.read, Profile(kSection, "Next Prompt")) << "nothing rewritten";
    }
}

TEST_F(ReminderTest, TheNoticeShowsOnTheDayAndMovesTheDateOrTurnsItOff)
{
    for (bool tick : {false, true}) {
        SCOPED_TRACE(tick);
        At(2000, 9, 1, 15);
        SetProfile(kSection, "Next Prompt", "2000/09/01");
        host::RunInNextModalLoop([tick](HWND hWnd) {
            char title[64] = {};
            ::GetWindowText(hWnd, title, sizeof title);
            EXPECT_STREQ("vl00i1se", title);
            RECT client;
            ::GetClientRect(hWnd, &client);
            EXPECT_EQ(450, client.right);
            EXPECT_EQ(275, client.bottom);
            if (tick)
                ::SendMessage(::GetDlgItem(hWnd, 100), BM_CLICK, 0, 0);
            ::SendMessage(::GetDlgItem(hWnd, IDOK), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(1, Check());
        EXPECT_EQ(tick ? "OFF" : "2000/10/01", Profile(kSection, "Next Prompt"));
    }
}

TEST_F(ReminderTest, EnterInTheNoticePressesOK)
{
    At(2000, 9, 1, 15);
    SetProfile(kSection, "Next Prompt", "2000/09/01");
    host::RunInNextModalLoop([](HWND hWnd) {
        EXPECT_EQ(::GetDlgItem(hWnd, IDOK), ::GetFocus()) << "OK has the focus";
        host::PressKey(VK_RETURN);
    });
    EXPECT_EQ(1, Check());
    EXPECT_EQ("2000/10/01", Profile(kSection, "Next Prompt"));
}

// ---- update age ----

class UpdateAgeTest : public ReminderTest {
protected:
    static void LastUpdateAt(int year, int month, int day, int hour)
    {
        std::int64_t days = host::DaysFromCivil(year, unsigned(month), unsigned(day));
        SetProfile(kSection, "Last Update", std::to_string(days * 86400 + hour * 3600).c_str());
    }
};

TEST_F(UpdateAgeTest, MonthsPassWhenTheDayOfTheUpdateRecurs)
{
    At(2001, 4, 14, 12);
    EXPECT_EQ(-1, COnlineUpdater::GetMonthsSinceUpdate());
    EXPECT_STREQ("You must update to receive this month's information.", COnlineUpdater::GetUpdateAgeText());
    SetProfile(kSection, "Last Update", "0");
    EXPECT_EQ(-1, COnlineUpdater::GetDaysSinceUpdate());

    LastUpdateAt(2001, 3, 15, 9);
    EXPECT_EQ(0, COnlineUpdater::GetMonthsSinceUpdate());
    EXPECT_STREQ("You have not updated in 30 days.", COnlineUpdater::GetUpdateAgeText());
    At(2001, 4, 15, 12);
    EXPECT_EQ(1, COnlineUpdater::GetMonthsSinceUpdate());
    EXPECT_STREQ("You have not updated in 1 month.", COnlineUpdater::GetUpdateAgeText());
    At(2001, 7, 15, 12);
    EXPECT_STREQ("You have not updated in 4 months.", COnlineUpdater::GetUpdateAgeText());
    At(2002, 3, 15, 12);
    EXPECT_STREQ("You have not updated in over a year.", COnlineUpdater::GetUpdateAgeText());
}

TEST_F(UpdateAgeTest, DaysAndTheShortFebruary)
{
    LastUpdateAt(2001, 1, 31, 10);
    At(2001, 3, 1, 12);
    EXPECT_EQ(0, COnlineUpdater::GetMonthsSinceUpdate()) << "1 March less 30 days is 30 January";
    EXPECT_STREQ("You have not updated in 29 days.", COnlineUpdater::GetUpdateAgeText());
    At(2001, 1, 31, 20);
    EXPECT_STREQ("You have not updated in 0 days.", COnlineUpdater::GetUpdateAgeText());
    At(2001, 2, 1, 22);
    EXPECT_STREQ("You have not updated in 1 day.", COnlineUpdater::GetUpdateAgeText());
}

TEST_F(UpdateAgeTest, DamagedFutureOrHugeValuesCountAsNeverUpdated)
{
    At(2001, 4, 14, 12);
    const char* const never[] = {
        "9223372036854775807",   // the largest 64-bit count
        "99999999999999999999",  // beyond 64 bits
        "4102444800",            // 2100: after the present time
        "-86400",                // before 1970
        "12abc",                 // not a count of seconds
        "abc",
    };
    for (const char* value : never) {
        SCOPED_TRACE(value);
        SetProfile(kSection, "Last Update", value);
        EXPECT_EQ(-1, COnlineUpdater::GetMonthsSinceUpdate());
        EXPECT_EQ(-1, COnlineUpdater::GetDaysSinceUpdate());
        EXPECT_STREQ("You must update to receive this month's information.", COnlineUpdater::GetUpdateAgeText());
    }
    // The first second of 1970 is long ago, and the present second is today.
    SetProfile(kSection, "Last Update", "1");
    EXPECT_STREQ("You have not updated in over a year.", COnlineUpdater::GetUpdateAgeText());
    LastUpdateAt(2001, 4, 14, 12);
    EXPECT_STREQ("You have not updated in 0 days.", COnlineUpdater::GetUpdateAgeText());
}

// ---- sound player ----

TEST_F(ServicesTest, SoundPlayerPlaysCachedWaveResourcesOneAtATime)
{
    CAudioPlayer player;
    EXPECT_EQ(5, player.GetLoadedCount()) << "the interface sounds 9026 to 9030 are preloaded";
    EXPECT_FALSE(player.Stop()) << "nothing plays";
    host::ClearPlayedSounds();
    EXPECT_TRUE(player.Play(9026, FALSE));
    EXPECT_TRUE(player.IsPlaying());
    ASSERT_EQ(1u, host::PlayedSounds().size());
    EXPECT_EQ("memory", host::PlayedSounds()[0].source);
    EXPECT_FALSE(host::PlayedSounds()[0].loop);
    EXPECT_TRUE(player.Play(9026, TRUE));
    EXPECT_TRUE(host::PlayedSounds().back().loop);
    EXPECT_EQ(5, player.GetLoadedCount()) << "a cached sound is not loaded again";
    EXPECT_FALSE(player.Play(9999, FALSE)) << "no such sound";
    EXPECT_FALSE(player.IsPlaying()) << "the sound before was stopped";
    EXPECT_TRUE(player.Play(9026, FALSE));
    EXPECT_TRUE(player.Stop());
    EXPECT_FALSE(player.IsPlaying());

    EXPECT_FALSE(PlayAppSound(9026, 0)) << "no application player";
    AppServices().owned.pAudioPlayer = &player;
    EXPECT_TRUE(PlayAppSound(9026, 0));
    EXPECT_TRUE(StopAppSound(9026));
    AppServices().owned.pAudioPlayer = NULL;
}

namespace {

// A PCM WAVE image of `samples` 8-bit mono samples at 11025 Hz; `riffLength` replaces the RIFF
// length when given.
std::string WaveImage(std::uint32_t samples, std::int64_t riffLength = -1)
{
    std::string w;
    auto dword = [&](std::uint32_t v) { testbundle::PutDword(w, v); };
    w += "RIFF";
    dword(riffLength >= 0 ? std::uint32_t(riffLength) : 36 + samples);
    w += "WAVEfmt ";
    dword(16);
    testbundle::PutWord(w, 1);
    testbundle::PutWord(w, 1);
    dword(11025);
    dword(11025);
    testbundle::PutWord(w, 1);
    testbundle::PutWord(w, 8);
    w += "data";
    dword(samples);
    w += std::string(samples, '\x80');
    return w;
}

}  // namespace

TEST_F(ServicesTest, SoundPlayerPlaysOnlyWholeWaveResources)
{
    const struct {
        WORD id;
        const char* name;
        std::string bytes;
        bool plays;
    } cases[] = {
        {9100, "whole", WaveImage(100), true},
        {9101, "padded after the RIFF image", WaveImage(100) + std::string(6, '\0'), true},
        {9102, "shorter than a RIFF header", std::string("RIFF\x04\0\0\0WAV", 11), false},
        {9103, "no RIFF signature", "RIFX" + WaveImage(100).substr(4), false},
        {9104, "not a WAVE form", WaveImage(100).substr(0, 8) + "AVI " + WaveImage(100).substr(12), false},
        {9105, "RIFF length one past the resource", WaveImage(100, 36 + 100 + 1), false},
        {9106, "RIFF length of 4 GB", WaveImage(100, 0xFFFFFFFF), false},
        // Last in the library, so that a read past it leaves the library's bytes.
        {9107, "RIFF length past the library", WaveImage(100, 36 + 100 + 64000), false},
    };
    std::vector<testbundle::Resource> resources;
    for (const auto& c : cases)
        resources.push_back({host::ResourceId::Named("WAVE"), host::ResourceId::Ordinal(c.id), c.bytes});
    dir.Write("t/prog/sounds.dll", testbundle::Make(resources));
    HMODULE hLibrary = ::LoadLibraryEx("T:\\prog\\sounds.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hLibrary);
    AppServices().env.hResourceLibrary = hLibrary;
    {
        CAudioPlayer player;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            host::ClearPlayedSounds();
            EXPECT_EQ(c.plays, player.Play(c.id, FALSE) != FALSE);
            EXPECT_EQ(c.plays, player.IsPlaying() != FALSE);
            EXPECT_EQ(c.plays ? 1u : 0u, host::PlayedSounds().size());
        }
        player.Stop();
    }
    AppServices().env.hResourceLibrary = NULL;
    ::FreeLibrary(hLibrary);
}

TEST_F(ServicesTest, SoundPlayerKeepsAHundredSoundsAndRefusesTheNext)
{
    // 100 more sounds than the player can hold besides its five interface sounds.
    std::vector<testbundle::Resource> resources;
    for (WORD id = 9200; id < 9300; ++id)
        resources.push_back({host::ResourceId::Named("WAVE"), host::ResourceId::Ordinal(id), WaveImage(50)});
    dir.Write("t/prog/many.dll", testbundle::Make(resources));
    HMODULE hLibrary = ::LoadLibraryEx("T:\\prog\\many.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hLibrary);
    AppServices().env.hResourceLibrary = hLibrary;
    {
        CAudioPlayer player;
        const int nPreloaded = player.GetLoadedCount();
        WORD id = 9200;
        for (; player.GetLoadedCount() < CAudioPlayer::maxSounds; ++id)
            ASSERT_TRUE(player.Play(id, FALSE)) << id;
        EXPECT_EQ(CAudioPlayer::maxSounds - nPreloaded, id - 9200);
        host::ClearPlayedSounds();
        EXPECT_FALSE(player.Play(id, FALSE)) << "the table is full: a new sound is refused";
        EXPECT_FALSE(player.IsPlaying()) << "and the one before was stopped";
        EXPECT_TRUE(host::PlayedSounds().empty());
        EXPECT_EQ(CAudioPlayer::maxSounds, player.GetLoadedCount());
        EXPECT_TRUE(player.Play(9200, FALSE)) << "a cached sound still plays";
        player.Stop();
    }
    AppServices().env.hResourceLibrary = NULL;
    ::FreeLibrary(hLibrary);
}

// ---- online manager ----

TEST_F(ServicesTest, OnlineManagerWithoutProviderIsReadyAndNotConnected)
{
    // The connection settings of this case's own system: no provider chosen yet. The engine
    // reads them through the settings library of the program's folder.
    const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::filesystem::create_symlink(bin / "libportixcmn.so", dir.path() / "t" / "prog" / "libportixcmn.so");
    std::filesystem::create_directories(dir.path() / "system");
    host::SetSystemRoot((dir.path() / "system").string());
    {
        CCloud cloud;
        EXPECT_EQ(&cloud, CCloud::GetInstance());
        EXPECT_EQ(CCloud::initReady, cloud.Initialize());
        EXPECT_TRUE(host::MessageBoxLog().empty());
        EXPECT_TRUE(cloud.HasConnection());
        EXPECT_FALSE(cloud.IsOnline());
        EXPECT_TRUE(cloud.GetIspNotConnected());
        EXPECT_EQ(CCloud::stateOffline, cloud.GetState());
    }
    EXPECT_EQ(nullptr, CCloud::GetInstance());
    host::SetSystemRoot("");

    SetProfile("Online", "Realm", "");
    SetProfile("Online", "Host", "");
    host::AnswerMessageBox("Online configuration has been corrupted.", IDOK);
    CCloud cloud;
    EXPECT_EQ(CCloud::initUnavailable, cloud.Initialize());
    // Disabled: silently unavailable.
    SetProfile("Online", "Disable", "1");
    EXPECT_TRUE(cloud.IsDisabled());
    EXPECT_EQ(CCloud::initUnavailable, cloud.Initialize());
}

// ---- dictionary engine ----

TEST_F(ServicesTest, DictionaryIndexClosesAndReopens)
{
    CDictionarySearchEngine engine;
    EXPECT_FALSE(engine.IsIndexOpen());
    engine.Close();  // nothing open: nothing said
    EXPECT_FALSE(engine.Reopen()) << "no path yet";
    engine.SetMainIndexPath("T:\\prog\\dicmain.ndx");
    host::AnswerMessageBox("Error opening dictionary_ndx_file", IDOK);
    EXPECT_FALSE(engine.Reopen());
    dir.Write("t/prog/dicmain.ndx", std::string(512, '\0'));
    EXPECT_TRUE(engine.Reopen());
    EXPECT_TRUE(engine.IsIndexOpen());
    engine.Close();
    EXPECT_FALSE(engine.IsIndexOpen());
    EXPECT_TRUE(engine.Reopen());  // left open: the destructor closes it
}

// ---- running objects and the automation object ----

TEST_F(ServicesTest, ClassIdentifiersFromText)
{
    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromString(u"{DFFDEBC0-FBE9-11d0-8039-0060B01A74A3}", &clsid));
    EXPECT_EQ(0xDFFDEBC0u, clsid.Data1);
    EXPECT_EQ(0xFBE9, clsid.Data2);
    EXPECT_EQ(0x11D0, clsid.Data3);
    EXPECT_EQ(0x80, clsid.Data4[0]);
    EXPECT_EQ(0xA3, clsid.Data4[7]);
    OLECHAR text[39];
    ASSERT_EQ(39, StringFromGUID2(clsid, text, 39));
    EXPECT_EQ(std::u16string(u"{DFFDEBC0-FBE9-11D0-8039-0060B01A74A3}"), std::u16string(text));
    for (const char16_t* bad : {u"DFFDEBC0-FBE9-11D0-8039-0060B01A74A3", u"{DFFDEBC0-FBE9-11D0-8039-0060B01A74A}",
                                u"{DFFDEBC0-FBE9-11D0-8039-0060B01A74A3}x", u"{GFFDEBC0-FBE9-11D0-8039-0060B01A74A3}", u""}) {
        EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromString(bad, &clsid));
        EXPECT_EQ(0u, clsid.Data1);
    }
}

TEST_F(ServicesTest, RunningObjectTableHoldsStrongRegistrationsByReference)
{
    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromString(g_szVeltraApplicationClsid, &clsid));
    IUnknown* pFound = nullptr;
    EXPECT_EQ(MK_E_UNAVAILABLE, GetActiveObject(clsid, nullptr, &pFound));

    CVeltraApplication automation;
    IDispatch* pDispatch = automation.GetIDispatch(FALSE);
    EXPECT_EQ(1u, automation.GetRefCount());
    DWORD dwStrong = 0, dwWeak = 0;
    ASSERT_EQ(S_OK, RegisterActiveObject(pDispatch, clsid, ACTIVEOBJECT_STRONG, &dwStrong));
    EXPECT_EQ(2u, automation.GetRefCount());
    ASSERT_EQ(S_OK, RegisterActiveObject(pDispatch, clsid, ACTIVEOBJECT_WEAK, &dwWeak));
    EXPECT_EQ(2u, automation.GetRefCount()) << "a weak registration holds no reference";
    EXPECT_NE(dwStrong, dwWeak);

    ASSERT_EQ(S_OK, GetActiveObject(clsid, nullptr, &pFound));
    EXPECT_EQ(static_cast<IUnknown*>(pDispatch), pFound);
    EXPECT_EQ(3u, automation.GetRefCount());
    pFound->Release();

    // The methods by name, in dispatch order.
    const char16_t* names[] = {u"DoKeywordSearch", u"getcurrentarticle", u"GotoArticle", u"Quit"};
    for (int i = 0; i < 4; ++i) {
        LPOLESTR name = const_cast<LPOLESTR>(names[i]);
        DISPID id = 0;
        EXPECT_EQ(i < 3 ? S_OK : DISP_E_UNKNOWNNAME, pDispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
        EXPECT_EQ(i < 3 ? i + 1 : DISPID_UNKNOWN, id);
    }
    // Without a main frame the methods do nothing and GetCurrentArticle gives an empty text.
    EXPECT_STREQ("", automation.GetCurrentArticle());
    automation.DoKeywordSearch("volcano");
    automation.GotoArticle("5");

    EXPECT_EQ(S_OK, RevokeActiveObject(dwStrong, nullptr));
    EXPECT_EQ(1u, automation.GetRefCount());
    EXPECT_EQ(E_INVALIDARG, RevokeActiveObject(dwStrong, nullptr));
    EXPECT_EQ(S_OK, RevokeActiveObject(dwWeak, nullptr));
    EXPECT_EQ(MK_E_UNAVAILABLE, GetActiveObject(clsid, nullptr, &pFound));
}

}  // namespace
