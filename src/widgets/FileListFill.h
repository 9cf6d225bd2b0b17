// Fills a file dialog's list of files: the files of a folder that match a pattern, leaving out
// hidden, system and temporary files and folders.
#pragma once

#include <afxwin.h>

// Empties the list, then adds the name of every plain file of the folder that matches the
// pattern; with no pattern, the one after the last "|" of the file-type list (as "Executable
// Files (*.exe)|*.exe||" gives "*.exe"), else "*.*". The list is redrawn. Returns the number of
// names added.
int FillFileList(CListBox& list, LPCSTR lpszFolder, LPCSTR lpszPattern, LPCSTR lpszFilter);
// The pattern that FillFileList uses.
CString FileListPattern(LPCSTR lpszPattern, LPCSTR lpszFilter);
