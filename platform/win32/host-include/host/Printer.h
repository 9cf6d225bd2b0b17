// The printer: one default printer whose page size and resolution tests and set-up can choose,
// and the spooler that writes every finished job as a PDF file into the print folder.
#pragma once

#include <host/Surface.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

struct PrinterSettings {
    std::string name = "Default Printer";
    int dpi = 300;            // dots per inch, both directions
    int paperWidth = 2550;    // the whole sheet in device pixels (Letter at 300 dpi)
    int paperHeight = 3300;
    int marginX = 75;         // the unprintable edge on each side, device pixels
    int marginY = 75;
};

void SetPrinter(const PrinterSettings& settings);
PrinterSettings GetPrinter();
// The host folder that finished jobs are written to (created when needed). By default the
// folder named by VL_PRINT_FOLDER, else "vl-print" in the system temporary folder.
void SetPrintFolder(const std::string& hostFolder);
std::string GetPrintFolder();

// A word drawn on a page: its left end and baseline in the page's printable area (device
// pixels), the height of its font and its width.
struct PrintedText {
    int x = 0, baseline = 0, height = 0, width = 0;
    std::string text;
};
using PageTexts = std::vector<PrintedText>;

struct PrintedJob {
    std::string docName;
    std::string file; // host path of the PDF written
    int dpi = 0;
    std::vector<std::shared_ptr<Surface>> pages; // the printable area of each page
    std::vector<PageTexts> texts;                // the words of each page
};
// Every job finished since the start (or the last ClearPrintedJobs), oldest first.
std::vector<PrintedJob> PrintedJobs();
void ClearPrintedJobs();

// Writes pages as a PDF document, each page one image at the given resolution placed at the
// margins of a sheet of the given size (device pixels). The words of each page, when given,
// lie over the image as invisible text, so that readers can find and extract it.
bool WritePdf(const std::string& hostPath, const std::vector<std::shared_ptr<Surface>>& pages, int dpi,
              int paperWidth, int paperHeight, int marginX, int marginY, const std::vector<PageTexts>* texts = nullptr);

} // namespace host
