// The services every dialer needs: the platform, file tests and searches, the browser search,
// the height of a dialog template and the installation of the sockets bridge.
#include "portixcmn/PortixCmn.h"
#include "portixcmn/PortixCmnApp.h"

#include <portix/Status.h>

#include <windows.h>

#include <cstring>

namespace {

// A search looks at no more entries than this (drive C: may be a whole host's files).
const long kSearchBudget = 200000;

CString WithSlash(const CString& folder)
{
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] == '\\')
        return folder;
    return folder + "\\";
}

CString FullPath(LPCSTR pszPath)
{
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathName(pszPath, MAX_PATH, full, NULL);
    return length && length < MAX_PATH ? CString(full) : CString(pszPath);
}

bool IsFile(const CString& path)
{
    DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Depth-first through the folder (absolute, ending in "\"); empty when not found.
CString Search(const CString& folder, LPCSTR pszFileName, LPCSTR pszCompanion, long& budget)
{
    CString candidate = folder + pszFileName;
    if (IsFile(candidate) && (!pszCompanion || !*pszCompanion || dlrFileExist(folder + pszCompanion)))
        return candidate;
    WIN32_FIND_DATA data;
    HANDLE find = FindFirstFile(folder + "*.*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return CString();
    CString found;
    do {
        if (--budget < 0)
            break;
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0)
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            found = Search(folder + data.cFileName + "\\", pszFileName, pszCompanion, budget);
    } while (found.IsEmpty() && budget >= 0 && FindNextFile(find, &data));
    FindClose(find);
    return found;
}

char* NewString(const CString& text)
{
    char* copy = new char[static_cast<std::size_t>(text.GetLength()) + 1];
    std::memcpy(copy, static_cast<LPCSTR>(text), static_cast<std::size_t>(text.GetLength()) + 1);
    return copy;
}

WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

// The sockets files that the bridge installs live in the calling program's folder.
CString ProgramFile(LPCSTR pszName) { return CPortixCmnApp::InProgramFolder(pszName); }

bool DeleteOrMissing(LPCSTR pszName, bool accessDeniedIsFine)
{
    if (DeleteFile(ProgramFile(pszName)))
        return true;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || (accessDeniedIsFine && error == ERROR_ACCESS_DENIED);
}

bool CopyThunk(LPCSTR pszFrom, LPCSTR pszTo)
{
    if (CopyFile(ProgramFile(pszFrom), ProgramFile(pszTo), FALSE))
        return true;
    DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_SHARING_VIOLATION;
}

}  // namespace

PORTIXCMN_API int dlrGetOS()
{
    PORTIX_ENTRY();
    OSVERSIONINFO info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionEx(&info))
        return PTX_UNKNOWN_ERROR;
    return static_cast<int>(info.dwPlatformId);
}

PORTIXCMN_API BOOL dlrFileExist(LPCSTR pszPath)
{
    PORTIX_ENTRY();
    if (!pszPath || !*pszPath)
        return FALSE;
    HANDLE file = CreateFile(pszPath, 0, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return TRUE;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

PORTIXCMN_API char* dlrSearchForFile(LPCSTR pszFileName, LPCSTR pszStartFolder, LPCSTR pszCompanion)
{
    PORTIX_ENTRY();
    if (!pszFileName || !*pszFileName || !pszStartFolder || !*pszStartFolder)
        return NULL;
    long budget = kSearchBudget;
    CString found = Search(WithSlash(FullPath(pszStartFolder)), pszFileName, pszCompanion, budget);
    return found.IsEmpty() ? NULL : NewString(found);
}

PORTIXCMN_API CString dlrFindDefaultBrowser()
{
    PORTIX_ENTRY();
    DWORD drives = GetLogicalDrives();
    for (LPCSTR name : {"netscape.exe", "iexplore.exe"}) {
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            if (!(drives & (1u << (letter - 'a'))))
                continue;
            char root[4] = {letter, ':', '\\', '\0'};
            if (GetDriveType(root) != DRIVE_FIXED)
                continue;
            if (char* found = dlrSearchForFile(name, root, NULL)) {
                CString path(found);
                delete[] found;
                return path;
            }
        }
    }
    return CString();
}

PORTIXCMN_API CString dlrFileAndPath(LPCSTR pszCommandLine)
{
    PORTIX_ENTRY();
    CString line = pszCommandLine ? pszCommandLine : "";
    CString lower = line;
    lower.MakeLower();
    int exe = lower.Find(".exe");
    if (line.Find('\\') < 0 || exe < 0)
        return CString();
    int end = exe + 4;
    if (end < line.GetLength() && line[end] == '"')
        ++end;  // the closing quote of a quoted path
    return line.Left(end);
}

PORTIXCMN_API WORD dlrGetDialogHeight(UINT nTemplateId)
{
    // The caller's resources: the template belongs to the module that asks.
    HINSTANCE resources = AfxGetResourceHandle();
    PORTIX_ENTRY();
    HRSRC found = FindResource(resources, MAKEINTRESOURCE(nTemplateId), RT_DIALOG);
    if (!found)
        return 0;
    DWORD size = SizeofResource(resources, found);
    HGLOBAL loaded = LoadResource(resources, found);
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : NULL;
    if (!data)
        return 0;
    // DLGTEMPLATEEX (version 1, signature 0xFFFF) keeps its height at 24, DLGTEMPLATE at 16.
    bool extended = size >= 4 && ReadWord(data) == 1 && ReadWord(data + 2) == 0xFFFF;
    std::size_t at = extended ? 24 : 16;
    return size >= at + 2 ? ReadWord(data + at) : 0;
}

PORTIXCMN_API int _dlrSetupWinsock(LPCSTR pszIsp, BOOL bInstall, BOOL bKeep)
{
    PORTIX_ENTRY();
    CString sockets;
    if (bInstall && !bKeep)
        sockets = dlrGetWinSockDLL(pszIsp);
    if (!DeleteOrMissing("winsock.dll", false)) {
        logPortix("Cannot remove winsock.dll (error %lu)", static_cast<unsigned long>(GetLastError()));
        return PTX_UNKNOWN_ERROR;
    }
    for (LPCSTR name : {"wsa32srv.dll", "wsock32.dll"}) {
        if (!DeleteOrMissing(name, true) && !bKeep) {
            logPortix("Cannot remove %s (error %lu)", name, static_cast<unsigned long>(GetLastError()));
            return PTX_UNKNOWN_ERROR;
        }
    }
    int os = dlrGetOS();
    if (os == PTX_UNKNOWN_ERROR)
        return PTX_UNKNOWN_ERROR;
    if (!bInstall || os == VER_PLATFORM_WIN32_NT)
        return PTX_SUCCESS;
    if (os == VER_PLATFORM_WIN32_WINDOWS) {
        if (!CopyThunk("wsock32.thk", "wsock32.dll") || !CopyThunk("wsa32srv.thk", "wsa32srv.dll")) {
            logPortix("Cannot install the sockets bridge (error %lu)", static_cast<unsigned long>(GetLastError()));
            return PTX_UNKNOWN_ERROR;
        }
    }
    if (bKeep)
        return PTX_SUCCESS;
    // The connection's own sockets library under its bare name beside the program.
    if (sockets.IsEmpty())
        return PTX_UNKNOWN_ERROR;
    bool absolute = sockets.GetLength() >= 2 && (sockets[1] == ':' || sockets[0] == '\\');
    CString source = absolute ? sockets : ProgramFile(sockets);
    CString target = ProgramFile(sockets.Mid(sockets.ReverseFind('\\') + 1));
    if (FullPath(source).CompareNoCase(FullPath(target)) == 0)
        return PTX_SUCCESS;  // already there
    if (!CopyFile(source, target, FALSE)) {
        logPortix("Cannot copy %s (error %lu)", static_cast<LPCSTR>(source), static_cast<unsigned long>(GetLastError()));
        return PTX_UNKNOWN_ERROR;
    }
    return PTX_SUCCESS;
}
