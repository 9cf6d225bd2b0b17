// The preferences store: the switches and folders of the profile for groups of content that may
// be read from places other than the disc ("Network Optimizer", "File Locations"), the program
// options and the access-control switches, read once when the store is made.
//
// The application object makes it first thing at start-up, before its own profile path is
// installed, so it reads the framework's default profile. Nothing writes its entries back.
#pragma once

#include <afx.h>

class PreferencesStore : public CObject {
public:
    // The entry kinds: none, a folder of its own, an item of disc 1, an item of disc 2.
    enum { kindNone = 0, kindFolder = 1, kindDisc1 = 2, kindDisc2 = 3 };
    enum { entryCount = 57 };
    // Install-mode bits: disc 1's data ([Files] "DataDir") or disc 2's ([Files] "CD2") lies on
    // the hard disk.
    enum { installDisc1OnDisk = 1, installDisc2OnDisk = 2 };

    struct Entry {
        BOOL bEnabled = FALSE;
        LONG nNumber = 0;
        CString strText;
        int nKind = kindNone;
    };

    // Builds the empty entries and loads them from the profile.
    PreferencesStore();
    ~PreferencesStore() override = default;

    // Reads every entry again from the profile and derives the folders.
    void Load();

    const Entry& GetEntry(int nIndex) const { return m_entries[nIndex]; }
    int GetInstallMode() const { return m_nInstallMode; }
    const CString& GetDataDir() const { return m_strDataDir; }
    const CString& GetDisc2Dir() const { return m_strCD2; }
    const CString& GetDisc1DataFolder() const { return m_strDisc1Folder; }
    const CString& GetDisc2DataFolder() const { return m_strDisc2Folder; }

private:
    Entry m_entries[entryCount];
    int m_nInstallMode = 0;
    CString m_strDataDir;
    CString m_strCD2;
    CString m_strDisc1Folder;
    CString m_strDisc2Folder;
};
