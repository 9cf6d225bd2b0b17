#include "base/VLRecordset.h"

#include <afxwin.h>

namespace {

// Where the titles of each initial letter begin, as a fraction of a sorted list of titles.
const double kLetterStart[26] = {0.0,    0.0675, 0.1454, 0.2367, 0.2749, 0.3059, 0.3483, 0.3948, 0.4433,
                                 0.4678, 0.4859, 0.5052, 0.5511, 0.6274, 0.6588, 0.677,  0.7461, 0.7496,
                                 0.7881, 0.8825, 0.9284, 0.9377, 0.9541, 0.9902, 0.991,  0.9962};

char UpperFirst(const CString& text)
{
    CString strFirst = text.Left(1);
    strFirst.MakeUpper();
    return strFirst.IsEmpty() ? '\0' : strFirst[0];
}

}  // namespace

IMPLEMENT_DYNAMIC(CVLRecordset, CXRecordset)

CVLRecordset::CVLRecordset(CDaoDatabase* pDatabase)
    : CXRecordset(pDatabase), m_strDefaultSQL("NULL"), m_nRecordCount(0), m_nPosition(0)
{
}

CVLRecordset::~CVLRecordset() = default;

CString CVLRecordset::GetDefaultSQL() { return m_strDefaultSQL; }

BOOL CVLRecordset::SetDefaultSQL(LPCSTR lpszSQL)
{
    m_strDefaultSQL = lpszSQL != NULL ? lpszSQL : "";
    return TRUE;
}

CString CVLRecordset::KeyAt(long nPosition)
{
    if (nPosition != m_nPosition) {
        Move(nPosition - m_nPosition);
        m_nPosition = nPosition;
    }
    CString strKey;
    return GetKey(strKey);
}

long CVLRecordset::FindPrefix(LPCSTR lpszPrefix)
{
    CWaitCursor wait;
    const CString strPrefix = lpszPrefix != NULL ? lpszPrefix : "";
    const int nLength = strPrefix.GetLength();
    const long nCount = m_nRecordCount;
    if (nCount <= 0 || (IsBOF() && IsEOF()))
        return 0;
    // < 0: the prefix sorts before the key; 0: the key begins with it; > 0: after.
    auto compare = [&](const CString& strKey) { return strPrefix.CompareNoCase(strKey.Left(nLength)); };

    m_nPosition = GetAbsolutePosition();
    if (m_nPosition < 0) {
        MoveFirst();
        m_nPosition = 0;
    }
    CString strKey = KeyAt(m_nPosition);
    int nCompare = compare(strKey);

    // Far from the prefix's letter: jump to where that letter is expected to begin.
    if (nCompare != 0 && UpperFirst(strPrefix) != UpperFirst(strKey)) {
        char chLetter = UpperFirst(strPrefix);
        double dStart = chLetter >= 'A' && chLetter <= 'Z' ? kLetterStart[chLetter - 'A'] : 0.0;
        long nStart = static_cast<long>(nCount * dStart);
        if (nStart >= nCount)
            nStart = nCount - 1;
        nCompare = compare(KeyAt(nStart));
    }

    if (nCompare != 0) {
        // Gallop in steps of 1000 records to a range that holds the prefix, then bisect it.
        long nLow, nHigh;
        if (nCompare < 0) {
            nHigh = m_nPosition;
            nLow = nHigh > 1000 ? nHigh - 1000 : 0;
            while (nLow < nHigh) {
                nCompare = compare(KeyAt(nLow));
                if (nCompare >= 0 || nLow == 0)
                    break;
                nHigh = nLow;
                nLow = nLow > 1000 ? nLow - 1000 : 0;
            }
            if (nCompare < 0)
                nHigh = nLow;  // before every key
        } else {
            nLow = m_nPosition + 1;
            nHigh = nLow + 1000 < nCount ? nLow + 1000 : nCount;
            while (nLow < nHigh) {
                nCompare = compare(KeyAt(nHigh - 1));
                if (nCompare <= 0)
                    break;
                nLow = nHigh;
                nHigh = nLow + 1000 < nCount ? nLow + 1000 : nCount;
            }
        }
        while (nCompare != 0 && nLow < nHigh) {
            long nMiddle = (nLow + nHigh) / 2;
            nCompare = compare(KeyAt(nMiddle));
            if (nCompare < 0)
                nHigh = nMiddle;
            else if (nCompare > 0)
                nLow = nMiddle + 1;
        }
        if (nCompare != 0)
            return m_nPosition + 1;
    }

    // Back to the first of the records that begin with the prefix.
    long nFirst = m_nPosition;
    while (nFirst > 0 && compare(KeyAt(nFirst - 1)) == 0)
        --nFirst;
    KeyAt(nFirst);
    return nFirst + 1;
}
