// The types and constants of the movie library's interface (QTML.h, Movies.h): shared by the
// client interface that programs call and by the library behind it.
#pragma once

#include <windows.h>

typedef short OSErr;
typedef long ComponentResult;
typedef long Fixed;
typedef unsigned char Boolean;
typedef char* Ptr;
typedef unsigned char Str255[256];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStr255Param;

inline constexpr OSErr noErr = 0;
inline constexpr OSErr paramErr = -50;
inline constexpr OSErr fnfErr = -43;
inline constexpr OSErr memFullErr = -108;
inline constexpr OSErr invalidMovie = -2010;
inline constexpr OSErr badImageDescription = -2001;
inline constexpr OSErr noMovieFound = -2048;
inline constexpr OSErr qtmlUninitialized = -2093;

// A rectangle in the library's order: top, left, bottom, right.
struct Rect {
    short top;
    short left;
    short bottom;
    short right;
};

struct Point {
    short v;
    short h;
};

// What an event record says.
inline constexpr unsigned short nullEvent = 0;
inline constexpr unsigned short mouseDown = 1;
inline constexpr unsigned short mouseUp = 2;
inline constexpr unsigned short keyDown = 3;
inline constexpr unsigned short keyUp = 4;
inline constexpr unsigned short updateEvt = 6;
inline constexpr unsigned short activateEvt = 8;

// An event: the library's fields, and the native message it was made from.
struct EventRecord {
    unsigned short what;
    unsigned long message;
    unsigned long when;
    Point where;
    unsigned short modifiers;
    HWND nativeWindow;
    UINT nativeMessage;
    WPARAM wParam;
    LPARAM lParam;
};

// A graphics port: the drawing target of a native window.
typedef struct OpaqueGrafPort* GrafPtr;
typedef GrafPtr CGrafPtr;
typedef void* GDHandle;

typedef struct OpaqueMovie* Movie;
typedef struct OpaqueMovieController* MovieController;

// A file named by its full path (a length-prefixed platform path).
struct FSSpec {
    short vRefNum;
    long parID;
    Str255 name;
};

inline constexpr signed char fsRdPerm = 1;

// Controller actions.
inline constexpr short mcActionPlay = 8;  // parameter: the rate (16.16; 0x10000 normal speed, 0 stop)
inline constexpr short mcActionSetGrowBoxBounds = 25;  // parameter: Rect* (empty: no grow box)
inline constexpr short mcActionGoToTime = 12;  // parameter: long* milliseconds
inline constexpr short mcActionSetFlags = 38;  // parameter: the flags
inline constexpr short mcActionGetFlags = 39;  // parameter: long* out

// Controller flags (mcActionGetFlags / mcActionSetFlags).
inline constexpr long mcFlagsUseWindowPalette = 8;
// Controller info flags (MCGetControllerInfo).
inline constexpr long mcInfoIsPlaying = 64;
// NewMovieController flags.
inline constexpr long mcTopLeftMovie = 1;
inline constexpr long mcScaleMovieToFit = 2;
