// Input injection. Tests and the interactive presenter feed mouse and keyboard events through
// these functions; they take the same path as real input (queued to the window under the mouse
// or with the capture, or to the focus window; hit testing, WM_SETCURSOR, activation and double
// clicks happen when the message is retrieved).
#pragma once

#include <windef.h>

namespace host {

enum class MouseButton { Left, Right, Middle };

// Screen coordinates.
void MouseMove(int x, int y);
void MouseDown(MouseButton button = MouseButton::Left);
void MouseUp(MouseButton button = MouseButton::Left);
// Move, press and release.
void Click(int x, int y, MouseButton button = MouseButton::Left);
void MouseWheel(int delta);

// Virtual-key events; a held key repeats with KeyDown again (previous-state bit set).
void KeyDown(UINT vk);
void KeyUp(UINT vk);
// Down and up.
void PressKey(UINT vk);
// Types Windows-1252 text as key strokes (shift as needed), US keyboard layout.
void TypeText(const char* text);

// The cursor currently set with SetCursor, and the IDC_ number of a system cursor (0 for others).
HCURSOR CurrentCursor();
int SystemCursorId(HCURSOR cursor);
int CursorShowCount();

}  // namespace host
