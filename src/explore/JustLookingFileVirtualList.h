// CJustLookingFileVirtualList: the browsing view's show list, every item the FIND list offers
// with both filters at "all", over the list base. The data file ("Jlshow.dat") and its index
// (the name's base + ".ndx") are read from the program folder and, when the data file is not
// there, from the disc's data folder (kind 11). A missing or stale index is built by the base.
//
// A line holds four fields separated by "|": a code (up to 3 characters, kept), the item's
// content number in decimal, a second code (up to 3 characters, kept) and the title (the rest of
// the line, cut at 100 characters). Only the first 131 characters of a line are read. A line
// with fewer than four fields, or whose number is no whole number, is damage: the base reports
// it once ("The list file %s is damaged.") and the list ends there.
#pragma once

#include "widgets/VLVirtualData.h"

class CJustLookingFileVirtualList : public CVLVirtualData {
    DECLARE_DYNAMIC(CJustLookingFileVirtualList)
public:
    enum { kLineLimit = 131, kCodeLength = 3, kTitleLength = 100 };

    explicit CJustLookingFileVirtualList(LPCSTR lpszFileName = "Jlshow.dat");
    ~CJustLookingFileVirtualList() override;

    // TRUE when the data file and its index could be had.
    BOOL IsListOpen() const { return m_bOpen; }
    // The folder the data file was found in (with its backslash); empty when none.
    const CString& GetFolder() const { return m_strFolder; }

    // The fields of the last line parsed.
    LPCSTR GetCode() const { return m_szCode; }
    LPCSTR GetSecondCode() const { return m_szSecondCode; }
    long GetNumber() const { return m_nNumber; }
    const CString& GetTitle() const { return m_strTitle; }

    // 0: rewinds the data file and gives 0; else seeks to that line position, reads one line and
    // gives the position after it, -1 when nothing could be read.
    long SkipEntryAt(long nPosition);

protected:
    long ReadEntry(int* pId, CString* pTitle, CString* pSecond, CString* pThird) override;
    BOOL ParseLine(LPCSTR lpszLine) override;

private:
    BOOL m_bOpen;
    CString m_strFolder;
    char m_szCode[kCodeLength + 1];
    char m_szSecondCode[kCodeLength + 1];
    long m_nNumber;
    CString m_strTitle;
};
