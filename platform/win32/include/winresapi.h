// Loading resources of the platform's C interface by kind: strings (and, with the window system
// and the GDI, bitmaps, icons, cursors, menus and accelerator tables).
#pragma once

#include <windef.h>
#include <libloaderapi.h>

// Copies string resource uID of the module into the buffer (at most cchBufferMax - 1 characters
// and a terminating zero); returns the number of characters copied, 0 when there is no such
// string (the buffer then holds an empty string).
int WINAPI LoadString(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
