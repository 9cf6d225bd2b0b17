// The folder questions the settings dialogs share: the shell's folder browser and whether a
// folder is there.
#pragma once

#include <afxwin.h>

// Runs the shell's folder browser over the owner with that title; TRUE with the chosen folder
// (ending in a backslash), FALSE when the reader cancels.
BOOL BrowseForFolder(CWnd* pOwner, LPCSTR lpszTitle, CString& strFolder);
// Whether the folder itself exists (a file of that name is no folder).
BOOL FolderExists(LPCSTR lpszFolder);
// Creates the folder and any missing folders above it; TRUE when it exists afterwards.
BOOL CreateFolderPath(LPCSTR lpszFolder);
// The text of a dialog's control (empty when there is no such control).
CString DialogItemText(HWND hDialog, int nID);
