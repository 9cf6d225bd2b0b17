#include "explore/JustLookingFileVirtualList.h"

#include "base/DataFolders.h"

#include <afxwin.h>

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CJustLookingFileVirtualList, CVLVirtualData)

namespace {

void CopyCode(char* pTarget, const CString& strField)
{
    const int n = strField.GetLength() < CJustLookingFileVirtualList::kCodeLength
                      ? strField.GetLength()
                      : static_cast<int>(CJustLookingFileVirtualList::kCodeLength);
    std::memcpy(pTarget, static_cast<LPCSTR>(strField), static_cast<size_t>(n));
    pTarget[n] = '\0';
}

}  // namespace

CJustLookingFileVirtualList::CJustLookingFileVirtualList(LPCSTR lpszFileName) : m_bOpen(FALSE), m_nNumber(0)
{
    m_szCode[0] = m_szSecondCode[0] = '\0';
    const CString strName = lpszFileName != NULL ? lpszFileName : "";
    const int nDot = strName.ReverseFind('.');
    const CString strIndexName = (nDot >= 0 ? strName.Left(nDot) : strName) + ".ndx";

    CString strFolder = GetProgramDir();
    if (!OpenFirstFile(strFolder + strName)) {
        if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, FALSE) || !OpenFirstFile(strFolder + strName))
            return;
    }
    m_strFolder = strFolder;
    m_bOpen = Open(strFolder + strIndexName);
}

CJustLookingFileVirtualList::~CJustLookingFileVirtualList() = default;

long CJustLookingFileVirtualList::ReadEntry(int* pId, CString* pTitle, CString* /*pSecond*/, CString* /*pThird*/)
{
    CString strLine;
    const long nPosition = ReadDataLine(strLine);
    if (nPosition < 0)
        return -1;
    if (strLine.GetLength() > kLineLimit)
        strLine = strLine.Left(kLineLimit);
    if (!ParseLine(strLine))
        return -1;
    *pId = static_cast<int>(m_nNumber);
    *pTitle = m_strTitle;
    return nPosition;
}

BOOL CJustLookingFileVirtualList::ParseLine(LPCSTR lpszLine)
{
    CString fields[3];
    CString strRest = lpszLine;
    for (CString& strField : fields) {
        const int nBar = strRest.Find('|');
        if (nBar < 0)
            return FALSE;
        strField = strRest.Left(nBar);
        strRest = strRest.Mid(nBar + 1);
    }
    const CString& strNumber = fields[1];
    if (strNumber.IsEmpty() || strNumber.GetLength() > 10 || strNumber.SpanIncluding("0123456789") != strNumber)
        return FALSE;
    CopyCode(m_szCode, fields[0]);
    m_nNumber = std::atol(strNumber);
    CopyCode(m_szSecondCode, fields[2]);
    m_strTitle = strRest.Left(kTitleLength);
    m_nReaderValues[0] = m_nReaderValues[1] = m_nReaderValues[2] = 0;
    return TRUE;
}

long CJustLookingFileVirtualList::SkipEntryAt(long nPosition)
{
    TRY
    {
        if (nPosition == 0) {
            m_fileData.SeekToBegin();
            return 0;
        }
        m_fileData.Seek(nPosition, CFile::begin);
    }
    CATCH(CFileException, e)
    {
        return -1;
    }
    END_CATCH
    CString strLine;
    if (ReadDataLine(strLine) < 0)
        return -1;
    long nAfter = -1;
    TRY
    {
        nAfter = static_cast<long>(m_fileData.GetPosition());
    }
    CATCH(CFileException, e)
    {
        nAfter = -1;
    }
    END_CATCH
    return nAfter;
}
