// References of the online service: items downloaded into the download folder (an online article
// as its RIT text + ".rcv", online media as RIT text + ".grf"), and the mini articles that the
// online pages show.
#pragma once

#include "base/Reference.h"

class CRin;

class COnlineReference : public CReference {
    DECLARE_DYNAMIC(COnlineReference)
public:
    // The number from the CRin; the file name in the download folder.
    COnlineReference(const CRin& rin, LPCSTR lpszFileName);
    COnlineReference(const COnlineReference& other);

    const CString& GetFileName() const { return m_strFileName; }

    // The download folder followed by the file name; empty when the reference has no file name.
    virtual CString GetFilePath();
    // The download folder. When its folder does not exist the reader is told so and the folder
    // comes back empty (FALSE). The prompt flag is not used.
    virtual BOOL GetDataFolder(CString& strFolder, BOOL bPrompt);
    // TRUE when the file is in the download folder.
    virtual BOOL IsFileAvailable();
    // A new COnlineReference (with the file name); NULL when it cannot be made.
    virtual CReference* Clone();

private:
    CString m_strFileName;
};

// A mini article of the online pages: a plain reference of kind REFKIND_MINIARTICLE.
class CMiniArticleReference : public CReference {
    DECLARE_DYNAMIC(CMiniArticleReference)
public:
    CMiniArticleReference(const CRin& rin, LPCSTR lpszTitle, LPCSTR lpszLinkText);
};
