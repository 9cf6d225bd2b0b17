// The remote-access service's stand-in: the phonebook file, growing buffers, damaged phonebooks,
// the outcomes of a dial, a line that drops, and one table of live connections for all of the
// user's processes.
#include <ras.h>
#include <windows.h>

#include <host/Clock.h>
#include <host/Drives.h>
#include <host/Paths.h>
#include <host/RemoteAccess.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class RemoteAccess : public ::testing::Test {
protected:
    void SetUp() override { host::SetSystemRoot(dir.path().string()); }
    void TearDown() override
    {
        host::UseRealClock();
        host::SetSystemRoot("");
    }
    void Phonebook(const std::string& text) { dir.Write("WINDOWS/SYSTEM32/RAS/rasphone.pbk", text); }

    static std::vector<std::string> EntryNames(DWORD& error)
    {
        std::vector<RASENTRYNAME> entries(1);
        entries[0].dwSize = sizeof(RASENTRYNAME);
        DWORD size = sizeof(RASENTRYNAME), count = 0;
        error = RasEnumEntries(NULL, NULL, entries.data(), &size, &count);
        if (error == ERROR_BUFFER_TOO_SMALL) {
            EXPECT_EQ(size, count * sizeof(RASENTRYNAME));
            entries.resize(count);
            entries[0].dwSize = sizeof(RASENTRYNAME);
            error = RasEnumEntries(NULL, NULL, entries.data(), &size, &count);
        }
        std::vector<std::string> names;
        for (DWORD i = 0; error == 0 && i < count; ++i)
            names.push_back(entries[i].szEntryName);
        return names;
    }
    static DWORD Dial(const char* entry, const char* user, const char* password, HRASCONN& connection)
    {
        RASDIALPARAMS params{};
        params.dwSize = sizeof params;
        lstrcpynA(params.szEntryName, entry, sizeof params.szEntryName);
        lstrcpynA(params.szUserName, user, sizeof params.szUserName);
        lstrcpynA(params.szPassword, password, sizeof params.szPassword);
        connection = 0;
        return RasDial(NULL, NULL, &params, 0, NULL, &connection);
    }
    static RASCONNSTATUS Status(HRASCONN connection, DWORD& result)
    {
        RASCONNSTATUS status{};
        status.dwSize = sizeof status;
        result = RasGetConnectStatus(connection, &status);
        return status;
    }

    TempDir dir;
};

TEST_F(RemoteAccess, EntriesAreEnumeratedIntoABufferGrownOnRequest)
{
    DWORD error = 1;
    EXPECT_TRUE(EntryNames(error).empty());  // no phonebook yet: an empty one
    EXPECT_EQ(error, 0u);

    Phonebook("; the user's entries\n[Office Line]\nUser=jsmith\nPassword=secret\n\n[Home ISP]\n"
              "[CS3 Connection]\nUser=70000,1\n");
    RASENTRYNAME one{};
    one.dwSize = sizeof one;
    DWORD size = sizeof one, count = 0;
    EXPECT_EQ(RasEnumEntries(NULL, NULL, &one, &size, &count), static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(size, 3 * 264u);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(EntryNames(error), (std::vector<std::string>{"Office Line", "Home ISP", "CS3 Connection"}));

    one.dwSize = 263;  // a record of another size
    size = sizeof one;
    EXPECT_EQ(RasEnumEntries(NULL, NULL, &one, &size, &count), static_cast<DWORD>(ERROR_INVALID_SIZE));

    // The saved account: the password only where one is saved; names are found in any case.
    RASDIALPARAMS params{};
    params.dwSize = sizeof params;
    lstrcpynA(params.szEntryName, "office line", sizeof params.szEntryName);
    BOOL saved = FALSE;
    ASSERT_EQ(RasGetEntryDialParams(NULL, &params, &saved), 0u);
    EXPECT_STREQ(params.szUserName, "jsmith");
    EXPECT_STREQ(params.szPassword, "secret");
    EXPECT_TRUE(saved);
    lstrcpynA(params.szEntryName, "CS3 Connection", sizeof params.szEntryName);
    ASSERT_EQ(RasGetEntryDialParams(NULL, &params, &saved), 0u);
    EXPECT_STREQ(params.szUserName, "70000,1");
    EXPECT_STREQ(params.szPassword, "");
    EXPECT_FALSE(saved);
    lstrcpynA(params.szEntryName, "Nowhere", sizeof params.szEntryName);
    EXPECT_EQ(RasGetEntryDialParams(NULL, &params, &saved), static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
}

TEST_F(RemoteAccess, ADamagedPhonebookCannotBeOpened)
{
    const std::string longName(257, 'n');
    const char* const damaged[] = {
        "[Office Line]\nthis is no setting\n",
        "User=before any entry\n[Office Line]\n",
        "[Office Line",
        "[]\n",
        "[Office Line]\nOutcome=sometimes\n",
        "[Office Line]\nOutcome=drops\nDropAfter=-5\n",
        "[Office Line]\nAccount=no-colon\n",
    };
    std::vector<std::string> cases(std::begin(damaged), std::end(damaged));
    cases.push_back("[" + longName + "]\n");
    cases.push_back("[Office Line]\nDomain=" + std::string(16, 'd') + "\n");
    for (const std::string& text : cases) {
        Phonebook(text);
        DWORD error = 0;
        EXPECT_TRUE(EntryNames(error).empty()) << text;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK)) << text;
        HRASCONN connection = 0;
        EXPECT_EQ(Dial("Office Line", "u", "p", connection), static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK)) << text;
        EXPECT_EQ(connection, 0u);
    }
    // A folder in the phonebook's place.
    std::filesystem::remove(host::PhonebookFile());
    std::filesystem::create_directories(host::PhonebookFile());
    DWORD error = 0;
    EntryNames(error);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK));
    EXPECT_TRUE(host::LiveConnections().empty());
}

TEST_F(RemoteAccess, ADialEndsAsItsEntrySays)
{
    Phonebook("[Fine]\n[Busy]\nOutcome=busy\n[Silent]\nOutcome=no answer\n"
              "[Checked]\nAccount=jsmith:secret\nDevice=isdn:ISDN Adapter\n");
    const struct {
        const char* entry;
        const char* password;
        DWORD error;
    } cases[] = {
        {"Fine", "any", 0},
        {"Busy", "any", ERROR_LINE_BUSY},
        {"Silent", "any", ERROR_NO_ANSWER},
        {"Checked", "wrong", ERROR_AUTHENTICATION_FAILURE},
        {"Checked", "secret", 0},
    };
    for (auto c : cases) {
        HRASCONN connection = 0;
        EXPECT_EQ(Dial(c.entry, "jsmith", c.password, connection), c.error) << c.entry;
        // Even a failed dial holds a handle until it is hung up.
        ASSERT_NE(connection, 0u) << c.entry;
        DWORD result = 1;
        RASCONNSTATUS status = Status(connection, result);
        EXPECT_EQ(result, 0u);
        EXPECT_EQ(status.rasconnstate, c.error == 0 ? RASCS_Connected : RASCS_Disconnected) << c.entry;
        EXPECT_EQ(status.dwError, c.error) << c.entry;
        auto live = host::LiveConnections();
        ASSERT_EQ(live.size(), 1u);
        EXPECT_EQ(live[0].entry, c.entry);
        EXPECT_EQ(live[0].user, "jsmith");
        EXPECT_EQ(RasHangUp(connection), 0u);
        EXPECT_EQ(RasHangUp(connection), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        Status(connection, result);
        EXPECT_EQ(result, static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_TRUE(host::LiveConnections().empty());
    }
    HRASCONN connection = 0;
    EXPECT_EQ(Dial("Unknown", "u", "p", connection), static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
    // Only the synchronous dial, into a fresh handle.
    RASDIALPARAMS params{};
    params.dwSize = sizeof params;
    lstrcpynA(params.szEntryName, "Fine", sizeof params.szEntryName);
    HRASCONN used = 7;
    EXPECT_EQ(RasDial(NULL, NULL, &params, 0, NULL, &used), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    connection = 0;
    EXPECT_EQ(RasDial(NULL, NULL, &params, 1, &params, &connection), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(host::LiveConnections().empty());
}

TEST_F(RemoteAccess, ADroppingLineDropsAfterItsTimeAndWaitsForItsHangUp)
{
    host::UseTestClock(1'700'000'000'000, 0);
    Phonebook("[Flaky]\nOutcome=drops\nDropAfter=5000\n[Fine]\n");
    HRASCONN flaky = 0, fine = 0;
    ASSERT_EQ(Dial("Flaky", "u", "p", flaky), 0u);
    ASSERT_EQ(Dial("Fine", "u", "p", fine), 0u);
    DWORD result = 1;
    EXPECT_EQ(Status(flaky, result).rasconnstate, RASCS_Connected);
    host::StepClock(4999);
    EXPECT_EQ(Status(flaky, result).rasconnstate, RASCS_Connected);
    host::StepClock(1);
    RASCONNSTATUS status = Status(flaky, result);
    EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_PORT_DISCONNECTED));
    EXPECT_EQ(Status(fine, result).rasconnstate, RASCS_Connected);

    // Both are listed (412-byte records) until hung up.
    RASCONN one{};
    one.dwSize = sizeof one;
    DWORD size = sizeof one, count = 0;
    EXPECT_EQ(RasEnumConnections(&one, &size, &count), static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(size, 2 * 412u);
    std::vector<RASCONN> all(2);
    all[0].dwSize = sizeof(RASCONN);
    ASSERT_EQ(RasEnumConnections(all.data(), &size, &count), 0u);
    EXPECT_EQ(all[0].hrasconn, flaky);
    EXPECT_STREQ(all[1].szEntryName, "Fine");
    EXPECT_STREQ(all[1].szDeviceType, "modem");
    RasHangUp(flaky);
    RasHangUp(fine);
    size = sizeof one;
    EXPECT_EQ(RasEnumConnections(&one, &size, &count), 0u);
    EXPECT_EQ(count, 0u);
}

// Runs the peer program with these arguments; its exit code.
DWORD RunPeer(const std::string& arguments)
{
    auto peer = host::FromHostPath(VL_RAS_PEER);
    if (!peer)
        return 999;
    std::string command = "\"" + *peer + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 998;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 997;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}

TEST_F(RemoteAccess, AllTheUsersProcessesShareTheLiveConnections)
{
    Phonebook("[Office Line]\n");
    setenv("VL_SYSTEM_ROOT", dir.path().c_str(), 1);
    const DWORD handle = RunPeer("dial \"Office Line\"");
    ASSERT_GT(handle, 0u);
    ASSERT_LT(handle, 256u);
    // The connection outlives the process that dialled it; this process sees and ends it.
    DWORD result = 1;
    EXPECT_EQ(Status(handle, result).rasconnstate, RASCS_Connected);
    auto live = host::LiveConnections();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].user, "peer");
    HRASCONN mine = 0;
    ASSERT_EQ(Dial("Office Line", "me", "p", mine), 0u);
    EXPECT_NE(mine, handle);
    EXPECT_EQ(RasHangUp(handle), 0u);
    // ... and the other process ends this one's.
    EXPECT_EQ(RunPeer("hangup " + std::to_string(mine)), 0u);
    EXPECT_EQ(RunPeer("hangup " + std::to_string(mine)), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    unsetenv("VL_SYSTEM_ROOT");
    EXPECT_TRUE(host::LiveConnections().empty());
}

TEST_F(RemoteAccess, ADamagedLiveTableLosesOnlyItsDamagedLines)
{
    Phonebook("[Office Line]\n");
    HRASCONN first = 0, second = 0;
    ASSERT_EQ(Dial("Office Line", "one", "p", first), 0u);
    ASSERT_EQ(Dial("Office Line", "two", "p", second), 0u);
    std::string table = dir.Read("WINDOWS/SYSTEM32/RAS/rasconn.tbl");
    const auto secondLine = table.rfind("\nC ");
    ASSERT_NE(secondLine, std::string::npos);
    // The second record cut short, then lines of rubbish and a record with bad hexadecimal.
    table = table.substr(0, secondLine + 12) + "\nrubbish\n\x01\x02\xff\nC 9 0 -1 0 zz - - -\nC 0 0 -1 0 41 - - -\n";
    dir.Write("WINDOWS/SYSTEM32/RAS/rasconn.tbl", table);
    auto live = host::LiveConnections();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].handle, first);
    EXPECT_EQ(live[0].user, "one");
    DWORD result = 0;
    Status(second, result);
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // The next dial gets a handle of its own, and the table is whole again.
    HRASCONN third = 0;
    ASSERT_EQ(Dial("Office Line", "three", "p", third), 0u);
    EXPECT_NE(third, first);
    EXPECT_EQ(host::LiveConnections().size(), 2u);
    EXPECT_EQ(dir.Read("WINDOWS/SYSTEM32/RAS/rasconn.tbl").find("rubbish"), std::string::npos);
}

}  // namespace
