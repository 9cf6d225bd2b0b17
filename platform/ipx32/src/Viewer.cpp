// IPX32_53.dll: the photo-bubble viewer. A viewer attaches to a window (whose messages it then
// sees through its own window procedure, put in front of the window's), opens a ".bub" file,
// shows the part of the panorama that fits the window scaled to its height, turns it as the
// mouse drags, answers hit tests on its hot spots and shows the text of a spot double-clicked.
// When the colours of a newly opened bubble are ready it posts 0x7515 to the window.
#include <ipx/BubFile.h>

#include <host/Exports.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#define IPX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const UINT kColoursReady = 0x7515;

struct Viewer {
    HWND hwnd = nullptr;
    bool open = false;
    ipx::BubPicture picture;
    std::vector<std::uint8_t> info;  // BITMAPINFOHEADER and 256 RGBQUADs
    double column = 0;               // the picture column at the window's left edge
    bool dragging = false;
    int dragX = 0;
    double dragColumn = 0;
    std::string label;               // the text of the spot double-clicked last
};

std::map<Viewer*, std::unique_ptr<Viewer>>& Viewers()
{
    static auto* viewers = new std::map<Viewer*, std::unique_ptr<Viewer>>;
    return *viewers;
}

std::map<HWND, WNDPROC>& OldProcs()
{
    static auto* procs = new std::map<HWND, WNDPROC>;
    return *procs;
}

int g_staleReleases = 0;

Viewer* Live(HANDLE handle)
{
    auto it = Viewers().find(static_cast<Viewer*>(handle));
    return it == Viewers().end() ? nullptr : it->second.get();
}

Viewer* ViewerOfWindow(HWND hwnd)
{
    for (auto& [key, viewer] : Viewers())
        if (viewer->hwnd == hwnd)
            return viewer.get();
    return nullptr;
}

double Scale(const Viewer& v, const RECT& client)
{
    return client.bottom > 0 ? static_cast<double>(client.bottom) / v.picture.height : 1.0;
}

// Picture coordinates of a window point; false when the point is outside the picture.
bool ToPicture(const Viewer& v, HWND hwnd, int x, int y, std::int32_t& px, std::int32_t& py)
{
    RECT client;
    GetClientRect(hwnd, &client);
    const double scale = Scale(v, client);
    if (x < 0 || y < 0 || x >= client.right || y >= client.bottom)
        return false;
    const double w = v.picture.width;
    double cx = std::fmod(v.column + x / scale, w);
    if (cx < 0)
        cx += w;
    px = static_cast<std::int32_t>(cx);
    py = static_cast<std::int32_t>(y / scale);
    return py >= 0 && static_cast<std::uint32_t>(py) < v.picture.height;
}

const ipx::BubSpot* SpotAt(const Viewer& v, std::int32_t px, std::int32_t py)
{
    for (const ipx::BubSpot& spot : v.picture.spots)
        if (px >= spot.left && px < spot.right && py >= spot.top && py < spot.bottom)
            return &spot;
    return nullptr;
}

void Paint(HWND hwnd, Viewer* v)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    if (!v || !v->open) {
        FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(hwnd, &ps);
        return;
    }
    const double scale = Scale(*v, client);
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(v->info.data());
    // On a 256-colour screen the bubble's colours come through its own palette, selected in the
    // background: the window's owner realises them in the foreground, and the viewer takes what
    // the screen shows rather than pushing the program's colours out.
    std::vector<std::uint8_t> logical(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY), 0);
    auto* pLog = reinterpret_cast<LOGPALETTE*>(logical.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = 256;
    for (int i = 0; i < 256; ++i)
        pLog->palPalEntry[i] = PALETTEENTRY{bmi->bmiColors[i].rgbRed, bmi->bmiColors[i].rgbGreen,
                                            bmi->bmiColors[i].rgbBlue, 0};
    HPALETTE palette = CreatePalette(pLog);
    HPALETTE oldPalette = palette ? SelectPalette(hdc, palette, TRUE) : nullptr;
    if (palette)
        RealizePalette(hdc);
    const int w = static_cast<int>(v->picture.width);
    const int h = static_cast<int>(v->picture.height);
    // The panorama closes on itself: after its last column the first one follows.
    double column = v->column;
    int x = 0;
    while (x < client.right) {
        const int source = static_cast<int>(column) % w;
        const int columns = std::max(1, std::min(w - source, static_cast<int>(std::ceil((client.right - x) / scale))));
        const int width = std::max(1, static_cast<int>(std::lround(columns * scale)));
        StretchDIBits(hdc, x, 0, width, client.bottom, source, 0, columns, h, v->picture.pixels.data(), bmi,
                      DIB_RGB_COLORS, SRCCOPY);
        x += width;
        column = source + columns;
    }
    if (!v->label.empty()) {
        HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        RECT measure{0, 0, client.right - 24, 0};
        DrawText(hdc, v->label.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        RECT strip{0, client.bottom - (measure.bottom + 12), client.right, client.bottom};
        HBRUSH dark = CreateSolidBrush(RGB(20, 24, 40));
        FillRect(hdc, &strip, dark);
        DeleteObject(dark);
        RECT text{12, strip.top + 6, client.right - 12, client.bottom - 6};
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, RGB(255, 255, 255));
        DrawText(hdc, v->label.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(hdc, oldFont);
    }
    if (oldPalette)
        SelectPalette(hdc, oldPalette, TRUE);
    if (palette)
        DeleteObject(palette);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ViewerWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = OldProcs().count(hwnd) ? OldProcs()[hwnd] : DefWindowProc;
    Viewer* v = ViewerOfWindow(hwnd);
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, v);
        return 0;
    case WM_SIZE:
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_LBUTTONDOWN:
        if (v && v->open) {
            SetCapture(hwnd);
            v->dragging = true;
            v->dragX = x;
            v->dragColumn = v->column;
            if (!v->label.empty()) {  // the text belongs to a spot the reader is turning away from
                v->label.clear();
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (v && v->dragging) {
            RECT client;
            GetClientRect(hwnd, &client);
            const double w = v->picture.width;
            // Dragging to the right turns the view to the left, as if the picture were held.
            v->column = std::fmod(v->dragColumn - (x - v->dragX) / Scale(*v, client), w);
            if (v->column < 0)
                v->column += w;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (v && v->dragging) {
            v->dragging = false;
            ReleaseCapture();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (v)
            v->dragging = false;
        break;
    case WM_LBUTTONDBLCLK:
        if (v && v->open) {
            std::int32_t px = 0, py = 0;
            const ipx::BubSpot* spot = ToPicture(*v, hwnd, x, y, px, py) ? SpotAt(*v, px, py) : nullptr;
            v->label = spot ? spot->text : std::string();
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_NCDESTROY: {
        if (v)
            v->hwnd = nullptr;  // the viewer stays until it is released, with nothing to draw on
        OldProcs().erase(hwnd);
        return CallWindowProc(old, hwnd, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallWindowProc(old, hwnd, message, wParam, lParam);
}

std::vector<std::uint8_t> ReadWholeFile(const char* path, bool& found)
{
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    found = file != INVALID_HANDLE_VALUE;
    if (!found)
        return bytes;
    const DWORD size = GetFileSize(file, nullptr);
    // A bubble of the largest size the format allows, with room for its hot spots.
    const DWORD limit = static_cast<DWORD>(ipx::kBubMaxWidth) * ipx::kBubMaxHeight + (4u << 20);
    if (size != INVALID_FILE_SIZE && size <= limit) {
        bytes.resize(size);
        DWORD read = 0;
        if (size > 0 && (!ReadFile(file, bytes.data(), size, &read, nullptr) || read != size))
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

}  // namespace

// 1: attaches a new viewer to a window. The three flags are kept for callers that pass them;
// this viewer always draws, turns and answers the mouse.
IPX_EXPORT int WINAPI IpxCreateViewer(HWND hwnd, int, int, int, HANDLE* pHandle)
{
    if (!pHandle)
        return 1;
    *pHandle = nullptr;
    if (!hwnd || !IsWindow(hwnd))
        return 1;
    // One viewer a window: one left behind on it no longer draws there.
    if (Viewer* previous = ViewerOfWindow(hwnd))
        previous->hwnd = nullptr;
    auto viewer = std::make_unique<Viewer>();
    viewer->hwnd = hwnd;
    if (!OldProcs().count(hwnd)) {
        WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC));
        OldProcs()[hwnd] = old;
        SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewerWndProc));
    }
    Viewer* key = viewer.get();
    Viewers()[key] = std::move(viewer);
    *pHandle = key;
    return 0;
}

// 2: releases a viewer. Releasing one that is not live is counted, never acted on.
IPX_EXPORT void WINAPI IpxReleaseViewer(HANDLE handle)
{
    auto it = Viewers().find(static_cast<Viewer*>(handle));
    if (it == Viewers().end()) {
        ++g_staleReleases;
        return;
    }
    HWND hwnd = it->second->hwnd;
    Viewers().erase(it);
    if (hwnd && IsWindow(hwnd))
        InvalidateRect(hwnd, nullptr, FALSE);
}

// 3: opens a bubble file. 0 when it opened; otherwise the reason is shown in a message box and
// the viewer shows nothing.
IPX_EXPORT int WINAPI IpxOpenBubble(HANDLE handle, char* pszPath, int)
{
    Viewer* v = Live(handle);
    if (!v || !pszPath)
        return 1;
    v->open = false;
    v->label.clear();
    bool found = false;
    const std::vector<std::uint8_t> bytes = ReadWholeFile(pszPath, found);
    std::string error;
    ipx::BubPicture picture;
    if (!found)
        error = "the file is missing.";
    else if (ipx::ReadBubFile(bytes.data(), bytes.size(), picture, error))
        error.clear();
    else if (error.empty())
        error = "the file cannot be read.";
    if (!error.empty()) {
        std::string name = pszPath;
        name = name.substr(name.find_last_of("\\/:") == std::string::npos ? 0 : name.find_last_of("\\/:") + 1);
        const std::string text = "The photo bubble \"" + name + "\" cannot be shown: " + error;
        MessageBox(v->hwnd, text.c_str(), "Photo bubble", MB_OK | MB_ICONEXCLAMATION);
        if (v->hwnd)
            InvalidateRect(v->hwnd, nullptr, FALSE);
        return found ? 2 : 1;
    }
    v->picture = std::move(picture);
    v->info.assign(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(v->info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = static_cast<LONG>(v->picture.width);
    header->biHeight = -static_cast<LONG>(v->picture.height);  // rows from the top
    header->biPlanes = 1;
    header->biBitCount = 8;
    header->biCompression = BI_RGB;
    header->biClrUsed = 256;
    std::memcpy(v->info.data() + sizeof(BITMAPINFOHEADER), v->picture.palette, 256 * sizeof(RGBQUAD));
    v->column = v->picture.initialColumn;
    v->open = true;
    if (v->hwnd) {
        // Posted, so that the window hears of the colours once its owner has finished setting up.
        PostMessage(v->hwnd, kColoursReady, 0, 0);
        InvalidateRect(v->hwnd, nullptr, FALSE);
    }
    return 0;
}

// 7: turns the view back to where the bubble starts and clears the spot text.
IPX_EXPORT void WINAPI IpxResetView(HANDLE handle)
{
    if (Viewer* v = Live(handle); v && v->open) {
        v->column = v->picture.initialColumn;
        v->label.clear();
        if (v->hwnd)
            InvalidateRect(v->hwnd, nullptr, FALSE);
    }
}

// 10: the bubble's bitmap header followed by its 256 colours (NULL before a bubble is open).
// Valid until the viewer is released or opens another bubble.
IPX_EXPORT void WINAPI IpxGetBitmapInfo(HANDLE handle, BITMAPINFOHEADER** ppHeader)
{
    if (!ppHeader)
        return;
    Viewer* v = Live(handle);
    *ppHeader = v && v->open ? reinterpret_cast<BITMAPINFOHEADER*>(v->info.data()) : nullptr;
}

// 14: the direction the view looks in, 0 to 359 degrees from where the bubble starts; -1
// without a bubble.
IPX_EXPORT LONG WINAPI IpxGetState(HANDLE handle)
{
    Viewer* v = Live(handle);
    if (!v || !v->open)
        return -1;
    const double w = v->picture.width;
    double turned = std::fmod(v->column - v->picture.initialColumn + w, w);
    return static_cast<LONG>(turned * 360.0 / w) % 360;
}

// 19: the number of hot spots of the bubble (0 without one).
IPX_EXPORT void WINAPI IpxQuery(HANDLE handle, LONG* pValue)
{
    if (!pValue)
        return;
    Viewer* v = Live(handle);
    *pValue = v && v->open ? static_cast<LONG>(v->picture.spots.size()) : 0;
}

// 25: the hot spot under a window point: *pHit non-zero and its text in pszText (832 bytes).
IPX_EXPORT void WINAPI IpxHitTest(HANDLE handle, int x, int y, BOOL* pHit, char* pszText)
{
    if (pHit)
        *pHit = FALSE;
    Viewer* v = Live(handle);
    if (!v || !v->open || !v->hwnd || !pHit || !pszText)
        return;
    std::int32_t px = 0, py = 0;
    if (!ToPicture(*v, v->hwnd, x, y, px, py))
        return;
    if (const ipx::BubSpot* spot = SpotAt(*v, px, py)) {
        const std::size_t n = std::min(spot->text.size(), ipx::kBubMaxText);
        std::memcpy(pszText, spot->text.data(), n);
        pszText[n] = '\0';
        *pHit = TRUE;
    }
}

// For tests: the viewers alive, and the releases of handles that were not.
IPX_EXPORT int WINAPI IpxLiveViewers() { return static_cast<int>(Viewers().size()); }
IPX_EXPORT int WINAPI IpxStaleReleases() { return g_staleReleases; }

VL_EXPORT_TABLE = {
    {1, "IpxCreateViewer"},  {2, "IpxReleaseViewer"}, {3, "IpxOpenBubble"}, {7, "IpxResetView"},
    {10, "IpxGetBitmapInfo"}, {14, "IpxGetState"},    {19, "IpxQuery"},      {25, "IpxHitTest"},
    {40, "IpxLiveViewers"},  {41, "IpxStaleReleases"},
    {0, nullptr},
};
