#include "Painter.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace art {

namespace {

const COLORREF kFace = RGB(192, 192, 192);
const COLORREF kLight = RGB(255, 255, 255);
const COLORREF kShadow = RGB(128, 128, 128);
const COLORREF kDark = RGB(0, 0, 0);

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT box{left, top, right, bottom};
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width = 1)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// A button face with the platform's raised (or sunken) edge.
void Face(HDC dc, int width, int height, bool sunken)
{
    FillBox(dc, 0, 0, width, height, kFace);
    COLORREF topLeft = sunken ? kShadow : kLight, bottomRight = sunken ? kLight : kDark;
    Line(dc, 0, height - 1, 0, 0, topLeft);
    Line(dc, 0, 0, width - 1, 0, topLeft);
    Line(dc, width - 1, 0, width - 1, height - 1, bottomRight);
    Line(dc, width - 1, height - 1, -1, height - 1, bottomRight);
    if (!sunken) {
        Line(dc, width - 2, 1, width - 2, height - 2, kShadow);
        Line(dc, width - 2, height - 2, 0, height - 2, kShadow);
    }
}

void Filled(HDC dc, COLORREF colour, const POINT* points, int count)
{
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Polygon(dc, points, count);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void SoundButton(HDC dc, int width, int height)
{
    Face(dc, width, height, false);
    int cx = width / 2, cy = height / 2, s = std::max(2, height / 6);
    POINT speaker[] = {{cx - 3 * s, cy - s}, {cx - 2 * s, cy - s}, {cx, cy - 2 * s - 1},
                       {cx, cy + 2 * s + 1}, {cx - 2 * s, cy + s}, {cx - 3 * s, cy + s}};
    Filled(dc, kDark, speaker, 6);
    for (int wave = 1; wave <= 2; ++wave) {
        int x = cx + 1 + wave * s;
        Line(dc, x, cy - wave * s, x + s / 2 + 1, cy, kDark);
        Line(dc, x + s / 2 + 1, cy, x, cy + wave * s, kDark);
    }
}

void CloseBox(HDC dc, int width, int height, bool pressed)
{
    Face(dc, width, height, pressed);
    int shift = pressed ? 1 : 0, inset = std::max(3, width / 4);
    int left = inset + shift, top = inset * height / width + shift;
    int right = width - inset + shift - 1, bottom = height - inset * height / width + shift - 1;
    Line(dc, left, top, right + 1, bottom + 1, kDark, 2);
    Line(dc, right, top, left - 1, bottom + 1, kDark, 2);
}

void ProgramIcon(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 0, 255));  // the transparent key
    HBRUSH globe = CreateSolidBrush(RGB(40, 90, 200));
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(0, 0, 96));
    HGDIOBJ oldBrush = SelectObject(dc, globe), oldPen = SelectObject(dc, outline);
    Ellipse(dc, 1, 1, width - 1, height - 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(globe);
    DeleteObject(outline);
    // An open book across the globe's lower half.
    int mid = width / 2, top = height / 2 - height / 8, bottom = height - height / 5;
    POINT left[] = {{width / 8, top}, {mid, top + height / 10}, {mid, bottom}, {width / 8, bottom - height / 10}};
    POINT right[] = {{mid, top + height / 10}, {width - width / 8, top}, {width - width / 8, bottom - height / 10}, {mid, bottom}};
    Filled(dc, RGB(250, 245, 225), left, 4);
    Filled(dc, RGB(235, 228, 205), right, 4);
    Line(dc, mid, top + height / 10, mid, bottom, RGB(120, 80, 40));
}

// The menu's colours.
const COLORREF kMenuSky = RGB(0, 0, 102);
const COLORREF kMenuFace = RGB(0, 51, 153);
const COLORREF kMenuLit = RGB(255, 204, 0);
const COLORREF kMenuText = RGB(255, 255, 255);
const COLORREF kMenuLitText = RGB(0, 0, 51);
const COLORREF kMenuCaptionText = RGB(102, 153, 255);

void Text(HDC dc, const RECT& box, const char* text, int height, COLORREF colour, UINT format)
{
    HFONT font = CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT r = box;
    DrawTextA(dc, text, -1, &r, format | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, old);
    DeleteObject(font);
}

// The largest text height up to `height` at which the label fits `width` pixels.
int LabelHeight(HDC dc, const char* label, int height, int width)
{
    for (; height > 6; --height) {
        HFONT font = CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32A(dc, label, int(std::strlen(label)), &extent);
        SelectObject(dc, old);
        DeleteObject(font);
        if (extent.cx <= width)
            break;
    }
    return height;
}

// A rounded button of the menu with its label, lit or not, at a box of the picture.
void MenuButtonAt(HDC dc, const RECT& box, const char* label, bool lit)
{
    HBRUSH brush = CreateSolidBrush(lit ? kMenuLit : kMenuFace);
    HPEN pen = CreatePen(PS_SOLID, 2, lit ? kMenuText : kMenuCaptionText);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    int h = box.bottom - box.top;
    RoundRect(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, h / 2, h / 2);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    Text(dc, box, label, LabelHeight(dc, label, h * 9 / 20, box.right - box.left - 12), lit ? kMenuLitText : kMenuText,
         DT_CENTER);
}

// The menu's layout as its background shows it, per screen class: the buttons' top-lefts (in
// the menu's row order) and sizes, and the group captions' points. The Update Now and Homework
// Wizards faces (rows 8 and 10) are left out: the menu copies them in itself.
struct MenuLayout {
    POINT buttons[13];
    SIZE button, exit, caption;
    POINT browse, search;
};
const MenuLayout kMenuLayouts[3] = {
    {{{250, 120}, {250, 160}, {250, 200}, {83, 40}, {83, 80}, {83, 120}, {83, 160}, {83, 200}, {470, 80},
      {250, 80}, {408, 120}, {408, 160}, {535, 392}},
     {150, 32}, {100, 32}, {120, 30}, {282, 2}, {64, 2}},
    {{{313, 152}, {313, 202}, {313, 251}, {169, 52}, {169, 103}, {129, 152}, {113, 202}, {103, 251}, {588, 103},
      {313, 103}, {510, 152}, {510, 202}, {669, 492}},
     {140, 40}, {125, 40}, {150, 38}, {350, 3}, {80, 3}},
    {{{399, 192}, {399, 256}, {399, 319}, {132, 64}, {132, 129}, {132, 192}, {132, 256}, {132, 319}, {751, 129},
      {399, 129}, {652, 192}, {708, 256}, {855, 625}},
     {240, 50}, {160, 50}, {190, 48}, {451, 4}, {101, 4}},
};
const char* const kMenuLabels[13] = {"Browse Veltra", "Browse Media", "Monthly Spotlight", "Topics", "Maps",
                                     "Dictionary", "Dido Dovov", "What's Online", "Update Now", "Surf Jubilee",
                                     "Homework Wizards", "Family Tomeset", "Exit"};

void MenuBackground(HDC dc, int width, int height)
{
    // A night sky growing lighter towards the bottom.
    for (int y = 0; y < height; y += 4) {
        int t = y * 102 / std::max(1, height);
        FillBox(dc, 0, y, width, y + 4, RGB(0, t / 2, 102 + t));
    }
    const MenuLayout& layout = kMenuLayouts[width >= 1024 ? 2 : width > 640 ? 1 : 0];
    for (int i = 0; i < 13; ++i) {
        if (i == 8 || i == 10)
            continue;
        SIZE size = i == 12 ? layout.exit : layout.button;
        RECT box{layout.buttons[i].x, layout.buttons[i].y, layout.buttons[i].x + size.cx, layout.buttons[i].y + size.cy};
        MenuButtonAt(dc, box, kMenuLabels[i], false);
    }
    for (int g = 0; g < 2; ++g) {
        POINT at = g == 0 ? layout.browse : layout.search;
        RECT box{at.x, at.y, at.x + layout.caption.cx, at.y + layout.caption.cy};
        Text(dc, box, g == 0 ? "BROWSE" : "SEARCH", layout.caption.cy * 2 / 3, kMenuFace, DT_CENTER);
    }
    RECT title{width / 20, height * 4 / 5, width, height * 4 / 5 + height / 10};
    Text(dc, title, "Veltra Jubilee 2000", height / 14, kMenuText, DT_LEFT);
}

// A wizard's colour, picked by its label so that normal and pressed pictures agree.
COLORREF WizardColour(const char* label)
{
    static const struct {
        const char* label;
        COLORREF colour;
    } colours[] = {{"Research", RGB(204, 51, 51)},  {"Chart", RGB(51, 153, 51)}, {"Timeline", RGB(51, 102, 204)},
                   {"Web Page", RGB(204, 153, 0)}, {"Quiz", RGB(153, 51, 153)}};
    for (const auto& entry : colours)
        if (std::strcmp(entry.label, label) == 0)
            return entry.colour;
    return RGB(0, 102, 102);
}

COLORREF Darker(COLORREF colour)
{
    return RGB(GetRValue(colour) * 2 / 3, GetGValue(colour) * 2 / 3, GetBValue(colour) * 2 / 3);
}

void WizardTile(HDC dc, int width, int height, const char* label, bool pressed)
{
    Face(dc, width, height, pressed);
    COLORREF colour = WizardColour(label);
    FillBox(dc, 3, 3, width - 3, height - 3, pressed ? Darker(colour) : colour);
    RECT box{3, 3, width - 3, height - 3};
    if (pressed)
        OffsetRect(&box, 1, 1);
    Text(dc, box, label, LabelHeight(dc, label, height / 3, width - 10), kLight, DT_CENTER);
}

void TextButton(HDC dc, int width, int height, const char* label, bool pressed)
{
    Face(dc, width, height, pressed);
    RECT box{2, 2, width - 2, height - 2};
    if (pressed)
        OffsetRect(&box, 1, 1);
    Text(dc, box, label, LabelHeight(dc, label, height * 3 / 5, width - 8), kDark, DT_CENTER);
}

void WizardBanner(HDC dc, int width, int height, const char* label)
{
    for (int x = 0; x < width; x += 4) {
        int t = x * 153 / std::max(1, width);
        FillBox(dc, x, 0, x + 4, height, RGB(255, 204 - t / 3, 51 + t));
    }
    RECT box{0, 0, width, height};
    Text(dc, box, label, LabelHeight(dc, label, height / 2, width - 16), kMenuSky, DT_CENTER);
}

// A book seen from the front (closed) or lying open, on the icon's transparent key.
void Book(HDC dc, int width, int height, bool open)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 0, 255));
    const int u = std::max(1, width / 16);
    if (!open) {
        FillBox(dc, 3 * u, 1 * u, 13 * u, 15 * u, RGB(0, 0, 96));
        FillBox(dc, 4 * u, 2 * u, 13 * u, 14 * u, RGB(40, 70, 170));
        FillBox(dc, 3 * u, 1 * u, 5 * u, 15 * u, RGB(0, 0, 64));
        FillBox(dc, 7 * u, 5 * u, 11 * u, 6 * u, RGB(255, 220, 120));
        return;
    }
    // The cover shows below and beside the pages.
    POINT left[] = {{0, 5 * u}, {8 * u, 6 * u}, {8 * u, 15 * u}, {0, 14 * u}};
    POINT right[] = {{8 * u, 6 * u}, {16 * u - 1, 5 * u}, {16 * u - 1, 14 * u}, {8 * u, 15 * u}};
    Filled(dc, RGB(40, 70, 170), left, 4);
    Filled(dc, RGB(40, 70, 170), right, 4);
    POINT leftPage[] = {{2 * u, 3 * u}, {8 * u, 4 * u}, {8 * u, 13 * u}, {2 * u, 12 * u}};
    POINT rightPage[] = {{8 * u, 4 * u}, {14 * u, 3 * u}, {14 * u, 12 * u}, {8 * u, 13 * u}};
    Filled(dc, RGB(255, 255, 240), leftPage, 4);
    Filled(dc, RGB(240, 235, 215), rightPage, 4);
    Line(dc, 8 * u, 4 * u, 8 * u, 13 * u, RGB(120, 80, 40));
    for (int line = 0; line < 3; ++line) {
        Line(dc, 3 * u, (6 + 2 * line) * u, 7 * u, (6 + 2 * line) * u, RGB(150, 150, 170));
        Line(dc, 9 * u, (6 + 2 * line) * u, 13 * u, (6 + 2 * line) * u, RGB(150, 150, 170));
    }
}

// A written page with a folded corner.
void PageIcon(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 0, 255));
    const int u = std::max(1, width / 16);
    FillBox(dc, 3 * u, 1 * u, 13 * u, 15 * u, RGB(64, 64, 64));
    FillBox(dc, 4 * u, 2 * u, 12 * u, 14 * u, RGB(255, 255, 255));
    for (int line = 0; line < 4; ++line)
        FillBox(dc, 5 * u, (4 + 2 * line) * u, 11 * u, (4 + 2 * line) * u + std::max(1, u / 2), RGB(90, 90, 160));
}

// The colour of a content kind's badge, by its letter.
COLORREF BadgeColour(const char* label)
{
    switch (label[0]) {
    case 'A': return RGB(204, 102, 0);
    case 'V': return RGB(153, 0, 0);
    case 'P': return RGB(0, 128, 64);
    case 'S': return RGB(102, 51, 153);
    case 'X': return RGB(0, 102, 153);
    case 'M': return RGB(51, 102, 0);
    default: return RGB(128, 96, 0);
    }
}

void KindBadge(HDC dc, int width, int height, const char* label, bool icon)
{
    FillBox(dc, 0, 0, width, height, icon ? RGB(255, 0, 255) : kLight);
    HBRUSH brush = CreateSolidBrush(BadgeColour(label));
    HPEN pen = CreatePen(PS_SOLID, 1, kDark);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    RoundRect(dc, 1, 1, width - 1, height - 1, width / 3, height / 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    RECT box{0, 0, width, height};
    Text(dc, box, label, height * 3 / 4, kLight, DT_CENTER);
}

// A small arrow pointing down onto a line: the file still has to be downloaded.
void MissingFileMark(HDC dc, int width, int height, bool dark)
{
    FillBox(dc, 0, 0, width, height, dark ? kDark : kLight);
    const COLORREF colour = dark ? RGB(255, 204, 0) : RGB(204, 0, 0);
    const int mid = width / 2;
    FillBox(dc, mid - 1, 0, mid + 2, height / 2, colour);
    POINT head[] = {{1, height / 2}, {width - 1, height / 2}, {mid, height - 3}};
    Filled(dc, colour, head, 3);
    FillBox(dc, 0, height - 2, width, height - 1, colour);
}

}  // namespace

Picture Paint(Look look, int width, int height, const char* label)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !surface || !bits) {
        if (surface)
            DeleteObject(surface);
        if (dc)
            DeleteDC(dc);
        return picture;  // empty: the caller reports it
    }
    HGDIOBJ old = SelectObject(dc, surface);
    switch (look) {
    case Look::SoundButton: SoundButton(dc, width, height); break;
    case Look::CloseBox: CloseBox(dc, width, height, false); break;
    case Look::CloseBoxPressed: CloseBox(dc, width, height, true); break;
    case Look::ProgramIcon: ProgramIcon(dc, width, height); break;
    case Look::Tone: break;
    case Look::MenuBackground: MenuBackground(dc, width, height); break;
    case Look::MenuButton:
    case Look::MenuFace: {
        FillBox(dc, 0, 0, width, height, kMenuSky);
        RECT box{0, 0, width, height};
        MenuButtonAt(dc, box, label, look == Look::MenuButton);
        break;
    }
    case Look::WizardTile: WizardTile(dc, width, height, label, false); break;
    case Look::WizardTilePressed: WizardTile(dc, width, height, label, true); break;
    case Look::WizardBanner: WizardBanner(dc, width, height, label); break;
    case Look::TextButton: TextButton(dc, width, height, label, false); break;
    case Look::TextButtonPressed: TextButton(dc, width, height, label, true); break;
    case Look::BookClosed: Book(dc, width, height, false); break;
    case Look::BookOpen: Book(dc, width, height, true); break;
    case Look::PageIcon: PageIcon(dc, width, height); break;
    case Look::KindBadge: KindBadge(dc, width, height, label, true); break;
    case Look::KindPicture: KindBadge(dc, width, height, label, false); break;
    case Look::MissingFileMark: MissingFileMark(dc, width, height, false); break;
    case Look::MissingFileMarkDark: MissingFileMark(dc, width, height, true); break;
    case Look::MenuCaption: {
        FillBox(dc, 0, 0, width, height, kMenuSky);
        RECT box{0, 0, width, height};
        Text(dc, box, label, height * 2 / 3, kMenuCaptionText, DT_CENTER);
        break;
    }
    }
    GdiFlush();
    picture.bgr.resize(picture.Stride() * static_cast<std::size_t>(height));
    std::memcpy(picture.bgr.data(), bits, picture.bgr.size());
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    return picture;
}

}  // namespace art
