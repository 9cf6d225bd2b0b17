// GetOpenFileName and GetSaveFileName: the chosen path completed with the folder and the
// default extension, checked as the flags ask, and handed back in the caller's buffers. The
// rules here serve both the scripted answers and the dialog the user sees.
#include "CommonDialogInternal.h"

#include <commdlg.h>

#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace commdlg {

std::vector<FileFilter> ParseFilters(LPCSTR list)
{
    std::vector<FileFilter> out;
    if (!list)
        return out;
    while (*list) {
        FileFilter f;
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

bool HasWildcards(const std::string& text)
{
    return text.find_first_of("*?") != std::string::npos;
}

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributes(path.c_str()); }

bool IsAbsolute(const std::string& p)
{
    return (p.size() >= 2 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

}  // namespace

FileRules::FileRules(const OPENFILENAMEA& ofn, bool save)
    : save_(save),
      flags_(ofn.Flags),
      title_(ofn.lpstrTitle && *ofn.lpstrTitle ? ofn.lpstrTitle : (save ? "Save As" : "Open")),
      initialDir_(ofn.lpstrInitialDir ? ofn.lpstrInitialDir : ""),
      defExt_(ofn.lpstrDefExt ? ofn.lpstrDefExt : ""),
      hasDefExt_(ofn.lpstrDefExt != nullptr),
      filters_(ParseFilters(ofn.lpstrFilter))
{
}

std::string FileRules::InitialFolder() const
{
    if (!initialDir_.empty())
        return initialDir_;
    char dir[MAX_PATH] = {};
    GetCurrentDirectory(sizeof dir, dir);
    return dir;
}

std::string FileRules::Combine(const std::string& folder, const std::string& name)
{
    if (IsAbsolute(name))
        return name;
    return folder + (folder.empty() || folder.back() == '\\' ? "" : "\\") + name;
}

// The extension a name without one gets: the current filter's, when it names one, else the
// default extension.
std::string FileRules::DefaultExtension(DWORD filterIndex) const
{
    if (!hasDefExt_)
        return "";
    DWORD index = filterIndex ? filterIndex : 1;
    if (index <= filters_.size()) {
        std::string pattern = filters_[index - 1].pattern;
        pattern = pattern.substr(0, pattern.find(';'));
        if (pattern.size() > 2 && pattern.compare(0, 2, "*.") == 0 && !HasWildcards(pattern.substr(2)))
            return pattern.substr(2);
    }
    return defExt_;
}

int FileRules::Warn(HWND owner, const std::string& text, UINT type) const
{
    return MessageBoxA(owner, text.c_str(), title_.c_str(), type);
}

bool FileRules::Accept(HWND owner, const std::string& folder, DWORD filterIndex, std::string& answer) const
{
    if (answer.empty())
        return false;
    std::string path = Combine(folder, answer);
    std::string extension = DefaultExtension(filterIndex);
    if (NameStart(path) < path.size() && ExtensionStart(path) == std::string::npos && !extension.empty()) {
        // A name without an extension gets the default one, unless (opening) it exists as it is.
        if (save_ || Attributes(path) == INVALID_FILE_ATTRIBUTES)
            path += "." + extension;
    }
    std::string dir = path.substr(0, NameStart(path));
    DWORD a = Attributes(path);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) {
        Warn(owner, path + "\nThis is a folder. Choose a file.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (NameStart(path) == path.size() || path.find_first_of("<>|\"*?", NameStart(path)) != std::string::npos) {
        Warn(owner, path + "\nThe file name is not valid.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if ((flags_ & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT)) && !dir.empty()) {
        DWORD d = Attributes(dir);
        if (d == INVALID_FILE_ATTRIBUTES || !(d & FILE_ATTRIBUTE_DIRECTORY)) {
            Warn(owner, path + "\nPath does not exist.\nCheck the path and try again.", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    if ((flags_ & OFN_NOREADONLYRETURN) && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) {
        Warn(owner, path + "\nThis file is set to read-only.\nTry again with a different file name.",
             MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!save_ && (flags_ & OFN_CREATEPROMPT) && a == INVALID_FILE_ATTRIBUTES) {
        if (Warn(owner, path + "\nThis file does not exist.\nDo you want to create it?", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
    } else if (!save_ && (flags_ & OFN_FILEMUSTEXIST) && a == INVALID_FILE_ATTRIBUTES) {
        Warn(owner, path + "\nFile not found.\nPlease verify the correct file name was given.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (save_ && (flags_ & OFN_OVERWRITEPROMPT) && a != INVALID_FILE_ATTRIBUTES &&
        Warn(owner, path + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return false;
    answer = path;
    return true;
}

}  // namespace commdlg

namespace {

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
    commdlg::FileRules rules(*ofn, save);
    commdlg::FileChoice choice;
    choice.path = ofn->lpstrFile;
    choice.filterIndex = ofn->nFilterIndex;
    choice.readOnly = (ofn->Flags & OFN_READONLY) != 0;
    std::string folder = rules.InitialFolder();

    auto accept = [&](std::string& answer) { return rules.Accept(ofn->hwndOwner, folder, ofn->nFilterIndex, answer); };
    auto show = [&](std::string& answer) {
        if (!commdlg::ShowFileDialog(ofn->hwndOwner, rules, choice))
            return false;
        answer = choice.path;
        return true;
    };
    std::string path;
    if (!commdlg::Ask(ofn->hwndOwner, save ? "save" : "open", rules.Title(), accept, show, path))
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
    size_t name = commdlg::NameStart(path);
    size_t ext = commdlg::ExtensionStart(path);
    ofn->nFileOffset = static_cast<WORD>(name);
    ofn->nFileExtension = static_cast<WORD>(ext == std::string::npos ? path.size() : ext);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle) {
        std::string t = path.substr(name);
        std::size_t n = std::min<std::size_t>(t.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, t.data(), n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    if (ofn->lpstrFilter && !rules.Filters().empty())
        ofn->nFilterIndex = choice.filterIndex;
    if (ofn->Flags & OFN_HIDEREADONLY)
        ofn->Flags &= ~static_cast<DWORD>(OFN_READONLY);
    else if (choice.readOnly)
        ofn->Flags |= OFN_READONLY;
    else
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
    std::string title = path.substr(commdlg::NameStart(path));
    if (title.empty())
        return -1;
    if (!buffer || size < title.size() + 1)
        return static_cast<short>(title.size() + 1);
    std::memcpy(buffer, title.c_str(), title.size() + 1);
    return 0;
}
