// CVLDBVirtualData: the list data provider over the records of a sorted content-database record
// set (a CVLRecordset that a subclass opens and hands over with SetRecordset). Rows are the
// records in the set's order, numbered from 1; at most 100 consecutive rows are loaded at a time,
// their titles kept back to back in one growing global memory block.
#pragma once

#include "widgets/BaseListData.h"
#include "widgets/ListTitleBlock.h"

#include "base/VLRecordset.h"

class CVLDBVirtualData : public CBaseListData {
    DECLARE_DYNAMIC(CVLDBVirtualData)
public:
    enum { kWindowCapacity = 100 };  // rows loaded at once

    // Throws the framework's memory exception when the title block cannot be had.
    CVLDBVirtualData();
    virtual ~CVLDBVirtualData();

    // The record set the rows come from (not owned); the window is emptied.
    void SetRecordset(CVLRecordset* pRecordset);
    CVLRecordset* GetRecordset() const { return m_pRecordset; }

    long GetCount() override;
    BOOL GetItem(TVITEM* pItem) override;
    long GetItemData(long nRow) override;
    // A row outside the window loads the window that starts there, moved back so that a full
    // window fits before the last record.
    long EnsureLoaded(long nRow) override;
    long FindTitle(LPCSTR lpszTitle) override;

    // Loads the window that starts at a 1-based row (at least 1); the number of rows loaded. The
    // record set is left on the window's first row.
    long LoadBlock(long nRow);

    // The window now loaded: its first row (0 when nothing is loaded) and its size.
    long GetFirstLoadedRow() const { return m_nWindowCount > 0 ? m_nFirstRow : 0; }
    long GetLoadedCount() const { return m_nWindowCount; }

    // The icon resource of a record's content-type text ("Artcl" none, "Animt" 4030, "Video"
    // 4031, "Pict" 4032, "PicSnd" 187, "Simul" 4033, "Map" 143, "VirRel" 4035; others none).
    static UINT GetContentCode(LPCSTR lpszType);

    char m_szLabel[100];  // a caption the owner may keep with the list ("Unselected" at first)

private:
    // Moves the record set to a 1-based row, relative to where it stands.
    void MoveTo(long nRow);
    // The title of the current record: its key without a line end.
    CString CurrentTitle();

    CVLRecordset* m_pRecordset;
    CListTitleBlock m_titles;
    long m_nFirstRow;  // 1-based (9999 before the first load)
    long m_nEndRow;    // first row + window count (0 before the first load)
    long m_nWindowCount;
    long m_nTitleOffsets[kWindowCapacity];
};
