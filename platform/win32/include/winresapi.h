// Loading resources of the platform's C interface by kind: strings (and, with the window system
// and the GDI, bitmaps, icons, cursors, menus and accelerator tables).
#pragma once

#include <windef.h>
#include <libloaderapi.h>

// Copies string resource uID of the module into the buffer (at most cchBufferMax - 1 characters
// and a terminating zero); returns the number of characters copied, 0 when there is no such
// string (the buffer then holds an empty string).
int WINAPI LoadString(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);

// Picks the image of an icon or cursor group (the RT_GROUP_ICON / RT_GROUP_CURSOR resource's
// data) that best fits the size: the nearest in size, then the deepest colour (the shallowest
// with LR_MONOCHROME, flag 1). Sizes of 0 mean the system's icon or cursor size (32). Returns the
// image's RT_ICON / RT_CURSOR id, 0 when the data is not such a group.
int WINAPI LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags);
int WINAPI LookupIconIdFromDirectory(PBYTE presbits, BOOL fIcon);
