// The DDE management library: conversations between programs (in one process or several),
// string handles, data handles and the client's request transaction. A server registers its
// service names; a client connects to a service and topic and asks for items; the server's
// callback answers on the thread that initialised its instance, while it pumps messages.
#pragma once

#include <windef.h>

DECLARE_HANDLE(HCONV);
DECLARE_HANDLE(HSZ);
DECLARE_HANDLE(HDDEDATA);

typedef HDDEDATA(CALLBACK* PFNCALLBACK)(UINT wType, UINT wFmt, HCONV hConv, HSZ hsz1, HSZ hsz2, HDDEDATA hData,
                                        ULONG_PTR dwData1, ULONG_PTR dwData2);

typedef struct tagCONVCONTEXT {
    UINT cb;
    UINT wFlags;
    UINT wCountryID;
    int iCodePage;
    DWORD dwLangID;
    DWORD dwSecurity;
} CONVCONTEXT, *PCONVCONTEXT;

#define XCLASS_BOOL 0x1000
#define XCLASS_DATA 0x2000
#define XCLASS_FLAGS 0x4000
#define XCLASS_NOTIFICATION 0x8000
#define XTYPF_NOBLOCK 0x0002
#define XTYP_CONNECT (0x0060 | XCLASS_BOOL | XTYPF_NOBLOCK)
#define XTYP_CONNECT_CONFIRM (0x0070 | XCLASS_NOTIFICATION | XTYPF_NOBLOCK)
#define XTYP_REGISTER (0x00A0 | XCLASS_NOTIFICATION | XTYPF_NOBLOCK)
#define XTYP_REQUEST (0x00B0 | XCLASS_DATA)
#define XTYP_DISCONNECT (0x00C0 | XCLASS_NOTIFICATION | XTYPF_NOBLOCK)

#define APPCLASS_STANDARD 0x00000000L
#define APPCMD_CLIENTONLY 0x00000010L
#define APPCMD_FILTERINITS 0x00000020L
#define CBF_FAIL_ALLSVRXACTIONS 0x0003F000L
#define CBF_SKIP_ALLNOTIFICATIONS 0x003C0000L

#define DNS_REGISTER 0x0001
#define DNS_UNREGISTER 0x0002
#define DNS_FILTERON 0x0004
#define DNS_FILTEROFF 0x0008

#define CP_WINANSI 1004
#define HDATA_APPOWNED 0x0001
#define TIMEOUT_ASYNC 0xFFFFFFFF

#define DMLERR_NO_ERROR 0
#define DMLERR_DATAACKTIMEOUT 0x4002
#define DMLERR_DLL_NOT_INITIALIZED 0x4003
#define DMLERR_DLL_USAGE 0x4004
#define DMLERR_INVALIDPARAMETER 0x4006
#define DMLERR_MEMORY_ERROR 0x4008
#define DMLERR_NOTPROCESSED 0x4009
#define DMLERR_NO_CONV_ESTABLISHED 0x400A
#define DMLERR_SERVER_DIED 0x400E
#define DMLERR_SYS_ERROR 0x400F

// Starts an instance for the calling thread (*pidInst must be 0): DMLERR_NO_ERROR and the
// instance's id in *pidInst. The callback serves the instance's conversations as a server;
// APPCMD_CLIENTONLY makes an instance that only connects.
UINT WINAPI DdeInitializeA(LPDWORD pidInst, PFNCALLBACK pfnCallback, DWORD afCmd, DWORD ulRes);
#define DdeInitialize DdeInitializeA
// Ends the instance: its conversations end and its service names go.
BOOL WINAPI DdeUninitialize(DWORD idInst);
UINT WINAPI DdeGetLastError(DWORD idInst);

// String handles: one handle per text regardless of case.
HSZ WINAPI DdeCreateStringHandleA(DWORD idInst, LPCSTR psz, int iCodePage);
#define DdeCreateStringHandle DdeCreateStringHandleA
BOOL WINAPI DdeFreeStringHandle(DWORD idInst, HSZ hsz);
DWORD WINAPI DdeQueryStringA(DWORD idInst, HSZ hsz, LPSTR psz, DWORD cchMax, int iCodePage);
#define DdeQueryString DdeQueryStringA
int WINAPI DdeCmpStringHandles(HSZ hsz1, HSZ hsz2);

// Registers (DNS_REGISTER) or withdraws (DNS_UNREGISTER; with hsz1 0: all) a service name of a
// server instance.
HDDEDATA WINAPI DdeNameService(DWORD idInst, HSZ hsz1, HSZ hsz2, UINT afCmd);

// Connects to the first server that has the service and accepts the topic; 0 when none does
// (DMLERR_NO_CONV_ESTABLISHED).
HCONV WINAPI DdeConnect(DWORD idInst, HSZ hszService, HSZ hszTopic, PCONVCONTEXT pCC);
BOOL WINAPI DdeDisconnect(HCONV hConv);

// XTYP_REQUEST: the server's data for the item in format wFmt, as a data handle of the caller's
// that the caller frees; 0 when the server has none (DMLERR_NOTPROCESSED), the time ran out
// (DMLERR_DATAACKTIMEOUT) or the server has gone (DMLERR_SERVER_DIED). Other transaction types
// are refused (DMLERR_INVALIDPARAMETER).
HDDEDATA WINAPI DdeClientTransaction(LPBYTE pData, DWORD cbData, HCONV hConv, HSZ hszItem, UINT wFmt, UINT wType,
                                     DWORD dwTimeout, LPDWORD pdwResult);

// Data handles. A handle made in another process (handed over in a message) can be read and
// freed here too.
HDDEDATA WINAPI DdeCreateDataHandle(DWORD idInst, LPBYTE pSrc, DWORD cb, DWORD cbOff, HSZ hszItem, UINT wFmt,
                                    UINT afCmd);
DWORD WINAPI DdeGetData(HDDEDATA hData, LPBYTE pDst, DWORD cbMax, DWORD cbOff);
BOOL WINAPI DdeFreeDataHandle(HDDEDATA hData);
