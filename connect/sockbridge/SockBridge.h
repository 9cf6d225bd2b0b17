// CSockBridge: the library's one state per process and the way a call reaches the sockets
// server: request blocks as WM_COPYDATA to the server's window, the error word of its answer,
// reply blocks fetched over DDE, the server's start and the blocking path with its worker.
#pragma once

#include "sockbridge/WinSock.h"

#include <ddeml.h>
#include <interproc.h>
#include <windows.h>

#include <cstdint>

// The request opcodes the server understands.
enum SockOpcode {
    kOpAccept = 0, kOpBind = 1, kOpCloseSocket = 2, kOpConnect = 3, kOpGetPeerName = 4, kOpGetSockName = 5,
    kOpGetSockOpt = 6, kOpIoctlSocket = 11, kOpListen = 12, kOpRecv = 15, kOpRecvFrom = 16, kOpSelect = 17,
    kOpSend = 18, kOpSendTo = 19, kOpSetSockOpt = 20, kOpShutdown = 21, kOpSocket = 22, kOpGetHostByAddr = 23,
    kOpGetHostByName = 24, kOpGetProtoByName = 25, kOpGetProtoByNumber = 26, kOpGetServByName = 27,
    kOpGetServByPort = 28, kOpGetHostName = 29, kOpAsyncSelect = 30, kOpGetLastError = 40, kOpSetLastError = 41,
    kOpCancelBlockingCall = 42, kOpIsBlocking = 43, kOpStartup = 44,
};

class CSockBridge {
public:
    // Library attach: the reply-fetch method, the request semaphore.
    void Attach(HMODULE hModule);
    // Library detach: the DDE conversation and instance end, the server is told to go (and
    // ended when this library started it), the worker stops.
    void Detach();

    // Starts the server when it is missing (never re-entered); TRUE when it runs.
    BOOL EnsureServer();
    BOOL ServerMissing() const { return m_bServerMissing; }
    // The error of a call made while the server is missing: 10091 after WSAStartup, else 10093;
    // set as the last error.
    void FailMissing() const;

    // Sends one request and reads the server's answer: -1 with the last error set when it reports
    // an error (10050 also forgets the server), when no server window is known (10050) or when
    // the semaphore stays taken for 5000 ms (10036; the request is then not sent); else the
    // answer with the last error 0.
    LONG Transact(int nOpcode, const void* pBlock, DWORD cbBlock);
    // Transact, through the worker when a blocking hook is set.
    LONG Blocking(int nOpcode, const void* pBlock, DWORD cbBlock);
    // Copies the reply block of a reply handle into pReply (at most cbReply bytes): the number
    // of bytes copied, or -1 with 10091 when DDE fails.
    LONG FetchReply(LONG hReply, void* pReply, DWORD cbReply);
    // A request with a reply block: Blocking (or Transact) then FetchReply; the bytes copied, or
    // -1 with the last error set.
    LONG Call(int nOpcode, void* pBlock, DWORD cbBlock, void* pReply, DWORD cbReply, BOOL bViaWorker);

    // Called by the window enumeration: TRUE to go on.
    BOOL Identify(HWND hwnd);

    int m_nStartups = 0;
    WORD m_wVersion = 0;
    ws::BLOCKINGHOOK m_pfnBlockingHook = NULL;
    volatile BOOL m_bBlocking = FALSE;  // a call waits in the blocking path
    HMODULE m_hModule = NULL;
    // The counters of the asynchronous lookups, one per function.
    LONG m_nAsyncCounters[6] = {};
    // The time a request waits for the semaphore.
    DWORD m_dwSemaphoreWait = 5000;

private:
    BOOL StartServerProcess();
    BOOL ConnectDde();
    BOOL StartWorker();
    static LRESULT CALLBACK WorkerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI WorkerThread(LPVOID pParam);

    HWND m_hServer = NULL;
    HANDLE m_hServerProcess = NULL;
    BOOL m_bServerMissing = TRUE;
    BOOL m_bStarting = FALSE;
    HANDLE m_hSemaphore = NULL;
    DWORD m_idInst = 0;
    HCONV m_hConv = NULL;
    BOOL m_bFetchByRequest = TRUE;  // Windows NT: a DDE request for the reply's item
    HWND m_hWorker = NULL;
    HANDLE m_hWorkerThread = NULL;
    UINT m_uThreadMessage = 0;
    DWORD m_dwCallerThread = 0;
};

CSockBridge& SockBridge();

// The server's window title while it waits to be found, and the library's exports the platform
// calls back.
extern const char kServerReadyTitle[];
#define SOCKBRIDGE_API extern "C" __attribute__((visibility("default")))
SOCKBRIDGE_API BOOL CALLBACK IdentifyServer(HWND hwnd, LPARAM lParam);
SOCKBRIDGE_API HDDEDATA CALLBACK DdeCallback32(UINT wType, UINT wFmt, HCONV hConv, HSZ hsz1, HSZ hsz2,
                                               HDDEDATA hData, ULONG_PTR dwData1, ULONG_PTR dwData2);
