#include "widgets/GlobeDib.h"

#include <vector>

namespace {

HRSRC FindProgramBitmap(UINT nResourceId)
{
    HRSRC hFound = ::FindResource(AfxGetInstanceHandle(), MAKEINTRESOURCE(nResourceId), RT_BITMAP);
    if (hFound == NULL)
        AfxThrowResourceException();
    return hFound;
}

}  // namespace

CGlobeDib::CGlobeDib(UINT nResourceId)
    : m_dib(AfxGetInstanceHandle(), FindProgramBitmap(nResourceId)), m_nResourceId(nResourceId)
{
    // The palette: the colour table's colours (flags 0), black beyond them.
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY), 0);
    auto* pLog = reinterpret_cast<LOGPALETTE*>(block.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = 256;
    DWORD nColors = m_dib.GetColorCount();
    const RGBQUAD* pTable = m_dib.GetColorTable();
    for (DWORD i = 0; i < nColors && i < 256 && pTable != NULL; ++i)
        pLog->palPalEntry[i] = PALETTEENTRY{pTable[i].rgbRed, pTable[i].rgbGreen, pTable[i].rgbBlue, 0};
    m_pPalette = new CPalette;
    m_pPalette->CreatePalette(pLog);

    // The device bitmap, made on the screen with the palette realised.
    HDC hdcScreen = ::GetDC(NULL);
    if (hdcScreen == NULL)
        return;
    HPALETTE hOld = ::SelectPalette(hdcScreen, static_cast<HPALETTE>(m_pPalette->GetSafeHandle()), FALSE);
    ::RealizePalette(hdcScreen);
    m_hBitmap = ::CreateDIBitmap(hdcScreen, m_dib.GetInfoHeader(), CBM_INIT, m_dib.GetBits(), m_dib.GetBitmapInfo(),
                                 DIB_RGB_COLORS);
    if (hOld != NULL)
        ::SelectPalette(hdcScreen, hOld, TRUE);
    ::ReleaseDC(NULL, hdcScreen);
}

CGlobeDib::~CGlobeDib()
{
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
    delete m_pPalette;
}
