// PrintDlg: print and print set-up on the one printer the GDI knows, handing back its names,
// its settings and (PD_RETURNDC) a printer device context.
#include "CommonDialogInternal.h"

#include <commdlg.h>
#include <host/Printer.h>

#include <cstring>

namespace {

HGLOBAL MakeDevNames(const std::string& printer)
{
    const char driver[] = "winspool";
    const char port[] = "VL:";
    size_t size = sizeof(DEVNAMES) + sizeof driver + printer.size() + 1 + sizeof port;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* dn = static_cast<DEVNAMES*>(GlobalLock(h));
    if (!dn)
        return h;
    char* base = reinterpret_cast<char*>(dn);
    size_t at = sizeof(DEVNAMES);
    dn->wDriverOffset = static_cast<WORD>(at);
    std::memcpy(base + at, driver, sizeof driver);
    at += sizeof driver;
    dn->wDeviceOffset = static_cast<WORD>(at);
    std::memcpy(base + at, printer.c_str(), printer.size() + 1);
    at += printer.size() + 1;
    dn->wOutputOffset = static_cast<WORD>(at);
    std::memcpy(base + at, port, sizeof port);
    dn->wDefault = DN_DEFAULTPRN;
    GlobalUnlock(h);
    return h;
}

HGLOBAL MakeDevMode(const host::PrinterSettings& p, WORD copies)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    auto* dm = static_cast<DEVMODEA*>(GlobalLock(h));
    if (!dm)
        return h;
    std::strncpy(reinterpret_cast<char*>(dm->dmDeviceName), p.name.c_str(), CCHDEVICENAME - 1);
    dm->dmSize = sizeof(DEVMODEA);
    dm->dmSpecVersion = 0x0401;
    dm->dmFields = DM_ORIENTATION | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
    dm->dmOrientation = p.paperWidth > p.paperHeight ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    dm->dmCopies = static_cast<short>(copies ? copies : 1);
    dm->dmPrintQuality = static_cast<short>(p.dpi);
    dm->dmYResolution = static_cast<short>(p.dpi);
    GlobalUnlock(h);
    return h;
}

}  // namespace

BOOL WINAPI PrintDlgA(LPPRINTDLGA pd)
{
    commdlg::SetError(0);
    if (!pd || pd->lStructSize < sizeof(PRINTDLGA) - sizeof(HGLOBAL) * 2) {
        commdlg::SetError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    host::PrinterSettings printer = host::GetPrinter();
    bool setup = (pd->Flags & PD_PRINTSETUP) != 0;
    std::string chosen = printer.name;
    if (!(pd->Flags & PD_RETURNDEFAULT)) {
        auto accept = [&](std::string& answer) {
            if (answer.empty())
                answer = printer.name;
            if (answer != printer.name) {
                MessageBoxA(pd->hwndOwner, ("The printer \"" + answer + "\" is not installed.").c_str(),
                            setup ? "Print Setup" : "Print", MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            return true;
        };
        if (!commdlg::Ask(pd->hwndOwner, setup ? "print setup" : "print", setup ? "Print Setup" : "Print",
                          "&Printer:", printer.name, accept, chosen))
            return FALSE;
    }
    if (pd->hDevNames)
        GlobalFree(pd->hDevNames);
    if (pd->hDevMode)
        GlobalFree(pd->hDevMode);
    pd->hDevNames = MakeDevNames(chosen);
    pd->hDevMode = MakeDevMode(printer, pd->nCopies);
    if (!setup) {
        if (!(pd->Flags & PD_PAGENUMS)) {
            pd->nFromPage = pd->nMinPage;
            pd->nToPage = pd->nMaxPage;
        }
        if (pd->nCopies == 0)
            pd->nCopies = 1;
    }
    pd->hDC = nullptr;
    if (pd->Flags & (PD_RETURNDC | PD_RETURNIC)) {
        auto* dm = static_cast<DEVMODEA*>(GlobalLock(pd->hDevMode));
        pd->hDC = (pd->Flags & PD_RETURNDC) ? CreateDCA("winspool", chosen.c_str(), nullptr, dm)
                                             : CreateICA("winspool", chosen.c_str(), nullptr, dm);
        GlobalUnlock(pd->hDevMode);
        if (!pd->hDC) {
            commdlg::SetError(PDERR_PRINTERNOTFOUND);
            return FALSE;
        }
    }
    return TRUE;
}
