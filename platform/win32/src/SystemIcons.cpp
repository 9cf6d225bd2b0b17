// The system's stock icons (LoadIcon(NULL, IDI_...)): the application, error, question, warning,
// information and logo icons, drawn once with the GDI at their first use in the classic shapes
// and kept as shared icons for the rest of the run.
#include "SystemIcons.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

constexpr int kSize = 32;

// Pens and brushes of one drawing: in the silhouette every colour is black, so the same calls
// draw the icon's shape for its mask.
class Painter {
public:
    Painter(HDC dc, bool silhouette) : m_dc(dc), m_silhouette(silhouette) {}
    ~Painter()
    {
        SelectObject(m_dc, GetStockObject(BLACK_PEN));
        SelectObject(m_dc, GetStockObject(WHITE_BRUSH));
        for (HGDIOBJ o : m_objects)
            DeleteObject(o);
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    bool Silhouette() const { return m_silhouette; }
    void Use(COLORREF fill, COLORREF line, int width = 1)
    {
        if (m_silhouette)
            fill = line = RGB(0, 0, 0);
        HPEN pen = CreatePen(PS_SOLID, width, line);
        HBRUSH brush = CreateSolidBrush(fill);
        m_objects.push_back(pen);
        m_objects.push_back(brush);
        SelectObject(m_dc, pen);
        SelectObject(m_dc, brush);
    }
    void Rect(int l, int t, int r, int b, COLORREF fill)
    {
        Use(fill, fill);
        Rectangle(m_dc, l, t, r, b);
    }
    // Details inside the shape (letters, crosses) do not change the silhouette.
    bool Details() const { return !m_silhouette; }
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    bool m_silhouette;
    std::vector<HGDIOBJ> m_objects;
};

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kNavy = RGB(0, 0, 128);
const COLORREF kBlue = RGB(0, 0, 255);

// A bold glyph centred in a rectangle.
void Glyph(Painter& p, const char* text, RECT r, COLORREF colour, int height)
{
    HFONT font = CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, "Times New Roman");
    HGDIOBJ old = SelectObject(p.Dc(), font);
    SetBkMode(p.Dc(), TRANSPARENT);
    SetTextColor(p.Dc(), colour);
    DrawTextA(p.Dc(), text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(p.Dc(), old);
    DeleteObject(font);
}

// A white speech bubble with a blue border, its tail at the lower left.
void Bubble(Painter& p)
{
    p.Use(kWhite, kNavy);
    const POINT tail[] = {{7, 21}, {5, 31}, {15, 24}};
    Polygon(p.Dc(), tail, 3);
    Ellipse(p.Dc(), 1, 1, 31, 26);
    if (p.Details()) {
        // The tail's edge inside the bubble is covered again.
        p.Use(kWhite, kWhite);
        const POINT inner[] = {{8, 21}, {7, 28}, {14, 23}};
        Polygon(p.Dc(), inner, 3);
    }
}

void DrawIconShape(Painter& p, int id)
{
    switch (id) {
    case 32513: {  // IDI_HAND: a red disc with a white cross
        p.Use(RGB(255, 0, 0), RGB(128, 0, 0));
        Ellipse(p.Dc(), 1, 1, 31, 31);
        if (p.Details()) {
            p.Use(kWhite, kWhite, 3);
            MoveToEx(p.Dc(), 10, 10, nullptr);
            LineTo(p.Dc(), 21, 21);
            MoveToEx(p.Dc(), 21, 10, nullptr);
            LineTo(p.Dc(), 10, 21);
        }
        break;
    }
    case 32514:  // IDI_QUESTION: a speech bubble with "?"
        Bubble(p);
        if (p.Details())
            Glyph(p, "?", RECT{1, 1, 31, 26}, kBlue, 22);
        break;
    case 32515: {  // IDI_EXCLAMATION: a yellow triangle with "!"
        p.Use(RGB(255, 255, 0), kBlack);
        const POINT triangle[] = {{15, 1}, {30, 29}, {1, 29}};
        Polygon(p.Dc(), triangle, 3);
        if (p.Details()) {
            p.Rect(14, 10, 18, 21, kBlack);
            p.Rect(14, 23, 18, 27, kBlack);
        }
        break;
    }
    case 32516:  // IDI_ASTERISK: a speech bubble with "i"
        Bubble(p);
        if (p.Details()) {
            p.Rect(14, 5, 18, 9, kBlue);
            p.Rect(14, 11, 18, 21, kBlue);
            p.Rect(12, 19, 20, 21, kBlue);
        }
        break;
    case 32517:  // IDI_WINLOGO: four coloured panes
        p.Rect(2, 3, 15, 15, RGB(255, 0, 0));
        p.Rect(17, 3, 30, 15, RGB(0, 160, 0));
        p.Rect(2, 17, 15, 29, RGB(0, 0, 255));
        p.Rect(17, 17, 30, 29, RGB(255, 200, 0));
        break;
    default: {  // IDI_APPLICATION: a window with a title bar
        p.Use(kWhite, kBlack);
        Rectangle(p.Dc(), 2, 4, 30, 28);
        if (p.Details())
            p.Rect(3, 5, 29, 10, kNavy);
        break;
    }
    }
}

// Draws the icon (or its silhouette on white) into a 32-bit bottom-up DIB and returns its pixels.
std::vector<DWORD> Render(int id, bool silhouette)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (dib && bits) {
        HGDIOBJ old = SelectObject(dc, dib);
        RECT all{0, 0, kSize, kSize};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(silhouette ? WHITE_BRUSH : BLACK_BRUSH)));
        {
            Painter p(dc, silhouette);
            DrawIconShape(p, id);
        }
        pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + kSize * kSize);
        SelectObject(dc, old);
    }
    if (dib)
        DeleteObject(dib);
    DeleteDC(dc);
    return pixels;
}

// The icon as an icon resource image: header, colour rows, mask rows (1 = transparent).
HICON Build(int id)
{
    std::vector<DWORD> colour = Render(id, false);
    std::vector<DWORD> shape = Render(id, true);
    if (colour.size() != kSize * kSize || shape.size() != colour.size())
        return nullptr;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = kSize;
    header.biHeight = 2 * kSize;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    constexpr size_t maskStride = 4;  // 32 one-bit pixels
    std::vector<BYTE> image(sizeof header + colour.size() * 4 + maskStride * kSize, 0);
    std::memcpy(image.data(), &header, sizeof header);
    BYTE* colourBits = image.data() + sizeof header;
    BYTE* maskBits = colourBits + colour.size() * 4;
    for (size_t i = 0; i < colour.size(); ++i) {
        DWORD c = colour[i] & 0x00FFFFFF;  // no alpha: the mask decides
        std::memcpy(colourBits + i * 4, &c, 4);
        if ((shape[i] & 0x00FFFFFF) == 0x00FFFFFF) {
            size_t row = i / kSize, x = i % kSize;
            maskBits[row * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000, 0, 0,
                                    LR_DEFAULTSIZE | LR_SHARED);
}

}  // namespace

namespace user {

HICON SystemIcon(int id)
{
    static auto* lock = new std::mutex;
    static auto* icons = new std::map<int, HICON>;
    if (id >= 32512 && id <= 32517) {
        std::lock_guard<std::mutex> guard(*lock);
        auto it = icons->find(id);
        if (it != icons->end())
            return it->second;
        HICON icon = Build(id);
        if (icon)
            icons->emplace(id, icon);
        return icon;
    }
    return nullptr;
}

}  // namespace user
