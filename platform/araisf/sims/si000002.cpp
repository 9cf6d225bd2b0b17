// "Grow a Plant", the sample disc's second simulation (item 4030002): drag the three sliders
// to give a seedling light, water and air, and watch it grow day by day; the scarcest of the
// three sets the pace, and a plant starved of one of them yellows and wilts. Restart sows anew.
#include "SimPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

const UINT kTickMs = 200;  // one day
const int kLastDay = 60;
const int kSliders = 3;
const char* const kSliderNames[kSliders] = {"Light", "Water", "Air"};

struct Plant {
    int cx = 320, cy = 240;
    int level[kSliders] = {60, 50, 70};  // 0 to 100
    int day = 0;
    double height = 4;   // stem length in pixels
    double health = 1;   // 0 wilted to 1 healthy
    int dragging = -1;
};

// The track of slider i: a vertical bar in the right-hand panel.
RECT Track(const Plant& p, int i)
{
    const int left = p.cx - 96 + i * 32;
    return RECT{left + 8, 40, left + 20, p.cy - 50};
}

RECT RestartButton(const Plant& p) { return RECT{p.cx - 92, p.cy - 34, p.cx - 8, p.cy - 10}; }

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int LevelAt(const RECT& track, int y)
{
    return std::clamp(static_cast<int>((track.bottom - y) * 100 / std::max<LONG>(1, track.bottom - track.top)), 0, 100);
}

void Fill(HDC hdc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
}

void Leaf(HDC hdc, int x, int y, int dir, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    if (dir < 0)
        Ellipse(hdc, x - 22, y - 7, x + 1, y + 5);
    else
        Ellipse(hdc, x - 1, y - 7, x + 22, y + 5);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(brush);
}

COLORREF LeafColour(double health)
{
    // From brown (wilted) through yellow to a full green.
    const double h = std::clamp(health, 0.0, 1.0);
    return RGB(static_cast<int>(150 - 110 * h), static_cast<int>(110 + 60 * h), static_cast<int>(40 + 10 * h));
}

}  // namespace

SIM_EXPORT void WINAPI AraSimPaint(void* pInstance, HDC hdc, const RECT* pClient)
{
    auto& p = *static_cast<Plant*>(pInstance);
    p.cx = pClient->right - pClient->left;
    p.cy = pClient->bottom - pClient->top;
    const int sceneRight = p.cx - 100;
    const double light = p.level[0] / 100.0;

    // The window behind the plant: brighter with more light, with the sun in it.
    Fill(hdc, RECT{0, 0, sceneRight, p.cy},
         RGB(static_cast<int>(60 + 150 * light), static_cast<int>(70 + 150 * light), static_cast<int>(110 + 130 * light)));
    HBRUSH sun = CreateSolidBrush(RGB(255, static_cast<int>(170 + 80 * light), static_cast<int>(60 + 100 * light)));
    HGDIOBJ oldBrush = SelectObject(hdc, sun);
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    const int r = 6 + p.level[0] / 6;
    Ellipse(hdc, 30 - r, 36 - r, 30 + r, 36 + r);
    SelectObject(hdc, oldBrush);
    DeleteObject(sun);
    // Air: a few bubbles, more with more air.
    HBRUSH air = CreateSolidBrush(RGB(235, 245, 255));
    oldBrush = SelectObject(hdc, air);
    for (int i = 0; i < p.level[2] / 10; ++i) {
        const int x = 70 + (i * 37) % (sceneRight - 90), y = 20 + (i * 53) % 90;
        Ellipse(hdc, x, y, x + 6, y + 6);
    }
    SelectObject(hdc, oldBrush);
    DeleteObject(air);

    // The pot and its soil, darker when wet.
    const int potTop = p.cy - 70, mid = sceneRight / 2;
    HBRUSH clay = CreateSolidBrush(RGB(190, 100, 60));
    oldBrush = SelectObject(hdc, clay);
    POINT pot[4] = {{mid - 44, potTop}, {mid + 44, potTop}, {mid + 32, p.cy - 12}, {mid - 32, p.cy - 12}};
    Polygon(hdc, pot, 4);
    SelectObject(hdc, oldBrush);
    DeleteObject(clay);
    const double wet = p.level[1] / 100.0;
    Fill(hdc, RECT{mid - 42, potTop, mid + 42, potTop + 8},
         RGB(static_cast<int>(120 - 70 * wet), static_cast<int>(90 - 55 * wet), static_cast<int>(60 - 35 * wet)));

    // The stem and a pair of leaves every 22 pixels of it.
    const int top = potTop - static_cast<int>(p.height);
    HPEN stem = CreatePen(PS_SOLID, 3, LeafColour(p.health * 0.8));
    SelectObject(hdc, stem);
    MoveToEx(hdc, mid, potTop, nullptr);
    LineTo(hdc, mid, top);
    SelectObject(hdc, oldPen);
    DeleteObject(stem);
    const COLORREF leaf = LeafColour(p.health);
    for (int y = potTop - 16, i = 0; y > top + 4; y -= 22, ++i)
        Leaf(hdc, mid, y + (p.health < 0.4 ? 6 : 0), i % 2 ? 1 : -1, leaf);
    Leaf(hdc, mid, top + 2, -1, leaf);
    Leaf(hdc, mid, top + 2, 1, leaf);

    // The panel: three sliders and the restart button.
    Fill(hdc, RECT{sceneRight, 0, p.cx, p.cy}, RGB(236, 232, 220));
    SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    const COLORREF colours[kSliders] = {RGB(240, 190, 40), RGB(60, 120, 220), RGB(150, 200, 230)};
    for (int i = 0; i < kSliders; ++i) {
        const RECT t = Track(p, i);
        Fill(hdc, t, RGB(200, 196, 186));
        RECT filled = t;
        filled.top = t.bottom - (t.bottom - t.top) * p.level[i] / 100;
        Fill(hdc, filled, colours[i]);
        RECT label{t.left - 10, 20, t.right + 10, 36};
        SetTextColor(hdc, RGB(40, 40, 40));
        DrawText(hdc, kSliderNames[i], -1, &label, DT_CENTER | DT_SINGLELINE);
    }
    const RECT button = RestartButton(p);
    SelectObject(hdc, GetStockObject(BLACK_PEN));
    RoundRect(hdc, button.left, button.top, button.right, button.bottom, 6, 6);
    RECT text = button;
    DrawText(hdc, "Restart", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    char status[64];
    if (p.day >= kLastDay)
        std::snprintf(status, sizeof status, "Day %d: %d mm tall", p.day, static_cast<int>(p.height * 2));
    else
        std::snprintf(status, sizeof status, "Day %d", p.day);
    SetTextColor(hdc, RGB(20, 30, 60));
    TextOut(hdc, 8, 6, status, static_cast<int>(std::strlen(status)));
    SelectObject(hdc, oldFont);
    SelectObject(hdc, oldPen);
}

SIM_EXPORT BOOL WINAPI AraSimInput(void* pInstance, UINT message, WPARAM, int x, int y)
{
    auto& p = *static_cast<Plant*>(pInstance);
    switch (message) {
    case WM_LBUTTONDOWN:
        if (Inside(RestartButton(p), x, y)) {
            p.day = 0;
            p.height = 4;
            p.health = 1;
            return TRUE;
        }
        for (int i = 0; i < kSliders; ++i) {
            RECT grab = Track(p, i);
            InflateRect(&grab, 8, 6);
            if (Inside(grab, x, y)) {
                p.dragging = i;
                p.level[i] = LevelAt(Track(p, i), y);
                return TRUE;
            }
        }
        return FALSE;
    case WM_MOUSEMOVE:
        if (p.dragging >= 0) {
            const int level = LevelAt(Track(p, p.dragging), y);
            if (level != p.level[p.dragging]) {
                p.level[p.dragging] = level;
                return TRUE;
            }
        }
        return FALSE;
    case WM_LBUTTONUP:
        p.dragging = -1;
        return FALSE;
    default:
        return FALSE;
    }
}

SIM_EXPORT BOOL WINAPI AraSimTick(void* pInstance)
{
    auto& p = *static_cast<Plant*>(pInstance);
    if (p.day >= kLastDay)
        return FALSE;
    ++p.day;
    // The scarcest need sets the pace; below a fifth of what it needs the plant suffers.
    const double scarcest = *std::min_element(p.level, p.level + kSliders) / 100.0;
    const double target = std::min(1.0, scarcest * 2.5);
    p.health += (target - p.health) * 0.15;
    p.height = std::min(p.height + 3.0 * scarcest * p.health, p.cy - 110.0);
    return TRUE;
}

ARASIM_PLUGIN(Plant, "Grow a Plant", 320, 240, kTickMs)
