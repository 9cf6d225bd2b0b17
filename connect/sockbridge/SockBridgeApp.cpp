// CSockBridgeApp: the library's application object, through which the platform runs the
// library's entry point when the library is loaded and before it goes.
#include "sockbridge/SockBridge.h"

#include <afxwin.h>

SOCKBRIDGE_API BOOL WINAPI DllEntryPoint(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved);

namespace {

class CSockBridgeApp : public CWinApp {
public:
    CSockBridgeApp() : CWinApp("WSOCK32") {}
    BOOL InitInstance() override { return DllEntryPoint(m_hInstance, DLL_PROCESS_ATTACH, NULL); }
    int ExitInstance() override
    {
        DllEntryPoint(m_hInstance, DLL_PROCESS_DETACH, NULL);
        return CWinApp::ExitInstance();
    }
};

CSockBridgeApp theApp;

}  // namespace
