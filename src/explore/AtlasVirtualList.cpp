#include "explore/AtlasVirtualList.h"

#include "base/DataFolders.h"

#include <afxwin.h>

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CAtlasPlaceList, CVLVirtualData)
IMPLEMENT_DYNAMIC(CAtlasVirtualList, CAtlasPlaceList)
IMPLEMENT_DYNAMIC(CAtlasDistCalcVirtualList, CAtlasPlaceList)

namespace {

// Copies at most nLimit characters into a buffer of nLimit + 1.
void CopyField(char* pTarget, const CString& strField, int nLimit)
{
    const int n = strField.GetLength() < nLimit ? strField.GetLength() : nLimit;
    std::memcpy(pTarget, static_cast<LPCSTR>(strField), static_cast<size_t>(n));
    pTarget[n] = '\0';
}

BOOL IsWholeNumber(const CString& strField)
{
    return !strField.IsEmpty() && strField.GetLength() <= 9 && strField.SpanIncluding("0123456789") == strField;
}

// A decimal number of degrees: an optional sign, digits with at most one point, nothing else.
BOOL IsDegrees(const CString& strField)
{
    if (strField.IsEmpty())
        return FALSE;
    char* pEnd = NULL;
    std::strtod(strField, &pEnd);
    return pEnd != NULL && *pEnd == '\0' && strField.SpanIncluding("+-.0123456789") == strField;
}

}  // namespace

CAtlasPlaceList::CAtlasPlaceList(BOOL bDistances)
    : CVLVirtualData(bDistances), m_bDistances(bDistances), m_nMapNumber(0), m_nHitSection(0), m_nHitOffset(0),
      m_nHitLength(0)
{
    m_szCode[0] = m_szSecondCode[0] = '\0';
    m_szLatitude[0] = m_szLongitude[0] = '\0';
}

CAtlasPlaceList::~CAtlasPlaceList() = default;

BOOL CAtlasPlaceList::OpenPlaceFiles(int nFolderKind, LPCSTR lpszDataName, LPCSTR lpszIndexName, CString& strFailed)
{
    strFailed.Empty();
    CString strFolder;
    if (!GetDataDir(strFolder, nFolderKind, 1, TRUE))
        return FALSE;
    const CString strData = strFolder + lpszDataName;
    if (!OpenFirstFile(strData)) {
        strFailed = strData;
        return FALSE;
    }
    const CString strIndex = strFolder + lpszIndexName;
    if (!Open(strIndex)) {
        strFailed = strIndex;
        return FALSE;
    }
    return TRUE;
}

long CAtlasPlaceList::ReadEntry(int* pId, CString* pTitle, CString* pSecond, CString* pThird)
{
    CString strLine;
    const long nPosition = ReadDataLine(strLine);
    if (nPosition < 0)
        return -1;
    if (strLine.GetLength() > kRecordLimit)
        strLine = strLine.Left(kRecordLimit);
    if (!ParseLine(strLine))
        return -1;
    *pId = static_cast<int>(m_nMapNumber);
    *pTitle = m_strName;
    m_nReaderValues[0] = m_nHitSection;
    m_nReaderValues[1] = m_nHitOffset;
    m_nReaderValues[2] = m_nHitLength;
    if (m_bDistances) {
        if (pSecond != NULL)
            *pSecond = m_szLatitude;
        if (pThird != NULL)
            *pThird = m_szLongitude;
    }
    return nPosition;
}

BOOL CAtlasPlaceList::ParseLine(LPCSTR lpszLine)
{
    // Split by hand: every field must be there and none may be empty (merging empty fields
    // would move every later field into the wrong place).
    const int nFields = m_bDistances ? 9 : 7;
    CString fields[9];
    CString strRest = lpszLine;
    for (int i = 0; i < nFields - 1; ++i) {
        const int nBar = strRest.Find('|');
        if (nBar <= 0)
            return FALSE;
        fields[i] = strRest.Left(nBar);
        strRest = strRest.Mid(nBar + 1);
    }
    fields[nFields - 1] = strRest;
    if (strRest.IsEmpty())
        return FALSE;
    for (int i : {1, 3, 4, 5})
        if (!IsWholeNumber(fields[i]))
            return FALSE;
    if (m_bDistances && (!IsDegrees(fields[6]) || !IsDegrees(fields[7])))
        return FALSE;

    CopyField(m_szCode, fields[0], kCodeLength);
    m_nMapNumber = std::atol(fields[1]);
    CopyField(m_szSecondCode, fields[2], kCodeLength);
    m_nHitSection = std::atol(fields[3]);
    m_nHitOffset = std::atol(fields[4]);
    m_nHitLength = std::atol(fields[5]);
    if (m_bDistances) {
        CopyField(m_szLatitude, fields[6], kCoordinateLength);
        CopyField(m_szLongitude, fields[7], kCoordinateLength);
    }
    m_strName = fields[nFields - 1].Left(kNameLength);
    return TRUE;
}

long CAtlasPlaceList::SeekAndRead(long nPosition, CString& strLine)
{
    strLine.Empty();
    TRY
    {
        if (nPosition == 0)
            m_fileData.SeekToBegin();
        else
            m_fileData.Seek(nPosition, CFile::begin);
    }
    CATCH(CFileException, e)
    {
        // Read from wherever the file stands.
    }
    END_CATCH
    if (ReadDataLine(strLine) < 0)
        return -1;
    if (strLine.GetLength() > kRecordLimit + 1)
        strLine = strLine.Left(kRecordLimit + 1);
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

CAtlasVirtualList::CAtlasVirtualList() : CAtlasPlaceList(FALSE)
{
    CString strFailed;
    if (!OpenPlaceFiles(DDT_INFO_DAT12, "map_loc.dat", "map_loc.ndx", strFailed)) {
        if (!strFailed.IsEmpty())
            AfxMessageBox("Unable to prepare Atlas' data.", MB_ICONEXCLAMATION);
        AfxThrowUserException();
    }
}

CAtlasDistCalcVirtualList::CAtlasDistCalcVirtualList() : CAtlasPlaceList(TRUE)
{
    CString strFailed;
    if (!OpenPlaceFiles(DDT_INFO_DAT14, "distcalc.dat", "distcalc.ndx", strFailed)) {
        if (!strFailed.IsEmpty()) {
            CString strText;
            strText.Format("Unable to open %s", static_cast<LPCSTR>(strFailed));
            AfxMessageBox(strText, MB_ICONEXCLAMATION);
        }
        AfxThrowUserException();
    }
}
