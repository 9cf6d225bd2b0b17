// What both common-dialog fixtures share: the file-name request they start from (the text and
// all-files filter, the folder T:\docs, buffers for the chosen path and its title) and the
// folder browser's answer as a path.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <optional>
#include <string>

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

// Runs the folder browser: the chosen folder's path (empty when it has none), nothing when the
// browser was cancelled.
inline std::optional<std::string> BrowseForFolder(BROWSEINFOA& bi)
{
    LPITEMIDLIST list = SHBrowseForFolderA(&bi);
    if (!list)
        return std::nullopt;
    char path[MAX_PATH] = {};
    BOOL found = SHGetPathFromIDListA(list, path);
    ILFree(list);
    return std::string(found ? path : "");
}
