// The online manager's fixture: drive T: with the program "T:\prog\vl00i1se.exe" beside the
// connection settings library, the scripted test dialer and (when a case asks) a stand-in
// message-centre library; an application object whose profile is "T:\vl00i1se.ini"; the
// connection settings in the emulated system's registry; every message box recorded.
#pragma once

#include "base/AppServices.h"
#include "online/Cloud.h"

#include <portix/Portix.h>
#include <portix/Status.h>
#include <portixcmn/PortixCmn.h>

#include <host/Drives.h>
#include <host/Paths.h>
#include <host/SystemVersion.h>
#include <host/UiScript.h>

#include <DialogDriver.h>
#include <TempDir.h>
#include <UiTest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace cloudtest {

constexpr const char* kScripted = "Scripted Provider";

class CloudTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        ui::UiTest::SetUp();
        ResetAppServices();
        fs::create_directories(dir.path() / "t" / "prog");
        fs::create_directories(dir.path() / "system");
        for (const char* library : {"libportixcmn.so", "libptdtest.so"})
            Link(library, library);
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
        host::SetSystemRoot((dir.path() / "system").string());
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        host::SetReportedSystem(host::ReportedSystem::WindowsNT);
        SetCurrentDirectory("T:\\prog");
        app.m_pszProfileName = "T:\\vl00i1se.ini";
        SetEnvironmentVariable("BULLETIN_CALLS", NULL);
        SetEnvironmentVariable("BULLETIN_COUNT", NULL);
    }
    void TearDown() override
    {
        cloud.reset();
        // The engine's connection is the process's: leave it without a provider.
        dlrSetDefaultConnection();
        CPortix().Initialize();
        logTerminateLogging();
        ResetAppServices();
        app.m_pszProfileName = NULL;
        host::ResetReportedSystem();
        host::SetProgramPlatformPath("");
        host::ResetDrives();
        ui::UiTest::TearDown();
    }

    // A built library linked into the program folder under a name of our choosing.
    void Link(const char* built, const char* name) const
    {
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        std::filesystem::remove(dir.path() / "t" / "prog" / name);
        std::filesystem::create_symlink(bin / built, dir.path() / "t" / "prog" / name);
    }

    static void Provider(const char* isp = kScripted, const char* dialer = "PTDTEST.DLL")
    {
        ASSERT_EQ(dlrSetConfiguredIsp(isp), 0);
        ASSERT_EQ(dlrSetSupportDll(isp, "ISPWSOCK.DLL"), 0);
        ASSERT_EQ(dlrSetDialerDll(isp, dialer), 0);
    }
    static HMODULE Scripted() { return GetModuleHandle("PTDTEST.DLL"); }
    static void Answer(const char* operation, int code)
    {
        auto set = reinterpret_cast<void (*)(const char*, int)>(GetProcAddress(Scripted(), "ScriptSetAnswer"));
        ASSERT_NE(set, nullptr);
        set(operation, code);
    }
    static std::string Calls()
    {
        auto calls = reinterpret_cast<int (*)(char*, int)>(GetProcAddress(Scripted(), "ScriptCalls"));
        char text[4096] = {};
        if (calls)
            calls(text, sizeof text);
        return text;
    }
    static void ResetScript()
    {
        if (auto reset = reinterpret_cast<void (*)()>(GetProcAddress(Scripted(), "ScriptReset")))
            reset();
    }

    static void SetProfile(LPCSTR section, LPCSTR key, LPCSTR value)
    {
        ASSERT_TRUE(::WritePrivateProfileString(section, key, value, "T:\\vl00i1se.ini"));
    }
    static std::string Profile(LPCSTR section, LPCSTR key)
    {
        char buffer[512] = {};
        ::GetPrivateProfileString(section, key, "", buffer, sizeof buffer, "T:\\vl00i1se.ini");
        return buffer;
    }

    // A new online manager, made the application's.
    CCloud& NewCloud()
    {
        cloud.reset();
        cloud = std::make_unique<CCloud>();
        AppServices().owned.pCloud = cloud.get();
        return *cloud;
    }
    // Ends the manager (the program's end) with the provider reporting no connection.
    void EndCloud()
    {
        if (cloud && cloud->HasConnection() && Scripted() != nullptr)
            Answer("isconnected", PTX_NOT_ESTABLISHED);
        AppServices().owned.pCloud = NULL;
        cloud.reset();
    }

    // Answers OK to each of these boxes when it comes.
    static void Expect(const std::vector<std::string>& boxes)
    {
        for (const std::string& text : boxes)
            host::AnswerMessageBox(text, IDOK);
    }
    // The texts of the message boxes shown since the last call.
    std::vector<std::string> Boxes()
    {
        std::vector<std::string> texts;
        const auto log = host::MessageBoxLog();
        for (size_t i = m_seenBoxes; i < log.size(); ++i)
            texts.push_back(log[i].text);
        m_seenBoxes = log.size();
        return texts;
    }

    // Runs an operation that may give up with the user exception; TRUE when it gave up.
    template <typename Operation>
    static bool GaveUp(Operation operation)
    {
        try {
            operation();
        } catch (CUserException* e) {
            e->Delete();
            return true;
        }
        return false;
    }

    std::string Host(const std::string& relative) const { return (dir.path() / "t" / relative).string(); }

    TempDir dir;
    CWinApp app{"vl00i1se"};
    std::unique_ptr<CCloud> cloud;

private:
    size_t m_seenBoxes = 0;
};

}  // namespace cloudtest
