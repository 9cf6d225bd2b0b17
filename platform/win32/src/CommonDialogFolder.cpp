// SHBrowseForFolder: the folder tree the user sees (the drives and their folders in an
// owner-drawn list, each node expanded and collapsed in place) or a folder answered by the
// script, handed back as an item list that holds its path.
#include "CommonDialogInternal.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <strings.h>
#include <vector>

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

// The folder the tree starts at (pidlRoot); empty: the drives.
std::string RootOf(const BROWSEINFOA& bi)
{
    char root[MAX_PATH] = {};
    return bi.pidlRoot && SHGetPathFromIDListA(bi.pidlRoot, root) ? std::string(root) : std::string();
}

// Whether `path` is `folder` or lies below it (names compared without regard to case).
bool IsWithin(const std::string& path, const std::string& folder)
{
    if (strcasecmp(path.c_str(), folder.c_str()) == 0)
        return true;
    return path.size() > folder.size() && strncasecmp(path.c_str(), folder.c_str(), folder.size()) == 0 &&
           (folder.back() == '\\' || path[folder.size()] == '\\');
}

// The one rule for an answer: an existing folder inside the tree's root, named without a
// trailing backslash (except a drive's root).
bool AcceptFolder(HWND owner, const std::string& root, std::string& answer)
{
    while (answer.size() > 3 && (answer.back() == '\\' || answer.back() == '/'))
        answer.pop_back();
    DWORD a = GetFileAttributes(answer.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) {
        MessageBoxA(owner, (answer + "\nThe folder does not exist.").c_str(), "Browse for Folder", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!root.empty() && !IsWithin(answer, root)) {
        MessageBoxA(owner, (answer + "\nThe folder is not in " + root + ".").c_str(), "Browse for Folder",
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

constexpr int kTitle = 14146;
constexpr int kStatus = 14147;
constexpr int kTree = 14145;
constexpr int kIndent = 16;  // pixels per tree level
constexpr int kBox = 9;      // the expand box

std::vector<std::string> Subfolders(const std::string& folder)
{
    std::vector<std::string> out;
    std::string pattern = folder + (folder.back() == '\\' ? "*" : "\\*");
    WIN32_FIND_DATA found;
    HANDLE h = FindFirstFile(pattern.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    do {
        std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) &&
            name != "." && name != "..")
            out.push_back(name);
    } while (FindNextFile(h, &found));
    FindClose(h);
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    return out;
}

std::string Child(const std::string& folder, const std::string& name)
{
    return folder + (folder.back() == '\\' ? "" : "\\") + name;
}

class FolderDialog : public commdlg::DialogWindow {
public:
    FolderDialog(const BROWSEINFOA& bi, std::string& chosen)
        : DialogWindow("Browse for Folder", 212, 178), bi_(bi), chosen_(chosen), root_(RootOf(bi))
    {
        Add("Static", bi.lpszTitle ? bi.lpszTitle : "", kTitle, SS_LEFT | SS_NOPREFIX, 8, 6, 196, 24);
        if (bi.ulFlags & BIF_STATUSTEXT)
            Add("Static", "", kStatus, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 8, 30, 196, 9);
        Add("ListBox", "", kTree,
            LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                WS_BORDER | WS_TABSTOP | WS_GROUP,
            8, 42, 196, 110);
        Add("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 100, 158, 50, 14);
        Add("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 154, 158, 50, 14);
    }

private:
    struct Node {
        std::string path;
        std::string text;
        int level = 0;
        bool expanded = false;
        bool hasChildren = false;
    };

    void OnInit() override
    {
        if (!root_.empty()) {
            Insert(nodes_.size(), MakeNode(root_, root_, 0));
            Expand(0);
        } else {
            DWORD drives = GetLogicalDrives();
            for (int i = 0; i < 26; ++i) {
                if (!(drives & (1u << i)))
                    continue;
                std::string path = std::string(1, static_cast<char>('A' + i)) + ":\\";
                char label[MAX_PATH] = {};
                GetVolumeInformation(path.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
                std::string text = (label[0] ? std::string(label) + " " : std::string()) + "(" + path.substr(0, 2) + ")";
                Insert(nodes_.size(), MakeNode(path, text, 0));
            }
        }
        // The callback hears of the dialog first, then of the selection (the one it may have
        // chosen itself with BFFM_SETSELECTION).
        Send(kTree, LB_SETCURSEL, 0);
        if (bi_.lpfn) {
            int told = selectionsTold_;
            bi_.lpfn(dlg_, BFFM_INITIALIZED, 0, bi_.lParam);
            if (selectionsTold_ == told)
                SelectionChanged();
        }
    }

    bool OnCommand(int id, int code) override
    {
        if (id == IDOK) {
            int at = Current();
            // Enter on a closed folder with subfolders opens it; otherwise it chooses.
            if (GetFocus() == Item(kTree) && at >= 0 && nodes_[static_cast<size_t>(at)].hasChildren &&
                !nodes_[static_cast<size_t>(at)].expanded) {
                Expand(at);
                return true;
            }
            if (at < 0 || !IsWindowEnabled(Item(IDOK)))  // the callback may forbid this folder
                return true;
            std::string answer = nodes_[static_cast<size_t>(at)].path;
            if (!AcceptFolder(dlg_, root_, answer))
                return true;
            chosen_ = answer;
            End(IDOK);
            return true;
        }
        if (id == kTree && code == LBN_DBLCLK) {
            int at = Current();
            if (at >= 0)
                nodes_[static_cast<size_t>(at)].expanded ? Collapse(at) : Expand(at);
            return true;
        }
        if (id == kTree && code == LBN_SELCHANGE) {
            SelectionChanged();
            return true;
        }
        return false;
    }

    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override
    {
        switch (msg) {
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
            result = TRUE;
            return true;
        case WM_DRAWITEM:
            Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
        case WM_VKEYTOITEM: {
            int at = Current();
            result = -1;
            if (at < 0)
                return true;
            Node& n = nodes_[static_cast<size_t>(at)];
            switch (LOWORD(wParam)) {
            case VK_ADD:
            case VK_OEM_PLUS:
            case VK_RIGHT:
                Expand(at);
                result = -2;
                break;
            case VK_SUBTRACT:
            case VK_OEM_MINUS:
                Collapse(at);
                result = -2;
                break;
            case VK_LEFT:
                // Closes an open folder; on a closed one moves to its parent.
                if (n.expanded) {
                    Collapse(at);
                } else {
                    for (int p = at - 1; p >= 0; --p)
                        if (nodes_[static_cast<size_t>(p)].level < n.level) {
                            Select(p);
                            break;
                        }
                }
                result = -2;
                break;
            default: break;
            }
            return true;
        }
        case BFFM_SETSELECTIONA: {
            std::string path;
            if (wParam) {
                path = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
            } else {
                char text[MAX_PATH] = {};
                if (lParam && SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), text))
                    path = text;
            }
            result = Reveal(path);
            return true;
        }
        case BFFM_ENABLEOK:
            EnableWindow(Item(IDOK), lParam != 0);
            return true;
        case BFFM_SETSTATUSTEXTA:
            if (lParam)
                SetDlgItemTextA(dlg_, kStatus, reinterpret_cast<LPCSTR>(lParam));
            return true;
        default: return false;
        }
    }

    Node MakeNode(const std::string& path, const std::string& text, int level)
    {
        Node n;
        n.path = path;
        n.text = text;
        n.level = level;
        n.hasChildren = !Subfolders(path).empty();
        return n;
    }

    void Insert(size_t at, const Node& n)
    {
        nodes_.insert(nodes_.begin() + static_cast<long>(at), n);
        Send(kTree, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(n.text.c_str()));
    }

    int Current() const
    {
        int at = static_cast<int>(Send(kTree, LB_GETCURSEL));
        return at >= 0 && at < static_cast<int>(nodes_.size()) ? at : -1;
    }

    void Select(int at)
    {
        Send(kTree, LB_SETCURSEL, static_cast<WPARAM>(at));
        SelectionChanged();
    }

    void SelectionChanged()
    {
        int at = Current();
        if (at < 0 || !bi_.lpfn)
            return;
        ++selectionsTold_;
        LPITEMIDLIST list = MakeList(nodes_[static_cast<size_t>(at)].path);
        bi_.lpfn(dlg_, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(list), bi_.lParam);
        ILFree(list);
    }

    void Expand(int at)
    {
        Node& n = nodes_[static_cast<size_t>(at)];
        if (n.expanded || !n.hasChildren)
            return;
        n.expanded = true;
        std::string path = n.path;
        int level = n.level + 1;
        size_t where = static_cast<size_t>(at) + 1;
        for (const std::string& name : Subfolders(path))
            Insert(where++, MakeNode(Child(path, name), name, level));
        InvalidateRect(Item(kTree), nullptr, TRUE);
    }

    void Collapse(int at)
    {
        Node& n = nodes_[static_cast<size_t>(at)];
        if (!n.expanded)
            return;
        n.expanded = false;
        size_t next = static_cast<size_t>(at) + 1;
        while (next < nodes_.size() && nodes_[next].level > n.level) {
            nodes_.erase(nodes_.begin() + static_cast<long>(next));
            Send(kTree, LB_DELETESTRING, next);
        }
        Send(kTree, LB_SETCURSEL, static_cast<WPARAM>(at));
        InvalidateRect(Item(kTree), nullptr, TRUE);
    }

    // Opens the tree down to a folder and selects it. False when the tree does not hold it.
    bool Reveal(std::string path)
    {
        while (path.size() > 3 && path.back() == '\\')
            path.pop_back();
        int found = -1;
        for (size_t i = 0; i < nodes_.size(); ++i) {
            if (strcasecmp(nodes_[i].path.c_str(), path.c_str()) == 0) {
                found = static_cast<int>(i);
                break;
            }
            if (IsWithin(path, nodes_[i].path))
                Expand(static_cast<int>(i));
        }
        if (found < 0)
            return false;
        Select(found);
        return true;
    }

    // Where a node's name is drawn (highlighted when selected) in its item's rectangle.
    static RECT TextRect(HDC dc, const Node& n, const RECT& item)
    {
        RECT text{item.left + 2 + n.level * kIndent + kBox + 22, item.top, item.right, item.bottom};
        SIZE size{};
        GetTextExtentPoint32A(dc, n.text.c_str(), static_cast<int>(n.text.size()), &size);
        text.right = std::min<LONG>(item.right, text.left + size.cx + 4);
        return text;
    }

    void Draw(const DRAWITEMSTRUCT& dis)
    {
        if (dis.itemID >= nodes_.size()) {
            FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_WINDOW));
            return;
        }
        const Node& n = nodes_[dis.itemID];
        RECT r = dis.rcItem;
        if (dis.itemAction == ODA_FOCUS) {
            // The focus rectangle is drawn inverting: drawing it again takes it away.
            RECT text = TextRect(dis.hDC, n, r);
            DrawFocusRect(dis.hDC, &text);
            return;
        }
        FillRect(dis.hDC, &r, GetSysColorBrush(COLOR_WINDOW));
        int x = r.left + 2 + n.level * kIndent;
        int mid = (r.top + r.bottom) / 2;
        if (n.hasChildren) {
            // The expand box: a grey square with a minus, and a plus while closed.
            HPEN grey = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
            HGDIOBJ oldPen = SelectObject(dis.hDC, grey);
            HGDIOBJ oldBrush = SelectObject(dis.hDC, GetSysColorBrush(COLOR_WINDOW));
            Rectangle(dis.hDC, x, mid - kBox / 2, x + kBox, mid + kBox / 2 + 1);
            SelectObject(dis.hDC, GetStockObject(BLACK_PEN));
            MoveToEx(dis.hDC, x + 2, mid, nullptr);
            LineTo(dis.hDC, x + kBox - 2, mid);
            if (!n.expanded) {
                MoveToEx(dis.hDC, x + kBox / 2, mid - kBox / 2 + 2, nullptr);
                LineTo(dis.hDC, x + kBox / 2, mid + kBox / 2 - 1);
            }
            SelectObject(dis.hDC, oldBrush);
            SelectObject(dis.hDC, oldPen);
            DeleteObject(grey);
        }
        // A folder: a small yellow tab and body.
        int fx = x + kBox + 4;
        HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 128));
        HGDIOBJ oldBrush = SelectObject(dis.hDC, yellow);
        HGDIOBJ oldPen = SelectObject(dis.hDC, GetStockObject(BLACK_PEN));
        Rectangle(dis.hDC, fx, mid - 4, fx + 6, mid - 2);
        Rectangle(dis.hDC, fx, mid - 3, fx + 14, mid + 6);
        SelectObject(dis.hDC, oldPen);
        SelectObject(dis.hDC, oldBrush);
        DeleteObject(yellow);

        RECT text = TextRect(dis.hDC, n, r);
        bool selected = (dis.itemState & ODS_SELECTED) != 0;
        FillRect(dis.hDC, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(dis.hDC, TRANSPARENT);
        SetTextColor(dis.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT inner = text;
        inner.left += 2;
        DrawTextA(dis.hDC, n.text.c_str(), static_cast<int>(n.text.size()), &inner, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (dis.itemState & ODS_FOCUS)
            DrawFocusRect(dis.hDC, &text);
    }

    const BROWSEINFOA& bi_;
    std::string& chosen_;
    std::string root_;
    std::vector<Node> nodes_;
    int selectionsTold_ = 0;
};

}  // namespace

PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderA(LPBROWSEINFOA bi)
{
    if (!bi)
        return nullptr;
    std::string title = bi->lpszTitle ? bi->lpszTitle : "";
    std::string root = RootOf(*bi);
    auto accept = [&](std::string& answer) { return AcceptFolder(bi->hwndOwner, root, answer); };
    auto show = [&](std::string& answer) {
        FolderDialog dialog(*bi, answer);
        return dialog.Run(bi->hwndOwner) == IDOK;
    };
    std::string folder;
    if (!commdlg::Ask(bi->hwndOwner, "folder", title.empty() ? "Browse for Folder" : title, accept, show, folder))
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
