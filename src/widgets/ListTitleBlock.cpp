#include "widgets/ListTitleBlock.h"

#include <afxwin.h>

#include <cstring>

CListTitleBlock::CListTitleBlock() : m_hTitles(NULL), m_pTitles(NULL), m_nSize(0), m_nUsed(0)
{
    m_hTitles = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kStep);
    if (m_hTitles == NULL)
        AfxThrowMemoryException();
    m_pTitles = static_cast<char*>(GlobalLock(m_hTitles));
    m_nSize = GlobalSize(m_hTitles);
}

CListTitleBlock::~CListTitleBlock()
{
    // A failure to free is of no consequence here.
    GlobalUnlock(m_hTitles);
    GlobalFree(m_hTitles);
}

BOOL CListTitleBlock::Grow()
{
    GlobalUnlock(m_hTitles);
    HGLOBAL hGrown = GlobalReAlloc(m_hTitles, m_nSize + kStep, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (hGrown != NULL)
        m_hTitles = hGrown;
    m_pTitles = static_cast<char*>(GlobalLock(m_hTitles));
    m_nSize = GlobalSize(m_hTitles);
    return hGrown != NULL;
}

long CListTitleBlock::Add(LPCSTR lpszTitle)
{
    const SIZE_T nLength = lpszTitle != NULL ? std::strlen(lpszTitle) : 0;
    const SIZE_T nNeeded = m_nUsed + nLength + 1;
    if (m_nSize * 90 / 100 < m_nUsed)
        Grow();  // room ahead for the rest of the window; should it fail, the title may still fit
    while (nNeeded > m_nSize)
        if (!Grow())
            return -1;
    std::memcpy(m_pTitles + m_nUsed, lpszTitle != NULL ? lpszTitle : "", nLength + 1);
    const long nOffset = static_cast<long>(m_nUsed);
    m_nUsed = nNeeded;
    return nOffset;
}
