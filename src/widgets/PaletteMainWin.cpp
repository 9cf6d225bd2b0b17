#include "widgets/PaletteMainWin.h"

#include "base/AppServices.h"

#include <cstring>
#include <vector>

namespace {

const int kEntries = 256;
const int kOwnFirst = 64;
const int kOwnCount = 182;  // entries 64-245
const int kFileFirst = 63;
const int kSkippedSystemPart = 54;

// The entries of a palette, at most nMax of them.
int ReadEntries(CPalette* pPalette, PALETTEENTRY* pEntries, int nMax)
{
    if (pPalette == NULL || pPalette->GetSafeHandle() == NULL || nMax <= 0)
        return 0;
    int nCount = pPalette->GetEntryCount();
    if (nCount > nMax)
        nCount = nMax;
    return static_cast<int>(pPalette->GetPaletteEntries(0, static_cast<UINT>(nCount), pEntries));
}

void ReportDamagedFile(LPCSTR lpszFile)
{
    CString strMessage;
    strMessage.Format("The palette file %s is damaged.", lpszFile);
    AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
}

// Reads the records of a palette file over the entries from 63 on. FALSE (entries untouched
// where it matters: the caller drops them) when the file is missing, unreadable, short or
// damaged; only the last two are reported.
BOOL ReadPaletteFile(LPCSTR lpszFile, PALETTEENTRY* pEntries)
{
    CFileStatus status;
    if (lpszFile == NULL || !CFile::GetStatus(lpszFile, status))
        return FALSE;
    CFile file;
    if (!file.Open(lpszFile, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return FALSE;
    try {
        ULONGLONG nLength = file.GetLength();
        ULONGLONG nRecordBytes = nLength > PALETTE_FILE_HEADER + PALETTE_FILE_TRAILER
                                     ? nLength - PALETTE_FILE_HEADER - PALETTE_FILE_TRAILER
                                     : 0;
        if (nRecordBytes == 0 || nRecordBytes % sizeof(PALETTEENTRY) != 0) {
            file.Close();
            ReportDamagedFile(lpszFile);
            return FALSE;
        }
        // Records beyond the last entry have no place in the palette and are not read.
        ULONGLONG nRecords = nRecordBytes / sizeof(PALETTEENTRY);
        if (nRecords > PALETTE_FILE_MAX_RECORDS)
            nRecords = PALETTE_FILE_MAX_RECORDS;
        UINT nBytes = static_cast<UINT>(nRecords * sizeof(PALETTEENTRY));
        std::vector<PALETTEENTRY> records(static_cast<size_t>(nRecords));
        file.Seek(PALETTE_FILE_HEADER, CFile::begin);
        if (file.Read(records.data(), nBytes) != nBytes) {
            file.Close();
            ReportDamagedFile(lpszFile);
            return FALSE;
        }
        file.Close();
        std::memcpy(pEntries + kFileFirst, records.data(), nBytes);
    } catch (CFileException* e) {
        e->Delete();
        ReportDamagedFile(lpszFile);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPaletteMainWin, CVLMainWin)

BEGIN_MESSAGE_MAP(CPaletteMainWin, CVLMainWin)
    ON_WM_PALETTECHANGED()
    ON_WM_QUERYNEWPALETTE()
END_MESSAGE_MAP()

CPaletteMainWin::CPaletteMainWin() = default;

CPaletteMainWin::~CPaletteMainWin()
{
    delete m_pPalette;
    m_pPalette = NULL;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CPaletteMainWin::BuildPalette(CPalette* pPrimary, CPalette* pSecondary, LPCSTR lpszPaletteFile,
                                   BOOL bSkipSystemPart)
{
    std::vector<BYTE> block(sizeof(LOGPALETTE) + (kEntries - 1) * sizeof(PALETTEENTRY), 0);
    auto* pLog = reinterpret_cast<LOGPALETTE*>(block.data());
    PALETTEENTRY* pEntries = pLog->palPalEntry;
    ReadEntries(GetAppDisplayPalette(), pEntries, kEntries);

    if (pPrimary == NULL) {
        if (!ReadPaletteFile(lpszPaletteFile, pEntries))
            return FALSE;
    } else {
        // The view's own colours: the secondary's, then the primary's, 182 at most together.
        PALETTEENTRY* pOwn = pEntries + kOwnFirst;
        int nSecondary = ReadEntries(pSecondary, pOwn, kOwnCount);
        int nRoom = kOwnCount - nSecondary;
        int nPrimary = 0;
        if (bSkipSystemPart) {
            int nAvailable = pPrimary->GetEntryCount() - kSkippedSystemPart;
            nPrimary = nAvailable < nRoom ? nAvailable : nRoom;
            if (nPrimary > 0)
                nPrimary = static_cast<int>(pPrimary->GetPaletteEntries(kSkippedSystemPart, static_cast<UINT>(nPrimary),
                                                                        pOwn + nSecondary));
            else
                nPrimary = 0;
        } else {
            nPrimary = ReadEntries(pPrimary, pOwn + nSecondary, nRoom);
        }
        for (int i = kOwnFirst + nSecondary + nPrimary; i < kOwnFirst + kOwnCount; ++i)
            pEntries[i] = PALETTEENTRY{0, 0, 0, 0};
    }

    pLog->palVersion = 0x300;
    pLog->palNumEntries = kEntries;
    for (int i = 0; i < kEntries; ++i)
        pEntries[i].peFlags = (i < 10 || i >= kOwnFirst + kOwnCount) ? 0 : PC_NOCOLLAPSE;

    auto* pPalette = new CPalette;
    if (!pPalette->CreatePalette(pLog)) {
        delete pPalette;
        return FALSE;
    }
    delete m_pPalette;
    m_pPalette = pPalette;
    return TRUE;
}

UINT CPaletteMainWin::RealizeOwnPalette(CDC* pDC, BOOL bBackground, BOOL bNotify)
{
    if (AppServices().ui.pCurrentMovieWnd != NULL)
        return 0;
    CDC* pUse = pDC;
    HDC hOwnDC = NULL;
    if (pUse == NULL) {
        hOwnDC = GetDC();
        if (hOwnDC == NULL)
            return 0;
        pUse = CDC::FromHandle(hOwnDC);
    }
    UINT nMapped = 0;
    if (m_pPalette != NULL && m_pPalette->GetSafeHandle() != NULL) {
        pUse->SelectPalette(m_pPalette, bBackground);
        nMapped = pUse->RealizePalette();
        if ((nMapped > 0 && !bBackground) || bNotify) {
            if (CWnd* pTop = GetTopLevelParent())
                pTop->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
    } else if (GetAppDisplayPalette() != NULL && GetAppDisplayPalette()->GetSafeHandle() != NULL) {
        pUse->SelectPalette(GetAppDisplayPalette(), TRUE);
    }
    if (hOwnDC != NULL)
        ReleaseDC(hOwnDC);
    return nMapped;
}

void CPaletteMainWin::OnPaletteChanged(CWnd* pFocusWnd)
{
    CWnd* pTop = GetTopLevelParent();
    if (pFocusWnd != NULL && pTop != NULL &&
        (pFocusWnd->GetSafeHwnd() == pTop->GetSafeHwnd() || ::IsChild(pTop->GetSafeHwnd(), pFocusWnd->GetSafeHwnd())))
        return;
    CClientDC dc(this);
    RealizeOwnPalette(&dc, FALSE, TRUE);
}

BOOL CPaletteMainWin::OnQueryNewPalette()
{
    CClientDC dc(this);
    RealizeOwnPalette(&dc, TRUE, FALSE);
    return TRUE;
}
