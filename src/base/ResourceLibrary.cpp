#include "base/ResourceLibrary.h"

#include "base/AppHost.h"

#include "base/AppServices.h"
#include "base/CopyDLL.h"
#include "base/DataFolders.h"

#include "resource.h"

#include <cstring>

int ScreenClassFromWidth(int nWidth)
{
    if (nWidth >= 1024)
        return 2;
    return nWidth <= 640 ? 0 : 1;
}

void MeasureAppScreen()
{
    VL_APP_SERVICES& services = AppServices();
    services.env.nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    services.env.nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    services.env.nScreenClass = ScreenClassFromWidth(services.env.nScreenWidth);
}

CString ResourceLibraryName(int nScreenClass)
{
    CString strName;
    strName.Format("vl_res%d.dll", nScreenClass);
    return strName;
}

namespace {

CString ProgramFolder()
{
    const CString& strDir = AppServices().env.strProgramDir;
    return strDir.IsEmpty() ? GetProgramDir() : strDir;
}

// TRUE when the file is there with at least one byte.
BOOL HasContent(LPCSTR lpszPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesEx(lpszPath, GetFileExInfoStandard, &data))
        return FALSE;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

// Finds the disc's resource folder; while it cannot be found the reader is offered the
// preferences (where the data folder can be set), and Cancel there gives up.
BOOL FindResourceFolder(CString& strFolder)
{
    for (;;) {
        if (GetDataDir(strFolder, DDT_RESOURCE, 1, TRUE))
            return TRUE;
        if (GetAppHost().RunPreferencesDialog() != IDOK)
            return FALSE;
    }
}

}  // namespace

BOOL LoadResourceLibrary()
{
    VL_APP_SERVICES& services = AppServices();
    const CString strFolder = ProgramFolder();
    const int nClass = services.env.nScreenClass;

    // Only the current class's library stays in the program folder.
    for (int nOther = 0; nOther < 3; ++nOther) {
        if (nOther == nClass)
            continue;
        CString strOther = strFolder + ResourceLibraryName(nOther);
        if (::GetFileAttributes(strOther) != INVALID_FILE_ATTRIBUTES) {
            ::SetFileAttributes(strOther, FILE_ATTRIBUTE_NORMAL);
            ::DeleteFile(strOther);
        }
    }

    const CString strName = ResourceLibraryName(nClass);
    const CString strPath = strFolder + strName;
    if (!HasContent(strPath)) {
        CString strResourceFolder;
        if (!FindResourceFolder(strResourceFolder))
            return FALSE;
        CCopyDLL copy(strName, strResourceFolder + strName, strPath, AfxGetMainWnd());
        copy.DoModal();  // a failed copy has said so; the load below says the rest
    }

    HINSTANCE hLibrary = ::LoadLibrary(strPath);
    if (hLibrary == NULL) {
        CString strMessage;
        strMessage.Format("Unable to load:  %s.\n", (LPCSTR)strPath);
        strMessage += "The Veltra program requires a minimum 16Mb of RAM to run successfully.\n";
        strMessage += "If you meet this minimum requirement,\n";
        strMessage += "you may need to increase your virtual memory settings.";
        AfxMessageBox(strMessage, MB_OK);
        return FALSE;
    }
    if (services.env.hResourceLibrary != NULL)
        ::FreeLibrary(services.env.hResourceLibrary);
    services.env.hResourceLibrary = hLibrary;
    return TRUE;
}

void FreeResourceLibrary()
{
    VL_APP_SERVICES& services = AppServices();
    if (services.env.hResourceLibrary != NULL)
        ::FreeLibrary(services.env.hResourceLibrary);
    services.env.hResourceLibrary = NULL;
}

namespace {

// A system palette entry: read from the desktop device where the display has a system palette;
// elsewhere the static colours are the stock default palette's (its entries 0 to 9 are system
// entries 0 to 9, 10 to 19 are 246 to 255), and other entries black.
PALETTEENTRY SystemEntry(HDC hdcDesktop, int nIndex)
{
    PALETTEENTRY entry{0, 0, 0, 0};
    if (nIndex < 256 && ::GetSystemPaletteEntries(hdcDesktop, UINT(nIndex), 1, &entry) == 1)
        return PALETTEENTRY{entry.peRed, entry.peGreen, entry.peBlue, 0};
    int nStock = nIndex < 10 ? nIndex : (nIndex >= 246 && nIndex < 256 ? nIndex - 236 : -1);
    if (nStock >= 0)
        ::GetPaletteEntries(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), UINT(nStock), 1, &entry);
    entry.peFlags = 0;
    return entry;
}

}  // namespace

BOOL BuildPaletteFromResource(HMODULE hModule, UINT nId, CPalette& palette)
{
    HRSRC hResource = ::FindResource(hModule, MAKEINTRESOURCE(nId), RT_RCDATA);
    if (hResource == NULL)
        return FALSE;
    DWORD nSize = ::SizeofResource(hModule, hResource);
    HGLOBAL hData = ::LoadResource(hModule, hResource);
    const BYTE* pData = hData != NULL ? static_cast<const BYTE*>(::LockResource(hData)) : NULL;
    if (pData == NULL || nSize < 2) {
        if (hData != NULL)
            ::FreeResource(hData);
        return FALSE;
    }
    auto word = [pData](size_t nAt) {
        WORD w;
        std::memcpy(&w, pData + nAt, sizeof w);
        return static_cast<short>(w);
    };
    const WORD nEntries = static_cast<WORD>(word(0));
    if (nEntries == 0 || nEntries > 256 || nSize < 2 + size_t(nEntries) * 6) {
        ::FreeResource(hData);
        return FALSE;
    }

    // One block with room for the header and 257 entries.
    struct {
        WORD palVersion;
        WORD palNumEntries;
        PALETTEENTRY entries[257];
    } logPalette{};
    logPalette.palVersion = 0x300;
    logPalette.palNumEntries = nEntries;
    HDC hdcDesktop = ::GetDC(NULL);
    for (WORD i = 0; i < nEntries; ++i) {
        short red = word(2 + size_t(i) * 6), green = word(4 + size_t(i) * 6), blue = word(6 + size_t(i) * 6);
        if (i == 0 || red < 0)
            logPalette.entries[i] = SystemEntry(hdcDesktop, red < 0 ? -red : red);
        else
            logPalette.entries[i] = PALETTEENTRY{BYTE(red & 0xFF), BYTE(green & 0xFF), BYTE(blue & 0xFF), PC_NOCOLLAPSE};
    }
    if (hdcDesktop != NULL)
        ::ReleaseDC(NULL, hdcDesktop);
    ::FreeResource(hData);

    palette.DeleteObject();
    return palette.CreatePalette(reinterpret_cast<LPLOGPALETTE>(&logPalette));
}

BOOL LoadAppPalettes()
{
    // The palettes come from the program's own module: they are made before the resource
    // library is loaded.
    HMODULE hModule = AfxGetInstanceHandle();
    VL_APP_SERVICES& services = AppServices();
    return BuildPaletteFromResource(hModule, IDR_DISPLAY_PALETTE, services.env.displayPalette) &&
           BuildPaletteFromResource(hModule, IDR_PAGE_PALETTE, services.env.pagePalette) &&
           BuildPaletteFromResource(hModule, IDR_THIRD_PALETTE, services.env.thirdPalette);
}

HCURSOR LoadProgramCursor(UINT nId, LPCSTR lpszSystemCursor)
{
    HCURSOR hCursor = NULL;
    if (AppServices().env.hResourceLibrary != NULL)
        hCursor = ::LoadCursor(AppServices().env.hResourceLibrary, MAKEINTRESOURCE(nId));
    if (hCursor == NULL)
        hCursor = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(nId));
    if (hCursor == NULL)
        hCursor = ::LoadCursor(NULL, lpszSystemCursor);
    return hCursor;
}
