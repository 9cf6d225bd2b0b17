// Enumerating the dial-up phonebook.
#include "dialers/Phonebook.h"

#include "portixcmn/PortixCmn.h"

#include <portix/Status.h>

#include <ras.h>
#include <windows.h>

int CPhonebook::Enumerate()
{
    m_names.RemoveAll();
    DWORD size = sizeof(RASENTRYNAME);
    DWORD count = 0;
    auto* entries = static_cast<LPRASENTRYNAME>(LocalAlloc(LPTR, size));
    if (entries == NULL)
        return PTX_MEMORY_ERROR;
    entries->dwSize = sizeof(RASENTRYNAME);
    DWORD error = RasEnumEntries(NULL, NULL, entries, &size, &count);
    if (error == ERROR_BUFFER_TOO_SMALL) {
        LocalFree(entries);
        entries = static_cast<LPRASENTRYNAME>(LocalAlloc(LPTR, size));
        if (entries == NULL) {
            logPortix("Phonebook -- no memory for %lu bytes of entries\n", static_cast<unsigned long>(size));
            return PTX_MEMORY_ERROR;
        }
        entries->dwSize = sizeof(RASENTRYNAME);
        error = RasEnumEntries(NULL, NULL, entries, &size, &count);
    }
    if (error != 0) {
        LocalFree(entries);
        logPortix("Phonebook -- the entries could not be read (%lu)\n", static_cast<unsigned long>(error));
        return PTX_UNKNOWN_ERROR;
    }
    for (DWORD i = 0; i < count && (i + 1) * sizeof(RASENTRYNAME) <= size; ++i)
        m_names.Add(entries[i].szEntryName);
    LocalFree(entries);
    return PTX_SUCCESS;
}

int CPhonebook::Find(const CString& strName) const
{
    for (INT_PTR i = 0; i < m_names.GetSize(); ++i)
        if (m_names[i] == strName)
            return static_cast<int>(i);
    return -1;
}

BOOL CPhonebook::SavedAccount(LPCSTR pszEntry, CString& strUser, CString& strPassword)
{
    RASDIALPARAMS params{};
    params.dwSize = sizeof params;
    lstrcpynA(params.szEntryName, pszEntry, sizeof params.szEntryName);
    BOOL passwordSaved = FALSE;
    const BOOL ok = RasGetEntryDialParams(NULL, &params, &passwordSaved) == 0;
    if (ok) {
        strUser = params.szUserName;
        strPassword = passwordSaved ? params.szPassword : "";
    }
    WipeSecret(params.szPassword, sizeof params.szPassword);
    return ok;
}

CString EntryNameOf(LPCSTR pszIsp) { return dlrGetScreenName(pszIsp); }

int SetEntryNameOf(LPCSTR pszIsp, LPCSTR pszEntry) { return dlrSetScreenName(pszIsp, pszEntry); }

void WipeSecret(void* pBuffer, size_t nBytes)
{
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(pBuffer);
    for (size_t i = 0; i < nBytes; ++i)
        bytes[i] = 0;
}

void WipeSecret(CString& strSecret)
{
    if (strSecret.IsEmpty())
        return;
    const int length = strSecret.GetLength();
    WipeSecret(strSecret.GetBuffer(length), static_cast<size_t>(length));
    strSecret.ReleaseBuffer(0);
}
