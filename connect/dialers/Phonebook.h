// The platform's dial-up phonebook as the dial-up dialers read it.
#pragma once

#include <afx.h>
#include <afxcoll.h>

class CPhonebook {
public:
    // Reads the entries' names: a first buffer for one record, grown once to the size the
    // service asks for. 16401; 16389 when a buffer could not be had; 16391 when the service
    // failed.
    int Enumerate();
    const CStringArray& Names() const { return m_names; }
    // The index of an entry of that name (exact), or -1.
    int Find(const CString& strName) const;

    // The account the phonebook keeps for an entry; FALSE when the entry is unknown or the
    // phonebook cannot be read.
    static BOOL SavedAccount(LPCSTR pszEntry, CString& strUser, CString& strPassword);

private:
    CStringArray m_names;
};

// The connection whose "EntryName" setting names a phonebook entry (the setting is kept under
// the screen-name key of the settings library).
CString EntryNameOf(LPCSTR pszIsp);
int SetEntryNameOf(LPCSTR pszIsp, LPCSTR pszEntry);

// Overwrites a buffer that held a password, so that it does not outlive its use.
void WipeSecret(void* pBuffer, size_t nBytes);
void WipeSecret(CString& strSecret);
