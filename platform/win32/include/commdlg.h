// The common dialogs: opening and saving files, choosing a printer, and finding and replacing
// text.
#pragma once

#include <windef.h>
#include <winuser.h>
#include <wingdi.h>

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPPRINTHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPSETUPHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPFRHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;        // pairs of description and pattern, each ending in NUL; an empty one ends
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;        // 1-based; 0 uses the custom filter
    LPSTR lpstrFile;           // in: initial name; out: the full path chosen
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;      // out: the name without its folder
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
} OPENFILENAMEA, *LPOPENFILENAMEA, OPENFILENAME, *LPOPENFILENAME;

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_SHOWHELP 0x00000010
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ENABLETEMPLATE 0x00000040
#define OFN_ENABLETEMPLATEHANDLE 0x00000080
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_SHAREAWARE 0x00004000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_NOTESTFILECREATE 0x00010000
#define OFN_NONETWORKBUTTON 0x00020000
#define OFN_NOLONGNAMES 0x00040000
#define OFN_EXPLORER 0x00080000
#define OFN_NODEREFERENCELINKS 0x00100000
#define OFN_LONGNAMES 0x00200000
#define OFN_ENABLESIZING 0x00800000

typedef struct tagPDA {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;   // DEVMODEA of the chosen printer
    HGLOBAL hDevNames;  // DEVNAMES of the chosen printer
    HDC hDC;            // with PD_RETURNDC (or PD_RETURNIC)
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    LPPRINTHOOKPROC lpfnPrintHook;
    LPSETUPHOOKPROC lpfnSetupHook;
    LPCSTR lpPrintTemplateName;
    LPCSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
} PRINTDLGA, *LPPRINTDLGA, PRINTDLG, *LPPRINTDLG;

typedef struct tagDEVNAMES {
    WORD wDriverOffset;
    WORD wDeviceOffset;
    WORD wOutputOffset;
    WORD wDefault;
} DEVNAMES, *LPDEVNAMES;
#define DN_DEFAULTPRN 0x0001

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_COLLATE 0x00000010
#define PD_PRINTTOFILE 0x00000020
#define PD_PRINTSETUP 0x00000040
#define PD_NOWARNING 0x00000080
#define PD_RETURNDC 0x00000100
#define PD_RETURNIC 0x00000200
#define PD_RETURNDEFAULT 0x00000400
#define PD_SHOWHELP 0x00000800
#define PD_ENABLEPRINTHOOK 0x00001000
#define PD_ENABLESETUPHOOK 0x00002000
#define PD_ENABLEPRINTTEMPLATE 0x00004000
#define PD_ENABLESETUPTEMPLATE 0x00008000
#define PD_USEDEVMODECOPIES 0x00040000
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000
#define PD_DISABLEPRINTTOFILE 0x00080000
#define PD_HIDEPRINTTOFILE 0x00100000
#define PD_NONETWORKBUTTON 0x00200000

// CommDlgExtendedError codes
#define CDERR_DIALOGFAILURE 0xFFFF
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_MEMALLOCFAILURE 0x0009
#define PDERR_NODEFAULTPRN 0x1008
#define PDERR_PRINTERNOTFOUND 0x100B
#define FNERR_SUBCLASSFAILURE 0x3001
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003
#define CDERR_NOTEMPLATE 0x0003
#define CDERR_NOHINSTANCE 0x0004
#define CDERR_FINDRESFAILURE 0x0006
#define CDERR_LOADRESFAILURE 0x0007
#define CDERR_NOHOOK 0x000B
#define CDERR_REGISTERMSGFAIL 0x000C
#define FRERR_FINDREPLACECODES 0x4000
#define FRERR_BUFFERLENGTHZERO 0x4001

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn);
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA lpofn);
#define GetOpenFileName GetOpenFileNameA
#define GetSaveFileName GetSaveFileNameA
short WINAPI GetFileTitleA(LPCSTR lpszFile, LPSTR Buf, WORD cchSize);
// No GetFileTitle macro: it would rename the class library's CFile::GetFileTitle in code that
// sees this header but not in code that does not.
BOOL WINAPI PrintDlgA(LPPRINTDLGA pPD);
#define PrintDlg PrintDlgA
DWORD WINAPI CommDlgExtendedError(void);

// ---- Find and replace ----------------------------------------------------------------------
//
// FindText and ReplaceText create MODELESS dialogs and return at once with the dialog's window
// (NULL on failure, with the reason in CommDlgExtendedError). The dialog works on the caller's
// FINDREPLACE, which must stay valid until the dialog has gone: each button copies the edits'
// text into lpstrFindWhat and lpstrReplaceWith (cut to the buffers' lengths), updates Flags
// (FR_DOWN, FR_WHOLEWORD and FR_MATCHCASE from the controls; exactly one of FR_FINDNEXT,
// FR_REPLACE, FR_REPLACEALL or FR_DIALOGTERM for what happened) and sends hwndOwner the
// message registered as FINDMSGSTRING with wParam 0 and lParam the FINDREPLACE pointer.
// Closing the dialog (Cancel, Escape, the close box) sends FR_DIALOGTERM and then destroys the
// window; a dialog destroyed any other way (DestroyWindow, its owner's end) sends it too, once.
// After that message the window handle is no longer valid. Help (FR_SHOWHELP) sends the
// HELPMSGSTRING message in the same way (wParam the dialog).
//
// The dialog is modeless, so its keyboard interface (Tab, Enter for Find Next, Escape,
// mnemonics) works only when the owner's message loop gives it the messages first:
//
//     while (GetMessage(&msg, NULL, 0, 0))
//         if (hFindDlg == NULL || !IsDialogMessage(hFindDlg, &msg)) {
//             TranslateMessage(&msg);
//             DispatchMessage(&msg);
//         }
//
// The controls carry the ids of <dlgs.h>: edt1 the text sought, edt2 the replacement, chx1
// whole word, chx2 match case, rad1 up, rad2 down, IDOK Find Next, psh1 Replace, psh2 Replace
// All, IDCANCEL, pshHelp. FR_ENABLEHOOK routes every message to lpfnHook first (WM_INITDIALOG
// with lParam the FINDREPLACE); FR_ENABLETEMPLATE (hInstance and lpTemplateName) or
// FR_ENABLETEMPLATEHANDLE (hInstance holding a dialog template in memory) replace the
// dialog's layout by one that holds controls of the same ids.

typedef struct tagFINDREPLACEA {
    DWORD lStructSize;
    HWND hwndOwner;           // gets the FINDMSGSTRING messages; must be a window
    HINSTANCE hInstance;      // FR_ENABLETEMPLATE: module of lpTemplateName; FR_ENABLETEMPLATEHANDLE: the template
    DWORD Flags;
    LPSTR lpstrFindWhat;      // in: initial text; out: the text sought
    LPSTR lpstrReplaceWith;   // ReplaceText only
    WORD wFindWhatLen;        // bytes of lpstrFindWhat, its NUL included
    WORD wReplaceWithLen;
    LPARAM lCustData;
    LPFRHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
} FINDREPLACEA, *LPFINDREPLACEA, FINDREPLACE, *LPFINDREPLACE;

#define FR_DOWN 0x00000001
#define FR_WHOLEWORD 0x00000002
#define FR_MATCHCASE 0x00000004
#define FR_FINDNEXT 0x00000008
#define FR_REPLACE 0x00000010
#define FR_REPLACEALL 0x00000020
#define FR_DIALOGTERM 0x00000040
#define FR_SHOWHELP 0x00000080
#define FR_ENABLEHOOK 0x00000100
#define FR_ENABLETEMPLATE 0x00000200
#define FR_NOUPDOWN 0x00000400
#define FR_NOMATCHCASE 0x00000800
#define FR_NOWHOLEWORD 0x00001000
#define FR_ENABLETEMPLATEHANDLE 0x00002000
#define FR_HIDEUPDOWN 0x00004000
#define FR_HIDEMATCHCASE 0x00008000
#define FR_HIDEWHOLEWORD 0x00010000

#define FINDMSGSTRINGA "commdlg_FindReplace"
#define FINDMSGSTRING FINDMSGSTRINGA
#define HELPMSGSTRINGA "commdlg_help"
#define HELPMSGSTRING HELPMSGSTRINGA

HWND WINAPI FindTextA(LPFINDREPLACEA lpfr);
HWND WINAPI ReplaceTextA(LPFINDREPLACEA lpfr);
#define FindText FindTextA
#define ReplaceText ReplaceTextA
