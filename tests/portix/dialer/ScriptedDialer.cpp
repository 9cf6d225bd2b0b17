// PTDTEST.DLL, the scripted test dialer: a dialer plug-in whose answers a test sets, so that the
// online manager's flows run through the real engine. Its application object fails its
// initialisation while the environment variable PTDTEST_FAIL_INIT is "1".
//
// Beside the dialer exports: ScriptSetAnswer(operation, code) sets what an operation answers
// ("connect", "disconnect", "isconnected", "configure", "launchbrowser", "setupwinsock");
// ScriptInitialized() and ScriptAppIsOwn() tell about the application object; ExitInstance sets
// the environment variable PTDTEST_EXITED to "1". ScriptCalls(buffer, size) gives the operations called so far, one a line ("launchbrowser"
// with its URL); ScriptReset() forgets both.
#include <portix/Dialer.h>
#include <portix/Status.h>

#include <afxwin.h>

#include <cstring>
#include <map>
#include <string>

#define SCRIPT_API extern "C" __attribute__((visibility("default")))

namespace {

CONNECTIONTYPE Record(const char* name, DWORD kind)
{
    CONNECTIONTYPE record{};
    record.dwSize = sizeof record;
    if (kind != DLR_LIST_HEADING) {
        std::strcpy(record.szSupportDll, "ISPWSOCK.DLL");
        std::strcpy(record.szDialerDll, "PTDTEST.DLL");
    }
    std::strncpy(record.szDisplayName, name, DLR_NAME_SIZE - 1);
    record.dwListKind = kind;
    return record;
}

const CONNECTIONTYPE kTypes[] = {
    Record("Scripted Provider", DLR_LIST_STANDALONE),
    Record("Test Networks", DLR_LIST_HEADING),
    Record("Test Network LAN", DLR_LIST_GROUPED),
};

class CScriptedApp : public CWinApp {
public:
    CScriptedApp() : CWinApp("PTDTEST") {}
    BOOL InitInstance() override
    {
        char value[8] = {};
        GetEnvironmentVariable("PTDTEST_FAIL_INIT", value, sizeof value);
        m_bInitialized = std::strcmp(value, "1") != 0;
        return m_bInitialized;
    }
    int ExitInstance() override
    {
        m_bInitialized = FALSE;
        // Seen by the test after the library is gone.
        SetEnvironmentVariable("PTDTEST_EXITED", "1");
        return CWinApp::ExitInstance();
    }

    BOOL m_bInitialized = FALSE;
    int m_nSelected = 0;
    std::map<std::string, int> m_answers;
    std::string m_calls;

    int Answer(const char* operation, int fallback)
    {
        m_calls += operation;
        m_calls += '\n';
        auto it = m_answers.find(operation);
        return it == m_answers.end() ? fallback : it->second;
    }
};

CScriptedApp theApp;

}  // namespace

#define ENTRY() AFX_MANAGE_STATE(AfxGetStaticModuleState())

SCRIPT_API int dlrInformation(CObArray* pArray)
{
    ENTRY();
    theApp.m_calls += "information\n";
    for (int i = 0; pArray != NULL && i < 3 && i < pArray->GetSize(); ++i)
        pArray->SetAt(i, new ConnectionInfo(kTypes[i]));
    return PTX_SUCCESS;
}

SCRIPT_API int dlrSetConnectionType(LPCSTR pszName)
{
    ENTRY();
    theApp.m_calls += std::string("settype ") + (pszName ? pszName : "") + "\n";
    theApp.m_nSelected = 0;
    for (int i = 0; pszName != NULL && i < 3; ++i)
        if (kTypes[i].dwListKind != DLR_LIST_HEADING && std::strcmp(kTypes[i].szDisplayName, pszName) == 0) {
            theApp.m_nSelected = i;
            return PTX_SUCCESS;
        }
    return PTX_NOT_CONFIGURED;
}

SCRIPT_API int dlrConnect()
{
    ENTRY();
    return theApp.Answer("connect", PTX_SUCCESS);
}

SCRIPT_API int dlrDisconnect()
{
    ENTRY();
    return theApp.Answer("disconnect", PTX_SUCCESS);
}

SCRIPT_API int dlrIsConnected()
{
    ENTRY();
    return theApp.Answer("isconnected", PTX_ESTABLISHED);
}

SCRIPT_API int dlrConfigure()
{
    ENTRY();
    return theApp.Answer("configure", PTX_CONFIG_CHANGED);
}

SCRIPT_API int dlrLaunchBrowser(CString& strUrl)
{
    ENTRY();
    return theApp.Answer((std::string("launchbrowser ") + static_cast<LPCSTR>(strUrl)).c_str(),
                         theApp.m_answers.count("launchbrowser") ? theApp.m_answers["launchbrowser"] : PTX_SUCCESS);
}

SCRIPT_API int dlrSetupWinsock()
{
    ENTRY();
    return theApp.Answer("setupwinsock", PTX_SUCCESS);
}

SCRIPT_API void ScriptSetAnswer(const char* operation, int code)
{
    theApp.m_answers[operation] = code;
}

SCRIPT_API int ScriptCalls(char* buffer, int size)
{
    if (buffer == NULL || size <= 0)
        return 0;
    std::strncpy(buffer, theApp.m_calls.c_str(), static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
    return static_cast<int>(theApp.m_calls.size());
}

SCRIPT_API void ScriptReset()
{
    theApp.m_answers.clear();
    theApp.m_calls.clear();
}

SCRIPT_API BOOL ScriptInitialized()
{
    return theApp.m_bInitialized;
}

// Inside the library's state the application is the library's own; outside, the program's.
SCRIPT_API BOOL ScriptAppIsOwn()
{
    const BOOL outside = AfxGetApp() != &theApp;
    ENTRY();
    return outside && AfxGetApp() == &theApp && AfxGetInstanceHandle() == theApp.m_hInstance;
}
