// The open and save dialog the user sees: the file name edit over the list of the files in the
// current folder that match the filter, the folder list (the folder's parents and its
// subfolders), the file type and drive combo boxes, OK, Cancel and the read-only box.
#include "CommonDialogInternal.h"
#include <dlgs.h>

#include <algorithm>
#include <string>
#include <strings.h>
#include <vector>

namespace commdlg {
namespace {

// The control ids the classic dialog uses (callers' hooks and templates know them).
constexpr int kReadOnly = chx1;
constexpr int kFolderPath = stc1;
constexpr int kTypeLabel = stc2;
constexpr int kNameLabel = stc3;
constexpr int kDriveLabel = stc4;
constexpr int kFileList = lst1;
constexpr int kFolderList = lst2;
constexpr int kTypeCombo = cmb1;
constexpr int kDriveCombo = cmb2;
constexpr int kNameEdit = edt1;
constexpr int kFoldersLabel = 0xFFFF;

bool LessNoCase(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) < 0;
}

bool IsFolder(const std::string& path)
{
    DWORD a = GetFileAttributes(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder's full name: "." and ".." resolved, no trailing backslash except at a drive's root.
std::string FullFolder(const std::string& path)
{
    char full[MAX_PATH] = {};
    std::string out = GetFullPathName(path.c_str(), sizeof full, full, nullptr) ? std::string(full) : path;
    while (out.size() > 3 && out.back() == '\\')
        out.pop_back();
    if (out.size() == 2 && out[1] == ':')
        out += '\\';
    return out;
}

std::vector<std::string> Split(const std::string& list, char separator)
{
    std::vector<std::string> out;
    size_t at = 0;
    while (at <= list.size()) {
        size_t end = list.find(separator, at);
        if (end == std::string::npos)
            end = list.size();
        std::string part = list.substr(at, end - at);
        while (!part.empty() && part.front() == ' ')
            part.erase(part.begin());
        while (!part.empty() && part.back() == ' ')
            part.pop_back();
        if (!part.empty())
            out.push_back(part);
        at = end + 1;
    }
    return out;
}

// The entries of a folder: its files matching any of the patterns, or its subfolders; sorted
// without regard to case, hidden entries left out.
std::vector<std::string> List(const std::string& folder, const std::string& patterns, bool folders)
{
    std::vector<std::string> out;
    for (const std::string& pattern : folders ? std::vector<std::string>{"*"} : Split(patterns, ';')) {
        WIN32_FIND_DATA found;
        HANDLE h = FindFirstFile(FileRules::Combine(folder, pattern).c_str(), &found);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        do {
            std::string name = found.cFileName;
            bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (isFolder != folders || name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
                continue;
            out.push_back(name);
        } while (FindNextFile(h, &found));
        FindClose(h);
    }
    std::sort(out.begin(), out.end(), LessNoCase);
    out.erase(std::unique(out.begin(), out.end(),
                          [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }),
              out.end());
    return out;
}

class FileDialog : public DialogWindow {
public:
    FileDialog(const FileRules& rules, FileChoice& choice)
        : DialogWindow(rules.Title(), 268, 134), rules_(rules), choice_(choice)
    {
        const DWORD list = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
        const DWORD combo = CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
        Add("Static", "File &name:", kNameLabel, SS_LEFT, 6, 6, 90, 9);
        Add("Edit", "", kNameEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 6, 16, 90, 12);
        Add("ListBox", "", kFileList, list, 6, 32, 90, 68);
        Add("Static", "List files of &type:", kTypeLabel, SS_LEFT | WS_GROUP, 6, 104, 90, 9);
        Add("ComboBox", "", kTypeCombo, combo, 6, 114, 90, 60);
        Add("Static", "&Folders:", kFoldersLabel, SS_LEFT | WS_GROUP, 110, 6, 96, 9);
        Add("Static", "", kFolderPath, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 110, 16, 96, 9);
        Add("ListBox", "", kFolderList, list, 110, 32, 96, 68);
        Add("Static", "Dri&ves:", kDriveLabel, SS_LEFT | WS_GROUP, 110, 104, 96, 9);
        Add("ComboBox", "", kDriveCombo, combo, 110, 114, 96, 68);
        Add("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 212, 6, 50, 14);
        Add("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 212, 24, 50, 14);
        if (!(rules.Flags() & OFN_HIDEREADONLY))
            Add("Button", "&Read only", kReadOnly, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 212, 68, 50, 12);
    }

private:
    void OnInit() override
    {
        const std::vector<FileFilter>& filters = rules_.Filters();
        for (const FileFilter& f : filters)
            Send(kTypeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.description.c_str()));
        filterIndex_ = choice_.filterIndex;
        if (filterIndex_ == 0 || filterIndex_ > filters.size())
            filterIndex_ = filters.empty() ? 0 : 1;
        pattern_ = filterIndex_ ? filters[filterIndex_ - 1].pattern : "*.*";
        Send(kTypeCombo, CB_SETCURSEL, filterIndex_ ? filterIndex_ - 1 : static_cast<WPARAM>(-1));

        DWORD drives = GetLogicalDrives();
        for (int i = 0; i < 26; ++i) {
            if (!(drives & (1u << i)))
                continue;
            char root[] = {static_cast<char>('A' + i), ':', '\\', '\0'};
            char label[MAX_PATH] = {};
            GetVolumeInformation(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
            std::string text = std::string(1, static_cast<char>('a' + i)) + ":";
            if (label[0])
                text += std::string(" [") + label + "]";
            LRESULT at = Send(kDriveCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            Send(kDriveCombo, CB_SETITEMDATA, static_cast<WPARAM>(at), 'A' + i);
        }

        std::string folder = rules_.InitialFolder();
        std::string name = choice_.path;
        size_t split = NameStart(name);
        if (split > 0 && IsFolder(FileRules::Combine(folder, name.substr(0, split)))) {
            folder = FileRules::Combine(folder, name.substr(0, split));
            name = name.substr(split);
        }
        if (!IsFolder(folder)) {
            // A starting folder that is gone: the current folder instead.
            char current[MAX_PATH] = {};
            GetCurrentDirectory(sizeof current, current);
            folder = current;
        }
        Enter(folder);
        SetDlgItemTextA(dlg_, kNameEdit, name.empty() || HasWildcards(name) ? pattern_.c_str() : name.c_str());
        if (!name.empty() && HasWildcards(name)) {
            pattern_ = name;
            FillFiles();
        }
        if (HWND check = Item(kReadOnly))
            SendMessageA(check, BM_SETCHECK, choice_.readOnly ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    bool OnCommand(int id, int code) override
    {
        switch (id) {
        case IDOK: Ok(); return true;
        case kFileList:
            if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
                int at = static_cast<int>(Send(kFileList, LB_GETCURSEL));
                if (at >= 0 && at < static_cast<int>(files_.size()))
                    SetDlgItemTextA(dlg_, kNameEdit, files_[static_cast<size_t>(at)].c_str());
                if (code == LBN_DBLCLK && at >= 0)
                    Ok();
            }
            return true;
        case kFolderList:
            if (code == LBN_DBLCLK)
                EnterSelectedFolder();
            return true;
        case kTypeCombo:
            if (code == CBN_SELCHANGE) {
                int at = static_cast<int>(Send(kTypeCombo, CB_GETCURSEL));
                if (at >= 0 && static_cast<size_t>(at) < rules_.Filters().size()) {
                    filterIndex_ = static_cast<DWORD>(at) + 1;
                    pattern_ = rules_.Filters()[static_cast<size_t>(at)].pattern;
                    std::string typed = Text(kNameEdit);
                    if (typed.empty() || HasWildcards(typed))
                        SetDlgItemTextA(dlg_, kNameEdit, pattern_.c_str());
                    FillFiles();
                }
            }
            return true;
        case kDriveCombo:
            if (code == CBN_SELCHANGE)
                ChangeDrive();
            return true;
        default: return false;
        }
    }

    // OK (or Enter): in the folder list enters the folder; a pattern filters the file list; a
    // folder's name enters it; anything else is the answer, checked by the rules.
    void Ok()
    {
        if (GetFocus() == Item(kFolderList)) {
            EnterSelectedFolder();
            return;
        }
        std::string typed = Text(kNameEdit);
        while (!typed.empty() && typed.back() == ' ')
            typed.pop_back();
        while (!typed.empty() && typed.front() == ' ')
            typed.erase(typed.begin());
        if (typed.empty()) {
            MessageBeep(MB_OK);
            Focus(kNameEdit);
            return;
        }
        if (HasWildcards(typed)) {
            size_t split = NameStart(typed);
            if (split > 0) {
                std::string folder = FileRules::Combine(folder_, typed.substr(0, split));
                if (!IsFolder(folder)) {
                    Warn(typed + "\nPath does not exist.\nCheck the path and try again.");
                    Focus(kNameEdit);
                    return;
                }
                Enter(folder);
            }
            pattern_ = typed.substr(split);
            SetDlgItemTextA(dlg_, kNameEdit, pattern_.c_str());
            FillFiles();
            Focus(kNameEdit);
            return;
        }
        std::string path = FileRules::Combine(folder_, typed);
        if (IsFolder(path)) {
            Enter(path);
            SetDlgItemTextA(dlg_, kNameEdit, pattern_.c_str());
            Focus(kNameEdit);
            return;
        }
        std::string answer = typed;
        if (!rules_.Accept(dlg_, folder_, filterIndex_, answer)) {
            Focus(kNameEdit);
            return;
        }
        choice_.path = answer;
        choice_.filterIndex = filterIndex_;
        choice_.readOnly = Item(kReadOnly) && Send(kReadOnly, BM_GETCHECK) == BST_CHECKED;
        End(IDOK);
    }

    void Enter(const std::string& folder)
    {
        folder_ = FullFolder(folder);
        SetDlgItemTextA(dlg_, kFolderPath, folder_.c_str());
        FillFolders();
        FillFiles();
        for (int i = 0, n = static_cast<int>(Send(kDriveCombo, CB_GETCOUNT)); i < n; ++i)
            if (toupper(static_cast<unsigned char>(folder_[0])) == Send(kDriveCombo, CB_GETITEMDATA, static_cast<WPARAM>(i)))
                Send(kDriveCombo, CB_SETCURSEL, static_cast<WPARAM>(i));
    }

    void EnterSelectedFolder()
    {
        int at = static_cast<int>(Send(kFolderList, LB_GETCURSEL));
        if (at >= 0 && at < static_cast<int>(folderTargets_.size()))
            Enter(folderTargets_[static_cast<size_t>(at)]);
    }

    void ChangeDrive()
    {
        int at = static_cast<int>(Send(kDriveCombo, CB_GETCURSEL));
        if (at < 0)
            return;
        char letter = static_cast<char>(Send(kDriveCombo, CB_GETITEMDATA, static_cast<WPARAM>(at)));
        std::string root = std::string(1, letter) + ":\\";
        if (toupper(static_cast<unsigned char>(folder_[0])) == letter)
            return;
        if (!IsFolder(root)) {
            Warn(root + " is not accessible.\n\nThe device is not ready.", MB_OK | MB_ICONSTOP);
            Enter(folder_);  // the combo shows the drive in use again
            return;
        }
        Enter(root);
    }

    // The folder list: the drive's root and each folder down to the current one, each indented
    // one step more, then the current folder's subfolders one step further in.
    void FillFolders()
    {
        Send(kFolderList, LB_RESETCONTENT);
        folderTargets_.clear();
        std::vector<std::string> parts = Split(folder_.substr(std::min<size_t>(3, folder_.size())), '\\');
        std::string path = folder_.substr(0, 3);
        std::vector<std::pair<std::string, std::string>> entries;  // text, target
        entries.emplace_back(path, path);
        for (size_t i = 0; i < parts.size(); ++i) {
            path = FileRules::Combine(path, parts[i]);
            entries.emplace_back(std::string(2 * (i + 1), ' ') + parts[i], path);
        }
        int current = static_cast<int>(entries.size()) - 1;
        for (const std::string& sub : List(folder_, "", true))
            entries.emplace_back(std::string(2 * (parts.size() + 1), ' ') + sub, FileRules::Combine(folder_, sub));
        for (const auto& [text, target] : entries) {
            Send(kFolderList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            folderTargets_.push_back(target);
        }
        Send(kFolderList, LB_SETCURSEL, static_cast<WPARAM>(current));
    }

    void FillFiles()
    {
        files_ = List(folder_, pattern_, false);
        Send(kFileList, LB_RESETCONTENT);
        for (const std::string& f : files_)
            Send(kFileList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
    }

    const FileRules& rules_;
    FileChoice& choice_;
    std::string folder_;
    std::string pattern_;
    DWORD filterIndex_ = 0;
    std::vector<std::string> files_;
    std::vector<std::string> folderTargets_;
};

}  // namespace

bool ShowFileDialog(HWND owner, const FileRules& rules, FileChoice& choice)
{
    FileDialog dialog(rules, choice);
    INT_PTR r = dialog.Run(owner);
    if (r == -1)
        SetError(CDERR_DIALOGFAILURE);
    return r == IDOK;
}

}  // namespace commdlg
