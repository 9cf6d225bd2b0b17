// SHBrowseForFolder: a folder chosen by path, handed back as an item list that holds it.
#include "CommonDialogInternal.h"

#include <shlobj.h>

#include <cstdlib>
#include <cstring>

namespace {

// Our item lists hold one item: the folder's platform path, NUL-terminated, then the
// terminating zero-length item.
LPITEMIDLIST MakeList(const std::string& path)
{
    size_t itemSize = sizeof(USHORT) + path.size() + 1;
    auto* bytes = static_cast<BYTE*>(std::calloc(1, itemSize + sizeof(USHORT)));
    if (!bytes)
        return nullptr;
    USHORT cb = static_cast<USHORT>(itemSize);
    std::memcpy(bytes, &cb, sizeof cb);
    std::memcpy(bytes + sizeof cb, path.c_str(), path.size() + 1);
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

}  // namespace

PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderA(LPBROWSEINFOA bi)
{
    if (!bi)
        return nullptr;
    std::string title = bi->lpszTitle ? bi->lpszTitle : "";
    auto accept = [&](std::string& answer) {
        while (answer.size() > 3 && (answer.back() == '\\' || answer.back() == '/'))
            answer.pop_back();
        DWORD a = GetFileAttributes(answer.c_str());
        if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) {
            MessageBoxA(bi->hwndOwner, (answer + "\nThe folder does not exist.").c_str(), "Browse for Folder",
                        MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        return true;
    };
    std::string folder;
    if (!commdlg::Ask(bi->hwndOwner, "folder", title.empty() ? "Browse for Folder" : title, title.empty() ? "&Folder:" : title,
                      "", accept, folder))
        return nullptr;
    if (bi->pszDisplayName) {
        size_t slash = folder.find_last_of("\\/");
        std::string name = slash == std::string::npos || slash + 1 == folder.size() ? folder : folder.substr(slash + 1);
        std::strncpy(bi->pszDisplayName, name.c_str(), MAX_PATH - 1);
        bi->pszDisplayName[MAX_PATH - 1] = '\0';
    }
    return MakeList(folder);
}

BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE pidl, LPSTR path)
{
    if (!pidl || !path)
        return FALSE;
    USHORT cb;
    std::memcpy(&cb, pidl, sizeof cb);
    if (cb <= sizeof cb) {
        path[0] = '\0';
        return FALSE;
    }
    const char* text = reinterpret_cast<const char*>(pidl) + sizeof cb;
    std::strncpy(path, text, MAX_PATH - 1);
    path[MAX_PATH - 1] = '\0';
    return TRUE;
}

void WINAPI ILFree(LPITEMIDLIST pidl)
{
    std::free(pidl);
}
