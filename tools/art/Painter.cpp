#include "Painter.h"

#include <string>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>

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

// A speaker of unit s whose cone ends at (cx, cy), sending out a number of waves to its right.
void Speaker(HDC dc, int cx, int cy, int s, COLORREF colour, int waves = 2, int penWidth = 1)
{
    POINT speaker[] = {{cx - 3 * s, cy - s}, {cx - 2 * s, cy - s}, {cx, cy - 2 * s - 1},
                       {cx, cy + 2 * s + 1}, {cx - 2 * s, cy + s}, {cx - 3 * s, cy + s}};
    Filled(dc, colour, speaker, 6);
    for (int wave = 1; wave <= waves; ++wave) {
        int x = cx + 1 + wave * s;
        Line(dc, x, cy - wave * s, x + s / 2 + 1, cy, colour, penWidth);
        Line(dc, x + s / 2 + 1, cy, x, cy + wave * s, colour, penWidth);
    }
}

void SoundButton(HDC dc, int width, int height)
{
    Face(dc, width, height, false);
    Speaker(dc, width / 2, height / 2, std::max(2, height / 6), kDark);
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

// The faces of labels: the program's sans face, and its narrow cut for a long word in a small box.
const char kLabelFace[] = "Arial";
const char kNarrowLabelFace[] = "Arial Narrow";

void Text(HDC dc, const RECT& box, const char* text, int height, COLORREF colour, UINT format, int weight = FW_BOLD,
          const char* face = kLabelFace)
{
    HFONT font = CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, face);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT r = box;
    DrawTextA(dc, text, -1, &r, format | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, old);
    DeleteObject(font);
}

// The largest text height up to `height` at which the label fits `width` pixels.
int LabelHeight(HDC dc, const char* label, int height, int width, int weight = FW_BOLD, const char* face = kLabelFace)
{
    for (; height > 6; --height) {
        HFONT font = CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, face);
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

void TextButton(HDC dc, int width, int height, const char* label, bool pressed, COLORREF ink = kDark)
{
    Face(dc, width, height, pressed);
    RECT box{2, 2, width - 2, height - 2};
    if (pressed)
        OffsetRect(&box, 1, 1);
    Text(dc, box, label, LabelHeight(dc, label, height * 3 / 5, width - 8), ink, DT_CENTER);
}

// A raised button with a small triangle pointing by the label's letter (U, D, L, R); greyed
// when disabled, sunken and shifted when pressed.
void ArrowButton(HDC dc, int width, int height, const char* label, int state)
{
    Face(dc, width, height, state == 1);
    const int shift = state == 1 ? 1 : 0;
    const int cx = width / 2 + shift, cy = height / 2 + shift;
    const int half = std::max(2, std::min(width, height) / 3);
    const COLORREF ink = state == 2 ? RGB(128, 128, 128) : RGB(0, 0, 0);
    const char d = label != nullptr ? label[0] : 0;
    POINT p[3];
    switch (d) {
    case 'U': p[0] = {cx - half, cy + half / 2}; p[1] = {cx + half, cy + half / 2}; p[2] = {cx, cy - half / 2 - 1}; break;
    case 'D': p[0] = {cx - half, cy - half / 2}; p[1] = {cx + half, cy - half / 2}; p[2] = {cx, cy + half / 2 + 1}; break;
    case 'L': p[0] = {cx + half / 2, cy - half}; p[1] = {cx + half / 2, cy + half}; p[2] = {cx - half / 2 - 1, cy}; break;
    case 'R': p[0] = {cx - half / 2, cy - half}; p[1] = {cx - half / 2, cy + half}; p[2] = {cx + half / 2 + 1, cy}; break;
    default: return;
    }
    Filled(dc, ink, p, 3);
}

// The sliding selector: a dark band with the left and right arrow fields (4..20, 172..184, where
// the control writes the first and last numbers), a sunken track between two end caps
// (21..171), rows 5 to 19.
void SliderTrack(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(68, 40, 80));
    FillBox(dc, 4, 5, 20, 19, RGB(120, 96, 136));
    FillBox(dc, 172, 5, 184, 19, RGB(120, 96, 136));
    FillBox(dc, 21, 5, 29, 19, RGB(160, 160, 176));
    FillBox(dc, 163, 5, 171, 19, RGB(160, 160, 176));
    FillBox(dc, 29, 5, 163, 19, RGB(36, 24, 44));
    FillBox(dc, 29, 11, 163, 13, RGB(110, 110, 130));
}

// A raised square with a black triangle pointing down.
void ComboArrow(HDC dc, int width, int height)
{
    Face(dc, width, height, false);
    const int cx = width / 2, cy = height / 2;
    const int half = std::max(2, std::min(width, height) / 4);
    const POINT points[3] = {{cx - half, cy - half / 2}, {cx + half, cy - half / 2}, {cx, cy + half / 2 + 1}};
    Filled(dc, kDark, points, 3);
}

// A small yellow note with a folded corner, on a button face.
void StickyMark(HDC dc, int width, int height)
{
    Face(dc, width, height, false);
    const int side = std::max(4, height - 6);
    const int left = (width - side) / 2, top = 3;
    FillBox(dc, left, top, left + side, top + side, RGB(255, 232, 96));
    FillBox(dc, left + side * 2 / 3, top, left + side, top + side / 3, RGB(214, 180, 40));
    Line(dc, left + 2, top + side / 2, left + side - 2, top + side / 2, kShadow);
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

// A white hand with its index finger up, outlined in black, on the transparent key colour; the
// finger tip is at (11, 1) of a 32-pixel cursor. With a clock: a small clock face at the wrist.
void LinkHand(HDC dc, int width, int height, bool clock)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 0, 255));
    const POINT hand[] = {{9, 3},   {10, 1},  {12, 1},  {13, 3},  {13, 11}, {15, 10}, {17, 11}, {18, 12},
                          {20, 11}, {22, 12}, {23, 13}, {25, 13}, {26, 15}, {26, 21}, {24, 26}, {12, 26},
                          {6, 19},  {5, 16},  {6, 15},  {8, 16},  {9, 18}};
    const int n = static_cast<int>(sizeof(hand) / sizeof(hand[0]));
    Filled(dc, RGB(255, 255, 255), hand, n);
    for (int i = 0; i < n; ++i)
        Line(dc, hand[i].x, hand[i].y, hand[(i + 1) % n].x, hand[(i + 1) % n].y, RGB(0, 0, 0));
    Line(dc, 17, 12, 17, 17, RGB(0, 0, 0));
    Line(dc, 21, 12, 21, 17, RGB(0, 0, 0));
    if (clock) {
        HBRUSH brush = CreateSolidBrush(RGB(255, 255, 204));
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
        Ellipse(dc, 20, 20, 31, 31);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
        Line(dc, 25, 22, 25, 26, RGB(0, 0, 0));
        Line(dc, 25, 25, 28, 25, RGB(0, 0, 0));
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

// ---- thumbnails ---------------------------------------------------------------------------------

void TimelinePicture(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(166, 202, 240));
    const int bar = height * 2 / 3;
    FillBox(dc, 1, bar, width - 1, bar + 2, RGB(40, 4, 72));
    for (int x = 2; x < width - 1; x += 4)
        FillBox(dc, x, bar - 2, x + 1, bar, RGB(40, 4, 72));
    const COLORREF flags[3] = {RGB(204, 0, 0), RGB(0, 128, 0), RGB(255, 204, 0)};
    for (int i = 0; i < 3; ++i) {
        const int x = 4 + i * (width - 8) / 3;
        FillBox(dc, x, 2, x + 1, bar, RGB(40, 4, 72));
        FillBox(dc, x + 1, 2, x + 6, 6, flags[i]);
    }
}

void MediaFrame(HDC dc, int width, int height, int look)
{
    const COLORREF face = look == 1 ? RGB(72, 84, 120) : look == 2 ? RGB(150, 170, 220) : RGB(104, 120, 168);
    const COLORREF light = look == 1 ? RGB(40, 44, 64) : RGB(220, 228, 248);
    const COLORREF dark = look == 1 ? RGB(200, 208, 232) : RGB(24, 28, 48);
    FillBox(dc, 0, 0, width, height, face);
    Line(dc, 0, height - 1, 0, 0, light);
    Line(dc, 0, 0, width - 1, 0, light);
    Line(dc, width - 1, 0, width - 1, height - 1, dark);
    Line(dc, width - 1, height - 1, -1, height - 1, dark);
    if (look == 2 && width > 45) {
        // The pointer arrow in the extra room at the right.
        POINT arrow[] = {{47, height / 2 - 5}, {53, height / 2}, {47, height / 2 + 5}};
        Filled(dc, RGB(255, 204, 0), arrow, 3);
    }
}

void TabIndicator(HDC dc, int width, int height, bool chosen)
{
    FillBox(dc, 0, 0, width, height, RGB(198, 198, 222));
    HBRUSH brush = CreateSolidBrush(kLight);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(40, 4, 72));
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Ellipse(dc, 0, 0, width, height);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    if (chosen) {
        HBRUSH dot = CreateSolidBrush(RGB(40, 4, 72));
        HPEN dotPen = CreatePen(PS_SOLID, 1, RGB(40, 4, 72));
        oldBrush = SelectObject(dc, dot);
        oldPen = SelectObject(dc, dotPen);
        Ellipse(dc, 3, 3, width - 3, height - 3);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(dot);
        DeleteObject(dotPen);
    }
}

void Disc2Badge(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 204, 0));
    Line(dc, 0, 0, width - 1, 0, kDark);
    Line(dc, width - 1, 0, width - 1, height - 1, kDark);
    Line(dc, width - 1, height - 1, 0, height - 1, kDark);
    Line(dc, 0, height - 1, 0, 0, kDark);
    RECT box{0, 0, width, height};
    Text(dc, box, "2", height - 2, kDark, DT_CENTER);
}

}  // namespace


namespace {

// ---- the sample disc's pictures --------------------------------------------------------------

// Proportional coordinates: x and y in thousandths of the picture's width and height.
struct Frac {
    int width, height;
    int X(int t) const { return width * t / 1000; }
    int Y(int t) const { return height * t / 1000; }
    POINT P(int tx, int ty) const { return POINT{X(tx), Y(ty)}; }
};

void Disc(HDC dc, int cx, int cy, int rx, int ry, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Ellipse(dc, cx - rx, cy - ry, cx + rx + 1, cy + ry + 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// Horizontal bands from one colour to another.
void Gradient(HDC dc, int left, int top, int right, int bottom, COLORREF from, COLORREF to, int bands = 16)
{
    for (int i = 0; i < bands; ++i) {
        auto mix = [&](int a, int b) { return a + (b - a) * i / std::max(bands - 1, 1); };
        COLORREF c = RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
                         mix(GetBValue(from), GetBValue(to)));
        FillBox(dc, left, top + (bottom - top) * i / bands, right, top + (bottom - top) * (i + 1) / bands, c);
    }
}

void PlainText(HDC dc, int x, int y, const char* text, int height, COLORREF colour, bool bold = false)
{
    HFONT font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text, int(std::strlen(text)));
    SelectObject(dc, old);
    DeleteObject(font);
}

// The overlay control pad's face: a sand-coloured panel whose edge follows the rounded corners
// the pad is cut to, with its heading above the name box.
void ControlPadFace(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(231, 255, 255));
    Gradient(dc, 0, 0, width, height, RGB(246, 236, 204), RGB(214, 196, 150), 24);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(120, 96, 52));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, 1, width, height, 36, 36);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    pen = CreatePen(PS_SOLID, 1, RGB(255, 250, 232));
    SelectObject(dc, pen);
    RoundRect(dc, 3, 3, width - 2, height - 2, 32, 32);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    PlainText(dc, 16, 9, "MAP THEME", 12, RGB(90, 62, 20), true);
}

// A pale sky over two rolling green hills, fading into the view's fill at the bottom.
void BrowseGround(HDC dc, int width, int height)
{
    Gradient(dc, 0, 0, width, height, RGB(214, 236, 255), RGB(255, 255, 231), 24);
    Disc(dc, width / 4, height + height / 3, width / 2, height * 2 / 3, RGB(186, 222, 170));
    Disc(dc, width * 3 / 4, height + height / 2, width / 2, height * 3 / 4, RGB(160, 206, 150));
    Disc(dc, width - height / 2, height / 3, height / 5, height / 5, RGB(255, 226, 120));
}

// The console of the browsing view: a rounded slate body with a bevel, the wells of the two
// drop-down captions (14..110 and 185..281, rows 42..58), of the FIND caption (34..261, rows
// 67..83) and of the two buttons (the centre column).
void BrowseDevice(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 255, 231));
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(40, 52, 84));
    HBRUSH body = CreateSolidBrush(RGB(92, 112, 160));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, body);
    RoundRect(dc, 1, 1, width, height, 40, 40);
    SelectObject(dc, oldBrush);
    DeleteObject(body);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    pen = CreatePen(PS_SOLID, 1, RGB(176, 192, 228));
    SelectObject(dc, pen);
    RoundRect(dc, 4, 4, width - 3, height - 3, 34, 34);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    const COLORREF well = RGB(52, 66, 104);
    FillBox(dc, 12, 40, 112, 60, well);
    FillBox(dc, 183, 40, 283, 60, well);
    FillBox(dc, 32, 65, 263, 85, well);
    FillBox(dc, 107, 34, 187, 66, well);
    FillBox(dc, 111, 84, 183, 112, well);
    PlainText(dc, 14, 24, "CATEGORY", 12, RGB(230, 236, 255), true);
    PlainText(dc, 185, 24, "CONTENT", 12, RGB(230, 236, 255), true);
    PlainText(dc, 120, 10, "DADA VAVEROZ", 12, RGB(255, 226, 120), true);
}

// The time machine's panel: a plate in warm brass with a rounded rim, the heading, and the
// sunken well behind the year digits and the arrows.
void TimeMachineFace(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(231, 255, 255));
    Gradient(dc, 0, 0, width, height, RGB(92, 120, 168), RGB(40, 60, 104), 24);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(212, 176, 92));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, 1, width, height, 18, 18);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    PlainText(dc, 12, 6, "TIME MACHINE", 13, RGB(255, 226, 140), true);
    FillBox(dc, 26, 69, width - 24, 102, RGB(24, 36, 64));
    FillBox(dc, 27, 70, width - 25, 101, RGB(16, 24, 44));
    FillBox(dc, 4, 106, width - 4, 144, RGB(24, 36, 64));
}

// The thumbnail grid's ground: a pale sky, a faint timeline with year ticks across its top.
void TimeGround(HDC dc, int width, int height)
{
    Gradient(dc, 0, 0, width, height, RGB(255, 249, 224), RGB(246, 238, 200), 24);
    const int y = 24;
    Line(dc, 180, y, width - 10, y, RGB(214, 200, 150), 2);
    for (int x = 190, i = 0; x < width - 10; x += 40, ++i)
        Line(dc, x, y - (i % 5 == 0 ? 8 : 4), x, y + (i % 5 == 0 ? 8 : 4), RGB(214, 200, 150), 1);
}

// A status field's label: the dark blue field with its caption in small gold letters at the top
// left (a label drawn higher than its field keeps its caption in the part that shows).
void StatusFieldLabel(HDC dc, int width, int height, const char* label)
{
    FillBox(dc, 0, 0, width, height, RGB(32, 64, 104));
    const int top = height > 40 ? height - 40 : 0;
    FillBox(dc, 0, top, width, top + 1, RGB(70, 110, 160));
    PlainText(dc, 4, top + 1, label, 10, RGB(255, 214, 110), true);
}

// The panel's clock: a round face with two hands.
void ClockPicture(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(40, 60, 104));
    const int cx = width / 2, cy = height / 2, r = std::min(width, height) / 2 - 1;
    Disc(dc, cx, cy, r, r, RGB(212, 176, 92));
    Disc(dc, cx, cy, r - 2, r - 2, RGB(255, 252, 236));
    Line(dc, cx, cy, cx, cy - r + 4, RGB(0, 0, 0), 2);
    Line(dc, cx, cy, cx + r - 5, cy + 1, RGB(0, 0, 0), 2);
}

// A magnifying glass over a small globe.
void MapSearchBadge(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 255, 255));
    const int r = std::min(width, height) / 3;
    Disc(dc, r + 2, r + 2, r, r, RGB(40, 110, 200));
    Disc(dc, r, r + 1, r / 2, r / 3, RGB(60, 160, 70));
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(30, 30, 30));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, 2, 2, 2 * r + 3, 2 * r + 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    Line(dc, 2 * r, 2 * r, width - 2, height - 2, RGB(30, 30, 30), 3);
}

void PhotoMonoplane(HDC dc, int width, int height)
{
    Frac f{width, height};
    Gradient(dc, 0, 0, width, f.Y(700), RGB(70, 120, 200), RGB(190, 215, 240));
    Disc(dc, f.X(200), f.Y(180), f.X(90), f.Y(50), RGB(245, 245, 250));
    Disc(dc, f.X(280), f.Y(160), f.X(70), f.Y(60), RGB(250, 250, 252));
    Disc(dc, f.X(760), f.Y(260), f.X(110), f.Y(45), RGB(238, 240, 246));
    Gradient(dc, 0, f.Y(700), width, height, RGB(110, 170, 70), RGB(60, 120, 40), 8);
    Line(dc, 0, f.Y(820), width, f.Y(760), RGB(150, 130, 80), std::max(2, height / 60));
    // The monoplane, nose up, climbing to the right.
    POINT body[] = {f.P(380, 520), f.P(640, 400), f.P(700, 385), f.P(690, 420), f.P(400, 555)};
    Filled(dc, RGB(200, 40, 40), body, 5);
    POINT wing[] = {f.P(500, 470), f.P(560, 440), f.P(520, 600), f.P(480, 610)};
    Filled(dc, RGB(170, 25, 25), wing, 4);
    POINT tail[] = {f.P(380, 520), f.P(360, 430), f.P(410, 505)};
    Filled(dc, RGB(170, 25, 25), tail, 3);
    Line(dc, f.X(705), f.Y(350), f.X(705), f.Y(430), RGB(60, 60, 60), 2);
    Disc(dc, f.X(620), f.Y(420), f.X(15), f.Y(15), RGB(150, 200, 230));
}

void PhotoBiplane(HDC dc, int width, int height)
{
    Frac f{width, height};
    Gradient(dc, 0, 0, width, f.Y(780), RGB(120, 170, 225), RGB(225, 235, 245));
    Disc(dc, f.X(150), f.Y(220), f.X(100), f.Y(40), RGB(250, 250, 252));
    Disc(dc, f.X(820), f.Y(160), f.X(90), f.Y(35), RGB(244, 246, 250));
    // Fields in strips below the horizon.
    const COLORREF fields[] = {RGB(150, 180, 80), RGB(190, 170, 90), RGB(110, 160, 70), RGB(170, 190, 100)};
    for (int i = 0; i < 4; ++i)
        FillBox(dc, 0, f.Y(780 + i * 55), width, f.Y(835 + i * 55), fields[i]);
    // The biplane, flying level to the left: two wings, struts between them, a round engine.
    POINT body[] = {f.P(300, 470), f.P(700, 450), f.P(740, 420), f.P(760, 470), f.P(700, 500), f.P(300, 510)};
    Filled(dc, RGB(230, 190, 30), body, 6);
    FillBox(dc, f.X(360), f.Y(360), f.X(560), f.Y(385), RGB(200, 150, 20));  // upper wing
    FillBox(dc, f.X(350), f.Y(520), f.X(550), f.Y(545), RGB(200, 150, 20));  // lower wing
    for (int x : {380, 520})
        Line(dc, f.X(x), f.Y(385), f.X(x), f.Y(520), RGB(90, 70, 40), 2);
    POINT tail[] = {f.P(700, 450), f.P(745, 380), f.P(765, 385), f.P(740, 460)};
    Filled(dc, RGB(200, 150, 20), tail, 4);
    Disc(dc, f.X(295), f.Y(490), f.X(18), f.Y(30), RGB(80, 80, 80));
    Line(dc, f.X(285), f.Y(420), f.X(285), f.Y(560), RGB(60, 60, 60), 2);  // the propeller
}

void PhotoLavaNight(HDC dc, int width, int height)
{
    Frac f{width, height};
    Gradient(dc, 0, 0, width, f.Y(650), RGB(5, 5, 30), RGB(60, 20, 40));
    for (int i = 0; i < 40; ++i)
        FillBox(dc, (i * 97) % width, (i * 53) % f.Y(500), (i * 97) % width + 2, (i * 53) % f.Y(500) + 2,
                RGB(230, 230, 200));
    Disc(dc, f.X(500), f.Y(520), f.X(320), f.Y(160), RGB(120, 40, 20));  // the glow
    POINT cone[] = {f.P(0, 900), f.P(300, 560), f.P(440, 470), f.P(560, 470), f.P(720, 580), f.P(1000, 880), f.P(1000, 1000), f.P(0, 1000)};
    Filled(dc, RGB(45, 30, 25), cone, 8);
    POINT fountain[] = {f.P(470, 470), f.P(430, 200), f.P(500, 120), f.P(570, 220), f.P(530, 470)};
    Filled(dc, RGB(240, 120, 20), fountain, 5);
    POINT core[] = {f.P(485, 470), f.P(470, 260), f.P(500, 190), f.P(530, 270), f.P(515, 470)};
    Filled(dc, RGB(255, 220, 60), core, 5);
    POINT flow[] = {f.P(480, 470), f.P(520, 470), f.P(600, 700), f.P(660, 1000), f.P(560, 1000), f.P(520, 720)};
    Filled(dc, RGB(230, 90, 10), flow, 6);
    for (int i = 0; i < 12; ++i)
        Disc(dc, f.X(380 + i * 20), f.Y(150 + (i * 37) % 200), 3, 3, RGB(255, 200, 80));
}

void PhotoLeaves(HDC dc, int width, int height)
{
    Frac f{width, height};
    Gradient(dc, 0, 0, width, height, RGB(250, 245, 200), RGB(120, 170, 220));
    Disc(dc, f.X(720), f.Y(250), f.X(110), f.X(110), RGB(255, 250, 210));
    Disc(dc, f.X(720), f.Y(250), f.X(80), f.X(80), RGB(255, 255, 240));
    const struct {
        int x, y, w, h;
        COLORREF colour;
    } leaves[] = {{180, 300, 170, 110, RGB(80, 170, 60)}, {380, 520, 200, 120, RGB(110, 190, 70)},
                  {600, 650, 180, 110, RGB(60, 150, 50)}, {250, 760, 160, 100, RGB(130, 200, 80)},
                  {820, 560, 150, 100, RGB(90, 180, 70)}};
    Line(dc, 0, f.Y(950), f.X(900), f.Y(200), RGB(100, 70, 40), std::max(3, width / 80));
    for (const auto& l : leaves) {
        Disc(dc, f.X(l.x), f.Y(l.y), f.X(l.w) / 2, f.Y(l.h) / 2, l.colour);
        Line(dc, f.X(l.x - l.w / 2), f.Y(l.y), f.X(l.x + l.w / 2), f.Y(l.y), RGB(40, 100, 30));
        for (int k = -1; k <= 1; k += 2)
            Line(dc, f.X(l.x), f.Y(l.y), f.X(l.x + l.w / 4), f.Y(l.y + k * l.h / 3), RGB(40, 100, 30));
    }
}

void PhotoBand(HDC dc, int width, int height)
{
    Frac f{width, height};
    Gradient(dc, 0, 0, width, f.Y(650), RGB(60, 20, 30), RGB(20, 10, 20));
    FillBox(dc, 0, f.Y(650), width, height, RGB(90, 50, 30));
    Disc(dc, f.X(500), f.Y(150), f.X(300), f.Y(120), RGB(110, 60, 50));  // the spotlight
    const struct {
        int x;
        COLORREF shirt;
    } players[] = {{200, RGB(40, 70, 150)}, {420, RGB(160, 40, 40)}, {640, RGB(230, 230, 220)}, {840, RGB(60, 120, 60)}};
    for (const auto& p : players) {
        FillBox(dc, f.X(p.x - 60), f.Y(420), f.X(p.x + 60), f.Y(780), p.shirt);
        Disc(dc, f.X(p.x), f.Y(340), f.X(45), f.Y(60), RGB(200, 150, 110));
    }
    // The trumpet of the second player, and the bass.
    POINT horn[] = {f.P(440, 380), f.P(600, 360), f.P(640, 330), f.P(640, 410), f.P(600, 385), f.P(440, 395)};
    Filled(dc, RGB(240, 200, 60), horn, 6);
    Disc(dc, f.X(840), f.Y(650), f.X(70), f.Y(140), RGB(150, 80, 30));
    Line(dc, f.X(840), f.Y(250), f.X(840), f.Y(650), RGB(40, 25, 10), 3);
    for (int i = 0; i < 6; ++i)
        Disc(dc, f.X(60 + i * 180), f.Y(930), f.X(60), f.Y(70), RGB(30, 20, 20));  // the crowd
}

void MapGreatLakes(HDC dc, int width, int height)
{
    Frac f{width, height};
    FillBox(dc, 0, 0, width, height, RGB(236, 226, 190));
    for (int i = 1; i < 6; ++i) {
        Line(dc, f.X(i * 166), 0, f.X(i * 166), height, RGB(200, 190, 160));
        Line(dc, 0, f.Y(i * 166), width, f.Y(i * 166), RGB(200, 190, 160));
    }
    const COLORREF water = RGB(70, 130, 200);
    POINT superior[] = {f.P(60, 200), f.P(250, 120), f.P(420, 140), f.P(470, 230), f.P(330, 280), f.P(150, 270)};
    POINT michigan[] = {f.P(400, 330), f.P(460, 320), f.P(480, 560), f.P(430, 700), f.P(390, 620), f.P(410, 450)};
    POINT huron[] = {f.P(520, 300), f.P(620, 320), f.P(680, 470), f.P(600, 520), f.P(540, 420)};
    POINT erie[] = {f.P(620, 640), f.P(760, 560), f.P(830, 560), f.P(700, 660)};
    POINT ontario[] = {f.P(800, 470), f.P(930, 440), f.P(950, 480), f.P(820, 510)};
    Filled(dc, water, superior, 6);
    Filled(dc, water, michigan, 6);
    Filled(dc, water, huron, 5);
    Filled(dc, water, erie, 4);
    Filled(dc, water, ontario, 4);
    Line(dc, f.X(470), f.Y(230), f.X(540), f.Y(320), water, 3);  // St Marys
    Line(dc, f.X(650), f.Y(510), f.X(660), f.Y(630), water, 3);  // St Clair and Detroit
    Line(dc, f.X(830), f.Y(560), f.X(830), f.Y(500), water, 3);  // Niagara
    Line(dc, f.X(950), f.Y(470), f.X(1000), f.Y(400), water, 3); // St Lawrence
    const struct {
        int x, y;
    } cities[] = {{430, 720}, {650, 600}, {880, 520}, {300, 300}};
    for (const auto& c : cities)
        Disc(dc, f.X(c.x), f.Y(c.y), std::max(3, width / 120), std::max(3, width / 120), RGB(200, 30, 30));
    const int text = std::max(9, height / 28);
    PlainText(dc, f.X(160), f.Y(170), "Superior", text, RGB(255, 255, 255), true);
    PlainText(dc, f.X(330), f.Y(740), "Michigan", text, RGB(20, 50, 110), true);
    PlainText(dc, f.X(560), f.Y(260), "Huron", text, RGB(20, 50, 110), true);
    PlainText(dc, f.X(690), f.Y(680), "Erie", text, RGB(20, 50, 110), true);
    PlainText(dc, f.X(800), f.Y(390), "Ontario", text, RGB(20, 50, 110), true);
}

void MapWorld(HDC dc, int width, int height)
{
    Frac f{width, height};
    FillBox(dc, 0, 0, width, height, RGB(90, 150, 210));
    const COLORREF land = RGB(200, 190, 120);
    POINT americas[] = {f.P(80, 150), f.P(300, 120), f.P(330, 350), f.P(260, 450), f.P(330, 600), f.P(300, 880), f.P(240, 860), f.P(200, 560), f.P(120, 400)};
    POINT eurasia[] = {f.P(460, 140), f.P(900, 120), f.P(960, 300), f.P(820, 450), f.P(700, 420), f.P(600, 380), f.P(480, 330)};
    POINT africa[] = {f.P(470, 380), f.P(610, 400), f.P(640, 560), f.P(560, 780), f.P(500, 620)};
    POINT australia[] = {f.P(800, 620), f.P(920, 600), f.P(940, 720), f.P(820, 740)};
    Filled(dc, land, americas, 9);
    Filled(dc, land, eurasia, 7);
    Filled(dc, land, africa, 5);
    Filled(dc, land, australia, 4);
    // Plate edges and their volcanoes: around the Pacific and through the Atlantic.
    const COLORREF edge = RGB(120, 40, 40);
    POINT ring[] = {f.P(100, 130), f.P(60, 450), f.P(180, 900), f.P(990, 880), f.P(990, 450), f.P(930, 130)};
    for (int i = 0; i + 1 < 6; ++i)
        Line(dc, ring[i].x, ring[i].y, ring[i + 1].x, ring[i + 1].y, edge, 2);
    Line(dc, f.X(400), f.Y(100), f.X(420), f.Y(900), edge, 2);
    const struct {
        int x, y;
    } volcanoes[] = {{90, 250}, {120, 600}, {180, 860}, {960, 250}, {975, 600}, {410, 300}, {415, 650}, {700, 890}};
    for (const auto& v : volcanoes) {
        POINT mark[] = {{f.X(v.x), f.Y(v.y) - 7}, {f.X(v.x) + 7, f.Y(v.y) + 5}, {f.X(v.x) - 7, f.Y(v.y) + 5}};
        Filled(dc, RGB(220, 30, 20), mark, 3);
    }
}

void MapLegend(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 255, 255));
    Line(dc, 0, 0, width - 1, 0, RGB(0, 0, 0));
    Line(dc, width - 1, 0, width - 1, height - 1, RGB(0, 0, 0));
    Line(dc, width - 1, height - 1, 0, height - 1, RGB(0, 0, 0));
    Line(dc, 0, height - 1, 0, 0, RGB(0, 0, 0));
    const int row = height / 4;
    const int text = std::max(9, row * 2 / 3);
    PlainText(dc, 8, 4, "Legend", text, RGB(0, 0, 0), true);
    FillBox(dc, 8, row + 4, 30, 2 * row - 2, RGB(70, 130, 200));
    PlainText(dc, 38, row + 2, "Water", text, RGB(0, 0, 0));
    Disc(dc, 19, 2 * row + row / 2, 5, 5, RGB(200, 30, 30));
    PlainText(dc, 38, 2 * row + 2, "City", text, RGB(0, 0, 0));
    POINT mark[] = {{19, 3 * row + 3}, {27, 4 * row - 4}, {11, 4 * row - 4}};
    Filled(dc, RGB(220, 30, 20), mark, 3);
    PlainText(dc, 38, 3 * row + 2, "Volcano", text, RGB(0, 0, 0));
}

}  // namespace

// The toolbar's colours: a deep blue face, lit a lighter blue under the cursor, gold when
// latched, grey when disabled.
const COLORREF kToolFace = RGB(0, 51, 102);
const COLORREF kToolLit = RGB(30, 100, 170);
const COLORREF kToolLatched = RGB(255, 204, 51);
const COLORREF kToolDisabled = RGB(150, 150, 150);

// The sign of a toolbar or Tool Kit button, in the box, by the button's label.
void ToolSign(HDC dc, const RECT& box, const char* label, COLORREF ink)
{
    const int w = box.right - box.left, h = box.bottom - box.top;
    const int cx = box.left + w / 2, cy = box.top + h / 2;
    const int r = std::max(3, std::min(w, h) / 2 - 1);
    auto is = [&](const char* name) { return std::strcmp(label, name) == 0; };
    if (is("Back") || is("Forward")) {
        int d = is("Back") ? -1 : 1;
        POINT arrow[] = {{cx + d * r, cy}, {cx, cy - r}, {cx, cy - r / 2}, {cx - d * r, cy - r / 2},
                         {cx - d * r, cy + r / 2}, {cx, cy + r / 2}, {cx, cy + r}};
        Filled(dc, ink, arrow, 7);
    } else if (is("Home")) {
        POINT roof[] = {{cx - r, cy}, {cx, cy - r}, {cx + r, cy}};
        Filled(dc, ink, roof, 3);
        FillBox(dc, cx - r * 2 / 3, cy, cx + r * 2 / 3, cy + r, ink);
    } else if (is("Stop")) {
        FillBox(dc, cx - r * 3 / 4, cy - r * 3 / 4, cx + r * 3 / 4, cy + r * 3 / 4, ink);
    } else if (is("Search")) {
        Disc(dc, cx - r / 4, cy - r / 4, r * 2 / 3, r * 2 / 3, ink);
        Line(dc, cx + r / 4, cy + r / 4, cx + r, cy + r, ink, std::max(2, r / 3));
    } else if (is("Dictionary") || is("Article")) {
        FillBox(dc, cx - r, cy - r * 2 / 3, cx - 1, cy + r * 2 / 3, ink);
        FillBox(dc, cx + 1, cy - r * 2 / 3, cx + r, cy + r * 2 / 3, ink);
    } else if (is("Atlas")) {
        Disc(dc, cx, cy, r, r, ink);
        Line(dc, cx - r, cy, cx + r, cy, kToolFace);
        Line(dc, cx, cy - r, cx, cy + r, kToolFace);
    } else if (is("Dido Dovov")) {
        Disc(dc, cx, cy, r, r, ink);
        Line(dc, cx, cy, cx, cy - r * 2 / 3, kToolFace, 2);
        Line(dc, cx, cy, cx + r / 2, cy, kToolFace, 2);
    } else if (is("VL Plus")) {
        FillBox(dc, cx - r, cy - r / 4, cx + r, cy + r / 4 + 1, ink);
        FillBox(dc, cx - r / 4, cy - r, cx + r / 4 + 1, cy + r, ink);
    } else if (is("Tool Kit") || is("Print")) {
        FillBox(dc, cx - r, cy - r / 3, cx + r, cy + r * 2 / 3, ink);
        FillBox(dc, cx - r / 2, cy - r, cx + r / 2, cy - r / 3, ink);
    } else if (is("Note")) {
        POINT note[] = {{cx - r, cy - r}, {cx + r, cy - r}, {cx + r, cy + r / 3}, {cx + r / 3, cy + r}, {cx - r, cy + r}};
        Filled(dc, ink, note, 5);
    } else if (is("Marker")) {
        POINT pen[] = {{cx - r, cy + r}, {cx - r / 2, cy + r / 4}, {cx + r / 2, cy - r}, {cx + r, cy - r / 2},
                       {cx - r / 4, cy + r / 2}};
        Filled(dc, ink, pen, 5);
    } else {
        POINT star[] = {{cx, cy - r}, {cx + r / 3, cy - r / 3}, {cx + r, cy}, {cx + r / 3, cy + r / 3},
                        {cx, cy + r}, {cx - r / 3, cy + r / 3}, {cx - r, cy}, {cx - r / 3, cy - r / 3}};
        Filled(dc, ink, star, 8);
    }
}

// A toolbar or Tool Kit button: its sign above its label on a bevelled face.
void ToolButton(HDC dc, int width, int height, const char* label, Look look)
{
    const bool sunken = look == Look::ToolButtonPressed || look == Look::ToolButtonLatched;
    COLORREF face = kToolFace, ink = kLight;
    if (look == Look::ToolButtonLit)
        face = kToolLit;
    else if (look == Look::ToolButtonLatched)
        face = kToolLatched, ink = kMenuSky;
    else if (look == Look::ToolButtonDisabled)
        face = kToolDisabled, ink = RGB(210, 210, 210);
    FillBox(dc, 0, 0, width, height, face);
    COLORREF topLeft = sunken ? kDark : RGB(120, 170, 220), bottomRight = sunken ? RGB(120, 170, 220) : kDark;
    Line(dc, 0, height - 1, 0, 0, topLeft);
    Line(dc, 0, 0, width - 1, 0, topLeft);
    Line(dc, width - 1, 0, width - 1, height - 1, bottomRight);
    Line(dc, width - 1, height - 1, -1, height - 1, bottomRight);
    const int shift = sunken ? 1 : 0;
    // Wide or tall buttons carry their label under the sign; the small Tool Kit tools only
    // the sign. A one-word label that one line would shrink below a readable size (11 pixels, or
    // three quarters of the label's height on large buttons) takes the narrow cut of the face, bold
    // as its neighbours; a label of two words below 11 pixels goes on two lines (the sign gives up
    // the room).
    constexpr int kReadableLabel = 11;
    const bool labelled = height >= 44;
    const int labelHeight = labelled ? std::max(9, height / 4) : 0;
    std::string lines[2] = {label, ""};
    int lineHeight = labelled ? LabelHeight(dc, label, labelHeight, width - 4) : 0;
    int labelArea = labelHeight;
    const char* labelFace = kLabelFace;
    const int readable = std::max(kReadableLabel, labelHeight * 3 / 4);
    if (labelled && lineHeight < readable && std::strchr(label, ' ') == nullptr) {
        const int narrowHeight = LabelHeight(dc, label, labelHeight, width - 4, FW_BOLD, kNarrowLabelFace);
        if (narrowHeight > lineHeight) {
            labelFace = kNarrowLabelFace;
            lineHeight = narrowHeight;
        }
    }
    if (const char* space = std::strchr(label, ' '); labelled && lineHeight < kReadableLabel && space != nullptr) {
        lines[0].assign(label, space);
        lines[1] = space + 1;
        const int fit = std::max(kReadableLabel, labelHeight * 3 / 4);
        lineHeight = std::min(LabelHeight(dc, lines[0].c_str(), fit, width - 4),
                              LabelHeight(dc, lines[1].c_str(), fit, width - 4));
        labelArea = 2 * lineHeight + 1;
    }
    RECT sign{3 + shift, 3 + shift, width - 3 + shift, height - 3 - labelArea + shift};
    ToolSign(dc, sign, label, ink);
    if (labelled) {
        const int lineCount = lines[1].empty() ? 1 : 2;
        const int pitch = lineCount == 1 ? labelArea : lineHeight + 1;
        for (int i = 0; i < lineCount; ++i) {
            const int top = height - 2 - labelArea + i * pitch + shift;
            RECT text{1 + shift, top, width - 1 + shift, top + pitch};
            Text(dc, text, lines[i].c_str(), lineHeight, ink, DT_CENTER, FW_BOLD, labelFace);
        }
    }
}

// One frame of the VL Plus button's animation at (x, y): a globe on the row's face, with
// `waves` arcs of signal (connected) or an arrow at `step` of 12 turns round it (downloading).
void ActivityFrame(HDC dc, int x, int y, int w, int h, int row, int waves, int step)
{
    const COLORREF face = row == 0 ? kToolFace : row == 1 ? kToolLit : Darker(kToolFace);
    FillBox(dc, x, y, x + w, y + h, face);
    const int cx = x + w / 2 + (row == 2 ? 1 : 0), cy = y + h / 2 + (row == 2 ? 1 : 0);
    const int r = std::max(3, std::min(w, h) / 4);
    Disc(dc, cx, cy, r, r, RGB(40, 120, 200));
    Line(dc, cx - r, cy, cx + r, cy, RGB(120, 200, 120));
    Line(dc, cx, cy - r, cx, cy + r, RGB(120, 200, 120));
    if (waves > 0) {
        for (int i = 1; i <= waves; ++i) {
            const int d = r + i * std::max(2, r / 2);
            Line(dc, cx + d, cy - d / 2, cx + d, cy + d / 2, kToolLatched, 1);
            Line(dc, cx - d, cy - d / 2, cx - d, cy + d / 2, kToolLatched, 1);
        }
    } else {
        static const int kCos[12] = {1000, 866, 500, 0, -500, -866, -1000, -866, -500, 0, 500, 866};
        const int ring = r + std::max(2, r / 2) + 1;
        const int ax = cx + kCos[step % 12] * ring / 1000, ay = cy - kCos[(step + 9) % 12] * ring / 1000;
        Disc(dc, ax, ay, std::max(1, r / 3), std::max(1, r / 3), kToolLatched);
        Line(dc, ax, ay - 3, ax, ay + 3, kLight);
        Line(dc, ax - 2, ay + 1, ax, ay + 3, kLight);
        Line(dc, ax + 2, ay + 1, ax, ay + 3, kLight);
    }
    if (row == 2) {
        Line(dc, x, y, x + w - 1, y, kDark);
        Line(dc, x, y, x, y + h - 1, kDark);
    }
}

void ActivityStrip(HDC dc, int width, int height, int frames, bool connected)
{
    const int w = width / frames, h = height / 3;
    for (int row = 0; row < 3; ++row)
        for (int f = 0; f < frames; ++f)
            ActivityFrame(dc, f * w, row * h, w, h, row, connected ? f + 1 : 0, f);
}

// The Update Now button's four cells: a tray and an arrow coming down into it.
void UpdateNowCells(HDC dc, int width, int height)
{
    const int cell = width / 4;
    for (int f = 0; f < 4; ++f) {
        const int x = f * cell;
        FillBox(dc, x, 0, x + cell, height, kToolFace);
        Line(dc, x, 0, x + cell - 1, 0, RGB(120, 170, 220));
        Line(dc, x, 0, x, height - 1, RGB(120, 170, 220));
        Line(dc, x + cell - 1, 0, x + cell - 1, height - 1, kDark);
        Line(dc, x, height - 1, x + cell, height - 1, kDark);
        // The tray.
        Line(dc, x + 10, height - 14, x + 10, height - 8, kLight, 2);
        Line(dc, x + 10, height - 8, x + cell - 10, height - 8, kLight, 2);
        Line(dc, x + cell - 10, height - 8, x + cell - 10, height - 14, kLight, 2);
        // The arrow, lower in each cell.
        const int top = 6 + f * 5, mid = x + cell / 2;
        Line(dc, mid, top, mid, top + 16, kToolLatched, 3);
        POINT head[3] = {{mid - 7, top + 12}, {mid + 7, top + 12}, {mid, top + 20}};
        Filled(dc, kToolLatched, head, 3);
    }
}

// The article view's ground: a deep gradient in the domain's tint with a lighter rule under the
// title band.
void ArticleGround(HDC dc, int width, int height, const char* label)
{
    static const COLORREF tints[] = {RGB(52, 52, 112), RGB(40, 84, 110), RGB(96, 56, 40), RGB(40, 92, 60),
                                     RGB(88, 40, 92),  RGB(100, 84, 32), RGB(60, 60, 60), RGB(32, 72, 96)};
    const int n = label[0] >= '0' && label[0] <= '7' ? label[0] - '0' : 0;
    const COLORREF tint = tints[n];
    Gradient(dc, 0, 0, width, height, tint, Darker(Darker(tint)), 24);
    FillBox(dc, 0, height / 16, width, height / 16 + 2, RGB(198, 198, 222));
}

// The link hand with a badge at its wrist: a written page (an article) or a globe (a map).
void BadgedHand(HDC dc, int width, int height, bool globe)
{
    LinkHand(dc, width, height, false);
    if (globe) {
        Disc(dc, 25, 25, 6, 6, RGB(0, 0, 0));
        Disc(dc, 25, 25, 5, 5, RGB(40, 110, 210));
        POINT land[] = {{22, 21}, {25, 22}, {24, 25}, {27, 27}, {25, 29}, {22, 26}};
        Filled(dc, RGB(60, 160, 60), land, 6);
        return;
    }
    FillBox(dc, 20, 18, 30, 31, RGB(0, 0, 0));
    FillBox(dc, 21, 19, 29, 30, RGB(255, 255, 255));
    for (int y = 21; y <= 28; y += 2)
        Line(dc, 22, y, y == 28 ? 25 : 28, y, RGB(0, 0, 128));
}

// The cursor while a hot-spot sound plays: a black speaker with three waves, outlined in white
// so that it shows on dark pictures too.
void SoundPlaying(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 0, 255));
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            Speaker(dc, 12 + dx, 16 + dy, 4, RGB(255, 255, 255), 3, 2);
    Speaker(dc, 12, 16, 4, RGB(0, 0, 0), 3, 1);
}

// A sound item's picture: a loudspeaker cabinet with its cone and the waves it sends out, on a
// soft blue gradient.
void SoundItemPicture(HDC dc, int width, int height)
{
    Gradient(dc, 0, 0, width, height, RGB(210, 225, 245), RGB(120, 150, 200), 24);
    const int cx = width * 2 / 5, cy = height / 2;
    const int boxW = std::max(height * 2 / 5, 8), boxH = height * 7 / 10;
    FillBox(dc, cx - boxW / 2 - 2, cy - boxH / 2 - 2, cx + boxW / 2 + 2, cy + boxH / 2 + 2, RGB(30, 30, 40));
    FillBox(dc, cx - boxW / 2, cy - boxH / 2, cx + boxW / 2, cy + boxH / 2, RGB(90, 70, 55));
    Disc(dc, cx, cy - boxH / 5, boxW / 6, boxW / 6, RGB(30, 30, 40));
    Disc(dc, cx, cy + boxH / 6, boxW / 3, boxW / 3, RGB(30, 30, 40));
    Disc(dc, cx, cy + boxH / 6, boxW / 6, boxW / 6, RGB(150, 150, 160));
    const int s = std::max(height / 14, 2);
    for (int wave = 1; wave <= 3; ++wave) {
        const int x = cx + boxW / 2 + wave * s * 2;
        Line(dc, x, cy - wave * s * 2, x + s + wave * s / 2, cy, RGB(255, 255, 255), 3);
        Line(dc, x + s + wave * s / 2, cy, x, cy + wave * s * 2, RGB(255, 255, 255), 3);
    }
}

// A yellow note pad with ruled lines, its binding at the top and a pencil across it.
void NotePadIcon(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(255, 0, 255));
    const int u = std::max(1, width / 16);
    FillBox(dc, 2 * u, 2 * u, 13 * u, 15 * u, RGB(64, 64, 64));
    FillBox(dc, 3 * u, 3 * u, 12 * u, 14 * u, RGB(255, 250, 170));
    FillBox(dc, 2 * u, 1 * u, 13 * u, 3 * u, RGB(150, 40, 40));
    for (int line = 0; line < 5; ++line)
        FillBox(dc, 4 * u, (5 + 2 * line) * u, 11 * u, (5 + 2 * line) * u + std::max(1, u / 2), RGB(90, 110, 190));
    Line(dc, 8 * u, 13 * u, 15 * u, 6 * u, RGB(230, 160, 30), std::max(2, u + u / 2));
    Line(dc, 7 * u, 14 * u, 8 * u, 13 * u, RGB(40, 40, 40), std::max(1, u));
}

// The editor's toolbar pictures, 16 by 15 each: New, Open, Save, Cut, Copy, Paste, Print, About.
void EditorToolStrip(HDC dc, int width, int height)
{
    FillBox(dc, 0, 0, width, height, RGB(192, 192, 192));
    const COLORREF ink = RGB(0, 0, 0);
    auto page = [&](int x, int y, int w, int h) {
        FillBox(dc, x, y, x + w, y + h, ink);
        FillBox(dc, x + 1, y + 1, x + w - 1, y + h - 1, RGB(255, 255, 255));
    };
    // New: a blank page with a folded corner.
    page(3, 1, 10, 13);
    Line(dc, 9, 1, 12, 4, ink);
    // Open: a yellow folder, its flap lifted.
    int x = 16;
    FillBox(dc, x + 1, 4, x + 14, 13, ink);
    FillBox(dc, x + 2, 5, x + 13, 12, RGB(255, 220, 80));
    FillBox(dc, x + 2, 3, x + 7, 5, RGB(255, 220, 80));
    Line(dc, x + 4, 8, x + 15, 8, RGB(160, 120, 0));
    // Save: a floppy disc.
    x = 32;
    FillBox(dc, x + 1, 1, x + 15, 14, ink);
    FillBox(dc, x + 2, 2, x + 14, 13, RGB(0, 64, 160));
    FillBox(dc, x + 4, 2, x + 12, 7, RGB(255, 255, 255));
    FillBox(dc, x + 5, 9, x + 11, 13, RGB(160, 160, 160));
    // Cut: scissors.
    x = 48;
    Line(dc, x + 4, 1, x + 10, 9, ink);
    Line(dc, x + 11, 1, x + 5, 9, ink);
    FillBox(dc, x + 2, 9, x + 6, 13, ink);
    FillBox(dc, x + 3, 10, x + 5, 12, RGB(192, 192, 192));
    FillBox(dc, x + 9, 9, x + 13, 13, ink);
    FillBox(dc, x + 10, 10, x + 12, 12, RGB(192, 192, 192));
    // Copy: two pages, one over the other.
    x = 64;
    page(x + 1, 1, 8, 10);
    page(x + 6, 4, 8, 10);
    for (int line = 0; line < 3; ++line)
        Line(dc, x + 8, 7 + 2 * line, x + 12, 7 + 2 * line, RGB(0, 0, 128));
    // Paste: a clipboard with a page.
    x = 80;
    FillBox(dc, x + 1, 2, x + 12, 14, RGB(128, 80, 0));
    FillBox(dc, x + 4, 1, x + 9, 4, ink);
    page(x + 6, 5, 9, 10);
    // Print: a printer with a sheet.
    x = 96;
    page(x + 4, 1, 8, 6);
    FillBox(dc, x + 1, 6, x + 15, 12, ink);
    FillBox(dc, x + 2, 7, x + 14, 11, RGB(160, 160, 160));
    FillBox(dc, x + 11, 8, x + 13, 9, RGB(0, 160, 0));
    page(x + 4, 10, 8, 5);
    // About: a question mark in a speech bubble.
    x = 112;
    FillBox(dc, x + 2, 1, x + 14, 11, ink);
    FillBox(dc, x + 3, 2, x + 13, 10, RGB(255, 255, 200));
    FillBox(dc, x + 4, 11, x + 7, 14, ink);
    Line(dc, x + 6, 4, x + 7, 3, RGB(0, 0, 160), 2);
    Line(dc, x + 7, 3, x + 10, 4, RGB(0, 0, 160), 2);
    Line(dc, x + 10, 4, x + 8, 7, RGB(0, 0, 160), 2);
    FillBox(dc, x + 7, 8, x + 9, 9, RGB(0, 0, 160));
    (void)height;
}

Picture PaintWith(int width, int height, const std::function<void(HDC)>& draw)
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
    draw(dc);
    GdiFlush();
    picture.bgr.resize(picture.Stride() * static_cast<std::size_t>(height));
    std::memcpy(picture.bgr.data(), bits, picture.bgr.size());
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    return picture;
}

Picture Paint(Look look, int width, int height, const char* label)
{
    return PaintWith(width, height, [&](HDC dc) {
        switch (look) {
        case Look::SoundButton: SoundButton(dc, width, height); break;
        case Look::CloseBox: CloseBox(dc, width, height, false); break;
        case Look::CloseBoxPressed: CloseBox(dc, width, height, true); break;
        case Look::ProgramIcon: ProgramIcon(dc, width, height); break;
        case Look::NotePadIcon: NotePadIcon(dc, width, height); break;
        case Look::EditorToolStrip: EditorToolStrip(dc, width, height); break;
        case Look::ConnectedStrip: ActivityStrip(dc, width, height, 3, true); break;
        case Look::DownloadingStrip: ActivityStrip(dc, width, height, 12, false); break;
        case Look::UpdateNowCells: UpdateNowCells(dc, width, height); break;
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
        case Look::TextButtonLit: TextButton(dc, width, height, label, false, RGB(0, 0, 160)); break;
        case Look::ComboArrow: ComboArrow(dc, width, height); break;
        case Look::ControlPadFace: ControlPadFace(dc, width, height); break;
        case Look::MapSearchBadge: MapSearchBadge(dc, width, height); break;
        case Look::BrowseGround: BrowseGround(dc, width, height); break;
        case Look::BrowseDevice: BrowseDevice(dc, width, height); break;
        case Look::TimeMachineFace: TimeMachineFace(dc, width, height); break;
        case Look::TimeGround: TimeGround(dc, width, height); break;
        case Look::StatusFieldLabel: StatusFieldLabel(dc, width, height, label); break;
        case Look::ClockPicture: ClockPicture(dc, width, height); break;
        case Look::TextButtonDisabled: TextButton(dc, width, height, label, false, kShadow); break;
        case Look::StickyMark: StickyMark(dc, width, height); break;
        case Look::PhotoMonoplane: PhotoMonoplane(dc, width, height); break;
        case Look::PhotoBiplane: PhotoBiplane(dc, width, height); break;
        case Look::PhotoLavaNight: PhotoLavaNight(dc, width, height); break;
        case Look::PhotoLeaves: PhotoLeaves(dc, width, height); break;
        case Look::PhotoBand: PhotoBand(dc, width, height); break;
        case Look::MapGreatLakes: MapGreatLakes(dc, width, height); break;
        case Look::MapWorld: MapWorld(dc, width, height); break;
        case Look::MapLegend: MapLegend(dc, width, height); break;
        case Look::GlobeMap:
        case Look::InsetMap: break;  // drawn from the picture of the earth (AtlasArt.h)
        case Look::BookClosed: Book(dc, width, height, false); break;
        case Look::BookOpen: Book(dc, width, height, true); break;
        case Look::PageIcon: PageIcon(dc, width, height); break;
        case Look::KindBadge: KindBadge(dc, width, height, label, true); break;
        case Look::KindPicture: KindBadge(dc, width, height, label, false); break;
        case Look::LinkHand: LinkHand(dc, width, height, false); break;
        case Look::TimeLinkHand: LinkHand(dc, width, height, true); break;
        case Look::ArticleLinkHand: BadgedHand(dc, width, height, false); break;
        case Look::MapLinkHand: BadgedHand(dc, width, height, true); break;
        case Look::SoundPlaying: SoundPlaying(dc, width, height); break;
        case Look::SoundItemPicture: SoundItemPicture(dc, width, height); break;
        case Look::MissingFileMark: MissingFileMark(dc, width, height, false); break;
        case Look::MissingFileMarkDark: MissingFileMark(dc, width, height, true); break;
        case Look::TimelinePicture: TimelinePicture(dc, width, height); break;
        case Look::MediaFrame: MediaFrame(dc, width, height, 0); break;
        case Look::MediaFramePressed: MediaFrame(dc, width, height, 1); break;
        case Look::MediaFrameHover: MediaFrame(dc, width, height, 2); break;
        case Look::TabIndicator: TabIndicator(dc, width, height, false); break;
        case Look::TabIndicatorChosen: TabIndicator(dc, width, height, true); break;
        case Look::Disc2Badge: Disc2Badge(dc, width, height); break;
        case Look::ToolButton:
        case Look::ToolButtonPressed:
        case Look::ToolButtonLit:
        case Look::ToolButtonLatched:
        case Look::ToolButtonDisabled: ToolButton(dc, width, height, label, look); break;
        case Look::ArticleGround: ArticleGround(dc, width, height, label); break;
        case Look::ArrowButton: ArrowButton(dc, width, height, label, 0); break;
        case Look::ArrowButtonPressed: ArrowButton(dc, width, height, label, 1); break;
        case Look::ArrowButtonDisabled: ArrowButton(dc, width, height, label, 2); break;
        case Look::SliderTrack: SliderTrack(dc, width, height); break;
        case Look::MenuCaption: {
            FillBox(dc, 0, 0, width, height, kMenuSky);
            RECT box{0, 0, width, height};
            Text(dc, box, label, height * 2 / 3, kMenuCaptionText, DT_CENTER);
            break;
        }
        }
    });
}

}  // namespace art
