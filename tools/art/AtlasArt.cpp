#include "AtlasArt.h"

#include "Painter.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace atlas {

namespace {

// ---- colours -----------------------------------------------------------------------------------

const COLORREF kSea = RGB(168, 204, 236);
const COLORREF kOutline = RGB(80, 80, 90);
const COLORREF kMark = RGB(200, 20, 20);
const COLORREF kLand[6] = {RGB(244, 222, 150), RGB(196, 226, 160), RGB(240, 190, 170),
                           RGB(214, 196, 236), RGB(250, 240, 190), RGB(180, 214, 214)};
const COLORREF kIce = RGB(246, 248, 252);
const COLORREF kTerrainLine = RGB(255, 255, 230);

std::vector<POINT> RingPoints(const MapFrame& frame, const std::vector<GeoPoint>& ring)
{
    double mean = 0;
    for (const GeoPoint& p : ring)
        mean += p.lon;
    mean /= static_cast<double>(ring.size());
    const double shift = FrameLongitude(frame, mean) - mean;
    std::vector<POINT> points;
    points.reserve(ring.size());
    for (const GeoPoint& p : ring) {
        const PixelPoint q = Project(frame, p.lat, p.lon + shift);
        const POINT pt{static_cast<LONG>(std::lround(q.x)), static_cast<LONG>(std::lround(q.y))};
        if (points.empty() || points.back().x != pt.x || points.back().y != pt.y)
            points.push_back(pt);
    }
    return points;
}

// FALSE when the ring lies wholly off the map (its box does not meet the frame's).
bool RingOnMap(const MapFrame& frame, const std::vector<GeoPoint>& ring)
{
    double mean = 0, south = 90, north = -90, west = 360, east = -360;
    for (const GeoPoint& p : ring) {
        mean += p.lon;
        south = std::min(south, p.lat);
        north = std::max(north, p.lat);
        west = std::min(west, p.lon);
        east = std::max(east, p.lon);
    }
    mean /= static_cast<double>(ring.size());
    const double shift = FrameLongitude(frame, mean) - mean;
    return north >= frame.south && south <= frame.north && east + shift >= frame.west && west + shift <= frame.east;
}

void Dot(HDC dc, double x, double y, int r, COLORREF fill, COLORREF edge)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
    Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// The outlines as lines (and the dots of the countries without outline) in one colour.
void DrawOutlines(HDC dc, const std::vector<Country>& countries, const MapFrame& frame, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (const Country& c : countries)
        for (const auto& ring : c.rings) {
            if (!RingOnMap(frame, ring))
                continue;
            std::vector<POINT> points = RingPoints(frame, ring);
            if (points.size() < 2)
                continue;
            points.push_back(points.front());
            Polyline(dc, points.data(), static_cast<int>(points.size()));
        }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void DrawMarks(HDC dc, const MapFrame& frame, const std::vector<MapMark>& marks)
{
    for (const MapMark& m : marks) {
        const PixelPoint p = Project(frame, m.point.lat, m.point.lon);
        Dot(dc, p.x, p.y, 2, kMark, RGB(90, 0, 0));
    }
}

void Text(HDC dc, int x, int y, const std::string& text, int height, COLORREF colour, bool bold)
{
    HFONT font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    DeleteObject(font);
}

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF fill)
{
    HBRUSH brush = CreateSolidBrush(fill);
    RECT r{left, top, right, bottom};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    HBRUSH frame = CreateSolidBrush(RGB(0, 0, 0));
    FrameRect(dc, &r, frame);
    DeleteObject(frame);
}

std::uint8_t* PixelOf(art::Picture& p, int x, int y)
{
    return &p.bgr[static_cast<std::size_t>(p.height - 1 - y) * p.Stride() + static_cast<std::size_t>(x) * 3];
}

}  // namespace

std::vector<int> PoliticalColours(const std::vector<std::vector<int>>& neighbours)
{
    // Greedy, the countries with most neighbours first.
    std::vector<int> order(neighbours.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return neighbours[static_cast<std::size_t>(a)].size() > neighbours[static_cast<std::size_t>(b)].size();
    });
    std::vector<int> colours(neighbours.size(), -1);
    for (int c : order) {
        bool used[6] = {};
        for (int n : neighbours[static_cast<std::size_t>(c)])
            if (colours[static_cast<std::size_t>(n)] >= 0)
                used[colours[static_cast<std::size_t>(n)]] = true;
        int pick = 0;
        while (pick < 5 && used[pick])
            ++pick;
        colours[static_cast<std::size_t>(c)] = pick;
    }
    return colours;
}

art::Picture DrawPoliticalMap(const std::vector<Country>& countries, const std::vector<int>& colours,
                              const MapFrame& frame, const std::vector<MapMark>& marks, bool names)
{
    return art::PaintWith(frame.width, frame.height, [&](HDC dc) {
        HBRUSH sea = CreateSolidBrush(kSea);
        RECT all{0, 0, frame.width, frame.height};
        FillRect(dc, &all, sea);
        DeleteObject(sea);
        HPEN pen = CreatePen(PS_SOLID, 1, kOutline);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        for (std::size_t i = 0; i < countries.size(); ++i) {
            const Country& c = countries[i];
            const COLORREF fill = c.continent == "AN" ? kIce : kLand[std::clamp(colours[i], 0, 5)];
            HBRUSH brush = CreateSolidBrush(fill);
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            for (const auto& ring : c.rings) {
                if (!RingOnMap(frame, ring))
                    continue;
                const std::vector<POINT> points = RingPoints(frame, ring);
                if (points.size() >= 3)
                    Polygon(dc, points.data(), static_cast<int>(points.size()));
            }
            SelectObject(dc, oldBrush);
            DeleteObject(brush);
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
        for (std::size_t i = 0; i < countries.size(); ++i)
            if (countries[i].rings.empty()) {
                const PixelPoint p = Project(frame, countries[i].label.lat, countries[i].label.lon);
                Dot(dc, p.x, p.y, 3, kLand[std::clamp(colours[i], 0, 5)], kOutline);
            }
        DrawMarks(dc, frame, marks);
        if (!names)
            return;
        HFONT font = CreateFontA(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(40, 40, 60));
        for (const Country& c : countries) {
            if (c.rings.empty() || !Shows(frame, c.label.lat, c.label.lon))
                continue;
            const std::vector<POINT> points = RingPoints(frame, c.rings.front());
            LONG left = points.front().x, right = left;
            for (const POINT& p : points) {
                left = std::min(left, p.x);
                right = std::max(right, p.x);
            }
            if (right - left < 24)
                continue;
            SIZE size{};
            GetTextExtentPoint32A(dc, c.name.c_str(), static_cast<int>(c.name.size()), &size);
            if (size.cx + 6 > right - left)
                continue;
            const PixelPoint at = Project(frame, c.label.lat, c.label.lon);
            TextOutA(dc, static_cast<int>(at.x) - size.cx / 2, static_cast<int>(at.y) + 3, c.name.c_str(),
                     static_cast<int>(c.name.size()));
        }
        SelectObject(dc, oldFont);
        DeleteObject(font);
    });
}

art::Picture DrawTerrainMap(const EarthImage& earth, const std::vector<Country>& countries, const MapFrame& frame,
                            const std::vector<MapMark>& marks)
{
    // The lines and marks first, on a key colour; then the earth under them.
    const COLORREF key = RGB(255, 0, 255);
    art::Picture lines = art::PaintWith(frame.width, frame.height, [&](HDC dc) {
        HBRUSH brush = CreateSolidBrush(key);
        RECT all{0, 0, frame.width, frame.height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawOutlines(dc, countries, frame, kTerrainLine);
        DrawMarks(dc, frame, marks);
    });
    if (lines.bgr.empty())
        return lines;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            std::uint8_t* p = PixelOf(lines, x, y);
            if (p[0] != 0xFF || p[1] != 0x00 || p[2] != 0xFF)
                continue;
            const GeoPoint g = Unproject(frame, x + 0.5, y + 0.5);
            const std::uint8_t* rgb = earth.At(g.lat, g.lon);
            for (int c = 0; c < 3; ++c) {
                const int level = std::clamp(static_cast<int>(std::lround(rgb[2 - c] / 51.0)), 0, 5);
                p[c] = static_cast<std::uint8_t>(level * 51);
            }
        }
    return lines;
}

art::Picture DrawLegend(bool terrain)
{
    return art::PaintWith(kLegendWidth, kLegendHeight, [&](HDC dc) {
        Box(dc, 0, 0, kLegendWidth, kLegendHeight, RGB(255, 255, 255));
        Text(dc, 8, 4, terrain ? "Terrain" : "Political", 13, RGB(0, 0, 0), true);
        struct Row {
            COLORREF colour;
            const char* text;
        };
        const Row political[] = {{kLand[0], "Country"}, {kSea, "Sea and lakes"}, {kIce, "Ice cap"}};
        const Row relief[] = {{RGB(51, 102, 51), "Forest and grassland"}, {RGB(204, 153, 102), "Desert and bare rock"},
                              {RGB(255, 255, 255), "Ice and snow"}};
        const Row* rows = terrain ? relief : political;
        int y = 24;
        for (int i = 0; i < 3; ++i, y += 18) {
            Box(dc, 8, y, 30, y + 13, rows[i].colour);
            Text(dc, 38, y, rows[i].text, 11, RGB(0, 0, 0), false);
        }
        HPEN pen = CreatePen(PS_SOLID, 1, terrain ? RGB(120, 120, 100) : kOutline);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 8, y + 6, nullptr);
        LineTo(dc, 30, y + 6);
        SelectObject(dc, old);
        DeleteObject(pen);
        Text(dc, 38, y, "Coast and border", 11, RGB(0, 0, 0), false);
        y += 18;
        Dot(dc, 19, y + 6, 2, kMark, RGB(90, 0, 0));
        Text(dc, 38, y, "Place (click: its country)", 11, RGB(0, 0, 0), false);
    });
}

}  // namespace atlas
