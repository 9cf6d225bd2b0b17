// Internal state of the window manager, shared by the User*.cpp sources. Not installed.
//
// One process-wide recursive lock guards the window tree, the class table, timers and the
// focus/activation/capture state. It is never held while a window procedure, hook or timer
// procedure runs. Each thread has its own message queue with its own lock.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#ifndef ERROR_MESSAGE_SYNC_ONLY
#define ERROR_MESSAGE_SYNC_ONLY 1159L
#endif
#ifndef ERROR_INVALID_HOOK_FILTER
#define ERROR_INVALID_HOOK_FILTER 1426L
#endif
#ifndef ERROR_MENU_ITEM_NOT_FOUND
#define ERROR_MENU_ITEM_NOT_FOUND 1456L
#endif
#ifndef ERROR_CHILD_WINDOW_MENU
#define ERROR_CHILD_WINDOW_MENU 1436L
#endif
#ifndef ERROR_CONTROL_ID_NOT_FOUND
#define ERROR_CONTROL_ID_NOT_FOUND 1421L
#endif

namespace user {

std::recursive_mutex& Mutex();
using Guard = std::lock_guard<std::recursive_mutex>;

constexpr UINT INFINITE_WAIT = 0xFFFFFFFFu;


// ---- Classes ------------------------------------------------------------------------------

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH brush = nullptr;
    std::string menuName;
    ULONG_PTR menuId = 0;  // when the menu is named by number
    std::vector<unsigned char> extra;
    bool system = false;
    int windows = 0;
};
using ClassPtr = std::shared_ptr<WindowClass>;
ClassPtr FindClass(LPCSTR name, HINSTANCE instance);
// System classes ("LISTBOX", "COMBOBOX", ...) come from the control sources: each adds its
// registrar when the library loads, and the first class look-up runs them all. A system class
// is global and cannot be unregistered.
void AddSystemClassRegistrar(void (*registrar)());
ATOM RegisterSystemClass(const WNDCLASSEXA& wc);

// ---- Windows ------------------------------------------------------------------------------

struct ScrollBarState;  // ScrollBarInternal.h

struct Window {
    HWND hwnd = nullptr;
    ClassPtr cls;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    Window* parent = nullptr;  // the desktop for top-level windows
    HWND owner = nullptr;
    std::vector<Window*> children;  // z-order, topmost first
    RECT window{};  // screen coordinates
    RECT client{};  // screen coordinates
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0;  // child id; for top-level windows the menu bar handle lives in menu
    HMENU menu = nullptr;
    LONG_PTR userData = 0;
    std::vector<unsigned char> extra;
    DWORD threadId = 0;
    bool created = false;
    bool destroying = false;
    bool destroyed = false;
    // painting
    std::vector<RECT> update;  // client coordinates
    bool erasePending = false;
    bool eraseUnhandled = false;  // WM_ERASEBKGND returned 0: BeginPaint reports fErase
    bool framePending = false;
    bool internalPaint = false;
    bool inPaint = false;
    // placement
    RECT normal{};  // restored rectangle, parent client coordinates
    POINT minPos{-1, -1};
    POINT maxPos{-1, -1};
    bool restoreToMaximized = false;
    HWND lastActivePopup = nullptr;
    int ncButtonDown = 0;  // hit-test code of a pressed caption button
    HICON icon = nullptr;       // WM_SETICON: ICON_BIG
    HICON iconSmall = nullptr;  // WM_SETICON: ICON_SMALL
    bool ncActive = false; // caption drawn as active (WM_NCACTIVATE)
    std::shared_ptr<ScrollBarState> scrollBars;  // window scroll bars and the scroll bar control
    // SetWindowRgn: the region the window owns (null: none) and its rectangles in window
    // coordinates; outside them the window neither paints nor takes the mouse.
    HRGN shape = nullptr;
    std::vector<RECT> shapeRects;
};
using WindowPtr = std::shared_ptr<Window>;

WindowPtr Find(HWND hwnd);          // null for bad handles, error untouched
WindowPtr Lookup(HWND hwnd);        // null and ERROR_INVALID_WINDOW_HANDLE for bad handles
Window& Desktop();
bool IsTopLevel(const Window& w);   // child of the desktop
std::vector<WindowPtr> AllWindowsOfThread(DWORD threadId);  // parents before children
void DropThreadWindows(DWORD threadId);

// Runs a window's procedure on the calling thread; the message is recorded as sent or posted.
LRESULT CallProcedure(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam, bool posted);
// SendMessage on a window handle (direct or across threads).
LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Geometry helpers (own implementations; the rectangle functions belong to the GDI family).
RECT MakeRect(LONG l, LONG t, LONG r, LONG b);
bool RectEmpty(const RECT& r);
bool PointIn(const RECT& r, POINT p);
RECT Intersect(const RECT& a, const RECT& b);
void SubtractFromList(std::vector<RECT>& list, const RECT& r);  // cuts r out of every rectangle
RECT Union(const RECT& a, const RECT& b);
RECT Offset(RECT r, LONG dx, LONG dy);
bool SameRect(const RECT& a, const RECT& b);
POINT ClientOrigin(const Window& w);      // screen position of the client origin
RECT RelativeToParent(const Window& w);   // window rectangle in parent client coordinates
bool VisibleChain(const Window& w);       // the window and every ancestor visible
void OffsetTree(Window& w, LONG dx, LONG dy);

// Non-client metrics
void FrameSizes(DWORD style, DWORD exStyle, bool menu, RECT& insets);
RECT DefaultClientRect(const Window& w, const RECT& windowRect);
LRESULT DefaultHitTest(Window& w, POINT screen);
int MenuBarHeight(const Window& w);

// The size limits a window starts from before WM_GETMINMAXINFO lets it change them.
MINMAXINFO DefaultMinMaxInfo(DWORD style, DWORD exStyle);
// The move and size loop of WM_SYSCOMMAND SC_MOVE / SC_SIZE (UserMoveSize.cpp). The low four
// bits of the command say how it started: HTCAPTION (a caption drag) or a WMSZ_ edge (a border
// drag) for the mouse, 0 for the keyboard (the window menu); a drag starts at `point` (screen).
void TrackMoveSize(HWND hwnd, WPARAM command, LPARAM point);

// Window position and state changes (SetWindowPos core). Returns FALSE on failure.
BOOL SetWindowPosInternal(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags);

// Focus/activation bookkeeping used by creation, showing and destruction.
void ActivateOnShow(HWND hwnd);
void WindowHidden(HWND hwnd);
void WindowDestroying(HWND hwnd);
void ForgetWindow(HWND hwnd);
void ResetInputState();

// Window regions (UserWindowRgn.cpp). The screen rectangles the window covers (its window
// rectangle, or its region's rectangles); whether a screen point lies in its region (always
// true without one); cuts a list of screen rectangles down to the regions of the window and
// its ancestors; frees the region of a window that goes.
std::vector<RECT> CoveredRects(const Window& w);
bool ShapeHolds(const Window& w, POINT screen);
void ClipToShapes(const Window& w, std::vector<RECT>& rects);
void DropShape(Window& w);
// Repaints what lies beneath the window within a screen rectangle (UserWindowPos.cpp).
void ExposeUnder(Window& w, const RECT& screen);

// ---- Queues ------------------------------------------------------------------------------

struct SentMessage {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    bool replied = false;
    bool notify = false;  // sender does not wait
    struct ThreadQueue* sender = nullptr;
    std::function<LRESULT()> call;  // run in place of a window procedure (RunOnThread)
};

struct RawInput {
    UINT msg = 0;        // WM_MOUSEMOVE, WM_LBUTTONDOWN... or WM_KEYDOWN/WM_KEYUP
    POINT pt{};          // screen position
    WPARAM wParam = 0;   // virtual key for keys
    LPARAM lParam = 0;   // keystroke flags for keys
    DWORD time = 0;
    HWND hwnd = nullptr; // target chosen when the input was queued
    std::uint64_t serial = 0;
};

struct Hook {
    HHOOK handle = nullptr;
    int type = 0;
    HOOKPROC proc = nullptr;
    DWORD threadId = 0;
    bool removed = false;
};

struct ThreadQueue {
    ~ThreadQueue();
    DWORD threadId = 0;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<MSG> posted;
    std::deque<RawInput> input;
    std::deque<std::shared_ptr<SentMessage>> sent;
    bool quit = false;
    int quitCode = 0;
    bool wakeBits = false;  // something arrived since the last WaitMessage
    HANDLE wakeEvent = nullptr;  // auto-reset event set with every wake, for MsgWaitForMultipleObjects
    // Owned by the thread itself
    std::vector<SentMessage*> receiving;  // cross-thread sends being served
    DWORD msgTime = 0;
    POINT msgPos{};
    std::vector<std::shared_ptr<Hook>> hooks;
    int procDepth = 0;
    std::vector<bool> postedStack;  // for each running procedure call: dispatched from the queue
};

ThreadQueue& CurrentQueue();
std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);  // null if the thread has no queue
void Wake(ThreadQueue& q);
// Serves the cross-thread sent messages waiting for the calling thread.
bool ServeSentMessages(ThreadQueue& q);
// Runs `call` on another thread of this process when that thread next serves sent messages
// (GetMessage, PeekMessage, a wait for a reply), like a message sent from the calling thread,
// and waits for its result. False when the thread has no queue or ends first.
bool RunOnThread(DWORD threadId, std::function<LRESULT()> call, LRESULT* result);
void ResetCurrentQueue();
void RemoveMessagesFor(HWND hwnd);
bool PostInput(const RawInput& in);
// Calls the calling thread's hooks of one type; true when a hook swallowed the event.
bool CallHooks(int type, int code, WPARAM wParam, LPARAM lParam);

// ---- Timers ------------------------------------------------------------------------------

bool TakeDueTimer(DWORD threadId, HWND filter, bool remove, MSG& msg);
std::uint64_t NextTimerDue(DWORD threadId);  // UINT64_MAX when none
void KillWindowTimers(HWND hwnd);
bool IsTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc);
void KillThreadTimers(DWORD threadId);

// ---- Input -------------------------------------------------------------------------------

// Turns a raw input event into the message the window sees (hit testing, WM_SETCURSOR,
// activation, double clicks). False when the event is dropped.
bool CookInput(RawInput& raw, MSG& msg, bool remove);
bool FilterMatches(HWND filterHwnd, HWND hwnd);
void UpdateKeyStateForMessage(const MSG& msg);
bool IsMouseMessage(UINT msg);
// The character a key makes with the current shift state, 0 for none.
int CharForKey(UINT vk);
DWORD MessageTime();
POINT CursorPosition();

// ---- Painting ----------------------------------------------------------------------------

bool FindPaintWindow(DWORD threadId, HWND filter, HWND& out);
void InvalidateTree(Window& w, const RECT* rectClient, UINT flags);
void SendPendingErase(HWND hwnd, bool children);
// A window whose frame alone waits to be painted gets WM_NCPAINT now (true); false when it has
// client painting pending too (WM_PAINT's BeginPaint paints the frame first) or nothing.
bool PaintFrameOnly(HWND hwnd);
void ClearPaintState(Window& w);
// Brings a window to the top of its band (above topmost windows only when it is one) with the
// windows it owns above it, and repaints what it and they now cover of their siblings.
void RaiseToTopOfBand(Window& w);

// The parts of a window (or its client area) that show on the screen, in screen coordinates.
std::vector<RECT> VisibleRects(const Window& w, bool whole, bool clipChildren);

// The device contexts handed out (UserPaintDC.cpp): one place to switch to the real GDI. The
// DC draws at `origin` (screen) and only within `visible` (screen rectangles).
HDC AcquireWindowDC(HWND hwnd, POINT origin, const std::vector<RECT>& visible);
bool ReleaseWindowDC(HDC hdc);
HWND WindowOfDC(HDC hdc);
void FillBackground(HDC hdc, HWND hwnd, const RECT& rect, HBRUSH brush);
void DrawNonClient(HWND hwnd);
// Paints the desktop's background where no window covers it within the area (screen).
void PaintDesktop(const RECT& area);
// Palette displays: whether the screen has one, and the handlers through which the GDI tells
// the window system about realisations (installed with the desktop).
// Width of a menu item's text in the menu font.
int MenuTextWidth(const std::string& text);
bool PaletteDisplay();
void InstallPaletteHandlers();
// The active window, readable without the window-manager lock (the GDI asks from under its own).
HWND ActiveWindowLockFree();
bool RegionRects(HRGN rgn, std::vector<RECT>& rects);
int SetRegionRects(HRGN rgn, const std::vector<RECT>& rects);
void MoveWindowPixels(HWND hwnd, const RECT& sourceClient, int dx, int dy);

// ---- Menus -------------------------------------------------------------------------------

bool DestroyMenuInternal(HMENU menu);
bool IsMenuHandle(HMENU menu);
void TrackMenuBar(HWND hwnd, UINT key, bool mouse);
// The window menu: tracked from the keyboard (Alt+Space), the caption's icon or a right click
// on the caption (`at`: the menu's top-left corner on the screen; null: below the icon),
// destroyed with its window.
void TrackSystemMenu(HWND hwnd, const POINT* at = nullptr);
void DestroySystemMenu(HWND hwnd);
void ResetMenus();
// A menu item as it is drawn: its rectangle (window coordinates for a menu bar, client
// coordinates of the menu's window for a popup), text ("&" marks the mnemonic, "\t" starts the
// accelerator text), MF_ flags and whether it is the selected (highlighted) item.
struct MenuItemView {
    RECT rect{};
    std::string text;
    UINT flags = 0;
    bool radio = false;     // a checked item shows a bullet rather than a check mark
    bool selected = false;
};
// The items of a window's menu bar.
std::vector<MenuItemView> MenuBarItems(HWND hwnd);
// Drawing (UserPaintDC.cpp): a menu bar's items, and a popup menu's frame and items over its
// window's whole client area.
void DrawMenuBarItems(HDC hdc, const RECT& bar, const std::vector<MenuItemView>& items);
void DrawPopupMenu(HDC hdc, const RECT& client, const std::vector<MenuItemView>& items);

// ---- Desktop -----------------------------------------------------------------------------

SIZE DesktopSize();

}  // namespace user
