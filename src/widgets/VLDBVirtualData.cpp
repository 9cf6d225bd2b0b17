#include "widgets/VLDBVirtualData.h"

#include "base/Reference.h"

#include <afxwin.h>

#include <cstring>

namespace {

// The reference kind of a record's content-type text.
struct CONTENT_TYPE {
    LPCSTR lpszType;
    LONG nKind;
};
const CONTENT_TYPE kContentTypes[] = {
    {"Artcl", REFKIND_ARTICLE}, {"Animt", REFKIND_ANIMATION}, {"Video", REFKIND_VIDEO},
    {"Pict", REFKIND_PICTURE},  {"PicSnd", REFKIND_SOUND},    {"Simul", REFKIND_SIMULATION},
    {"Map", REFKIND_MAP},       {"VirRel", REFKIND_BUBBLE},
};

}  // namespace

IMPLEMENT_DYNAMIC(CVLDBVirtualData, CBaseListData)

CVLDBVirtualData::CVLDBVirtualData()
    : m_pRecordset(NULL),
      m_nFirstRow(9999),
      m_nEndRow(0),
      m_nWindowCount(0),
      m_nTitleOffsets{}
{
    std::strcpy(m_szLabel, "Unselected");
}

CVLDBVirtualData::~CVLDBVirtualData() = default;

void CVLDBVirtualData::SetRecordset(CVLRecordset* pRecordset)
{
    m_pRecordset = pRecordset;
    m_nFirstRow = 9999;
    m_nEndRow = 0;
    m_nWindowCount = 0;
}

long CVLDBVirtualData::GetCount() { return m_pRecordset != NULL ? m_pRecordset->GetRowCount() : 0; }

UINT CVLDBVirtualData::GetContentCode(LPCSTR lpszType)
{
    if (lpszType == NULL)
        return 0;
    for (const CONTENT_TYPE& type : kContentTypes)
        if (std::strcmp(type.lpszType, lpszType) == 0)
            return GetReferenceKindIconId(type.nKind);
    return 0;
}

void CVLDBVirtualData::MoveTo(long nRow)
{
    long nPosition = m_pRecordset->GetAbsolutePosition();
    if (nPosition < 0) {
        m_pRecordset->MoveFirst();
        if (nRow > 1)
            m_pRecordset->Move(nRow - 1);
    } else if (nPosition + 1 != nRow) {
        m_pRecordset->Move(nRow - (nPosition + 1));
    }
}

CString CVLDBVirtualData::CurrentTitle()
{
    CString strTitle;
    m_pRecordset->GetKey(strTitle);
    return strTitle;
}

long CVLDBVirtualData::LoadBlock(long nRow)
{
    m_nWindowCount = 0;
    m_nFirstRow = 9999;
    m_nEndRow = 0;
    const long nCount = GetCount();
    if (nRow < 1)
        nRow = 1;
    if (nRow > nCount)
        return 0;
    MoveTo(nRow);
    m_titles.Restart();
    while (!m_pRecordset->IsEOF() && m_nWindowCount < kWindowCapacity) {
        const long nOffset = m_titles.Add(CurrentTitle());
        if (nOffset < 0)
            break;  // no room: the window ends before this row
        m_nTitleOffsets[m_nWindowCount++] = nOffset;
        m_pRecordset->MoveNext();
    }
    if (m_pRecordset->IsEOF())
        m_pRecordset->MoveLast();
    m_nFirstRow = nRow;
    m_nEndRow = nRow + m_nWindowCount;
    MoveTo(m_nFirstRow);
    return m_nWindowCount;
}

long CVLDBVirtualData::EnsureLoaded(long nRow)
{
    const long nCount = GetCount();
    if (nRow < 1 || nRow > nCount)
        return 0;
    if (m_nFirstRow <= nRow && nRow < m_nEndRow)
        return nRow;
    long nStart = nRow;
    if (nStart > nCount - kWindowCapacity + 1)
        nStart = nCount - kWindowCapacity + 1;
    if (nStart < 1)
        nStart = 1;
    LoadBlock(nStart);
    if (!(m_nFirstRow <= nRow && nRow < m_nEndRow))
        LoadBlock(nRow);  // a window cut short: load from the row itself
    return m_nFirstRow <= nRow && nRow < m_nEndRow ? nRow : 0;
}

BOOL CVLDBVirtualData::GetItem(TVITEM* pItem)
{
    if (pItem == NULL)
        return FALSE;
    const long nRow = static_cast<long>(reinterpret_cast<INT_PTR>(pItem->hItem));
    if (EnsureLoaded(nRow) == 0)
        return FALSE;
    MoveTo(nRow);
    const char* pszTitle = m_titles.At(m_nTitleOffsets[nRow - m_nFirstRow]);
    pItem->pszText = const_cast<char*>(pszTitle);
    pItem->cchTextMax = static_cast<int>(std::strlen(pszTitle));
    pItem->lParam = m_pRecordset->GetItemId();
    pItem->cChildren = 0;
    pItem->iImage = static_cast<int>(GetContentCode(m_pRecordset->GetContentType()));
    return TRUE;
}

long CVLDBVirtualData::GetItemData(long nRow)
{
    if (EnsureLoaded(nRow) == 0)
        return 0;
    MoveTo(nRow);
    return m_pRecordset->GetItemId();
}

long CVLDBVirtualData::FindTitle(LPCSTR lpszTitle)
{
    const long nCount = GetCount();
    if (nCount <= 0)
        return 0;
    CString strTitle = lpszTitle != NULL ? lpszTitle : "";
    strTitle.TrimRight();
    if (strTitle.IsEmpty()) {
        LoadBlock(1);
        return 1;
    }
    // The prefix search lands on the first record that begins with the text, or next to where
    // the text would stand; step to the first record whose title is not less than the text.
    long nRow = m_pRecordset->FindPrefix(strTitle);
    if (nRow < 1)
        nRow = 1;
    MoveTo(nRow);
    while (nRow < nCount && CurrentTitle().CompareNoCase(strTitle) < 0) {
        m_pRecordset->MoveNext();
        ++nRow;
    }
    while (nRow > 1) {
        m_pRecordset->MovePrev();
        if (CurrentTitle().CompareNoCase(strTitle) < 0) {
            m_pRecordset->MoveNext();
            break;
        }
        --nRow;
    }
    EnsureLoaded(nRow);
    return nRow;
}
