// Hooks of the clipboard for the window system and tests.
#pragma once

#include <windef.h>

#include <functional>

namespace host {

// Called when a program asks for a format whose owner promised it (SetClipboardData with a null
// handle): the window system sends WM_RENDERFORMAT to the owner, which then sets the data.
void SetClipboardRenderHandler(std::function<void(HWND owner, UINT format)> handler);
// Called when EmptyClipboard takes the clipboard away from its owner (WM_DESTROYCLIPBOARD).
void SetClipboardDestroyHandler(std::function<void(HWND owner)> handler);
// Empties and closes the clipboard, freeing everything on it (between tests).
void ResetClipboard();

} // namespace host
