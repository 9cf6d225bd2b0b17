// The virtual desktop of the headless window manager. Not part of the platform's interface:
// the platform layer, the interactive presenter and tests use it.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace host {

// Size of the one screen in pixels (default 1024x768). Changing it resizes the desktop window;
// maximised windows keep their old size until they are maximised again.
void SetDesktopSize(int width, int height);
SIZE GetDesktopSize();

// Destroys every window that belongs to the calling thread, kills its timers and hooks, empties
// its queue, and resets focus, capture, keyboard state, cursor and the UI script. Tests call it
// between cases.
void ResetWindowManager();

// True while the innermost window procedure running on this thread was called by
// DispatchMessage (a posted or queued message), false when it was sent.
bool InPostedDispatch();

// The parts of a window (its client area, or all of it) that show on the screen, as disjoint
// rectangles in screen coordinates: clipped by its ancestors, covered by the windows above it
// and, with WS_CLIPCHILDREN, by its own children. Drawing and composition use it.
std::vector<RECT> WindowVisibleRects(HWND hwnd, bool wholeWindow);

// Number of windows that exist (all threads), for leak checks in tests.
int CountWindows();

}  // namespace host
