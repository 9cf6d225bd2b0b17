// The generic dialer's code base on Windows 95/98 and Win32s: its start-up over the thunk
// libraries (stand-ins with answers set here) and the kernel's tool help, the connection probe
// with its PPP table and its module search for "wsock32.dll", and the same code built as
// PTDAOL40.DLL.
#include "ConnectTestSupport.h"

#include <dialers/DialerExports.h>

#include <host/ToolHelp.h>
#include <tlhelp32.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

class GenericDialerPlatform : public PortixTest {
protected:
    void SetUp() override
    {
        PortixTest::SetUp();
        bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        ASSERT_EQ(dlrSetLoggingType("1"), 0);
        logInitializeLogging();
    }
    void TearDown() override
    {
        if (library)
            FreeLibrary(library);
        if (thunk)
            FreeLibrary(thunk);
        host::HideKernelExport(nullptr);
        PortixTest::TearDown();
    }

    // Puts a built library into the program's folder.
    void Provide(const std::string& file) { std::filesystem::create_symlink(bin / file, Host("prog/" + file)); }

    // Loads a dialer on this system, with the thunk library of the system in place or not.
    HMODULE Load(host::ReportedSystem system, const char* dialer = "PTDGENRC.DLL", bool withThunk = true)
    {
        host::SetReportedSystem(system);
        if (withThunk) {
            const char* name = system == host::ReportedSystem::Win32s ? "libpxthk32s.so" : "libpxthk32.so";
            Provide(name);
            thunk = LoadLibrary(name);
            setAnswers = reinterpret_cast<void (*)(int, int)>(GetProcAddress(thunk, "StandinSetThunkAnswers"));
            setAnswers(0, 0);
        }
        Provide(std::string("lib") + (std::strcmp(dialer, "PTDGENRC.DLL") == 0 ? "ptdgenrc" : "ptdaol40") + ".so");
        library = LoadLibrary(dialer);
        if (library) {
            isConnected = reinterpret_cast<DLRPROC>(GetProcAddress(library, MAKEINTRESOURCE(4)));
            setupWinsock = reinterpret_cast<DLRPROC>(GetProcAddress(library, MAKEINTRESOURCE(7)));
        }
        return library;
    }

    // Unloads the dialer and the thunk library and starts over with an empty program folder.
    void Reset()
    {
        if (library)
            FreeLibrary(library);
        if (thunk)
            FreeLibrary(thunk);
        library = thunk = NULL;
        host::HideKernelExport(nullptr);
        logTerminateLogging();
        std::filesystem::remove_all(Host("prog"));
        std::filesystem::create_directories(Host("prog"));
        host::SetReportedSystem(host::ReportedSystem::WindowsNT);
        dlrSetLoggingType("1");
        logInitializeLogging();
    }

    std::string Log()
    {
        logTerminateLogging();
        std::string log = Read("prog/portix.log");
        logInitializeLogging();
        return log;
    }

    std::filesystem::path bin;
    HMODULE library = NULL;
    HMODULE thunk = NULL;
    void (*setAnswers)(int, int) = nullptr;
    DLRPROC isConnected = nullptr;
    DLRPROC setupWinsock = nullptr;
};

bool Has(const std::string& log, const std::string& text) { return log.find(text) != std::string::npos; }

TEST_F(GenericDialerPlatform, AStartedSixteenBitStackAnswersByItsPppState)
{
    struct Case {
        int ppp;
        int expected;
    } cases[] = {{0, PTX_PROVIDER_NOT_CONNECTED}, {3, PTX_PROVIDER_NOT_CONNECTED}, {1, PTX_CONNECTED_NOT_OURS},
                 {2, PTX_PROVIDER_CONNECTED},     {7, PTX_PROVIDER_CONNECTED}};
    for (host::ReportedSystem system : {host::ReportedSystem::Windows95, host::ReportedSystem::Win32s}) {
        ASSERT_NE(Load(system), nullptr) << GetLastError();
        for (const Case& c : cases) {
            setAnswers(1, c.ppp);
            EXPECT_EQ(isConnected(), c.expected) << "ppp " << c.ppp;
        }
        const std::string log = Log();
        EXPECT_TRUE(Has(log, "dlrIsConnected -- Platform is not NT")) << log;
        EXPECT_TRUE(Has(log, "dlrIsConnected -- Found winsock")) << log;
        EXPECT_FALSE(Has(log, "Did not find winsock")) << log;
        // With the stack running the sockets set-up installs the bridge.
        EXPECT_EQ(setupWinsock(), _dlrSetupWinsock("Generic Dialer", TRUE, TRUE));
        Reset();
    }
}

TEST_F(GenericDialerPlatform, WithoutTheStackWin32sIsConnectedAndWindows95LooksForWsock32)
{
    ASSERT_NE(Load(host::ReportedSystem::Win32s), nullptr);
    EXPECT_EQ(isConnected(), PTX_PROVIDER_CONNECTED);
    std::string log = Log();
    EXPECT_TRUE(Has(log, "dlrIsConnected -- Did not find winsock")) << log;
    EXPECT_FALSE(Has(log, "Platform not Win32s")) << log;
    Reset();

    // Windows 95: no process holds "wsock32.dll" yet.
    ASSERT_NE(Load(host::ReportedSystem::Windows95), nullptr);
    EXPECT_EQ(isConnected(), PTX_PROVIDER_NOT_CONNECTED);
    log = Log();
    EXPECT_TRUE(Has(log, "CPTDGenericApp::InitInstance() -- ToolHelp funcs initialized successfully")) << log;
    EXPECT_TRUE(Has(log, "dlrIsConnected -- Platform not Win32s")) << log;
    EXPECT_TRUE(Has(log, "CPTDGenericApp::FileExists() -- strFilename = wsock32.dll")) << log;
    EXPECT_TRUE(Has(log, "CPTDGenericApp::FileExists() -- got a snapshot of the processes")) << log;
    EXPECT_TRUE(Has(log, "CPTDGenericApp::FileExists() -- Module = ptdgenrc.dll, strFilename = wsock32.dll")) << log;
    EXPECT_TRUE(Has(log, "dlrIsConnected -- Did not find wsock32.dll")) << log;

    // This process loads a library of that name: the search finds it, the bridge files go.
    Provide("libwsock32.so");
    HMODULE wsock = LoadLibrary("WSOCK32.DLL");
    ASSERT_NE(wsock, nullptr);
    EXPECT_EQ(isConnected(), PTX_PROVIDER_CONNECTED);
    FreeLibrary(wsock);
    log = Log();
    EXPECT_TRUE(Has(log, "Module = wsock32.dll, strFilename = wsock32.dll")) << log;
    EXPECT_TRUE(Has(log, "dlrIsConnected -- Found wsock32.dll")) << log;
}

TEST_F(GenericDialerPlatform, AMissingThunkLibraryOrToolHelpFunctionFailsTheLoad)
{
    struct Case {
        host::ReportedSystem system;
        bool thunk;
        const char* hidden;  // a tool-help export the kernel lacks
        bool toolHelpLine;   // the failure's log line
    } cases[] = {
        {host::ReportedSystem::Win32s, false, nullptr, false},
        {host::ReportedSystem::Windows95, false, nullptr, false},
        {host::ReportedSystem::Windows98, true, "Process32Next", true},
        {host::ReportedSystem::Windows95, true, "CreateToolhelp32Snapshot", true},
    };
    for (const Case& c : cases) {
        host::HideKernelExport(c.hidden);
        EXPECT_EQ(Load(c.system, "PTDGENRC.DLL", c.thunk), nullptr) << (c.hidden ? c.hidden : "no thunk");
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
        const std::string log = Log();
        EXPECT_EQ(Has(log, "CPTDGenericApp::InitInstance() -- Could not initialize ToolHelp funcs"), c.toolHelpLine) << log;
        Reset();
    }
    // On NT nothing is needed.
    EXPECT_NE(Load(host::ReportedSystem::WindowsNT, "PTDGENRC.DLL", false), nullptr);
}

TEST_F(GenericDialerPlatform, Aol40IsTheGenericCodeWithItsOwnTableAndName)
{
    ASSERT_NE(Load(host::ReportedSystem::Windows95, "PTDAOL40.DLL"), nullptr) << GetLastError();
    auto information = reinterpret_cast<DLRINFORMATIONPROC>(GetProcAddress(library, MAKEINTRESOURCE(1)));
    auto setType = reinterpret_cast<DLRSETCONNECTIONTYPEPROC>(GetProcAddress(library, MAKEINTRESOURCE(8)));
    auto connect = reinterpret_cast<DLRPROC>(GetProcAddress(library, MAKEINTRESOURCE(2)));
    ASSERT_TRUE(information && setType && connect);
    CObArray slots;
    slots.SetSize(3);
    EXPECT_EQ(information(&slots), PTX_SUCCESS);
    auto* heading = static_cast<ConnectionInfo*>(slots[0]);
    auto* type = static_cast<ConnectionInfo*>(slots[1]);
    ASSERT_TRUE(heading && type);
    EXPECT_EQ(slots[2], nullptr);
    EXPECT_EQ(heading->m_strDisplayName, "America Online");
    EXPECT_EQ(heading->m_dwListKind, static_cast<DWORD>(DLR_LIST_HEADING));
    EXPECT_EQ(heading->m_strDialerDll, "");
    EXPECT_EQ(type->m_strDisplayName, "America Online 4.0 for Windows 95");
    EXPECT_EQ(type->m_strDialerDll, "PTDAOL40.DLL");
    delete heading;
    delete type;
    EXPECT_EQ(setType("America Online 4.0 for Windows 95"), PTX_SUCCESS);
    EXPECT_EQ(setType("Generic Dialer"), PTX_NOT_CONFIGURED);
    EXPECT_EQ(connect(), PTX_NOT_SUPPORTED);
    EXPECT_EQ(isConnected(), PTX_PROVIDER_NOT_CONNECTED);
    const std::string log = Log();
    EXPECT_TRUE(Has(log, "CPTDAol40App::InitInstance() -- ToolHelp funcs initialized successfully")) << log;
    EXPECT_TRUE(Has(log, "CPTDAol40App::FileExists() -- strFilename = wsock32.dll")) << log;
    EXPECT_FALSE(Has(log, "CPTDGenericApp")) << log;
}

// The kernel's tool help as bound by name: this process with its program and libraries, named
// the platform's way.
TEST_F(GenericDialerPlatform, ToolHelpListsThisProcessAndItsModules)
{
    HMODULE kernel = LoadLibrary("KERNEL32.DLL");
    ASSERT_NE(kernel, nullptr);
    auto snapshot = reinterpret_cast<CREATESNAPSHOTPROC>(GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
    auto processFirst = reinterpret_cast<PROCESSWALKPROC>(GetProcAddress(kernel, "Process32First"));
    auto processNext = reinterpret_cast<PROCESSWALKPROC>(GetProcAddress(kernel, "Process32Next"));
    auto moduleFirst = reinterpret_cast<MODULEWALKPROC>(GetProcAddress(kernel, "Module32First"));
    auto moduleNext = reinterpret_cast<MODULEWALKPROC>(GetProcAddress(kernel, "Module32Next"));
    ASSERT_TRUE(snapshot && processFirst && processNext && moduleFirst && moduleNext);
    EXPECT_EQ(GetProcAddress(kernel, "NoSuchFunction"), nullptr);

    HANDLE processes = snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(processes, INVALID_HANDLE_VALUE);
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process - 1;
    EXPECT_FALSE(processFirst(processes, &process));  // a short record is refused
    process.dwSize = sizeof process;
    bool self = false;
    for (BOOL more = processFirst(processes, &process); more; more = processNext(processes, &process))
        if (process.th32ProcessID == GetCurrentProcessId()) {
            self = true;
            EXPECT_STREQ(process.szExeFile, "test_dialer_platform.exe");
        }
    EXPECT_TRUE(self);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(CloseHandle(processes));

    HANDLE modules = snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    ASSERT_NE(modules, INVALID_HANDLE_VALUE);
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    ASSERT_TRUE(moduleFirst(modules, &module));
    EXPECT_STREQ(module.szModule, "test_dialer_platform.exe");
    bool platform = false;
    while (moduleNext(modules, &module))
        platform = platform || std::string(module.szModule) == "win32.dll";
    EXPECT_TRUE(platform);
    EXPECT_TRUE(CloseHandle(modules));
    EXPECT_EQ(snapshot(TH32CS_SNAPMODULE, 0x7ffffff0), INVALID_HANDLE_VALUE);  // no such process
    FreeLibrary(kernel);
}

}  // namespace
