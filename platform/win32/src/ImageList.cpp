// Image lists: each image is a bitmap of the display's format and, with ILC_MASK, a monochrome
// mask (1 transparent). Where the mask is 1 the colour bitmap is kept black, so that drawing
// is the mask ANDed onto the destination and the image ORed over it, as icons draw.
#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

struct _IMAGELIST {
    int cx = 16;
    int cy = 16;
    UINT flags = 0;
    int grow = 4;
    COLORREF background = CLR_NONE;
    std::vector<HBITMAP> images;
    std::vector<HBITMAP> masks;  // empty without ILC_MASK
};

namespace {

std::mutex& Lock()
{
    static std::mutex m;
    return m;
}

std::set<HIMAGELIST>& Live()
{
    static auto* live = new std::set<HIMAGELIST>;
    return *live;
}

bool IsLive(HIMAGELIST himl)
{
    std::lock_guard<std::mutex> g(Lock());
    return himl && Live().count(himl) != 0;
}

bool Masked(HIMAGELIST himl) { return (himl->flags & ILC_MASK) != 0; }

HBITMAP NewImage(HIMAGELIST himl)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bm = CreateCompatibleBitmap(screen, himl->cx, himl->cy);
    ReleaseDC(nullptr, screen);
    return bm;
}

HBITMAP NewMask(HIMAGELIST himl) { return CreateBitmap(himl->cx, himl->cy, 1, 1, nullptr); }

// Two memory DCs with bitmaps selected, released together.
struct MemDcs {
    HDC a, b;
    HGDIOBJ oldA = nullptr, oldB = nullptr;
    MemDcs(HBITMAP bmA, HBITMAP bmB) : a(CreateCompatibleDC(nullptr)), b(CreateCompatibleDC(nullptr))
    {
        if (bmA)
            oldA = SelectObject(a, bmA);
        if (bmB)
            oldB = SelectObject(b, bmB);
    }
    ~MemDcs()
    {
        if (oldA)
            SelectObject(a, oldA);
        if (oldB)
            SelectObject(b, oldB);
        DeleteDC(a);
        DeleteDC(b);
    }
};

// Copies piece `k` (from the left, cx wide) of a bitmap into an image and its mask. `fromColour`
// makes the mask from the pixels of that colour instead of from a mask bitmap.
void Store(HIMAGELIST himl, HBITMAP image, HBITMAP mask, int k, HBITMAP source, HBITMAP sourceMask, COLORREF maskColour,
           bool fromColour)
{
    {
        MemDcs dc(image, source);
        RECT all{0, 0, himl->cx, himl->cy};
        FillRect(dc.a, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        BitBlt(dc.a, 0, 0, himl->cx, himl->cy, dc.b, k * himl->cx, 0, SRCCOPY);
    }
    if (!mask)
        return;
    {
        MemDcs dc(mask, fromColour ? source : sourceMask);
        RECT all{0, 0, himl->cx, himl->cy};
        FillRect(dc.a, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (fromColour) {
            // Colour into monochrome: the source's background colour becomes 1.
            SetBkColor(dc.b, maskColour);
            BitBlt(dc.a, 0, 0, himl->cx, himl->cy, dc.b, k * himl->cx, 0, SRCCOPY);
        } else if (sourceMask) {
            BitBlt(dc.a, 0, 0, himl->cx, himl->cy, dc.b, k * himl->cx, 0, SRCCOPY);
        }
    }
    // Black under the transparent pixels: image AND NOT mask.
    MemDcs dc(image, mask);
    SetTextColor(dc.a, RGB(0, 0, 0));
    SetBkColor(dc.a, RGB(255, 255, 255));
    BitBlt(dc.a, 0, 0, himl->cx, himl->cy, dc.b, 0, 0, 0x00220326);  // DSna
}

int AddPieces(HIMAGELIST himl, HBITMAP source, HBITMAP sourceMask, COLORREF maskColour, bool fromColour)
{
    if (!IsLive(himl) || !source)
        return -1;
    BITMAP info{};
    if (!GetObjectA(source, sizeof info, &info) || info.bmWidth < himl->cx)
        return -1;
    int pieces = info.bmWidth / himl->cx;
    int first = static_cast<int>(himl->images.size());
    for (int k = 0; k < pieces; ++k) {
        HBITMAP image = NewImage(himl);
        HBITMAP mask = Masked(himl) ? NewMask(himl) : nullptr;
        if (!image || (Masked(himl) && !mask)) {
            if (image)
                DeleteObject(image);
            if (mask)
                DeleteObject(mask);
            return first < static_cast<int>(himl->images.size()) ? first : -1;
        }
        Store(himl, image, mask, k, source, sourceMask, maskColour, fromColour);
        himl->images.push_back(image);
        if (mask)
            himl->masks.push_back(mask);
    }
    return first;
}

void Release(HIMAGELIST himl, size_t i)
{
    DeleteObject(himl->images[i]);
    himl->images.erase(himl->images.begin() + static_cast<std::ptrdiff_t>(i));
    if (!himl->masks.empty()) {
        DeleteObject(himl->masks[i]);
        himl->masks.erase(himl->masks.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

bool Valid(HIMAGELIST himl, int i) { return IsLive(himl) && i >= 0 && i < static_cast<int>(himl->images.size()); }

// Every other pixel of the highlight colour over the image's opaque pixels (25 %: one in four).
void Blend(HIMAGELIST himl, int i, HDC dst, int x, int y, int cx, int cy, bool quarter, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    HBITMAP cover = CreateCompatibleBitmap(screen, cx, cy);
    ReleaseDC(nullptr, screen);
    HBITMAP holes = CreateBitmap(cx, cy, 1, 1, nullptr);
    {
        MemDcs dc(cover, holes);
        // The pattern: 1 (keep the image) except on the dither's pixels.
        RECT all{0, 0, cx, cy};
        FillRect(dc.b, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        for (int py = 0; py < cy; ++py)
            for (int px = 0; px < cx; ++px)
                if (quarter ? (px % 2 == 0 && py % 2 == 0) : ((px + py) % 2 == 0))
                    SetPixel(dc.b, px, py, RGB(0, 0, 0));
        if (!himl->masks.empty()) {
            MemDcs m(himl->masks[static_cast<size_t>(i)], nullptr);
            // Transparent pixels stay untouched: the holes are only where the mask is 0.
            BitBlt(dc.b, 0, 0, cx, cy, m.a, 0, 0, SRCPAINT);
        }
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc.a, &all, brush);
        DeleteObject(brush);
        // The cover is the colour on the holes and black elsewhere.
        SetTextColor(dc.a, RGB(0, 0, 0));
        SetBkColor(dc.a, RGB(255, 255, 255));
        BitBlt(dc.a, 0, 0, cx, cy, dc.b, 0, 0, 0x00220326);  // DSna
        COLORREF text = SetTextColor(dst, RGB(0, 0, 0));
        COLORREF back = SetBkColor(dst, RGB(255, 255, 255));
        BitBlt(dst, x, y, cx, cy, dc.b, 0, 0, SRCAND);
        BitBlt(dst, x, y, cx, cy, dc.a, 0, 0, SRCPAINT);
        SetTextColor(dst, text);
        SetBkColor(dst, back);
    }
    DeleteObject(cover);
    DeleteObject(holes);
}

}  // namespace

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow)
{
    if (cx <= 0 || cy <= 0 || cInitial < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* himl = new _IMAGELIST;
    himl->cx = cx;
    himl->cy = cy;
    himl->flags = flags;
    himl->grow = std::max(1, cGrow);
    himl->images.reserve(static_cast<size_t>(std::min(cInitial, 4096)));
    std::lock_guard<std::mutex> g(Lock());
    Live().insert(himl);
    return himl;
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl)
{
    {
        std::lock_guard<std::mutex> g(Lock());
        if (!himl || !Live().erase(himl))
            return FALSE;
    }
    for (HBITMAP b : himl->images)
        DeleteObject(b);
    for (HBITMAP b : himl->masks)
        DeleteObject(b);
    delete himl;
    return TRUE;
}

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) { return IsLive(himl) ? static_cast<int>(himl->images.size()) : 0; }

BOOL WINAPI ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount)
{
    if (!IsLive(himl) || uNewCount > 65536)
        return FALSE;
    while (himl->images.size() > uNewCount)
        Release(himl, himl->images.size() - 1);
    while (himl->images.size() < uNewCount) {
        HBITMAP image = NewImage(himl);
        HBITMAP mask = Masked(himl) ? NewMask(himl) : nullptr;
        MemDcs dc(image, mask);
        RECT all{0, 0, himl->cx, himl->cy};
        FillRect(dc.a, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (mask)
            FillRect(dc.b, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        himl->images.push_back(image);
        if (mask)
            himl->masks.push_back(mask);
    }
    return TRUE;
}

int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask)
{
    return AddPieces(himl, hbmImage, hbmMask, 0, false);
}

int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask)
{
    return AddPieces(himl, hbmImage, nullptr, crMask, Masked(himl));
}

BOOL WINAPI ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask)
{
    if (!Valid(himl, i) || !hbmImage)
        return FALSE;
    Store(himl, himl->images[static_cast<size_t>(i)], himl->masks.empty() ? nullptr : himl->masks[static_cast<size_t>(i)], 0,
          hbmImage, hbmMask, 0, false);
    return TRUE;
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon)
{
    if (!IsLive(himl) || !hicon || i < -1 || i >= static_cast<int>(himl->images.size()))
        return -1;
    ICONINFO ii{};
    if (!GetIconInfo(hicon, &ii))
        return -1;
    // The icon drawn at the list's size: its colour and its mask.
    HBITMAP image = i < 0 ? NewImage(himl) : himl->images[static_cast<size_t>(i)];
    HBITMAP mask = !Masked(himl) ? nullptr : (i < 0 ? NewMask(himl) : himl->masks[static_cast<size_t>(i)]);
    {
        MemDcs dc(image, mask);
        RECT all{0, 0, himl->cx, himl->cy};
        FillRect(dc.a, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DrawIconEx(dc.a, 0, 0, hicon, himl->cx, himl->cy, 0, nullptr, DI_IMAGE);
        if (mask) {
            FillRect(dc.b, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DrawIconEx(dc.b, 0, 0, hicon, himl->cx, himl->cy, 0, nullptr, DI_MASK);
        }
    }
    if (mask) {
        MemDcs dc(image, mask);
        SetTextColor(dc.a, RGB(0, 0, 0));
        SetBkColor(dc.a, RGB(255, 255, 255));
        BitBlt(dc.a, 0, 0, himl->cx, himl->cy, dc.b, 0, 0, 0x00220326);  // DSna
    }
    if (ii.hbmColor)
        DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        DeleteObject(ii.hbmMask);
    if (i >= 0)
        return i;
    himl->images.push_back(image);
    if (mask)
        himl->masks.push_back(mask);
    return static_cast<int>(himl->images.size()) - 1;
}

BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i)
{
    if (!IsLive(himl))
        return FALSE;
    if (i == -1) {
        while (!himl->images.empty())
            Release(himl, himl->images.size() - 1);
        return TRUE;
    }
    if (!Valid(himl, i))
        return FALSE;
    Release(himl, static_cast<size_t>(i));
    return TRUE;
}

BOOL WINAPI ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                             COLORREF rgbFg, UINT fStyle)
{
    if (!Valid(himl, i) || !hdcDst)
        return FALSE;
    int cx = dx > 0 ? std::min(dx, himl->cx) : himl->cx;
    int cy = dy > 0 ? std::min(dy, himl->cy) : himl->cy;
    size_t k = static_cast<size_t>(i);
    HBITMAP mask = himl->masks.empty() ? nullptr : himl->masks[k];
    COLORREF background = rgbBk == CLR_DEFAULT ? himl->background : rgbBk;
    COLORREF text = SetTextColor(hdcDst, RGB(0, 0, 0));
    COLORREF back = SetBkColor(hdcDst, RGB(255, 255, 255));
    if (fStyle & ILD_MASK) {
        if (mask) {
            MemDcs dc(mask, nullptr);
            BitBlt(hdcDst, x, y, cx, cy, dc.a, 0, 0, SRCCOPY);
        } else {
            RECT r{x, y, x + cx, y + cy};
            FillRect(hdcDst, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    } else {
        bool transparent = mask && ((fStyle & ILD_TRANSPARENT) || background == CLR_NONE);
        if (mask && !transparent) {
            RECT r{x, y, x + cx, y + cy};
            HBRUSH brush = CreateSolidBrush(background);
            FillRect(hdcDst, &r, brush);
            DeleteObject(brush);
        }
        MemDcs dc(himl->images[k], mask);
        if (mask) {
            BitBlt(hdcDst, x, y, cx, cy, dc.b, 0, 0, SRCAND);
            BitBlt(hdcDst, x, y, cx, cy, dc.a, 0, 0, SRCPAINT);
        } else {
            BitBlt(hdcDst, x, y, cx, cy, dc.a, 0, 0, SRCCOPY);
        }
    }
    SetTextColor(hdcDst, text);
    SetBkColor(hdcDst, back);
    if (!(fStyle & ILD_MASK) && (fStyle & (ILD_BLEND25 | ILD_BLEND50))) {
        COLORREF colour = (rgbFg == CLR_DEFAULT || rgbFg == CLR_NONE) ? GetSysColor(COLOR_HIGHLIGHT) : rgbFg;
        Blend(himl, i, hdcDst, x, y, cx, cy, (fStyle & ILD_BLEND50) == 0, colour);
    }
    return TRUE;
}

BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT)
{
    if (!Valid(himl, i))
        return nullptr;
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = himl->images[static_cast<size_t>(i)];
    HBITMAP opaque = nullptr;
    if (!himl->masks.empty()) {
        ii.hbmMask = himl->masks[static_cast<size_t>(i)];
    } else {
        opaque = NewMask(himl);
        MemDcs dc(opaque, nullptr);
        RECT all{0, 0, himl->cx, himl->cy};
        FillRect(dc.a, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ii.hbmMask = opaque;
    }
    HICON icon = CreateIconIndirect(&ii);
    if (opaque)
        DeleteObject(opaque);
    return icon;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    if (!IsLive(himl) || !cx || !cy)
        return FALSE;
    *cx = himl->cx;
    *cy = himl->cy;
    return TRUE;
}

BOOL WINAPI ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo)
{
    if (!Valid(himl, i) || !pImageInfo)
        return FALSE;
    pImageInfo->hbmImage = himl->images[static_cast<size_t>(i)];
    pImageInfo->hbmMask = himl->masks.empty() ? nullptr : himl->masks[static_cast<size_t>(i)];
    pImageInfo->rcImage = RECT{0, 0, himl->cx, himl->cy};
    return TRUE;
}

COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk)
{
    if (!IsLive(himl))
        return CLR_NONE;
    COLORREF old = himl->background;
    himl->background = clrBk;
    return old;
}

COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl) { return IsLive(himl) ? himl->background : CLR_NONE; }
