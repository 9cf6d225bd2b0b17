// Printing: printer device contexts, the document and page calls, and the spooler that keeps
// each finished job's pages and writes them as a PDF file.
#include "GdiInternal.h"

#include <errhandlingapi.h>
#include <host/Paths.h>
#include <host/Printer.h>
#include <winerror.h>

#include <cstdlib>
#include <filesystem>
#include <strings.h>

namespace gdi {

struct PrintJob {
    int id = 0;
    std::string docName;
    std::string output; // platform path from DOCINFO, or empty
    std::vector<std::shared_ptr<host::Surface>> pages;
    std::vector<host::PageTexts> texts; // the words of each finished page
    host::PageTexts pageText;           // the words of the page in progress
    bool inPage = false;
};

namespace {
struct Spooler {
    host::PrinterSettings printer;
    std::string folder;
    std::vector<host::PrintedJob> done;
    int nextJob = 1;
};

Spooler& Spool()
{
    static auto* s = [] {
        auto* sp = new Spooler;
        if (const char* env = std::getenv("VL_PRINT_FOLDER"); env && *env)
            sp->folder = env;
        else
            sp->folder = (std::filesystem::temp_directory_path() / "vl-print").string();
        return sp;
    }();
    return *s;
}

// The sheet a printer DC prints on: the default printer with the DEVMODE's changes.
struct Sheet {
    int dpi, width, height, marginX, marginY;
};

struct PrinterDC : DC {
    PrinterDC() : DC(DcKind::Printer) {}
    Sheet sheet{};
};

Sheet SheetFor(const DEVMODEA* dm)
{
    const host::PrinterSettings& p = Spool().printer;
    Sheet s{p.dpi, p.paperWidth, p.paperHeight, p.marginX, p.marginY};
    if (!dm)
        return s;
    if ((dm->dmFields & DM_PRINTQUALITY) && dm->dmPrintQuality > 0) {
        int dpi = dm->dmPrintQuality;
        s.width = s.width * dpi / s.dpi;
        s.height = s.height * dpi / s.dpi;
        s.marginX = s.marginX * dpi / s.dpi;
        s.marginY = s.marginY * dpi / s.dpi;
        s.dpi = dpi;
    }
    if ((dm->dmFields & DM_PAPERSIZE) && dm->dmPaperSize == DMPAPER_A4) {
        s.width = int(210 * s.dpi / 25.4 + 0.5);
        s.height = int(297 * s.dpi / 25.4 + 0.5);
    } else if ((dm->dmFields & DM_PAPERSIZE) && dm->dmPaperSize == DMPAPER_LETTER) {
        s.width = int(8.5 * s.dpi + 0.5);
        s.height = 11 * s.dpi;
    }
    if ((dm->dmFields & DM_ORIENTATION) && dm->dmOrientation == DMORIENT_LANDSCAPE) {
        std::swap(s.width, s.height);
        std::swap(s.marginX, s.marginY);
    }
    return s;
}

PrinterDC* AsPrinter(HDC hdc)
{
    DC* dc = AsDC(hdc);
    return (dc && dc->kind == DcKind::Printer) ? static_cast<PrinterDC*>(dc) : nullptr;
}

std::string SafeName(const std::string& s)
{
    std::string r;
    for (char c : s)
        r += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    return r.empty() ? "document" : r.substr(0, 60);
}

void Abort(PrinterDC& dc)
{
    dc.job.reset();
    dc.surface.reset();
    dc.InvalidateClip();
}
} // namespace

bool IsPrinterName(LPCSTR device)
{
    return device && strcasecmp(device, Spool().printer.name.c_str()) == 0;
}

DC* NewPrinterDC(LPCSTR, const DEVMODEA* dm, bool)
{
    auto* dc = new PrinterDC;
    dc->sheet = SheetFor(dm);
    dc->st.pen = HPEN(GetStockObject(BLACK_PEN));
    dc->st.brush = HBRUSH(GetStockObject(WHITE_BRUSH));
    dc->st.font = HFONT(GetStockObject(DEVICE_DEFAULT_FONT));
    dc->st.palette = HPALETTE(GetStockObject(DEFAULT_PALETTE));
    for (HGDIOBJ h : {HGDIOBJ(dc->st.pen), HGDIOBJ(dc->st.brush), HGDIOBJ(dc->st.font), HGDIOBJ(dc->st.palette)})
        SelectInto(h);
    Register(dc);
    return dc;
}

int PrinterCaps(DC& base, int index)
{
    const Sheet& s = static_cast<PrinterDC&>(base).sheet;
    int w = s.width - 2 * s.marginX, h = s.height - 2 * s.marginY;
    switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZSIZE: return int(w * 25.4 / s.dpi + 0.5);
    case VERTSIZE: return int(h * 25.4 / s.dpi + 0.5);
    case HORZRES: return w;
    case VERTRES: return h;
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BANDING | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY: return s.dpi;
    case ASPECTX:
    case ASPECTY: return s.dpi;
    case ASPECTXY: return int(s.dpi * 1.41421356 + 0.5);
    case PHYSICALWIDTH: return s.width;
    case PHYSICALHEIGHT: return s.height;
    case PHYSICALOFFSETX: return s.marginX;
    case PHYSICALOFFSETY: return s.marginY;
    case SCALINGFACTORX:
    case SCALINGFACTORY: return 0;
    case TEXTCAPS: return 0x7807;
    case CLIPCAPS: return 1;
    case LINECAPS:
    case CURVECAPS:
    case POLYGONALCAPS: return 0xFF;
    default: return 0;
    }
}

void NotePrintedText(DC& dc, int x, int baseline, int height, int width, const char* s, int n)
{
    if (!dc.job || !dc.job->inPage || n <= 0)
        return;
    dc.job->pageText.push_back(host::PrintedText{x, baseline, height, width, std::string(s, size_t(n))});
}

void EndPrinterDC(DC& dc)
{
    // A job still open when its DC goes away is abandoned, as if AbortDoc had been called.
    Abort(static_cast<PrinterDC&>(dc));
}

} // namespace gdi

using namespace gdi;

namespace host {

void SetPrinter(const PrinterSettings& settings)
{
    std::lock_guard lk(Lock());
    Spool().printer = settings;
}

PrinterSettings GetPrinter()
{
    std::lock_guard lk(Lock());
    return Spool().printer;
}

void SetPrintFolder(const std::string& folder)
{
    std::lock_guard lk(Lock());
    Spool().folder = folder;
}

std::string GetPrintFolder()
{
    std::lock_guard lk(Lock());
    return Spool().folder;
}

std::vector<PrintedJob> PrintedJobs()
{
    std::lock_guard lk(Lock());
    return Spool().done;
}

void ClearPrintedJobs()
{
    std::lock_guard lk(Lock());
    Spool().done.clear();
}

} // namespace host

int WINAPI StartDocA(HDC hdc, const DOCINFOA* di)
{
    std::lock_guard lk(Lock());
    PrinterDC* dc = AsPrinter(hdc);
    if (!dc || dc->job) {
        SetLastError(ERROR_INVALID_HANDLE);
        return SP_ERROR;
    }
    auto job = std::make_shared<PrintJob>();
    job->id = Spool().nextJob++;
    if (di && di->lpszDocName)
        job->docName = di->lpszDocName;
    if (di && di->lpszOutput)
        job->output = di->lpszOutput;
    dc->job = job;
    return job->id;
}

int WINAPI StartPage(HDC hdc)
{
    std::lock_guard lk(Lock());
    PrinterDC* dc = AsPrinter(hdc);
    if (!dc || !dc->job || dc->job->inPage)
        return SP_ERROR;
    const Sheet& s = dc->sheet;
    dc->surface = std::make_shared<host::Surface>(s.width - 2 * s.marginX, s.height - 2 * s.marginY, 32);
    dc->surface->Fill(0x00FFFFFF);
    dc->job->pageText.clear();
    dc->job->inPage = true;
    dc->InvalidateClip();
    return 1;
}

int WINAPI EndPage(HDC hdc)
{
    std::lock_guard lk(Lock());
    PrinterDC* dc = AsPrinter(hdc);
    if (!dc || !dc->job || !dc->job->inPage)
        return SP_ERROR;
    dc->job->pages.push_back(dc->surface);
    dc->job->texts.push_back(std::move(dc->job->pageText));
    dc->job->pageText.clear();
    dc->job->inPage = false;
    dc->surface.reset();
    dc->InvalidateClip();
    if (dc->abortProc && !dc->abortProc(hdc, 0)) {
        Abort(*dc);
        return SP_APPABORT;
    }
    return 1;
}

int WINAPI EndDoc(HDC hdc)
{
    std::lock_guard lk(Lock());
    PrinterDC* dc = AsPrinter(hdc);
    if (!dc || !dc->job)
        return SP_ERROR;
    if (dc->job->inPage && EndPage(hdc) <= 0)
        return SP_ERROR;
    auto job = dc->job;
    dc->job.reset();
    Spooler& sp = Spool();
    std::string file;
    if (!job->output.empty()) {
        auto p = host::ToHostPath(job->output);
        if (!p)
            return SP_ERROR;
        file = *p;
    } else {
        std::error_code ec;
        std::filesystem::create_directories(sp.folder, ec);
        file = (std::filesystem::path(sp.folder) / (SafeName(job->docName) + "-" + std::to_string(job->id) + ".pdf"))
                   .string();
    }
    const Sheet& s = dc->sheet;
    if (!host::WritePdf(file, job->pages, s.dpi, s.width, s.height, s.marginX, s.marginY, &job->texts)) {
        SetLastError(ERROR_WRITE_FAULT);
        return SP_OUTOFDISK;
    }
    sp.done.push_back(host::PrintedJob{job->docName, file, s.dpi, job->pages, job->texts});
    return 1;
}

int WINAPI AbortDoc(HDC hdc)
{
    std::lock_guard lk(Lock());
    PrinterDC* dc = AsPrinter(hdc);
    if (!dc || !dc->job)
        return SP_ERROR;
    Abort(*dc);
    return 1;
}

int WINAPI SetAbortProc(HDC hdc, ABORTPROC proc)
{
    std::lock_guard lk(Lock());
    PrinterDC* dc = AsPrinter(hdc);
    if (!dc)
        return SP_ERROR;
    dc->abortProc = proc;
    return 1;
}

int WINAPI Escape(HDC hdc, int esc, int, LPCSTR in, LPVOID out)
{
    switch (esc) {
    case QUERYESCSUPPORT: {
        if (!in)
            return 0;
        int which = *reinterpret_cast<const int*>(in);
        return (which == NEWFRAME || which == ABORTDOC || which == SETABORTPROC || which == STARTDOC ||
                which == ENDDOC || which == GETPHYSPAGESIZE || which == GETPRINTINGOFFSET)
                   ? 1
                   : 0;
    }
    case NEWFRAME: {
        int r = EndPage(hdc);
        return r > 0 ? StartPage(hdc) : r;
    }
    case ABORTDOC: return AbortDoc(hdc);
    case SETABORTPROC: return SetAbortProc(hdc, reinterpret_cast<ABORTPROC>(const_cast<char*>(in)));
    case STARTDOC: {
        DOCINFOA di{sizeof(DOCINFOA), in, nullptr, nullptr, 0};
        int r = StartDoc(hdc, &di);
        return r > 0 ? StartPage(hdc) : r;
    }
    case ENDDOC: {
        return EndDoc(hdc);
    }
    case GETPHYSPAGESIZE:
    case GETPRINTINGOFFSET: {
        if (!out)
            return 0;
        auto* p = static_cast<POINT*>(out);
        bool size = esc == GETPHYSPAGESIZE;
        p->x = GetDeviceCaps(hdc, size ? PHYSICALWIDTH : PHYSICALOFFSETX);
        p->y = GetDeviceCaps(hdc, size ? PHYSICALHEIGHT : PHYSICALOFFSETY);
        return 1;
    }
    default: return 0;
    }
}
