// The file-name request both common-dialog fixtures start from: the text and all-files filter,
// the folder T:\docs and buffers for the chosen path and its title.
#pragma once

#include <windows.h>

#include <commdlg.h>

class FileNameBuffers {
protected:
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
