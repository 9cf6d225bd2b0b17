// The open/save request the common-dialog tests make: text files first, then all files, from
// T:\docs, with the default extension given and buffers of MAX_PATH for the name and the title.
#pragma once

#include <windows.h>

#include <commdlg.h>

struct FileDialogRequest {
    OPENFILENAMEA Ofn(DWORD flags, const char* defExt = "txt")
    {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "Text file (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
        ofn.nFilterIndex = 1;
        file_[0] = '\0';
        ofn.lpstrFile = file_;
        ofn.nMaxFile = sizeof file_;
        ofn.lpstrFileTitle = title_;
        ofn.nMaxFileTitle = sizeof title_;
        ofn.lpstrInitialDir = "T:\\docs";
        ofn.lpstrDefExt = defExt;
        ofn.Flags = flags;
        return ofn;
    }

    char file_[MAX_PATH] = {};
    char title_[MAX_PATH] = {};
};
