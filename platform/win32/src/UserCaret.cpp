// The caret: one per thread, owned by a window; a solid or grey block (or a bitmap) drawn by
// inverting the screen, hidden while nested HideCaret calls are outstanding, blinking on a timer.
#include "UserInternal.h"

#include <atomic>

namespace {

constexpr UINT_PTR kBlinkTimer = 0xFFFF5C02;

struct Caret {
    HWND owner = nullptr;
    HBITMAP bitmap = nullptr;  // (HBITMAP)1 for a grey caret
    int width = 0;
    int height = 0;
    POINT pos{};
    int hidden = 1;  // a new caret starts hidden
    bool drawn = false;  // currently inverted on the screen
};

thread_local Caret t_caret;
std::atomic<UINT> g_blinkTime{530};

// Inverts the caret's rectangle in its owner's client area.
void Toggle()
{
    Caret& c = t_caret;
    if (!IsWindow(c.owner) || !IsWindowVisible(c.owner))
        return;
    HDC hdc = GetDC(c.owner);
    if (!hdc)
        return;
    if (c.bitmap && c.bitmap != reinterpret_cast<HBITMAP>(1)) {
        HDC mem = CreateCompatibleDC(hdc);
        HGDIOBJ old = SelectObject(mem, c.bitmap);
        BitBlt(hdc, c.pos.x, c.pos.y, c.width, c.height, mem, 0, 0, SRCINVERT);
        SelectObject(mem, old);
        DeleteDC(mem);
    } else {
        PatBlt(hdc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
    }
    ReleaseDC(c.owner, hdc);
    c.drawn = !c.drawn;
}

void Erase()
{
    if (t_caret.drawn)
        Toggle();
}

void CALLBACK Blink(HWND, UINT, UINT_PTR, DWORD)
{
    if (t_caret.owner && t_caret.hidden == 0)
        Toggle();
}

void StartBlinking()
{
    Caret& c = t_caret;
    if (c.owner && c.hidden == 0) {
        if (!c.drawn)
            Toggle();
        SetTimer(c.owner, kBlinkTimer, g_blinkTime.load(), Blink);
    }
}

bool OwnsCaret(HWND hwnd)
{
    // A null window means the caret's owner when it belongs to the calling thread.
    return t_caret.owner && (!hwnd || hwnd == t_caret.owner);
}

}  // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    DestroyCaret();
    Caret& c = t_caret;
    c.owner = hwnd;
    c.bitmap = bitmap;
    if (bitmap && bitmap != reinterpret_cast<HBITMAP>(1)) {
        BITMAP bm{};
        GetObjectA(bitmap, sizeof bm, &bm);
        width = bm.bmWidth;
        height = bm.bmHeight;
    }
    c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    c.pos = POINT{0, 0};
    c.hidden = 1;
    c.drawn = false;
    return TRUE;
}

BOOL DestroyCaret(void)
{
    Caret& c = t_caret;
    if (!c.owner) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Erase();
    if (IsWindow(c.owner))
        KillTimer(c.owner, kBlinkTimer);
    c = Caret{};
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    Caret& c = t_caret;
    if (!c.owner) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (c.pos.x == x && c.pos.y == y)
        return TRUE;
    Erase();
    c.pos = POINT{x, y};
    StartBlinking();
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point)
{
    if (!point)
        return FALSE;
    if (!t_caret.owner) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *point = t_caret.pos;
    return TRUE;
}

BOOL ShowCaret(HWND hwnd)
{
    Caret& c = t_caret;
    if (!OwnsCaret(hwnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (c.hidden > 0 && --c.hidden == 0)
        StartBlinking();
    return TRUE;
}

BOOL HideCaret(HWND hwnd)
{
    Caret& c = t_caret;
    if (!OwnsCaret(hwnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (c.hidden++ == 0) {
        Erase();
        KillTimer(c.owner, kBlinkTimer);
    }
    return TRUE;
}

BOOL SetCaretBlinkTime(UINT ms)
{
    if (ms == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    g_blinkTime = ms;
    if (t_caret.owner && t_caret.hidden == 0)
        SetTimer(t_caret.owner, kBlinkTimer, ms, Blink);
    return TRUE;
}

UINT GetCaretBlinkTime(void)
{
    return g_blinkTime.load();
}
