#include "base/Rin.h"

#include <cstdio>
#include <cstring>

const RIN_KIND g_rinKinds[] = {
    {"0#0######", "######", "%06d", 0, 1000000, 1, 0, RINF_TEXT},
    {"0#1######", "pc######", "pc%06d", 1000000, 1000000, 2, 4032, RINF_MEDIA | RINF_PICTURE},
    {"0#2######", "lr######", "lr%06d", 2000000, 1000000, 3, 4032, RINF_MEDIA | RINF_PICTURE},
    {"0#3######", "mp######", "mp%06d", 3000000, 1000000, 4, 143, RINF_PICTURE | RINF_MAP},
    {"0#401####", "am00####", "am00%04d", 4010000, 10000, 5, 4030, RINF_MEDIA | RINF_ANIMATION},
    {"0#402####", "vd00####", "vd00%04d", 4020000, 10000, 6, 4031, RINF_MEDIA | RINF_VIDEO},
    {"0#403####", "si00####", "si00%04d", 4030000, 10000, 7, 4033, RINF_MEDIA | RINF_SIMULATION},
    {"0#404####", "qr00####", "qr00%04d", 4040000, 10000, 8, 4035, RINF_MEDIA | RINF_VIRTUALREALITY},
    {"0#405####", "bu00####", "bu00%04d", 4050000, 10000, 9, 4035, RINF_MEDIA | RINF_BUBBLE},
    {"0#406####", "tm00####", "tm00%04d", 4060000, 10000, 10, 330, RINF_TIMELINE},
    {"0#5######", "yb######", "yb%06d", 5000000, 1000000, 11, 0, RINF_TEXT},
    {"0#6######", "au######", "au%06d", 6000000, 1000000, 12, 187, RINF_MEDIA | RINF_SOUND},
    {"0#7######", "sy######", "sy%06d", 7000000, 1000000, 13, 0, RINF_TEXT},
    {"0#8######", "ma######", "ma%06d", 8000000, 1000000, 14, 0, RINF_TEXT},
    {"0#9######", "in######", "in%06d", 9000000, 1000000, 15, 0, RINF_PICTURE},
    {"1#0######", "ws######", "ws%06d", 100000000, 1000000, 16, 0, RINF_WEBSITE},
    {"1#1######", "up######", "up%06d", 101000000, 1000000, 17, 0, RINF_UPDATE},
    {"", "", "", 0, 0, 0, 0, 0},
};

BOOL MatchDigitPattern(LPCSTR lpszPattern, LPCSTR lpszText)
{
    if (lpszPattern == NULL || lpszText == NULL)
        return FALSE;
    for (;; ++lpszPattern, ++lpszText) {
        if (*lpszPattern == '\0' || *lpszText == '\0')
            return *lpszPattern == *lpszText;
        if (*lpszPattern == '#') {
            if (*lpszText < '0' || *lpszText > '9')
                return FALSE;
        } else if (*lpszPattern != *lpszText) {
            return FALSE;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// CRinException

IMPLEMENT_DYNAMIC(CRinException, CException)

CRinException::CRinException(LONG cause) : m_cause(cause) {}

BOOL CRinException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    LPCSTR lpszText = m_cause == badText ? "The content code is not a known kind of item."
                                         : "The content number is not a known kind of item.";
    std::snprintf(lpszError, nMaxError, "%s", lpszText);
    return TRUE;
}

void AfxThrowRinException(LONG cause)
{
    throw new CRinException(cause);
}

// ---------------------------------------------------------------------------------------------
// CRin

IMPLEMENT_DYNAMIC(CRin, CObject)

CRin::CRin(DWORD dwNumber) : m_dwNumber(dwNumber) {}

CRin::CRin(LPCSTR lpszCode, BOOL bOnline) : m_dwNumber(0)
{
    const RIN_KIND* pKind = g_rinKinds;
    for (; pKind->szRinPattern[0] != '\0'; ++pKind) {
        if (MatchDigitPattern(pKind->szRitPattern, lpszCode))
            break;
    }
    if (pKind->szRinPattern[0] == '\0')
        AfxThrowRinException(CRinException::badText);

    // The pattern has checked every digit place, so the scan always succeeds.
    int nDigits = 0;
    if (std::sscanf(lpszCode, pKind->szRitFormat, &nDigits) != 1)
        AfxThrowRinException(CRinException::badText);
    m_dwNumber = static_cast<DWORD>(nDigits) + pKind->dwBase;
    if (bOnline)
        m_dwNumber += RIN_ONLINE_OFFSET;
}

CRin::CRin(const CRin& other) : CObject(), m_dwNumber(other.m_dwNumber) {}

CRin& CRin::operator=(const CRin& other)
{
    Assign(other);
    return *this;
}

void CRin::Assign(const CRin& other)
{
    m_dwNumber = other.m_dwNumber;
}

BOOL CRin::IsOnline() const
{
    return (m_dwNumber % 100000000) / RIN_ONLINE_OFFSET == 1;
}

int CRin::GetKindIndex() const
{
    char szDigits[16];
    std::snprintf(szDigits, sizeof szDigits, "%09lu", static_cast<unsigned long>(m_dwNumber));
    for (int i = 0; g_rinKinds[i].szRinPattern[0] != '\0'; ++i) {
        if (MatchDigitPattern(g_rinKinds[i].szRinPattern, szDigits))
            return i;
    }
    AfxThrowRinException(CRinException::badNumber);
}

const RIN_KIND& CRin::GetKind() const
{
    return g_rinKinds[GetKindIndex()];
}

CString CRin::FormatRit() const
{
    const RIN_KIND& kind = GetKind();
    CString strRit;
    strRit.Format(kind.szRitFormat, static_cast<int>(m_dwNumber % kind.dwModulus));
    return strRit;
}

LONG CRin::GetKindCode() const
{
    return GetKind().nKindCode;
}

WORD CRin::GetKindIconId() const
{
    return GetKind().wIconId;
}

BOOL CRin::HasFlag(LONG nFlag) const
{
    return (GetKind().nFlags & nFlag) != 0;
}

BOOL CRin::IsArticleText() const { return HasFlag(RINF_TEXT); }
BOOL CRin::IsMedia() const { return HasFlag(RINF_MEDIA); }
BOOL CRin::IsPicture() const { return HasFlag(RINF_PICTURE); }
BOOL CRin::IsMap() const { return HasFlag(RINF_MAP); }
BOOL CRin::IsVideo() const { return HasFlag(RINF_VIDEO); }
BOOL CRin::IsSound() const { return HasFlag(RINF_SOUND); }
BOOL CRin::IsSimulation() const { return HasFlag(RINF_SIMULATION); }
BOOL CRin::IsWebSite() const { return HasFlag(RINF_WEBSITE); }
BOOL CRin::IsUpdate() const { return HasFlag(RINF_UPDATE); }
BOOL CRin::IsVirtualReality() const { return HasFlag(RINF_VIRTUALREALITY); }
BOOL CRin::IsAnimation() const { return HasFlag(RINF_ANIMATION); }

BOOL CRin::IsMovie() const
{
    return IsVideo() || IsAnimation() || IsVirtualReality();
}
