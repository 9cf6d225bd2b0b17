// The connection-type tables of the five dialer libraries, and the table logic every dialer
// shares.
#include "dialers/DialerExports.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace {

constexpr CONNECTIONTYPE Record(const char* support, const char* dialer, const char* name, DWORD kind, DWORD flags)
{
    CONNECTIONTYPE record{};
    record.dwSize = sizeof(CONNECTIONTYPE);
    for (int i = 0; support[i] && i < DLR_NAME_SIZE - 1; ++i)
        record.szSupportDll[i] = support[i];
    for (int i = 0; dialer[i] && i < DLR_NAME_SIZE - 1; ++i)
        record.szDialerDll[i] = dialer[i];
    for (int i = 0; name[i] && i < DLR_NAME_SIZE - 1; ++i)
        record.szDisplayName[i] = name[i];
    record.wReserved = 0;
    record.dwListKind = kind;
    record.dwOptionFlags = flags;
    return record;
}

const CONNECTIONTYPE kGeneric[] = {
    Record("ISPWSOCK.DLL", "PTDGENRC.DLL", "Generic Dialer", DLR_LIST_STANDALONE, 0),
};
const CONNECTIONTYPE kDialUp[] = {
    Record("ISPWSOCK.DLL", "PTDW95.DLL", "Dial-Up Networking", DLR_LIST_DIALUP, 0),
};
const CONNECTIONTYPE kCompuServe[] = {
    Record("", "", "CompuServe", DLR_LIST_HEADING, 0),
    Record("ISPWSOCK.DLL", "PTDCIS.DLL", "CompuServe 3.0.1", DLR_LIST_GROUPED, 0),
};
const CONNECTIONTYPE kAol40[] = {
    Record("", "", "America Online", DLR_LIST_HEADING, 1),
    Record("ISPWSOCK.DLL", "PTDAOL40.DLL", "America Online 4.0 for Windows 95", DLR_LIST_GROUPED, 0),
};
const CONNECTIONTYPE kAol[] = {
    Record("", "", "America Online", DLR_LIST_HEADING, 1),
    Record("ISPWSOCK.DLL", "PTDAOL.DLL", "America Online 3.0", DLR_LIST_GROUPED, 1),
    Record("ISPWSOCK.DLL", "PTDAOL.DLL", "America Online 3.0 for Windows 95", DLR_LIST_GROUPED, 0x110),
};

const DialerTable kTables[] = {
    {"PTDGENRC.DLL", kGeneric, 1},
    {"PTDW95.DLL", kDialUp, 1},
    {"PTDCIS.DLL", kCompuServe, 2},
    {"PTDAOL40.DLL", kAol40, 2},
    {"PTDAOL.DLL", kAol, 3},
};

}  // namespace

const DialerTable* AllDialerTables(int& count)
{
    count = static_cast<int>(sizeof kTables / sizeof kTables[0]);
    return kTables;
}

const DialerTable* FindDialerTable(LPCSTR pszLibrary)
{
    if (pszLibrary == NULL)
        return NULL;
    for (const DialerTable& table : kTables)
        if (lstrcmpiA(table.library, pszLibrary) == 0)
            return &table;
    return NULL;
}

int CConnectionTypes::Information(CObArray* pArray) const
{
    if (pArray == NULL)
        return PTX_SUCCESS;
    for (int i = 0; i < m_table.count && i < pArray->GetSize(); ++i) {
        ConnectionInfo* info = new (std::nothrow) ConnectionInfo(m_table.records[i]);
        if (info != NULL)
            pArray->SetAt(i, info);
    }
    return PTX_SUCCESS;
}

int CConnectionTypes::Select(LPCSTR pszName)
{
    m_nSelected = 0;
    if (pszName == NULL)
        return PTX_NOT_CONFIGURED;
    for (int i = 0; i < m_table.count; ++i)
        if (std::strcmp(m_table.records[i].szDisplayName, pszName) == 0) {
            m_nSelected = i;
            return PTX_SUCCESS;
        }
    return PTX_NOT_CONFIGURED;
}
