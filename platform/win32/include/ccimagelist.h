// Image lists of the common controls: equal-sized images (with masks for transparent drawing)
// kept under one handle and drawn by index. Included by <commctrl.h>.
#pragma once

#include <windef.h>
#include <wingdi.h>
#include <winuser.h>

typedef struct _IMAGELIST* HIMAGELIST;

// ImageList_Create flags: ILC_MASK keeps a mask per image; the colour bits say the images'
// colour depth (ILC_COLOR: the display's).
#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLORDDB 0x00FE
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

// ImageList_Draw styles.
#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001
#define ILD_MASK 0x0010
#define ILD_IMAGE 0x0020
#define ILD_BLEND25 0x0002
#define ILD_BLEND50 0x0004
#define ILD_OVERLAYMASK 0x0F00
#define ILD_SELECTED ILD_BLEND50
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND ILD_BLEND50

#define CLR_NONE 0xFFFFFFFFL
#define CLR_DEFAULT 0xFF000000L
#define CLR_HILIGHT CLR_DEFAULT

typedef struct _IMAGEINFO {
    HBITMAP hbmImage;
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage;
} IMAGEINFO, *LPIMAGEINFO;

// A list of images of cx x cy pixels; cGrow is how many places it adds when it is full.
HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
// Destroys the list; FALSE for a handle that is not a live image list.
BOOL WINAPI ImageList_Destroy(HIMAGELIST himl);
int WINAPI ImageList_GetImageCount(HIMAGELIST himl);
BOOL WINAPI ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount);
// Adds the images of a bitmap (as many as its width holds, cut from the left) with their mask
// (a monochrome bitmap: 1 is transparent; NULL: all opaque). Returns the first new index or -1.
int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// As ImageList_Add, the mask made from the pixels of colour crMask.
int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
BOOL WINAPI ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask);
// Replaces image i with an icon (i = -1 adds it); the icon is copied, the caller keeps it.
int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon);
#define ImageList_AddIcon(himl, hicon) ImageList_ReplaceIcon(himl, -1, hicon)
// Removes image i (i = -1: all of them).
BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i);
#define ImageList_RemoveAll(himl) ImageList_Remove(himl, -1)
// Draws image i at (x, y): transparent through its mask (ILD_TRANSPARENT, or ILD_NORMAL with
// no background colour), on the list's background colour, or its mask alone (ILD_MASK);
// ILD_BLEND25 / ILD_BLEND50 (ILD_FOCUS, ILD_SELECTED) blend it with the highlight colour.
BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
BOOL WINAPI ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                             COLORREF rgbFg, UINT fStyle);
// A new icon of image i (the caller destroys it).
HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags);
BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
BOOL WINAPI ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo);
COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl);
