// The interface between the simulation runtime ARAISF.dll and a simulation library
// ("si%06ld.dll"). A simulation library is a code library whose ordinal table names six
// functions; the runtime loads it, asks it to describe itself, and then runs one instance of it
// inside a child window that the runtime owns: the runtime paints through the library, hands it
// the window's mouse input and its timer ticks, and stops it when the window goes.
//
//   ordinal 1  BOOL  AraSimDescribe(ARASIM_INFO* pInfo)            fills pInfo; FALSE refuses
//   ordinal 2  void* AraSimStart(const ARASIM_START* pStart)       an instance; NULL refuses
//   ordinal 3  void  AraSimStop(void* pInstance)                   ends the instance
//   ordinal 4  void  AraSimPaint(void* pInstance, HDC hdc, const RECT* pClient)
//   ordinal 5  BOOL  AraSimInput(void* pInstance, UINT message, WPARAM wParam, int x, int y)
//                    a mouse message in client coordinates; TRUE when the picture changed
//   ordinal 6  BOOL  AraSimTick(void* pInstance)                   TRUE when the picture changed
//
// The library draws with the platform's GDI only into the device context it is given (the
// runtime hands it an off-screen one of the client's size).
#pragma once

#include <windows.h>

#define ARASIM_VERSION 1

typedef struct tagARASIM_INFO {
    DWORD cbSize;          // set by the runtime: sizeof(ARASIM_INFO)
    DWORD dwVersion;       // set by the library: ARASIM_VERSION
    char szTitle[64];      // the simulation's name (NUL-terminated)
    LONG cxPreferred;      // the size it is best shown at (pixels); 0 for any
    LONG cyPreferred;
    UINT uTickMilliseconds;  // how often AraSimTick is called; 0 for never
} ARASIM_INFO;

typedef struct tagARASIM_START {
    DWORD cbSize;    // sizeof(ARASIM_START)
    HWND hwnd;       // the runtime's window the instance lives in
    LONG cx, cy;     // its client size
} ARASIM_START;

typedef BOOL(WINAPI* PFN_ARASIM_DESCRIBE)(ARASIM_INFO*);
typedef void*(WINAPI* PFN_ARASIM_START)(const ARASIM_START*);
typedef void(WINAPI* PFN_ARASIM_STOP)(void*);
typedef void(WINAPI* PFN_ARASIM_PAINT)(void*, HDC, const RECT*);
typedef BOOL(WINAPI* PFN_ARASIM_INPUT)(void*, UINT, WPARAM, int, int);
typedef BOOL(WINAPI* PFN_ARASIM_TICK)(void*);

// The runtime's own exports (by ordinal), as the program calls them:
//   2  HWND AraCreateSimulation(LPCSTR folder, LPCSTR file, DWORD* pContext, HWND parent,
//                               const RECT* pRect, int nFlags)   0 on failure (a message is shown)
//   3  void AraDestroySimulation(HWND)
//   5  BOOL AraGetPreferredRect(HWND, const RECT* pIn, RECT* pOut)
//   7  void AraNotifySimulation(HWND)      the display changed: the simulation is drawn again
// nFlags bit 0 creates the window visible. *pContext counts the simulations running.
#define ARASIM_CREATE_VISIBLE 1
