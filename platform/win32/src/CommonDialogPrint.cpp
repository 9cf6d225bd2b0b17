// PrintDlg: the print dialog (printer, print range, copies, collation, print to file) and the
// print set-up dialog (printer, paper size, orientation) on the printers the GDI knows, or the
// printer answered by the script; hands back the printer's names, its settings and (PD_RETURNDC)
// a printer device context.
#include "CommonDialogInternal.h"
#include <dlgs.h>

#include <commdlg.h>
#include <host/Paths.h>
#include <host/Printer.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

namespace {

constexpr DWORD kFieldCollate = 0x00008000;  // DM_COLLATE
constexpr short kCollateTrue = 1;            // DMCOLLATE_TRUE
constexpr WORD kMaxCopies = 9999;

// The printers to choose from: the GDI's one printer.
std::vector<std::string> Printers()
{
    return {host::GetPrinter().name};
}

// Finds an installed printer by name (any case) and gives its name as installed.
bool FindPrinter(std::string& name)
{
    for (const std::string& p : Printers())
        if (strcasecmp(p.c_str(), name.c_str()) == 0) {
            name = p;
            return true;
        }
    return false;
}

struct Paper {
    short code;  // DMPAPER_; 0 for the printer's own sheet
    const char* name;
    double widthMm, heightMm;
};
const Paper kPapers[] = {
    {DMPAPER_LETTER, "Letter 8 1/2 x 11 in", 215.9, 279.4},
    {DMPAPER_A4, "A4 210 x 297 mm", 210.0, 297.0},
};

// The standard paper the printer's sheet is (either way round), or 0.
short NativePaper(const host::PrinterSettings& p)
{
    double w = std::min(p.paperWidth, p.paperHeight) * 25.4 / p.dpi;
    double h = std::max(p.paperWidth, p.paperHeight) * 25.4 / p.dpi;
    for (const Paper& paper : kPapers)
        if (std::fabs(w - paper.widthMm) < 1.0 && std::fabs(h - paper.heightMm) < 1.0)
            return paper.code;
    return 0;
}

// Everything the two dialogs choose.
struct PrintChoice {
    std::string printer;
    short orientation = DMORIENT_PORTRAIT;
    short paper = 0;
    WORD copies = 1;
    DWORD flags = 0;  // PD_SELECTION, PD_PAGENUMS, PD_COLLATE, PD_PRINTTOFILE as chosen
    WORD from = 0, to = 0;
};

PrintChoice InitialChoice(const PRINTDLGA& pd, const host::PrinterSettings& printer)
{
    PrintChoice c;
    c.printer = printer.name;
    c.orientation = printer.paperWidth > printer.paperHeight ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    c.paper = NativePaper(printer);
    c.copies = pd.nCopies ? pd.nCopies : 1;
    c.flags = pd.Flags;
    c.from = pd.nFromPage;
    c.to = pd.nToPage;
    // The caller's settings from an earlier run.
    if (const auto* dm = pd.hDevMode ? static_cast<const DEVMODEA*>(GlobalLock(pd.hDevMode)) : nullptr) {
        if ((dm->dmFields & DM_ORIENTATION) &&
            (dm->dmOrientation == DMORIENT_PORTRAIT || dm->dmOrientation == DMORIENT_LANDSCAPE))
            c.orientation = dm->dmOrientation;
        if (dm->dmFields & DM_PAPERSIZE)
            for (const Paper& paper : kPapers)
                if (paper.code == dm->dmPaperSize)
                    c.paper = paper.code;
        if ((pd.Flags & PD_USEDEVMODECOPIES) && (dm->dmFields & DM_COPIES) && dm->dmCopies > 0)
            c.copies = static_cast<WORD>(dm->dmCopies);
        GlobalUnlock(pd.hDevMode);
    }
    return c;
}

HGLOBAL MakeDevNames(const std::string& printer, bool toFile)
{
    const char driver[] = "winspool";
    // The printer writes each job as a PDF file into the print folder: its port names that
    // folder (in the platform's form where a drive holds it), so a program can tell the reader.
    std::string port = "FILE:";
    if (!toFile) {
        const std::string folder = host::GetPrintFolder();
        port = host::FromHostPath(folder).value_or(folder);
    }
    size_t size = sizeof(DEVNAMES) + sizeof driver + printer.size() + 1 + port.size() + 1;
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
    std::memcpy(base + at, port.c_str(), port.size() + 1);
    dn->wDefault = DN_DEFAULTPRN;
    GlobalUnlock(h);
    return h;
}

HGLOBAL MakeDevMode(const host::PrinterSettings& p, const PrintChoice& c)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    auto* dm = static_cast<DEVMODEA*>(GlobalLock(h));
    if (!dm)
        return h;
    std::strncpy(reinterpret_cast<char*>(dm->dmDeviceName), c.printer.c_str(), CCHDEVICENAME - 1);
    dm->dmSize = sizeof(DEVMODEA);
    dm->dmSpecVersion = 0x0401;
    dm->dmFields = DM_ORIENTATION | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION | kFieldCollate;
    dm->dmOrientation = c.orientation;
    if (c.paper) {
        dm->dmFields |= DM_PAPERSIZE;
        dm->dmPaperSize = c.paper;
    }
    dm->dmCopies = static_cast<short>(c.copies ? c.copies : 1);
    dm->dmCollate = (c.flags & PD_COLLATE) ? kCollateTrue : 0;
    dm->dmPrintQuality = static_cast<short>(p.dpi);
    dm->dmYResolution = static_cast<short>(p.dpi);
    GlobalUnlock(h);
    return h;
}

// ---- The dialogs the user sees -----------------------------------------------------------------

constexpr int kSetupButton = psh1;
constexpr int kToFile = chx1;
constexpr int kCollate = chx2;
constexpr int kAll = rad1;
constexpr int kSelection = rad2;
constexpr int kPages = rad3;
constexpr int kPortrait = rad1;  // of set-up
constexpr int kLandscape = rad2;  // of set-up
constexpr int kFromLabel = stc2;
constexpr int kToLabel = stc3;
constexpr int kPrinterCombo = cmb4;
constexpr int kSetupPrinterCombo = cmb1;  // of set-up
constexpr int kPaperCombo = cmb2;
constexpr int kFrom = edt1;
constexpr int kTo = edt2;
constexpr int kCopies = edt3;
constexpr int kLabel = 0xFFFF;

void FillPrinters(HWND combo, const std::string& current)
{
    for (const std::string& p : Printers()) {
        LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.c_str()));
        if (strcasecmp(p.c_str(), current.c_str()) == 0)
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
    if (SendMessageA(combo, CB_GETCURSEL, 0, 0) < 0)
        SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

std::string ComboText(HWND combo)
{
    LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (at < 0)
        return "";
    std::string text(static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0)) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

class SetupDialog : public commdlg::DialogWindow {
public:
    SetupDialog(const host::PrinterSettings& printer, PrintChoice& choice)
        : DialogWindow("Print Setup", 274, 92), printer_(printer), choice_(choice)
    {
        Add("ComboBox", "", kSetupPrinterCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 12, 15, 194, 60);
        Add("Button", "P&ortrait", kPortrait, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 14, 52, 64, 10);
        Add("Button", "L&andscape", kLandscape, BS_AUTORADIOBUTTON, 14, 68, 64, 10);
        Add("Static", "Si&ze:", kLabel, SS_LEFT | WS_GROUP, 98, 56, 20, 9);
        Add("ComboBox", "", kPaperCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 120, 54, 86, 60);
        Add("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 218, 6, 50, 14);
        Add("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 218, 24, 50, 14);
        // The frames come last, beneath the controls they hold: our group boxes take the
        // clicks meant for the controls on top of them otherwise.
        Add("Button", "Printer", kLabel, BS_GROUPBOX | WS_GROUP, 6, 4, 206, 30);
        Add("Button", "Orientation", kLabel, BS_GROUPBOX, 6, 38, 80, 48);
        Add("Button", "Paper", kLabel, BS_GROUPBOX, 92, 38, 120, 48);
    }

private:
    void OnInit() override
    {
        FillPrinters(Item(kSetupPrinterCombo), choice_.printer);
        CheckRadioButton(dlg_, kPortrait, kLandscape, choice_.orientation == DMORIENT_LANDSCAPE ? kLandscape : kPortrait);
        if (!NativePaper(printer_)) {
            char name[64];
            std::snprintf(name, sizeof name, "Printer's paper %d x %d mm", int(printer_.paperWidth * 25.4 / printer_.dpi + 0.5),
                          int(printer_.paperHeight * 25.4 / printer_.dpi + 0.5));
            AddPaper(name, 0);
        }
        for (const Paper& paper : kPapers)
            AddPaper(paper.name, paper.code);
    }

    void AddPaper(const char* name, short code)
    {
        LRESULT at = Send(kPaperCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        Send(kPaperCombo, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(code));
        if (code == choice_.paper)
            Send(kPaperCombo, CB_SETCURSEL, static_cast<WPARAM>(at));
    }

    bool OnCommand(int id, int) override
    {
        if (id != IDOK)
            return false;
        choice_.printer = ComboText(Item(kSetupPrinterCombo));
        choice_.orientation = IsDlgButtonChecked(dlg_, kLandscape) ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        LRESULT at = Send(kPaperCombo, CB_GETCURSEL);
        if (at >= 0)
            choice_.paper = static_cast<short>(Send(kPaperCombo, CB_GETITEMDATA, static_cast<WPARAM>(at)));
        End(IDOK);
        return true;
    }

    const host::PrinterSettings& printer_;
    PrintChoice& choice_;
};

class PrintDialog : public commdlg::DialogWindow {
public:
    PrintDialog(const PRINTDLGA& pd, const host::PrinterSettings& printer, PrintChoice& choice)
        : DialogWindow("Print", 280, 100), pd_(pd), printer_(printer), choice_(choice)
    {
        Add("Static", "&Printer:", kLabel, SS_LEFT, 6, 7, 40, 9);
        Add("ComboBox", "", kPrinterCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 48, 5, 164, 60);
        Add("Button", "&All", kAll, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 12, 36, 70, 10);
        Add("Button", "S&election", kSelection, BS_AUTORADIOBUTTON, 12, 48, 70, 10);
        Add("Button", "&Pages", kPages, BS_AUTORADIOBUTTON, 12, 60, 70, 10);
        Add("Static", "&From:", kFromLabel, SS_RIGHT | WS_GROUP, 14, 76, 22, 9);
        Add("Edit", "", kFrom, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 38, 74, 30, 12);
        Add("Static", "&To:", kToLabel, SS_RIGHT, 72, 76, 18, 9);
        Add("Edit", "", kTo, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 92, 74, 30, 12);
        Add("Static", "&Copies:", kLabel, SS_LEFT | WS_GROUP, 164, 30, 30, 9);
        Add("Edit", "", kCopies, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 196, 28, 24, 12);
        Add("Button", "Colla&te copies", kCollate, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 164, 46, 70, 10);
        if (!(pd.Flags & PD_HIDEPRINTTOFILE))
            Add("Button", "Print to fi&le", kToFile, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 164, 60, 70, 10);
        Add("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 224, 24, 50, 14);
        Add("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 224, 42, 50, 14);
        Add("Button", "&Setup...", kSetupButton, BS_PUSHBUTTON | WS_TABSTOP, 224, 60, 50, 14);
        Add("Button", "Print range", kLabel, BS_GROUPBOX | WS_GROUP, 6, 24, 150, 70);  // last: see the set-up dialog
    }

private:
    void OnInit() override
    {
        FillPrinters(Item(kPrinterCombo), choice_.printer);
        DWORD f = pd_.Flags;
        int range = (f & PD_PAGENUMS) && !(f & PD_NOPAGENUMS) ? kPages
                    : (f & PD_SELECTION) && !(f & PD_NOSELECTION) ? kSelection
                                                                   : kAll;
        CheckRadioButton(dlg_, kAll, kPages, range);
        if (f & PD_NOSELECTION)
            EnableWindow(Item(kSelection), FALSE);
        // A document of one page range (nMinPage == nMaxPage) has no pages to choose from.
        if ((f & PD_NOPAGENUMS) || pd_.nMinPage == pd_.nMaxPage) {
            for (int id : {kPages, kFromLabel, kFrom, kToLabel, kTo})
                EnableWindow(Item(id), FALSE);
            if (range == kPages)
                CheckRadioButton(dlg_, kAll, kPages, kAll);
        } else {
            // 0xFFFF: no page given, the field stays empty.
            if (choice_.from != 0xFFFF)
                SetDlgItemInt(dlg_, kFrom, choice_.from ? choice_.from : pd_.nMinPage, FALSE);
            if (choice_.to != 0xFFFF)
                SetDlgItemInt(dlg_, kTo, choice_.to ? choice_.to : pd_.nMaxPage, FALSE);
        }
        SetDlgItemInt(dlg_, kCopies, choice_.copies, FALSE);
        CheckDlgButton(dlg_, kCollate, (f & PD_COLLATE) ? BST_CHECKED : BST_UNCHECKED);
        if (Item(kToFile)) {
            CheckDlgButton(dlg_, kToFile, (f & PD_PRINTTOFILE) ? BST_CHECKED : BST_UNCHECKED);
            if (f & PD_DISABLEPRINTTOFILE)
                EnableWindow(Item(kToFile), FALSE);
        }
        initializing_ = false;
    }

    bool OnCommand(int id, int code) override
    {
        switch (id) {
        case kFrom:
        case kTo:
            // Typing a page number chooses the page range.
            if (code == EN_CHANGE && !initializing_ && GetFocus() == Item(id))
                CheckRadioButton(dlg_, kAll, kPages, kPages);
            return true;
        case kSetupButton: {
            PrintChoice trial = choice_;
            trial.printer = ComboText(Item(kPrinterCombo));
            SetupDialog setup(printer_, trial);
            if (setup.Run(dlg_) == IDOK) {
                choice_.printer = trial.printer;
                choice_.orientation = trial.orientation;
                choice_.paper = trial.paper;
            }
            return true;
        }
        case IDOK: Ok(); return true;
        default: return false;
        }
    }

    // Reads a number field; warns and moves the focus there when it is missing or out of range.
    bool Number(int id, unsigned low, unsigned high, const std::string& what, WORD& out)
    {
        BOOL ok = FALSE;
        UINT value = GetDlgItemInt(dlg_, id, &ok, FALSE);
        if (!ok || value < low || value > high) {
            Warn(what + "\nEnter a number between " + std::to_string(low) + " and " + std::to_string(high) + ".");
            Focus(id);
            return false;
        }
        out = static_cast<WORD>(value);
        return true;
    }

    void Ok()
    {
        PrintChoice c = choice_;
        c.flags &= ~static_cast<DWORD>(PD_SELECTION | PD_PAGENUMS | PD_COLLATE | PD_PRINTTOFILE);
        if (IsDlgButtonChecked(dlg_, kPages)) {
            c.flags |= PD_PAGENUMS;
            if (!Number(kFrom, pd_.nMinPage, pd_.nMaxPage, "This value is not within the page range.", c.from) ||
                !Number(kTo, pd_.nMinPage, pd_.nMaxPage, "This value is not within the page range.", c.to))
                return;
            if (c.from > c.to) {
                Warn("The 'From' value cannot be greater than the 'To' value.");
                Focus(kFrom);
                return;
            }
        } else if (IsDlgButtonChecked(dlg_, kSelection)) {
            c.flags |= PD_SELECTION;
        }
        if (!Number(kCopies, 1, kMaxCopies, "The number of copies is not valid.", c.copies))
            return;
        if (IsDlgButtonChecked(dlg_, kCollate))
            c.flags |= PD_COLLATE;
        if (Item(kToFile) && IsDlgButtonChecked(dlg_, kToFile))
            c.flags |= PD_PRINTTOFILE;
        c.printer = ComboText(Item(kPrinterCombo));
        choice_ = c;
        End(IDOK);
    }

    const PRINTDLGA& pd_;
    const host::PrinterSettings& printer_;
    PrintChoice& choice_;
    bool initializing_ = true;
};

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
    PrintChoice choice = InitialChoice(*pd, printer);
    if (!(pd->Flags & PD_RETURNDEFAULT)) {
        std::string title = setup ? "Print Setup" : "Print";
        auto accept = [&](std::string& answer) {
            if (answer.empty())
                answer = printer.name;
            if (!FindPrinter(answer)) {
                MessageBoxA(pd->hwndOwner, ("The printer \"" + answer + "\" is not installed.").c_str(), title.c_str(),
                            MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            return true;
        };
        auto show = [&](std::string& answer) {
            INT_PTR r;
            if (setup) {
                SetupDialog dialog(printer, choice);
                r = dialog.Run(pd->hwndOwner);
            } else {
                PrintDialog dialog(*pd, printer, choice);
                r = dialog.Run(pd->hwndOwner);
            }
            if (r == -1)
                commdlg::SetError(CDERR_DIALOGFAILURE);
            answer = choice.printer;
            return r == IDOK;
        };
        if (!commdlg::Ask(pd->hwndOwner, setup ? "print setup" : "print", title, accept, show, choice.printer))
            return FALSE;
    }
    if (pd->hDevNames)
        GlobalFree(pd->hDevNames);
    if (pd->hDevMode)
        GlobalFree(pd->hDevMode);
    pd->hDevNames = MakeDevNames(choice.printer, !setup && (choice.flags & PD_PRINTTOFILE));
    pd->hDevMode = MakeDevMode(printer, choice);
    if (!setup) {
        const DWORD chosen = PD_SELECTION | PD_PAGENUMS | PD_COLLATE | PD_PRINTTOFILE;
        pd->Flags = (pd->Flags & ~chosen) | (choice.flags & chosen);
        if (pd->Flags & PD_PAGENUMS) {
            pd->nFromPage = choice.from;
            pd->nToPage = choice.to;
        } else {
            pd->nFromPage = pd->nMinPage;
            pd->nToPage = pd->nMaxPage;
        }
        pd->nCopies = choice.copies;
    }
    pd->hDC = nullptr;
    if (pd->Flags & (PD_RETURNDC | PD_RETURNIC)) {
        auto* dm = static_cast<DEVMODEA*>(GlobalLock(pd->hDevMode));
        pd->hDC = (pd->Flags & PD_RETURNDC) ? CreateDCA("winspool", choice.printer.c_str(), nullptr, dm)
                                             : CreateICA("winspool", choice.printer.c_str(), nullptr, dm);
        GlobalUnlock(pd->hDevMode);
        if (!pd->hDC) {
            commdlg::SetError(PDERR_PRINTERNOTFOUND);
            return FALSE;
        }
    }
    return TRUE;
}
