#include "widgets/VLVirtualData.h"

#include <afxwin.h>

#include <cstdlib>
#include <cstring>

namespace {

// The part of a title that a search compares: the text trimmed of blanks at the right.
CString SearchText(LPCSTR lpszTitle)
{
    CString strText = lpszTitle != NULL ? lpszTitle : "";
    strText.TrimRight();
    return strText;
}

// A decimal number that fills the whole text (blanks around it allowed); FALSE otherwise.
BOOL ParseCount(const CString& strText, long& nValue)
{
    CString strTrimmed = strText;
    strTrimmed.TrimLeft();
    strTrimmed.TrimRight();
    if (strTrimmed.IsEmpty() || strTrimmed.GetLength() > 9)
        return FALSE;
    for (int i = 0; i < strTrimmed.GetLength(); ++i)
        if (strTrimmed[i] < '0' || strTrimmed[i] > '9')
            return FALSE;
    nValue = atol(strTrimmed);
    return TRUE;
}

}  // namespace

IMPLEMENT_DYNAMIC(CVLVirtualData, CBaseListData)

CVLVirtualData::CVLVirtualData(BOOL bTreeMode)
    : m_nReaderValues{0, 0, 0},
      m_bTreeMode(bTreeMode),
      m_nFirstKey(0),
      m_nNextKey(0),
      m_nFirstRow(9999),
      m_nEndRow(0),
      m_nWindowCount(0),
      m_nTotalCount(0),
      m_bEnd(FALSE),
      m_nKeptPosition(0),
      m_bDataOpen(FALSE),
      m_bDamaged(FALSE),
      m_bDamageReported(FALSE),
      m_bLastReadAtEnd(FALSE)
{
    std::strcpy(m_szLabel, "Unselected");
}

CVLVirtualData::~CVLVirtualData() { Close(); }

BOOL CVLVirtualData::OpenDataFile(LPCSTR lpszFileName)
{
    if (m_bDataOpen)
        m_fileData.Abort();
    m_bDataOpen = m_fileData.Open(lpszFileName, CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
    if (m_bDataOpen)
        m_strDataName = lpszFileName;
    return m_bDataOpen;
}

BOOL CVLVirtualData::Open(LPCSTR lpszIndexName)
{
    if (!m_bDataOpen)
        return FALSE;
    m_strIndexName = lpszIndexName;
    CStdioFile index;
    if (index.Open(lpszIndexName, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) {
        BOOL bRead = FALSE;
        CString strLine;
        long nCount = 0;
        TRY
        {
            if (index.ReadString(strLine) && ParseCount(strLine.Left(kMaxLine), nCount)) {
                m_nTotalCount = nCount;
                m_blocks.clear();
                bRead = TRUE;
                while (bRead && index.ReadString(strLine)) {
                    strLine = strLine.Left(kMaxLine);
                    int nBlank = strLine.Find(' ');
                    long nPosition = 0;
                    if (nBlank <= 0 || !ParseCount(strLine.Left(nBlank), nPosition))
                        bRead = FALSE;
                    else
                        m_blocks.push_back({nPosition, strLine.Mid(nBlank + 1)});
                }
            }
            index.Close();
        }
        CATCH(CFileException, e)
        {
            index.Abort();
            bRead = FALSE;
        }
        END_CATCH
        if (bRead && IndexMatchesData())
            return TRUE;
    }
    return BuildIndexFile(lpszIndexName);
}

BOOL CVLVirtualData::IndexMatchesData()
{
    const size_t nBlocks = static_cast<size_t>((m_nTotalCount + kWindowCapacity - 1) / kWindowCapacity);
    if (m_nTotalCount < 0 || m_blocks.size() != nBlocks)
        return FALSE;
    const long nLength = static_cast<long>(m_fileData.GetLength());
    int nId = 0;
    CString strTitle, strSecond, strThird;
    if (nBlocks == 0)
        return SeekData(0) && ReadNext(nId, strTitle, strSecond, strThird, FALSE) < 0 && m_bLastReadAtEnd;
    // Every block line names the line and the key of the entry it stands for.
    for (size_t i = 0; i < nBlocks; ++i) {
        const VLBLOCKLINE& block = m_blocks[i];
        if (block.nPosition < 0 || block.nPosition >= nLength || (i > 0 && block.nPosition <= m_blocks[i - 1].nPosition))
            return FALSE;
        if (i == 0 && block.nPosition != 0) {
            // The first entry is the first line that parses at the top of the file.
            if (!SeekData(0) || ReadNext(nId, strTitle, strSecond, strThird, FALSE) != block.nPosition)
                return FALSE;
        }
        if (!SeekData(block.nPosition) || ReadNext(nId, strTitle, strSecond, strThird, FALSE) != block.nPosition ||
            MakeBlockKey(strTitle) != block.strKey)
            return FALSE;
    }
    // The last block holds the rest of the count, and the file ends there.
    long nRest = 1;
    while (ReadNext(nId, strTitle, strSecond, strThird, FALSE) >= 0)
        if (++nRest > kWindowCapacity)
            return FALSE;
    if (!m_bLastReadAtEnd)
        return FALSE;  // a line that does not parse: the build says so
    return nRest == m_nTotalCount - static_cast<long>(nBlocks - 1) * kWindowCapacity;
}

BOOL CVLVirtualData::BuildIndexFile(LPCSTR lpszIndexName)
{
    m_blocks.clear();
    m_nTotalCount = 0;
    m_nWindowCount = 0;
    m_nFirstRow = 9999;
    m_nEndRow = 0;
    if (!m_bDataOpen || !SeekData(0))
        return FALSE;
    long nCount = 0;
    int nId = 0;
    CString strTitle, strSecond, strThird;
    for (;;) {
        long nPosition = ReadNext(nId, strTitle, strSecond, strThird);
        if (nPosition < 0)
            break;
        if (nCount % kWindowCapacity == 0)
            m_blocks.push_back({nPosition, MakeBlockKey(strTitle)});
        ++nCount;
    }
    if (m_bDamaged) {
        m_blocks.clear();
        return FALSE;
    }
    m_nTotalCount = nCount;

    CStdioFile index;
    if (index.Open(lpszIndexName, CFile::modeCreate | CFile::modeWrite | CFile::typeText)) {
        TRY
        {
            CString strLine;
            strLine.Format("%ld\n", m_nTotalCount);
            index.WriteString(strLine);
            for (const VLBLOCKLINE& block : m_blocks) {
                strLine.Format("%ld %s\n", block.nPosition, static_cast<LPCSTR>(block.strKey));
                index.WriteString(strLine);
            }
            index.Close();
        }
        CATCH(CFileException, e)
        {
            // A half-written index does not match the data file and is built again next time.
            index.Abort();
        }
        END_CATCH
    }
    return TRUE;
}

CString CVLVirtualData::MakeBlockKey(LPCSTR lpszTitle)
{
    CString strKey = CString(lpszTitle != NULL ? lpszTitle : "").Left(kKeyLength);
    while (strKey.GetLength() < kKeyLength)
        strKey += ' ';
    return strKey;
}

void CVLVirtualData::Close()
{
    if (m_bDataOpen) {
        TRY
        {
            m_nKeptPosition = static_cast<long>(m_fileData.GetPosition());
            m_fileData.Close();
        }
        CATCH(CFileException, e)
        {
            m_fileData.Abort();
        }
        END_CATCH
    }
    m_bDataOpen = FALSE;
}

BOOL CVLVirtualData::Reopen()
{
    if (m_bDataOpen)
        return TRUE;
    m_bDataOpen = m_fileData.Open(m_strDataName, CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
    if (m_bDataOpen && !SeekData(m_nKeptPosition)) {
        m_fileData.Abort();
        m_bDataOpen = FALSE;
    }
    return m_bDataOpen;
}

BOOL CVLVirtualData::SeekData(long nPosition)
{
    if (!m_bDataOpen)
        return FALSE;
    BOOL bDone = TRUE;
    TRY
    {
        m_fileData.Seek(nPosition, CFile::begin);
    }
    CATCH(CFileException, e)
    {
        bDone = FALSE;
    }
    END_CATCH
    return bDone;
}

long CVLVirtualData::ReadDataLine(CString& strLine)
{
    strLine.Empty();
    m_bLastReadAtEnd = TRUE;
    if (!m_bDataOpen)
        return -1;
    long nPosition = -1;
    TRY
    {
        nPosition = static_cast<long>(m_fileData.GetPosition());
        if (m_fileData.ReadString(strLine)) {
            m_bLastReadAtEnd = FALSE;
            if (strLine.GetLength() > kMaxLine)
                strLine = strLine.Left(kMaxLine);
        } else {
            nPosition = -1;
        }
    }
    CATCH(CFileException, e)
    {
        nPosition = -1;
    }
    END_CATCH
    return nPosition;
}

long CVLVirtualData::ReadNext(int& nId, CString& strTitle, CString& strSecond, CString& strThird, BOOL bReport)
{
    m_nReaderValues[0] = m_nReaderValues[1] = m_nReaderValues[2] = 0;
    nId = 0;
    strTitle.Empty();
    strSecond.Empty();
    strThird.Empty();
    long nPosition = ReadEntry(&nId, &strTitle, &strSecond, &strThird);
    if (nPosition < 0 && !m_bLastReadAtEnd && bReport)
        ReportDamage();
    return nPosition;
}

void CVLVirtualData::ReportDamage()
{
    m_bDamaged = TRUE;
    if (m_bDamageReported)
        return;
    m_bDamageReported = TRUE;
    CString strMessage;
    strMessage.Format("The list file %s is damaged.", static_cast<LPCSTR>(m_strDataName));
    AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
}

long CVLVirtualData::LoadBlock(long nRow)
{
    if (nRow < 1)
        nRow = 1;
    if (nRow > m_nTotalCount || m_blocks.empty())
        return 0;
    size_t nBlock = static_cast<size_t>((nRow - 1) / kWindowCapacity);
    if (nBlock >= m_blocks.size())
        nBlock = m_blocks.size() - 1;
    const long nIndex = static_cast<long>(nBlock) * kWindowCapacity;
    return LoadFrom(m_blocks[nBlock].nPosition, nIndex, nRow - 1 - nIndex);
}

long CVLVirtualData::LoadFrom(long nPosition, long nIndex, long nSkip)
{
    m_nWindowCount = 0;
    m_bEnd = TRUE;
    m_nFirstRow = nIndex;
    m_nEndRow = nIndex;
    if (!SeekData(nPosition))
        return 0;
    int nId = 0;
    CString strTitle, strSecond, strThird;
    for (; nSkip > 0; --nSkip, ++m_nFirstRow)
        if (ReadNext(nId, strTitle, strSecond, strThird) < 0)
            return 0;

    m_titles.Restart();
    for (;;) {
        long nLine = ReadNext(nId, strTitle, strSecond, strThird);
        if (nLine < 0)
            break;
        const long nOffset = m_titles.Add(strTitle);
        if (nOffset < 0) {
            // No room for this title: the window ends before it, the next load starts with it.
            m_bEnd = FALSE;
            m_nNextKey = nLine;
            break;
        }
        VLTREEENTRY& entry = m_window[m_nWindowCount];
        entry.nId = nId;
        for (int i = 0; i < 3; ++i)
            entry.nValues[i] = m_nReaderValues[i];
        entry.strTitle = strTitle;
        entry.strSecond = m_bTreeMode ? strSecond : CString();
        entry.strThird = m_bTreeMode ? strThird : CString();
        entry.nPosition = nLine;
        entry.nTitleOffset = nOffset;
        if (++m_nWindowCount == kWindowCapacity) {
            m_bEnd = FALSE;
            break;
        }
    }
    if (m_bDamaged && m_nFirstRow + m_nWindowCount < m_nTotalCount) {
        // The rows after a damaged line cannot be served.
        m_nTotalCount = m_nFirstRow + m_nWindowCount;
    }
    if (m_nWindowCount > 0) {
        m_nFirstKey = m_window[0].nPosition;
        if (m_bEnd || m_nWindowCount == kWindowCapacity) {
            TRY
            {
                m_nNextKey = static_cast<long>(m_fileData.GetPosition());
            }
            CATCH(CFileException, e)
            {
                m_nNextKey = m_window[m_nWindowCount - 1].nPosition;
            }
            END_CATCH
        }
    }
    m_nEndRow = m_nFirstRow + m_nWindowCount;
    return m_nWindowCount;
}

const CVLVirtualData::VLTREEENTRY* CVLVirtualData::EntryOf(long nRow)
{
    if (EnsureLoaded(nRow) == 0)
        return NULL;
    return &m_window[nRow - 1 - m_nFirstRow];
}

long CVLVirtualData::EnsureLoaded(long nRow)
{
    if (nRow < 1 || nRow > m_nTotalCount)
        return 0;
    const long nIndex = nRow - 1;
    if (m_nFirstRow <= nIndex && nIndex < m_nEndRow)
        return nRow;
    size_t nBlock = static_cast<size_t>(nIndex / kWindowCapacity);
    if (nBlock >= m_blocks.size())
        return 0;
    LoadFrom(m_blocks[nBlock].nPosition, static_cast<long>(nBlock) * kWindowCapacity, 0);
    if (!(m_nFirstRow <= nIndex && nIndex < m_nEndRow)) {
        // A window cut short (a title block that could not grow): load from the row itself.
        LoadBlock(nRow);
    }
    return m_nFirstRow <= nIndex && nIndex < m_nEndRow ? nRow : 0;
}

BOOL CVLVirtualData::GetItem(TVITEM* pItem)
{
    if (pItem == NULL)
        return FALSE;
    const VLTREEENTRY* pEntry = EntryOf(static_cast<long>(reinterpret_cast<INT_PTR>(pItem->hItem)));
    if (pEntry == NULL)
        return FALSE;
    pItem->pszText = m_titles.At(pEntry->nTitleOffset);
    pItem->cchTextMax = pEntry->strTitle.GetLength();
    pItem->cChildren = 0;
    pItem->lParam = pEntry->nId;
    return TRUE;
}

long CVLVirtualData::GetItemData(long nRow)
{
    const VLTREEENTRY* pEntry = EntryOf(nRow);
    return pEntry != NULL ? pEntry->nId : 0;
}

long CVLVirtualData::GetListEntry(long nRow, VLLISTENTRY& entry)
{
    const VLTREEENTRY* pEntry = EntryOf(nRow);
    if (pEntry == NULL)
        return 0;
    entry = *pEntry;
    return entry.nId;
}

long CVLVirtualData::GetTreeEntry(long nRow, VLTREEENTRY& entry)
{
    const VLTREEENTRY* pEntry = EntryOf(nRow);
    if (pEntry == NULL)
        return 0;
    entry = *pEntry;
    return entry.nId;
}

size_t CVLVirtualData::FindBlockForTitle(const CString& strTitle) const
{
    const CString strKey = strTitle.Left(kKeyLength);
    for (size_t i = 0; i < m_blocks.size(); ++i)
        if (m_blocks[i].strKey.CompareNoCase(strKey) >= 0)
            return i > 0 ? i - 1 : 0;
    return m_blocks.empty() ? 0 : m_blocks.size() - 1;
}

BOOL CVLVirtualData::IsTitleInWindow(const CString& strTitle, long* pRow, BOOL bFollowsSmaller) const
{
    *pRow = -1;
    if (m_nWindowCount == 0)
        return FALSE;
    const VLTREEENTRY& first = m_window[0];
    const VLTREEENTRY& last = m_window[m_nWindowCount - 1];
    if (strTitle.CompareNoCase(first.strTitle) <= 0) {
        // Before the window's first title: it is the answer when nothing before the window can be.
        if (m_nFirstRow == 0 || bFollowsSmaller) {
            *pRow = m_nFirstRow + 1;
            return TRUE;
        }
        return FALSE;
    }
    if (strTitle.CompareNoCase(last.strTitle) <= 0) {
        long nLow = 1, nHigh = m_nWindowCount - 1;  // first title < text <= last title
        while (nLow < nHigh) {
            long nMiddle = (nLow + nHigh) / 2;
            if (m_window[nMiddle].strTitle.CompareNoCase(strTitle) < 0)
                nLow = nMiddle + 1;
            else
                nHigh = nMiddle;
        }
        *pRow = m_nFirstRow + nLow + 1;
        return TRUE;
    }
    if (m_bEnd) {
        // After every title of the last window: the last row.
        *pRow = m_nEndRow;
        return TRUE;
    }
    return FALSE;
}

long CVLVirtualData::FindTitle(LPCSTR lpszTitle)
{
    if (m_nTotalCount <= 0)
        return 0;
    const CString strTitle = SearchText(lpszTitle);
    if (strTitle.IsEmpty()) {
        LoadBlock(1);
        return 1;
    }
    long nRow = -1;
    if (IsTitleInWindow(strTitle, &nRow, FALSE))
        return nRow;
    size_t nBlock = FindBlockForTitle(strTitle);
    long nIndex = static_cast<long>(nBlock) * kWindowCapacity;
    LoadFrom(m_blocks[nBlock].nPosition, nIndex, 0);
    // The block's first title sorts before the text (or the block begins the file), so the
    // windows from here on are searched in order until one holds the text's place.
    BOOL bFollowsSmaller = FALSE;
    for (;;) {
        if (IsTitleInWindow(strTitle, &nRow, bFollowsSmaller))
            return nRow;
        if (m_bEnd || m_nWindowCount == 0)
            return m_nTotalCount;
        bFollowsSmaller = TRUE;
        nIndex = m_nEndRow;
        LoadFrom(m_nNextKey, nIndex, 0);
    }
}
