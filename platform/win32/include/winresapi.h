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

#if __has_include(<wingdi.h>) && __has_include(<winuser.h>)
#include <wingdi.h>
#include <winuser.h>

// Images.
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_COLOR 0x00000002
#define LR_COPYRETURNORG 0x00000004
#define LR_COPYDELETEORG 0x00000008
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_DEFAULTSIZE 0x00000040
#define LR_VGACOLOR 0x00000080
#define LR_LOADMAP3DCOLORS 0x00001000
#define LR_CREATEDIBSECTION 0x00002000
#define LR_COPYFROMRESOURCE 0x00004000
#define LR_SHARED 0x00008000

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_COMPAT 0x0004
#define DI_DEFAULTSIZE 0x0008

typedef struct _ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

// A bitmap resource as a bitmap of the display's format.
HBITMAP WINAPI LoadBitmap(HINSTANCE hInstance, LPCSTR lpBitmapName);
// A bitmap, icon or cursor from a module's resources or (LR_LOADFROMFILE) a .bmp, .ico or .cur
// file; icons and cursors at the size asked for (0 with LR_DEFAULTSIZE: the system's size; 0
// without it: the first image's size). LR_SHARED images belong to the module: destroying them
// does nothing.
HANDLE WINAPI LoadImage(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);
// Icon or cursor objects from one image of an RT_ICON / RT_CURSOR resource.
HICON WINAPI CreateIconFromResource(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer);
HICON WINAPI CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer, int cxDesired,
                                      int cyDesired, UINT Flags);
HICON WINAPI CreateIconIndirect(PICONINFO piconinfo);
// The icon's bitmaps are copies the caller deletes.
BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo);
HICON WINAPI CopyIcon(HICON hIcon);
BOOL WINAPI DestroyIcon(HICON hIcon);
BOOL WINAPI DestroyCursor(HCURSOR hCursor);
BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                       HBRUSH hbrFlickerFreeDraw, UINT diFlags);
#endif

#if __has_include(<winuser.h>)
#include <winuser.h>

typedef void MENUTEMPLATE, *LPMENUTEMPLATE;

// Menus and accelerator tables from their templates.
HMENU WINAPI LoadMenu(HINSTANCE hInstance, LPCSTR lpMenuName);
HMENU WINAPI LoadMenuIndirect(const MENUTEMPLATE* lpMenuTemplate);
HACCEL WINAPI LoadAccelerators(HINSTANCE hInstance, LPCSTR lpTableName);
#endif
