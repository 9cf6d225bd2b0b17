// What every dialer library of this family shares: its exports (declared here, defined by each
// library), the connection-type tables of the five libraries, and the table logic behind
// dlrInformation and dlrSetConnectionType.
//
// Every export enters the library's own module state (DIALER_ENTRY) so that its dialogs and
// strings come from the library's resources, and answers a status code of <portix/Status.h>.
#pragma once

#include <portix/Dialer.h>
#include <portix/Status.h>

#include <afx.h>
#include <afxcoll.h>

#define DIALER_API extern "C" __attribute__((visibility("default")))
#define DIALER_ENTRY() AFX_MANAGE_STATE(AfxGetStaticModuleState())

DIALER_API int dlrInformation(CObArray* pArray);
DIALER_API int dlrConnect();
DIALER_API int dlrDisconnect();
DIALER_API int dlrIsConnected();
DIALER_API int dlrConfigure();
DIALER_API int dlrLaunchBrowser(CString& strUrl);
DIALER_API int dlrSetupWinsock();
DIALER_API int dlrSetConnectionType(LPCSTR pszName);

// One library's table of connection types.
struct DialerTable {
    const char* library;               // the library's file name ("PTDGENRC.DLL")
    const CONNECTIONTYPE* records;
    int count;
};

// The tables of the five dialer libraries (ptdgenrc, ptdw95, ptdcis, ptdaol40, ptdaol), and
// the one of a library by its file name (any case; NULL when it is none of them).
const DialerTable* AllDialerTables(int& count);
const DialerTable* FindDialerTable(LPCSTR pszLibrary);

// A table and its selected type, as each dialer keeps them (0 at load).
class CConnectionTypes {
public:
    explicit CConnectionTypes(const DialerTable& table) : m_table(table) {}

    // A new ConnectionInfo per record into slots 0.. of the caller's array, never past its size
    // (a slot whose allocation fails stays as it was). A null array does nothing. 16401.
    int Information(CObArray* pArray) const;
    // Resets the selection to 0, then selects the record whose display name equals the name
    // exactly (letter case counts): 16401, or 16385 when none does.
    int Select(LPCSTR pszName);

    const CONNECTIONTYPE& Selected() const { return m_table.records[m_nSelected]; }
    int SelectedIndex() const { return m_nSelected; }

private:
    const DialerTable& m_table;
    int m_nSelected = 0;
};
