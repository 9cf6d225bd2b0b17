// The bridge's transport: the server's start, requests and their answers, reply fetches and
// the blocking path.
#include "sockbridge/SockBridge.h"

#include <cstdio>
#include <cstring>

const char kServerReadyTitle[] = "\r\nVersion 3.10\r\n";

namespace {

const char kServerName[] = "WSA32SRV.DLL";

// What the caller hands the worker for one request.
struct WorkItem {
    int nOpcode;
    DWORD cbBlock;
    const void* pBlock;
};

// The STATIC window's own procedure, which the worker's window passes the other messages to.
WNDPROC g_pfnStaticProc = NULL;

struct WorkerStart {
    CSockBridge* pBridge;
    DWORD dwCaller;
};

}  // namespace

CSockBridge& SockBridge()
{
    static CSockBridge bridge;
    return bridge;
}

void CSockBridge::Attach(HMODULE hModule)
{
    m_hModule = hModule;
    m_bFetchByRequest = (GetVersion() & 0x80000000u) == 0;
    m_hServerProcess = NULL;
    m_hSemaphore = CreateSemaphore(NULL, 1, 50, NULL);
}

void CSockBridge::Detach()
{
    if (m_hConv != NULL)
        DdeDisconnect(m_hConv);
    if (m_idInst != 0)
        DdeUninitialize(m_idInst);
    m_hConv = NULL;
    m_idInst = 0;
    if (m_hServer != NULL)
        SendMessageA(m_hServer, WM_DESTROY, 0, 0);
    if (m_hServerProcess != NULL) {
        if (WaitForSingleObject(m_hServerProcess, 2000) != WAIT_OBJECT_0)
            TerminateProcess(m_hServerProcess, 1);
        CloseHandle(m_hServerProcess);
        m_hServerProcess = NULL;
    }
    m_hServer = NULL;
    m_bServerMissing = TRUE;
    if (m_hWorker != NULL) {
        PostMessageA(m_hWorker, WM_CLOSE, 0, 0);
        WaitForSingleObject(m_hWorkerThread, 5000);
        CloseHandle(m_hWorkerThread);
        m_hWorker = NULL;
        m_hWorkerThread = NULL;
    }
    if (m_hSemaphore != NULL)
        CloseHandle(m_hSemaphore);
    m_hSemaphore = NULL;
}

void CSockBridge::FailMissing() const
{
    SetLastError(m_nStartups > 0 ? ws::WSASYSNOTREADY : ws::WSANOTINITIALISED);
}

BOOL CSockBridge::Identify(HWND hwnd)
{
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (strcmp(title, kServerReadyTitle) != 0)
        return TRUE;
    char mark[64];
    snprintf(mark, sizeof mark, "WSA32SRV.DLL HWND=0x%.4X",
             static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(hwnd) & 0xFFFFFFFFu));
    SetWindowTextA(hwnd, mark);
    m_hServer = hwnd;
    return FALSE;
}

BOOL CSockBridge::StartServerProcess()
{
    char path[MAX_PATH] = {};
    if (SearchPathA(NULL, kServerName, NULL, sizeof path, path, NULL) == 0)
        return FALSE;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path, NULL, NULL, NULL, FALSE, CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, NULL, NULL,
                        &si, &pi))
        return FALSE;
    m_hServerProcess = pi.hProcess;
    CloseHandle(pi.hThread);
    WaitForInputIdle(pi.hProcess, 5000);
    return TRUE;
}

BOOL CSockBridge::ConnectDde()
{
    if (DdeInitializeA(&m_idInst, DdeCallback32, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        m_idInst = 0;
        return FALSE;
    }
    if (!m_bFetchByRequest)
        return TRUE;
    char service[32];
    snprintf(service, sizeof service, "WSA32SRV.DLL-%X", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(m_hServer) & 0xFFFF));
    HSZ hsz = DdeCreateStringHandleA(m_idInst, service, CP_WINANSI);
    m_hConv = DdeConnect(m_idInst, hsz, hsz, NULL);
    DdeFreeStringHandle(m_idInst, hsz);
    if (m_hConv == NULL) {
        DdeUninitialize(m_idInst);
        m_idInst = 0;
        return FALSE;
    }
    return TRUE;
}

BOOL CSockBridge::EnsureServer()
{
    if (!m_bServerMissing)
        return TRUE;
    if (m_bStarting)
        return FALSE;
    m_bStarting = TRUE;
    if (m_hServer == NULL) {
        if (m_hServerProcess == NULL)
            StartServerProcess();
        EnumWindows(IdentifyServer, reinterpret_cast<LPARAM>(this));
    }
    BOOL ok = m_hServer != NULL && (m_idInst != 0 || ConnectDde());
    if (ok) {
        DWORD version = m_wVersion;
        ok = Transact(kOpStartup, &version, sizeof version) == 0;
    }
    if (ok)
        m_bServerMissing = FALSE;
    m_bStarting = FALSE;
    if (!ok)
        SetLastError(ws::WSASYSNOTREADY);
    return ok;
}

LONG CSockBridge::Transact(int nOpcode, const void* pBlock, DWORD cbBlock)
{
    if (m_hServer == NULL) {
        SetLastError(ws::WSAENETDOWN);
        return -1;
    }
    if (WaitForSingleObject(m_hSemaphore, m_dwSemaphoreWait) != WAIT_OBJECT_0) {
        SetLastError(ws::WSAEINPROGRESS);
        return -1;
    }
    COPYDATASTRUCT record{};
    record.dwData = cbBlock;
    record.cbData = cbBlock;
    record.lpData = const_cast<void*>(pBlock);
    DWORD_PTR answer = 0;
    BOOL sent = SendMessageTimeoutA(m_hServer, WM_COPYDATA, static_cast<WPARAM>(nOpcode),
                                    reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, INFINITE, &answer) != 0;
    ReleaseSemaphore(m_hSemaphore, 1, NULL);
    if (!sent) {
        // The server has gone: as a network that went down.
        m_hServer = NULL;
        m_bServerMissing = TRUE;
        SetLastError(ws::WSAENETDOWN);
        return -1;
    }
    DWORD result = static_cast<DWORD>(answer);
    short error = static_cast<short>(LOWORD(result));
    if (HIWORD(result) == 0xFFFF && error >= 10000 && error <= 12000) {
        if (error == ws::WSAENETDOWN) {
            m_hServer = NULL;
            m_bServerMissing = TRUE;
        }
        SetLastError(static_cast<DWORD>(error));
        return -1;
    }
    SetLastError(0);
    return static_cast<LONG>(result);
}

LONG CSockBridge::FetchReply(LONG hReply, void* pReply, DWORD cbReply)
{
    LONG copied = -1;
    if (m_bFetchByRequest) {
        char item[16];
        snprintf(item, sizeof item, "%X", static_cast<unsigned>(hReply));
        HSZ hsz = m_idInst != 0 ? DdeCreateStringHandleA(m_idInst, item, CP_WINANSI) : NULL;
        HDDEDATA hData = hsz != NULL && m_hConv != NULL
                             ? DdeClientTransaction(NULL, 0, m_hConv, hsz, CF_TEXT, XTYP_REQUEST, 30000, NULL)
                             : NULL;
        if (hData != NULL) {
            copied = static_cast<LONG>(DdeGetData(hData, static_cast<LPBYTE>(pReply), cbReply, 0));
            DdeFreeDataHandle(hData);
        }
        if (hsz != NULL)
            DdeFreeStringHandle(m_idInst, hsz);
    } else {
        HDDEDATA hData = reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(static_cast<DWORD>(hReply)));
        DWORD size = DdeGetData(hData, NULL, 0, 0);
        if (size != 0) {
            copied = static_cast<LONG>(DdeGetData(hData, static_cast<LPBYTE>(pReply), cbReply, 0));
            DdeFreeDataHandle(hData);
        }
    }
    if (copied < 0)
        SetLastError(ws::WSASYSNOTREADY);
    return copied;
}

LONG CSockBridge::Call(int nOpcode, void* pBlock, DWORD cbBlock, void* pReply, DWORD cbReply, BOOL bViaWorker)
{
    LONG hReply = bViaWorker ? Blocking(nOpcode, pBlock, cbBlock) : Transact(nOpcode, pBlock, cbBlock);
    if (hReply == -1)
        return -1;
    LONG copied = FetchReply(hReply, pReply, cbReply);
    if (copied >= 0)
        SetLastError(0);
    return copied;
}

// ---- The blocking path

LRESULT CALLBACK CSockBridge::WorkerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CSockBridge& bridge = SockBridge();
    if (msg == bridge.m_uThreadMessage && msg != 0) {
        const WorkItem* item = reinterpret_cast<const WorkItem*>(lParam);
        LONG result = bridge.Transact(item->nOpcode, item->pBlock, item->cbBlock);
        PostThreadMessageA(static_cast<DWORD>(wParam), bridge.m_uThreadMessage, GetLastError(), result);
        return 0;
    }
    if (msg == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return g_pfnStaticProc != NULL ? CallWindowProcA(g_pfnStaticProc, hwnd, msg, wParam, lParam)
                                   : DefWindowProcA(hwnd, msg, wParam, lParam);
}

DWORD WINAPI CSockBridge::WorkerThread(LPVOID pParam)
{
    WorkerStart start = *static_cast<WorkerStart*>(pParam);
    HWND hwnd = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    if (hwnd != NULL)
        g_pfnStaticProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WorkerProc)));
    PostThreadMessageA(start.dwCaller, start.pBridge->m_uThreadMessage, 0, reinterpret_cast<LPARAM>(hwnd));
    if (hwnd == NULL)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

BOOL CSockBridge::StartWorker()
{
    if (m_hWorker != NULL)
        return TRUE;
    if (m_uThreadMessage == 0)
        m_uThreadMessage = RegisterWindowMessageA("WS32THREAD");
    WorkerStart start{this, GetCurrentThreadId()};
    DWORD id = 0;
    m_hWorkerThread = CreateThread(NULL, 8192, WorkerThread, &start, 0, &id);
    if (m_hWorkerThread == NULL)
        return FALSE;
    MSG msg;
    if (GetMessageA(&msg, NULL, m_uThreadMessage, m_uThreadMessage) <= 0 || msg.lParam == 0) {
        WaitForSingleObject(m_hWorkerThread, 5000);
        CloseHandle(m_hWorkerThread);
        m_hWorkerThread = NULL;
        return FALSE;
    }
    m_hWorker = reinterpret_cast<HWND>(msg.lParam);
    return TRUE;
}

LONG CSockBridge::Blocking(int nOpcode, const void* pBlock, DWORD cbBlock)
{
    ws::BLOCKINGHOOK hook = m_pfnBlockingHook;
    if (hook == NULL)
        return Transact(nOpcode, pBlock, cbBlock);
    if (!StartWorker()) {
        SetLastError(ws::WSAENOBUFS);
        return -1;
    }
    WorkItem item{nOpcode, cbBlock, pBlock};
    m_bBlocking = TRUE;
    PostMessageA(m_hWorker, m_uThreadMessage, GetCurrentThreadId(), reinterpret_cast<LPARAM>(&item));
    MSG msg{};
    for (;;) {
        // A message, or a while without one: the hook runs between them either way, as a
        // blocking call's hook is called again and again while the call waits.
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        if (PeekMessageA(&msg, NULL, m_uThreadMessage, m_uThreadMessage, PM_REMOVE))
            break;
        hook();
    }
    m_bBlocking = FALSE;
    SetLastError(static_cast<DWORD>(msg.wParam));
    return static_cast<LONG>(msg.lParam);
}

SOCKBRIDGE_API BOOL CALLBACK IdentifyServer(HWND hwnd, LPARAM lParam)
{
    return reinterpret_cast<CSockBridge*>(lParam)->Identify(hwnd);
}

SOCKBRIDGE_API HDDEDATA CALLBACK DdeCallback32(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return NULL;
}
