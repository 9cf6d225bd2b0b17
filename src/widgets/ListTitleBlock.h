// CListTitleBlock: the titles of a list provider's loaded window, back to back and NUL-terminated
// in one global memory block that starts at 10000 bytes and grows by 10000 whenever a window fills
// it past 90 %.
#pragma once

#include <afx.h>

class CListTitleBlock {
public:
    enum { kStep = 10000 };

    // Throws the framework's memory exception when the first block cannot be had.
    CListTitleBlock();
    ~CListTitleBlock();
    CListTitleBlock(const CListTitleBlock&) = delete;
    CListTitleBlock& operator=(const CListTitleBlock&) = delete;

    // Starts a new window: titles are written from the start again (earlier offsets go stale).
    void Restart() { m_nUsed = 0; }
    // Copies a title after the last one; its offset, or -1 when the block cannot grow to hold it.
    long Add(LPCSTR lpszTitle);
    // The title at an offset that Add gave.
    LPSTR At(long nOffset) const { return m_pTitles + nOffset; }
    SIZE_T GetSize() const { return m_nSize; }

private:
    BOOL Grow();

    HGLOBAL m_hTitles;
    char* m_pTitles;
    SIZE_T m_nSize;  // as the system reports it
    SIZE_T m_nUsed;
};
