#include "search/DictionaryDoc.h"

#include "base/DataFolders.h"
#include "base/ShowMessage.h"

#include <io.h>

namespace {

BOOL IsStyleCode(BYTE ch) { return ch >= 0xB3 && ch <= 0xBC; }
BOOL IsCode(BYTE ch) { return ch >= 0xB3 && ch <= 0xDA; }

__int64 AtLeastZero(__int64 ll) { return ll < 0 ? 0 : ll; }

}  // namespace

CDictionaryDoc::CDictionaryDoc()
{
    Open();
}

CDictionaryDoc::~CDictionaryDoc()
{
    delete m_pEntry;
    delete m_pWordListLines;
    if (m_nHandle > 0)
        _close(m_nHandle);
    delete[] m_pBuffer;
}

void CDictionaryDoc::AllocateBuffer()
{
    if (m_pBuffer == NULL)
        m_pBuffer = new BYTE[kBufferSize];
    m_nBytes = 0;
    m_nCurrent = 0;
}

BOOL CDictionaryDoc::Open()
{
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT13, 1, TRUE))
        AfxThrowUserException();
    if (strFolder.Right(1) != "\\")
        strFolder += "\\";
    m_strPath = strFolder + "DICTDEFS.ROM";
    if (m_nHandle > 0)
        return TRUE;
    const int nHandle = _open(m_strPath, _O_RDONLY | _O_BINARY);
    if (nHandle < 0) {
        ShowMessage(">>> Error opening dict_definition_file");
        return FALSE;
    }
    m_nHandle = nHandle;
    m_llFileLength = AtLeastZero(_filelengthi64(m_nHandle));
    AllocateBuffer();
    m_llBufferOffset = 0;
    m_bEndReached = FALSE;
    return TRUE;
}

BOOL CDictionaryDoc::Reopen()
{
    if (m_nHandle > 0)
        return TRUE;
    const int nHandle = _open(m_strPath, _O_RDONLY | _O_BINARY);
    if (nHandle < 0) {
        ShowMessage(">>> Error opening dict_definition_file");
        return FALSE;
    }
    m_nHandle = nHandle;
    m_llFileLength = AtLeastZero(_filelengthi64(m_nHandle));
    AllocateBuffer();
    // The window is empty: positioning reads afresh around the entry last read.
    m_llBufferOffset = -1;
    Position(m_llEntryStart);
    return TRUE;
}

void CDictionaryDoc::Close()
{
    if (m_nHandle > 0 && _close(m_nHandle) != 0)
        ShowMessage(">>> Error closing dict_definition_file : DICTDEFS.rom");
    m_nHandle = 0;
    delete[] m_pBuffer;
    m_pBuffer = NULL;
    m_nBytes = 0;
    m_nCurrent = 0;
}

void CDictionaryDoc::SetHeading(LPCSTR lpszHeading)
{
    m_strHeading = CString(lpszHeading).Left(kMaxHeading);
}

BYTE CDictionaryDoc::Current() const
{
    if (m_pBuffer == NULL || m_nCurrent < 0 || m_nCurrent >= m_nBytes)
        return kEndOfData;
    return m_pBuffer[m_nCurrent];
}

void CDictionaryDoc::ReadAt(__int64 llOffset)
{
    llOffset = AtLeastZero(llOffset);
    m_llBufferOffset = llOffset;
    m_nBytes = 0;
    m_nCurrent = 0;
    m_bEndReached = FALSE;
    if (m_nHandle <= 0 || m_pBuffer == NULL)
        return;
    if (_lseeki64(m_nHandle, llOffset, SEEK_SET) != llOffset) {
        ShowMessage(">>> Error seeking dict_definition_file");
        return;
    }
    const int n = _read(m_nHandle, m_pBuffer, kBufferSize);
    if (n <= 0) {
        ShowMessage(">>> Error reading dict_definition_file");
        return;
    }
    m_nBytes = n;
}

void CDictionaryDoc::Position(__int64 llOffset)
{
    llOffset = AtLeastZero(llOffset);
    if (m_pBuffer == NULL || m_llBufferOffset < 0 || llOffset < m_llBufferOffset ||
        llOffset >= m_llBufferOffset + m_nBytes)
        ReadAt(llOffset - (m_bBackward ? kBackwardLead : kForwardLead));
    const __int64 llInside = llOffset - m_llBufferOffset;
    m_nCurrent = static_cast<int>(llInside < 0 ? 0 : (llInside > m_nBytes ? m_nBytes : llInside));
    m_bEndReached = FALSE;
}

void CDictionaryDoc::Next()
{
    if (Current() == kEndOfData) {
        m_bEndReached = TRUE;
        return;
    }
    ++m_nCurrent;
    if (m_nCurrent < m_nBytes)
        return;
    const __int64 llNext = m_llBufferOffset + m_nBytes;
    if (llNext >= m_llFileLength || m_nHandle <= 0) {
        m_bEndReached = TRUE;
        return;
    }
    // The window's end: the next bytes in sequence.
    m_llBufferOffset = llNext;
    m_nCurrent = 0;
    m_nBytes = 0;
    const int n = _read(m_nHandle, m_pBuffer, kBufferSize);
    if (n <= 0) {
        ShowMessage(">>> Error reading dictionary file");
        m_bEndReached = TRUE;
        return;
    }
    m_nBytes = n;
}

BOOL CDictionaryDoc::Back()
{
    if (m_pBuffer == NULL)
        return FALSE;
    if (m_nCurrent > 0) {
        --m_nCurrent;
        m_bEndReached = FALSE;
        return TRUE;
    }
    if (m_llBufferOffset <= 0)
        return FALSE;
    const __int64 llOld = m_llBufferOffset;
    ReadAt(llOld - (m_bBackward ? kBackwardLead : kForwardLead));
    const __int64 llInside = llOld - 1 - m_llBufferOffset;
    if (llInside < 0 || llInside >= m_nBytes) {
        m_bEndReached = TRUE;
        return FALSE;
    }
    m_nCurrent = static_cast<int>(llInside);
    return TRUE;
}

void CDictionaryDoc::SkipLine()
{
    while (!m_bEndReached && Current() != '\n')
        Next();
    Next();
}

void CDictionaryDoc::FindPreviousEntry()
{
    Position(m_llEntryStart);
    if (!Back())
        return;
    while (Current() != kEntryMark && Back()) {
    }
    m_llEntryStart = Current() == kEntryMark ? GetCurrentOffset() : 0;
    if (Current() != kEntryMark)
        Position(0);
}

CString CDictionaryDoc::CollectLine(BOOL bHeadword)
{
    CString strLine;
    char* pOut = strLine.GetBuffer(kMaxLine + 1);
    int n = 0;
    while (!m_bEndReached) {
        const BYTE ch = Current();
        if (ch == '\n' || ch == kEndOfData)
            break;
        if (bHeadword && (ch == ',' || ch == kHeadwordEnd))
            break;
        // A line longer than the line buffer is cut there; the rest of it is passed over.
        if (n < kMaxLine)
            pOut[n++] = static_cast<char>(ch);
        Next();
    }
    pOut[n] = '\0';
    strLine.ReleaseBuffer(n);
    return strLine;
}

void CDictionaryDoc::AddEntryLine(const CString& strLine)
{
    m_pEntry->m_lines.Add(strLine);
    if (m_bInsertMode) {
        const int nAt = m_nInsertIndex < 0 ? 0 : (m_nInsertIndex > m_pEntry->m_accumulated.GetSize()
                                                       ? static_cast<int>(m_pEntry->m_accumulated.GetSize())
                                                       : m_nInsertIndex);
        m_pEntry->m_accumulated.InsertAt(nAt, strLine);
        m_nInsertIndex = nAt + 1;
    } else {
        m_pEntry->m_accumulated.Add(strLine);
    }
}

CDictionaryEntry* CDictionaryDoc::ReadEntryLines(BOOL bBackward)
{
    if (m_pEntry == NULL) {
        try {
            m_pEntry = new CDictionaryEntry;
        } catch (CException* e) {
            e->Delete();
            AfxMessageBox("Unable to create the Dictionary Word Line.");
            return NULL;
        }
    }
    m_pEntry->m_lines.RemoveAll();
    __int64 llResume = -1;
    if (bBackward) {
        llResume = GetCurrentOffset();
        const BOOL bEnded = m_bEndReached;
        m_bBackward = TRUE;
        if (m_llEntryStart <= 0) {
            // Nothing lies before the first entry.
            m_bBackward = FALSE;
            m_bEndReached = bEnded;
            return m_pEntry;
        }
        FindPreviousEntry();
    }
    m_bBackward = FALSE;
    BOOL bFirst = TRUE;
    for (;;) {
        if (m_bEndReached || Current() == kEndOfData) {
            m_bEndReached = TRUE;
            m_bAtEnd = TRUE;
            break;
        }
        const BYTE ch = Current();
        if (ch == kEntryEnd) {
            SkipLine();
            break;
        }
        // An entry without its end line stops at the next entry's mark.
        if (ch == kEntryMark && !bFirst)
            break;
        bFirst = FALSE;
        AddEntryLine(CollectLine(FALSE));
        Next();
    }
    if (bBackward) {
        // Forward reading goes on after the last entry laid out.
        Position(llResume);
        if (llResume >= m_llFileLength)
            m_bEndReached = TRUE;
    }
    return m_pEntry;
}

CDictionaryLines* CDictionaryDoc::ReadWordListLine(BOOL bBackward)
{
    if (m_pWordListLines == NULL) {
        try {
            m_pWordListLines = new CDictionaryLines;
        } catch (CException* e) {
            e->Delete();
            AfxMessageBox("Unable to create the Dictionary Word List Line.");
            return NULL;
        }
    }
    m_pWordListLines->m_lines.RemoveAll();
    __int64 llResume = -1;
    if (bBackward) {
        if (m_llEntryStart <= 0)
            return m_pWordListLines;
        llResume = GetCurrentOffset();
        m_bBackward = TRUE;
        FindPreviousEntry();
    }
    m_bBackward = FALSE;
    if (m_bEndReached || Current() == kEndOfData) {
        m_bEndReached = TRUE;
        m_bAtEnd = TRUE;
    } else {
        m_pWordListLines->m_lines.Add(CollectLine(TRUE));
        // To the start of the line after the headword line.
        if (Current() == '\n')
            Next();
        else
            SkipLine();
        while (!m_bEndReached && Current() != kEntryEnd && Current() != kEntryMark)
            SkipLine();
        if (m_bEndReached || Current() == kEndOfData)
            m_bAtEnd = TRUE;
        else if (Current() == kEntryEnd)
            SkipLine();
        if (Current() == kEndOfData)
            m_bAtEnd = TRUE;
    }
    if (bBackward) {
        Position(llResume);
        if (llResume >= m_llFileLength)
            m_bEndReached = TRUE;
    }
    return m_pWordListLines;
}

void CDictionaryDoc::SeekProportional(int nPosition, int nRange)
{
    __int64 llTarget = nRange > 0 ? m_llFileLength * nPosition / nRange : 0;
    if (nPosition == nRange)
        llTarget -= 500;
    m_bBackward = FALSE;
    Position(AtLeastZero(llTarget));
    while (!m_bEndReached && Current() != kEntryMark && Current() != kEndOfData)
        Next();
    if (Current() != kEntryMark) {
        m_bAtEnd = TRUE;
        return;
    }
    // The headword: up to a space or the line's end, without codes and tabs.
    const __int64 llMark = GetCurrentOffset();
    CString strHeading;
    Next();
    while (!m_bEndReached && strHeading.GetLength() < kMaxHeadword) {
        const BYTE ch = Current();
        if (ch == ' ' || ch == '\n' || ch == '\r' || ch == kEndOfData)
            break;
        if (!IsCode(ch) && ch != '\t')
            strHeading += static_cast<char>(ch);
        Next();
    }
    SetHeading(strHeading);
    Position(llMark);
}

CString CDictionaryDoc::HeadwordOf(const CString& strLine, BOOL bWordList)
{
    CString strWord;
    for (int i = 1; i < strLine.GetLength() && strWord.GetLength() < kMaxHeading; ++i) {
        const BYTE ch = static_cast<BYTE>(strLine[i]);
        if (IsStyleCode(ch) && i <= 2)
            continue;
        if (ch == ',' || ch == kHeadwordEnd || IsStyleCode(ch) || (bWordList && ch == '('))
            break;
        if (IsCode(ch) || ch == '\r')
            continue;
        strWord += static_cast<char>(ch);
    }
    strWord.TrimRight();
    return strWord;
}

void CDictionaryDoc::FindHeading(const CStringArray& lines, int nTop, BOOL bWordList)
{
    const int nCount = static_cast<int>(lines.GetSize());
    if (nTop < 0)
        nTop = 0;
    auto tryLine = [&](int i) {
        const CString& strLine = lines[i];
        if (strLine.IsEmpty() || static_cast<BYTE>(strLine[0]) != kEntryMark)
            return FALSE;
        SetHeading(HeadwordOf(strLine, bWordList));
        return TRUE;
    };
    for (int i = nTop; i < nCount; ++i)
        if (tryLine(i))
            return;
    for (int i = 0; i < nTop && i < nCount; ++i)
        if (tryLine(i))
            return;
}
