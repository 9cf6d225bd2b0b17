// CPreferencesDlg: the reader's settings of the product section of the profile: the disc drive
// (CD1), the sticky-note folder (SNL), the paging-file folder (TFL), the text editor (WPL), and
// the switches DGP (pictures printable), LPL with MP (limit of the paging files), DVA (video),
// DSC (sound clips) and PAA (animations play at once). OK writes them all and tells the
// top-level window (VLM_REFRESH_TOOLS); Cancel leaves the profile as it was.
//
// The folder and editor fields are checked when they lose the focus after a change, and again at
// OK: a field that fails its check says why and gets its previous value back.
#pragma once

#include "widgets/IntEdit.h"

#include <afxwin.h>

class CPreferencesDlg : public CDialog {
public:
    explicit CPreferencesDlg(CWnd* pParent);

    // The drive list's first entry, and what CD1 reads as when it is missing.
    static const char s_szAnyDrive[];
    // The largest paging limit.
    static constexpr int kMaxPagingLimit = 65535;

    // Reads the settings from the profile into the members (the defaults where missing).
    void LoadSettings();
    // Writes the members to the profile (CD1 removed for any drive). The drive choice also steers
    // the disc search: [File Locations] "CD1" names a chosen drive (removed for any drive), and
    // a folder location becomes [Files] "DataDir" (its "info_dat\" folder when it has one).
    void SaveSettings() const;

    // The folder check of SNL and TFL: an empty text, a character no path may hold, or a folder
    // that is absent and not created at the reader's word fails (with the reader told why);
    // otherwise TRUE with the folder ending in a backslash.
    static BOOL CheckFolderEntry(CString& strFolder);
    // The editor check: TRUE when the file's status can be read.
    static BOOL CheckProgramEntry(const CString& strProgram);
    // The paging limit as it is kept: digits only (FALSE otherwise), at most 65535, "0" when
    // empty.
    static BOOL NormalisePagingLimit(CString& strLimit);

    // The data folder that a folder chosen for disc 1 gives [Files] "DataDir" (its "info_dat\"
    // folder when it has one).
    static CString DataFolderOfChoice(const CString& strFolder);

    // The settings as the controls show them (check boxes: 1 checked).
    CString m_strDrive;
    // The disc choice as the dialog found it.
    CString m_strDriveLoaded;
    CString m_strNotes;
    CString m_strPaging;
    CString m_strEditor;
    CString m_strPagingLimit;
    int m_nPrintPictures = 1;  // DGP "n"
    int m_nLimitPaging = 0;    // LPL "y"
    int m_nVideo = 1;          // DVA "n"
    int m_nSound = 1;          // DSC "n"
    int m_nAnimate = 1;        // PAA "y"

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnKillFocusNotes();
    afx_msg void OnKillFocusPaging();
    afx_msg void OnKillFocusEditor();
    afx_msg void OnKillFocusPagingLimit();
    afx_msg void OnBrowseNotes();
    afx_msg void OnBrowsePaging();
    afx_msg void OnBrowseEditor();
    afx_msg void OnDiscLocation();
    afx_msg void OnLimitPaging();
    DECLARE_MESSAGE_MAP()

    // Checks one field that differs from its kept value and puts the result (or the kept value)
    // back into it; FALSE when it failed. Nothing is checked while the focus goes to Cancel or
    // another check is showing.
    BOOL CheckFolderField(int nID, CString& strKept);
    BOOL CheckEditorField();
    BOOL CheckPagingLimitField();
    BOOL SkipFocusCheck() const;
    // The drive list: the entry, added when it is not one of the drives (a folder location).
    void SelectDrive(const CString& strDrive);
    int AddDrive(LPCSTR lpszDrive);
    void EnablePagingLimit(BOOL bEnable);

    CIntEdit m_editPagingLimit;
    BOOL m_bChecking = FALSE;
};
