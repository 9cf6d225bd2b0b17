// GetOpenFileName and GetSaveFileName: the chosen path completed with the folder and the
// default extension, checked as the flags ask, and handed back in the caller's buffers.
#include "CommonDialogInternal.h"

#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Filter {
    std::string description;
    std::string pattern;
};

std::vector<Filter> Filters(LPCSTR list)
{
    std::vector<Filter> out;
    if (!list)
        return out;
    while (*list) {
        Filter f;
        f.description = list;
        list += f.description.size() + 1;
        if (!*list)
            break;
        f.pattern = list;
        list += f.pattern.size() + 1;
        out.push_back(f);
    }
    return out;
}

size_t NameStart(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the extension (after the dot) in the name part; npos when there is none.
size_t ExtensionStart(const std::string& path)
{
    size_t name = NameStart(path);
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < name)
        return std::string::npos;
    return dot + 1;
}

DWORD Attributes(const std::string& path) { return GetFileAttributes(path.c_str()); }

bool IsAbsolute(const std::string& p)
{
    return (p.size() >= 2 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

std::string Folder(const OPENFILENAMEA& ofn)
{
    if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir)
        return ofn.lpstrInitialDir;
    char dir[MAX_PATH] = {};
    GetCurrentDirectory(sizeof dir, dir);
    return dir;
}

// The extension a name without one gets: the current filter's, when it names one, else the
// default extension.
std::string DefaultExtension(const OPENFILENAMEA& ofn)
{
    if (!ofn.lpstrDefExt)
        return "";
    std::vector<Filter> filters = Filters(ofn.lpstrFilter);
    DWORD index = ofn.nFilterIndex ? ofn.nFilterIndex : 1;
    if (index <= filters.size()) {
        std::string pattern = filters[index - 1].pattern;
        pattern = pattern.substr(0, pattern.find(';'));
        if (pattern.size() > 2 && pattern.compare(0, 2, "*.") == 0 && pattern.find_first_of("*?", 2) == std::string::npos)
            return pattern.substr(2);
    }
    return ofn.lpstrDefExt;
}

int Warn(const OPENFILENAMEA& ofn, const std::string& title, const std::string& text, UINT type)
{
    return MessageBoxA(ofn.hwndOwner, text.c_str(), title.c_str(), type);
}

BOOL Run(LPOPENFILENAMEA ofn, bool save)
{
    commdlg::SetError(0);
    if (!ofn || ofn->lStructSize < sizeof(OPENFILENAMEA) - sizeof(LPCSTR) - sizeof(void*) - sizeof(LPARAM)) {
        commdlg::SetError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        commdlg::SetError(CDERR_INITIALIZATION);
        return FALSE;
    }
    std::string title = ofn->lpstrTitle && *ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "Save As" : "Open");
    std::string initial = ofn->lpstrFile;
    std::string folder = Folder(*ofn);
    std::string extension = DefaultExtension(*ofn);
    DWORD flags = ofn->Flags;

    auto accept = [&](std::string& answer) {
        if (answer.empty())
            return false;
        std::string path = IsAbsolute(answer) ? answer : folder + (folder.empty() || folder.back() == '\\' ? "" : "\\") + answer;
        if (ExtensionStart(path) == std::string::npos && !extension.empty()) {
            // A name without an extension gets the default one, unless (opening) it exists as it is.
            if (save || Attributes(path) == INVALID_FILE_ATTRIBUTES)
                path += "." + extension;
        }
        std::string dir = path.substr(0, NameStart(path));
        if (NameStart(path) == path.size()) {
            Warn(*ofn, title, path + "\nThe file name is not valid.", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if ((flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !dir.empty()) {
            DWORD a = Attributes(dir);
            if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) {
                Warn(*ofn, title, path + "\nPath does not exist.\nCheck the path and try again.",
                     MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
        }
        DWORD a = Attributes(path);
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) {
            Warn(*ofn, title, path + "\nThis is a folder. Choose a file.", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (!save && (flags & OFN_FILEMUSTEXIST) && a == INVALID_FILE_ATTRIBUTES) {
            Warn(*ofn, title, path + "\nFile not found.\nPlease verify the correct file name was given.",
                 MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (save && (flags & OFN_OVERWRITEPROMPT) && a != INVALID_FILE_ATTRIBUTES &&
            Warn(*ofn, title, path + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return false;
        answer = path;
        return true;
    };

    std::string path;
    if (!commdlg::Ask(ofn->hwndOwner, save ? "save" : "open", title, "File &name:", initial, accept, path))
        return FALSE;

    if (path.size() + 1 > ofn->nMaxFile) {
        // Too small: the first two bytes tell the size needed.
        if (ofn->nMaxFile >= 2) {
            WORD need = static_cast<WORD>(path.size() + 1);
            std::memcpy(ofn->lpstrFile, &need, sizeof need);
        }
        commdlg::SetError(FNERR_BUFFERTOOSMALL);
        return FALSE;
    }
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    size_t name = NameStart(path);
    size_t ext = ExtensionStart(path);
    ofn->nFileOffset = static_cast<WORD>(name);
    ofn->nFileExtension = static_cast<WORD>(ext == std::string::npos ? path.size() : ext);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle) {
        std::string t = path.substr(name);
        std::size_t n = std::min<std::size_t>(t.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, t.data(), n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    if (ofn->Flags & OFN_HIDEREADONLY)
        ofn->Flags &= ~static_cast<DWORD>(OFN_READONLY);
    std::string given = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    std::string got = ext == std::string::npos ? "" : path.substr(ext);
    if (ofn->lpstrDefExt && strcasecmp(given.c_str(), got.c_str()) != 0)
        ofn->Flags |= OFN_EXTENSIONDIFFERENT;
    else
        ofn->Flags &= ~static_cast<DWORD>(OFN_EXTENSIONDIFFERENT);
    return TRUE;
}

}  // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) { return Run(ofn, false); }

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn) { return Run(ofn, true); }

short WINAPI GetFileTitleA(LPCSTR file, LPSTR buffer, WORD size)
{
    if (!file)
        return -1;
    std::string path = file;
    std::string title = path.substr(NameStart(path));
    if (title.empty())
        return -1;
    if (!buffer || size < title.size() + 1)
        return static_cast<short>(title.size() + 1);
    std::memcpy(buffer, title.c_str(), title.size() + 1);
    return 0;
}
