// The registration wizard "vorb.dll", an outside package that the setup utilities call: this is
// our stand-in for it, and its resource library "VORBREGR.DLL" (vorbregr.h).
//
// The package lies in a product's folder and is loaded from there by name; its one export is
// bound by name:
//
//   HWND WINAPI VorbRegister(HINSTANCE hInstance, HWND hwndOwner, DWORD dwReserved,
//                            LPCSTR lpszProductFolder, int nMode);
//
// hInstance is the caller's instance or the wizard's own module (the stand-in takes its dialog
// from its own module either way); dwReserved is 0. lpszProductFolder names the product's folder,
// with or without a closing "\"; NULL or "" means the folder the wizard itself was loaded from.
// The product is the one named in that folder's "PRODREG.DAT" (section "PRODUCT", key
// "PRODUCTNAME"); its registration state is the key "STATUS" in the product's section of the
// folder's "REG.REG" (the local record) and of "REG.REG" in the Windows folder (the global list).
//
// What the stand-in does with each mode (the inner working of the real package is its own):
// - VORB_MODE_FIRST_RUN (0), VORB_MODE_OPEN (2375) and VORB_MODE_NEW (2376): creates the modeless
//   dialog "Product Registration" (buttons Register, IDOK, and Later, IDCANCEL; closing it is
//   Later) and returns its window. Register writes STATUS "5" and a registration number REGNUM
//   ("<PRODUCTNUM>-<count, 4 digits>-<yyyymmdd>") into the product's section of both REG.REG files
//   and adds one to the value REGCOUNT (REG_DWORD) of HKEY_LOCAL_MACHINE
//   "SOFTWARE\Ostrel\Software Registration"; Later writes STATUS "6" into both. Either then destroys
//   the dialog and tells its caller: with an owner window, VORB_WM_DONE (wParam the status written)
//   is posted to the owner; without one, WM_QUIT with the status as its wParam is posted to the
//   thread (PostQuitMessage), which ends the caller's message loop.
//   A folder without a product shows "There is no product to register in <folder>." (title
//   "Product Registration") and returns NULL.
// - VORB_MODE_UNINSTALL (9): writes STATUS "9" into the local record and into the global list
//   (only when that file exists: a list that the bookkeeping removed is not made again) and
//   returns NULL, showing nothing.
// - Any other mode: returns NULL with ERROR_INVALID_PARAMETER.
//
// Every call is recorded, for those who test the callers, as a line appended to "VORB.LOG" in
// the Windows folder:
//   VorbRegister module=<file of hInstance> owner=<0|1> reserved=<n> folder=<"text"|null> mode=<n>
// followed by "Register <status>" or "Later <status>" when a button is pressed, and "unloaded"
// when the library leaves the process.
#pragma once

#include <windows.h>

#define VORB_MODE_FIRST_RUN 0
#define VORB_MODE_UNINSTALL 9
#define VORB_MODE_OPEN 2375
#define VORB_MODE_NEW 2376

// Posted to the owner window when the wizard's dialog has done its work (wParam the status).
#define VORB_WM_DONE 3400

// The wizard dialog's title.
#define VORB_WIZARD_TITLE "Product Registration"

typedef HWND(WINAPI* VORBREGISTERPROC)(HINSTANCE hInstance, HWND hwndOwner, DWORD dwReserved,
                                        LPCSTR lpszProductFolder, int nMode);

extern "C" HWND WINAPI VorbRegister(HINSTANCE hInstance, HWND hwndOwner, DWORD dwReserved, LPCSTR lpszProductFolder,
                                    int nMode);
