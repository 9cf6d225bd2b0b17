// Reading back the PDF files the print spooler writes: the page count (pdfinfo), the text of
// each page (pdftotext, from the text layer over each page's image) and the pixels of a page's
// image.
#pragma once

#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace pdf_reader {

inline std::string RunTool(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

// The page count pdfinfo reads, -1 when it cannot read the file.
inline int PageCount(const std::string& file)
{
    const std::string info = RunTool("pdfinfo '" + file + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The text of each page, as pdftotext lays it out (a page per entry, lines as printed).
inline std::vector<std::string> PageTexts(const std::string& file)
{
    const std::string text = RunTool("pdftotext -layout '" + file + "' - 2>/dev/null");
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t ff = text.find('\f'); ff != std::string::npos; ff = text.find('\f', start)) {
        pages.push_back(text.substr(start, ff - start));
        start = ff + 1;
    }
    return pages;
}

// With VL_SCREENSHOT_DIR set, page n (from 1) of the file as <dir>/<name>.png, to be looked at.
inline void RenderPageForScreenshot(const std::string& file, int page, const std::string& name)
{
    const char* dir = std::getenv("VL_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == 0)
        return;
    const std::string n = std::to_string(page);
    RunTool("pdftoppm -png -r 100 -singlefile -f " + n + " -l " + n + " '" + file + "' '" + dir + "/" + name + "'");
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The pixels of the n-th image of a PDF written by the spooler (8-bit RGB, deflated); empty
// when there is no such image.
inline std::string PdfImage(const std::string& pdf, int n, int& width, int& height)
{
    std::size_t pos = 0;
    for (int i = 0; i <= n; ++i) {
        pos = pdf.find("/Subtype /Image", pos);
        if (pos == std::string::npos)
            return {};
        pos += 10;
    }
    width = std::stoi(pdf.substr(pdf.find("/Width ", pos) + 7));
    height = std::stoi(pdf.substr(pdf.find("/Height ", pos) + 8));
    const std::size_t len = pdf.find("/Length ", pos);
    const std::size_t size = std::stoul(pdf.substr(len + 8));
    const std::size_t start = pdf.find("stream\n", len) + 7;
    std::string out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, '\0');
    uLongf outLen = out.size();
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &outLen, reinterpret_cast<const Bytef*>(pdf.data() + start),
                   size) != Z_OK)
        return {};
    return out;
}

}  // namespace pdf_reader
