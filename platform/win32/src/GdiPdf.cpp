// A small PDF writer: one page per raster image, the image deflated with zlib.
#include <host/Printer.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace host {

namespace {
std::string Deflate(const std::vector<unsigned char>& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, raw.data(), uLong(raw.size()), 6) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

std::string Num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}
// The words of a page as invisible text (render mode 3) in a fixed-pitch font, each word
// stretched to the width it has on the page. (left, top) is the printable area's top left.
std::string TextLayer(const PageTexts& words, double scale, double left, double top)
{
    std::string out;
    for (const PrintedText& w : words) {
        if (w.text.empty() || w.height <= 0)
            continue;
        const double size = w.height * scale * 0.8;
        const double natural = 0.6 * size * double(w.text.size());
        const double stretch = natural > 0 ? 100.0 * w.width * scale / natural : 100.0;
        std::string text;
        for (char c : w.text) {
            if (c == '(' || c == ')' || c == '\\')
                text += '\\';
            text += c;
        }
        out += "BT 3 Tr /F0 " + Num(size) + " Tf " + Num(std::max(stretch, 1.0)) + " Tz " + Num(left + w.x * scale) + " " +
               Num(top - w.baseline * scale) + " Td (" + text + ") Tj ET\n";
    }
    return out;
}
} // namespace

bool WritePdf(const std::string& hostPath, const std::vector<std::shared_ptr<Surface>>& pages, int dpi, int paperWidth,
              int paperHeight, int marginX, int marginY, const std::vector<PageTexts>* texts)
{
    if (dpi <= 0)
        return false;
    std::string body = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets; // offset of object n at [n - 1]
    auto begin = [&](int n) {
        if (offsets.size() < size_t(n))
            offsets.resize(size_t(n));
        offsets[size_t(n - 1)] = body.size();
        body += std::to_string(n) + " 0 obj\n";
    };
    int count = int(pages.size());
    // Objects: 1 catalog, 2 page tree, then per page: page, contents, image; last the font of
    // the text layer.
    std::ostringstream kids;
    for (int i = 0; i < count; ++i)
        kids << (3 + i * 3) << " 0 R ";
    begin(1);
    body += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    begin(2);
    body += "<< /Type /Pages /Kids [" + kids.str() + "] /Count " + std::to_string(count) + " >>\nendobj\n";
    double scale = 72.0 / dpi;
    const int fontObj = 3 + count * 3;
    for (int i = 0; i < count; ++i) {
        const Surface& s = *pages[size_t(i)];
        int pageObj = 3 + i * 3, contentObj = pageObj + 1, imageObj = pageObj + 2;
        double pw = paperWidth * scale, ph = paperHeight * scale;
        double iw = s.Width() * scale, ih = s.Height() * scale;
        double ix = marginX * scale, iy = ph - marginY * scale - ih;
        begin(pageObj);
        body += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Num(pw) + " " + Num(ph) +
                "] /Resources << /XObject << /Im0 " + std::to_string(imageObj) + " 0 R >> /Font << /F0 " +
                std::to_string(fontObj) + " 0 R >> >> /Contents " + std::to_string(contentObj) + " 0 R >>\nendobj\n";
        std::string content = "q " + Num(iw) + " 0 0 " + Num(ih) + " " + Num(ix) + " " + Num(iy) + " cm /Im0 Do Q\n";
        if (texts && size_t(i) < texts->size())
            content += TextLayer((*texts)[size_t(i)], scale, ix, ph - marginY * scale);
        begin(contentObj);
        body += "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream\nendobj\n";
        std::vector<unsigned char> raw;
        raw.reserve(size_t(s.Width()) * s.Height() * 3);
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x) {
                COLORREF c = s.GetColor(x, y);
                raw.push_back(GetRValue(c));
                raw.push_back(GetGValue(c));
                raw.push_back(GetBValue(c));
            }
        std::string data = Deflate(raw);
        if (data.empty() && !raw.empty())
            return false;
        begin(imageObj);
        body += "<< /Type /XObject /Subtype /Image /Width " + std::to_string(s.Width()) + " /Height " +
                std::to_string(s.Height()) + " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
                std::to_string(data.size()) + " >>\nstream\n";
        body += data;
        body += "\nendstream\nendobj\n";
    }
    begin(fontObj);
    body += "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>\nendobj\n";
    size_t xref = body.size();
    body += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t off : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", off);
        body += line;
    }
    body += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
    std::ofstream f(hostPath, std::ios::binary);
    if (!f)
        return false;
    f.write(body.data(), std::streamsize(body.size()));
    return bool(f.flush());
}

} // namespace host
