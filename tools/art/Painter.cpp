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

}  // namespace

Picture Paint(Look look, int width, int height)
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
