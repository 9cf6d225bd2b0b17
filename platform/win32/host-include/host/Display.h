// The screen: one desktop surface that every window draws on, display device contexts handed
// out to the window system, the display mode, and screenshots.
#pragma once

#include <host/Surface.h>
#include <wingdi.h>

#include <functional>
#include <memory>
#include <string>

namespace host {

enum class DisplayMode {
    TrueColor,     // 32-bit pixels (the default)
    Palette256,    // 8-bit pixels holding system palette indices; 20 static colours
    Report16Colors // drawing stays 32-bit, GetDeviceCaps reports a 16-colour display
};

// Recreates the desktop surface at the given size (default 1024x768), cleared to black. (The
// window system's host::SetDesktopSize sizes the desktop window and calls this.)
void SetDisplaySize(int width, int height);
SIZE GetDisplaySize();
// Switches the display mode; recreates the desktop surface and resets the system palette.
void SetDisplayMode(DisplayMode mode);
DisplayMode GetDisplayMode();
std::shared_ptr<Surface> DesktopSurface();

// A device context drawing onto the desktop: device (0,0) is `origin` on the desktop, drawing
// is clipped to `visibleRegion` (desktop coordinates; copied; null means the whole desktop).
HDC CreateDisplayDC(POINT origin, HRGN visibleRegion);
// Moves or re-clips a display device context (the window moved or was uncovered).
void SetDisplayDCArea(HDC hdc, POINT origin, HRGN visibleRegion);
void ReleaseDisplayDC(HDC hdc);
bool IsDisplayDC(HDC hdc);
// A tag the window system keeps on its display device contexts (the window), for WindowFromDC.
void SetDisplayDCOwner(HDC hdc, void* owner);
void* GetDisplayDCOwner(HDC hdc);

// Screenshots: the whole desktop or a rectangle of it (desktop coordinates), as PNG.
bool SaveDesktopPng(const std::string& hostPath, const RECT* area = nullptr);
// The colour shown at a desktop pixel (through the system palette in 8-bit mode).
COLORREF DesktopPixel(int x, int y);

// The system palette: a serial that changes whenever realisation or animation changes the
// colours on screen, and a handler told which device context's realisation changed it (the
// window system sends its palette messages from there).
unsigned SystemPaletteSerial();
void SetSystemPaletteChangedHandler(std::function<void(HDC)> handler);
// Decides whether a display DC realises its palette in the foreground (its window is active).
// Without a query every display DC that did not force the background realises in the foreground.
void SetPaletteForegroundQuery(std::function<bool(HDC)> query);
void ResetSystemPalette();

} // namespace host
