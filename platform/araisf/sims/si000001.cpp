// "Build a Glider", the sample disc's simulation (item 4030001): choose short or long wings,
// drag up or down to set the launch angle, press Launch and watch the glider fly from the hill
// until it lands; the distance and the best flight are shown.
#include "SimPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

const int kGround = 36;       // height of the ground strip at the bottom
const int kHillTop = 96;      // the launch point's height above the ground
const int kHillX = 34;        // the launch point's distance from the left edge
const double kMetresPerPixel = 2.0;
const UINT kTickMs = 40;

struct Glider {
    int cx = 320, cy = 240;
    bool longWings = false;
    int angle = 10;                // launch angle in degrees, -10 to 40
    bool flying = false;
    bool landed = false;
    double x = 0, y = 0;           // position: pixels from the launch point, height above ground
    double vx = 0, vy = 0;
    std::vector<POINT> trail;
    int lastMetres = 0, bestMetres = 0;
    bool outOfSight = false;       // the last flight left the picture before it landed
    bool dragging = false;
    int dragY = 0, dragAngle = 0;
};

RECT ButtonRect(int i, int cx)
{
    // 0 short wings, 1 long wings, 2 launch
    if (i == 2)
        return RECT{cx - 74, 8, cx - 8, 30};
    return RECT{8 + i * 84, 8, 8 + i * 84 + 78, 30};
}

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The screen point of a world position (x pixels right of the launch point, h above ground).
POINT Screen(const Glider& g, double x, double h)
{
    return POINT{kHillX + static_cast<LONG>(std::lround(x)), g.cy - kGround - static_cast<LONG>(std::lround(h))};
}

void Button(HDC hdc, const RECT& r, const char* text, bool selected)
{
    HBRUSH brush = CreateSolidBrush(selected ? RGB(250, 210, 80) : RGB(235, 235, 235));
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    RoundRect(hdc, r.left, r.top, r.right, r.bottom, 6, 6);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(brush);
    RECT t = r;
    SetBkMode(hdc, TRANSPARENT);
    DrawText(hdc, text, -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawGlider(HDC hdc, POINT at, double heading, bool longWings)
{
    // Side view: fuselage, tail fin and the wing seen edge-on, turned by the heading.
    const double c = std::cos(heading), s = std::sin(heading);
    auto P = [&](double dx, double dy) {
        return POINT{at.x + static_cast<LONG>(std::lround(dx * c - dy * s)),
                     at.y - static_cast<LONG>(std::lround(dx * s + dy * c))};
    };
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(30, 30, 90));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    POINT body[2] = {P(-14, 0), P(10, 0)};
    Polyline(hdc, body, 2);
    POINT fin[3] = {P(-14, 0), P(-16, 7), P(-10, 0)};
    Polyline(hdc, fin, 3);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
    HBRUSH wing = CreateSolidBrush(longWings ? RGB(200, 40, 40) : RGB(40, 120, 200));
    HGDIOBJ oldBrush = SelectObject(hdc, wing);
    const double half = longWings ? 9 : 5;
    POINT wingShape[4] = {P(-half, 1), P(half, 3), P(half, 5), P(-half, 3)};
    Polygon(hdc, wingShape, 4);
    SelectObject(hdc, oldBrush);
    DeleteObject(wing);
}

void Launch(Glider& g)
{
    const double speed = 46.0;
    const double a = g.angle * 3.14159265358979 / 180.0;
    g.x = 0;
    g.y = kHillTop;
    g.vx = speed * std::cos(a);
    g.vy = speed * std::sin(a);
    g.flying = true;
    g.landed = false;
    g.trail.clear();
}

}  // namespace

SIM_EXPORT void WINAPI AraSimPaint(void* pInstance, HDC hdc, const RECT* pClient)
{
    auto& g = *static_cast<Glider*>(pInstance);
    g.cx = pClient->right - pClient->left;
    g.cy = pClient->bottom - pClient->top;

    // Sky in bands, lighter towards the horizon, then the ground and the hill.
    const int bands = 8;
    const int skyHeight = g.cy - kGround;
    for (int i = 0; i < bands; ++i) {
        RECT band{0, skyHeight * i / bands, g.cx, skyHeight * (i + 1) / bands};
        HBRUSH b = CreateSolidBrush(RGB(120 + i * 12, 170 + i * 9, 235));
        FillRect(hdc, &band, b);
        DeleteObject(b);
    }
    RECT ground{0, skyHeight, g.cx, g.cy};
    HBRUSH grass = CreateSolidBrush(RGB(90, 160, 70));
    FillRect(hdc, &ground, grass);
    DeleteObject(grass);
    HBRUSH earth = CreateSolidBrush(RGB(150, 120, 80));
    HGDIOBJ oldBrush = SelectObject(hdc, earth);
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    POINT top = Screen(g, 0, kHillTop);
    POINT hill[4] = {{0, skyHeight + 1}, {0, top.y}, {top.x + 6, top.y}, {top.x + 46, skyHeight + 1}};
    Polygon(hdc, hill, 4);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(earth);

    // Distance marks every 100 m along the ground.
    SetTextColor(hdc, RGB(255, 255, 255));
    SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    for (int m = 100; kHillX + m / kMetresPerPixel < g.cx; m += 100) {
        const int x = kHillX + static_cast<int>(m / kMetresPerPixel);
        RECT mark{x - 1, skyHeight, x + 1, skyHeight + 6};
        FillRect(hdc, &mark, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        char label[16];
        std::snprintf(label, sizeof label, "%d", m);
        TextOut(hdc, x - 9, skyHeight + 8, label, static_cast<int>(std::strlen(label)));
    }

    // The launch direction while on the hill, the trail while flying.
    if (!g.flying && !g.landed) {
        const double a = g.angle * 3.14159265358979 / 180.0;
        HPEN dash = CreatePen(PS_DOT, 1, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(hdc, dash);
        MoveToEx(hdc, top.x, top.y, nullptr);
        LineTo(hdc, top.x + static_cast<int>(60 * std::cos(a)), top.y - static_cast<int>(60 * std::sin(a)));
        SelectObject(hdc, old);
        DeleteObject(dash);
    }
    for (const POINT& p : g.trail)
        SetPixel(hdc, p.x, p.y, RGB(255, 255, 255));
    const double heading = g.flying ? std::atan2(g.vy, g.vx) : g.angle * 3.14159265358979 / 180.0;
    POINT at = g.flying || g.landed ? Screen(g, g.x, g.y) : top;
    at.y -= 4;
    DrawGlider(hdc, at, heading, g.longWings);

    SetTextColor(hdc, RGB(0, 0, 0));
    Button(hdc, ButtonRect(0, g.cx), "Short wings", !g.longWings);
    Button(hdc, ButtonRect(1, g.cx), "Long wings", g.longWings);
    Button(hdc, ButtonRect(2, g.cx), g.flying ? "Flying..." : "Launch", false);

    char status[96];
    if (g.landed && g.outOfSight)
        std::snprintf(status, sizeof status, "Out of sight after %d m  (best %d m)", g.lastMetres, g.bestMetres);
    else if (g.landed)
        std::snprintf(status, sizeof status, "Landed after %d m  (best %d m)", g.lastMetres, g.bestMetres);
    else
        std::snprintf(status, sizeof status, "Angle %d\xB0 - drag up or down to change", g.angle);
    SetTextColor(hdc, RGB(20, 30, 80));
    TextOut(hdc, 10, 38, status, static_cast<int>(std::strlen(status)));
    SelectObject(hdc, oldFont);
}

SIM_EXPORT BOOL WINAPI AraSimInput(void* pInstance, UINT message, WPARAM, int x, int y)
{
    auto& g = *static_cast<Glider*>(pInstance);
    switch (message) {
    case WM_LBUTTONDOWN:
        if (g.flying)
            return FALSE;
        for (int i = 0; i < 2; ++i)
            if (Inside(ButtonRect(i, g.cx), x, y)) {
                g.longWings = i == 1;
                g.landed = false;
                return TRUE;
            }
        if (Inside(ButtonRect(2, g.cx), x, y)) {
            Launch(g);
            return TRUE;
        }
        g.dragging = true;
        g.dragY = y;
        g.dragAngle = g.angle;
        return FALSE;
    case WM_MOUSEMOVE:
        if (g.dragging) {
            const int angle = std::clamp(g.dragAngle + (g.dragY - y) / 2, -10, 40);
            if (angle != g.angle) {
                g.angle = angle;
                g.landed = false;
                return TRUE;
            }
        }
        return FALSE;
    case WM_LBUTTONUP:
        g.dragging = false;
        return FALSE;
    default:
        return FALSE;
    }
}

SIM_EXPORT BOOL WINAPI AraSimTick(void* pInstance)
{
    auto& g = *static_cast<Glider*>(pInstance);
    if (!g.flying)
        return FALSE;
    // Gravity pulls; once sinking, the wings hold the glide at their glide ratio; the air slows
    // the glider a little, more so with a steep climb.
    const double dt = 2 * kTickMs / 1000.0;  // the flight runs at twice the real speed
    const double ratio = g.longWings ? 2.3 : 1.5;
    g.vy -= 40.0 * dt;
    if (g.vy < -g.vx / ratio)
        g.vy = -g.vx / ratio;
    g.vx *= 1.0 - dt * (g.longWings ? 0.10 : 0.06);
    g.x += g.vx * dt;
    g.y += g.vy * dt;
    g.trail.push_back(Screen(g, g.x, g.y));
    if (g.y <= 0 || kHillX + g.x >= g.cx - 4) {
        g.y = std::max(g.y, 0.0);
        g.flying = false;
        g.landed = true;
        g.outOfSight = g.y > 0;
        g.lastMetres = static_cast<int>(g.x * kMetresPerPixel);
        g.bestMetres = std::max(g.bestMetres, g.lastMetres);
    }
    return TRUE;
}

ARASIM_PLUGIN(Glider, "Build a Glider", 320, 240, kTickMs)
