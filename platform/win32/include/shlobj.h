// The shell's folder browser: SHBrowseForFolder and the item lists it answers with.
#pragma once

#include <windef.h>
#include <winuser.h>

// An item list names a folder; the shell allocates it and the caller frees it with ILFree (or
// the shell's allocator, CoTaskMemFree, where that exists).
typedef struct _SHITEMID {
    USHORT cb;
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST, *LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;

typedef int(CALLBACK* BFFCALLBACK)(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

typedef struct _browseinfoA {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPSTR pszDisplayName;  // out: the chosen folder's name (MAX_PATH characters)
    LPCSTR lpszTitle;      // the text above the tree
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
} BROWSEINFOA, *PBROWSEINFOA, *LPBROWSEINFOA, BROWSEINFO, *LPBROWSEINFO;

#define BIF_RETURNONLYFSDIRS 0x0001
#define BIF_DONTGOBELOWDOMAIN 0x0002
#define BIF_STATUSTEXT 0x0004
#define BIF_RETURNFSANCESTORS 0x0008
#define BIF_EDITBOX 0x0010
#define BIF_VALIDATE 0x0020
#define BIF_NEWDIALOGSTYLE 0x0040
#define BIF_BROWSEFORCOMPUTER 0x1000
#define BIF_BROWSEFORPRINTER 0x2000
#define BIF_BROWSEINCLUDEFILES 0x4000

#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_SETSTATUSTEXTA (WM_USER + 100)
#define BFFM_ENABLEOK (WM_USER + 101)
#define BFFM_SETSELECTIONA (WM_USER + 102)
#define BFFM_SETSELECTION BFFM_SETSELECTIONA
#define BFFM_SETSTATUSTEXT BFFM_SETSTATUSTEXTA

PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderA(LPBROWSEINFOA lpbi);
#define SHBrowseForFolder SHBrowseForFolderA
BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE pidl, LPSTR pszPath);
#define SHGetPathFromIDList SHGetPathFromIDListA
void WINAPI ILFree(LPITEMIDLIST pidl);
