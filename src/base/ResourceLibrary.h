// The screen-class resource library and the application's palettes, made ready at start-up.
//
// The program's bitmaps, menus and layouts come in three resource libraries, one per screen
// class: vl_res0.dll below 641 pixels of screen width, vl_res1.dll from 641 to 1023, vl_res2.dll
// from 1024. Start-up keeps only the current class's library in the program folder (copying it
// from the disc's "Resource\" folder when it is missing or empty), loads it, and keeps its handle
// for every later look-up of a bitmap id of 7000 and above.
//
// The palettes are data resources (RCDATA) of the program itself: 131 the display palette, 130
// the page palette, 135 the third palette. Each is a 16-bit entry count N and N entries of three
// 16-bit signed words (red, green, blue; the low byte of each is the colour). An entry whose first
// word is negative, and always entry 0, stands for the system palette entry at the absolute value
// of that word.
#pragma once

#include <afxwin.h>

// Screen class of a screen width: 0 up to 640 pixels, 1 from 641 to 1023, 2 from 1024.
int ScreenClassFromWidth(int nWidth);
// Start-up: the primary screen's size and class into the application object.
void MeasureAppScreen();
// "vl_res0.dll", "vl_res1.dll" or "vl_res2.dll".
CString ResourceLibraryName(int nScreenClass);

// Start-up: removes the other classes' libraries from the program folder, copies the current
// one from the disc when missing or empty (asking for the disc, then offering the preferences
// until the folder is found or the reader cancels), and loads it. FALSE when there is no
// library to load or it does not load (after its message). The program folder and the screen
// class are the application object's.
BOOL LoadResourceLibrary();
// Exit: frees the loaded resource library, if any.
void FreeResourceLibrary();

// One of the program's cursors: from the resource library, else the program itself, else the
// system cursor named (a damaged installation still shows a pointer).
HCURSOR LoadProgramCursor(UINT nId, LPCSTR lpszSystemCursor);

// Builds a palette from a palette resource of the module. FALSE when the resource is missing,
// shorter than its count says, or the palette cannot be made.
BOOL BuildPaletteFromResource(HMODULE hModule, UINT nId, CPalette& palette);
// Start-up: the display, page and third palettes from the program's own module, in that
// order. FALSE as soon as one fails.
BOOL LoadAppPalettes();
