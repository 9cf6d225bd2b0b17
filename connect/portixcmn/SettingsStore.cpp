// The settings store: raw reads and writes of connection and global values in the registry or
// the INI file, the key chain, and the one-time move from the INI file into the registry.
#include "portixcmn/PortixCmn.h"
#include "portixcmn/PortixCmnApp.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

const char kRegistryBase[] = "SOFTWARE\\Norvik";
const char kRegistryPortix[] = "SOFTWARE\\Norvik\\Portix\\";
const char kGlobalSection[] = "Por-Tix";
const char kNoConnection[] = "No Internet Access";
const char kEmptyInRegistry[] = "none";
const char kVersionKey[] = "Version";
const char kFallbackVersion[] = "2.0";
const UINT kValueBuffer = PORTIX_VALUE_MAX + 1;

// Writes a value under a registry key (created with its chain when missing).
int SaveToRegistry(const CString& keyPath, LPCSTR pszKey, LPCSTR pszValue)
{
    HKEY key = NULL;
    LSTATUS status = RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, 0, KEY_ALL_ACCESS, &key);
    if (status == ERROR_FILE_NOT_FOUND) {
        status = dlrRegCreateBasePath(keyPath);
        if (status != ERROR_SUCCESS)
            return status;
        status = RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, 0, KEY_ALL_ACCESS, &key);
    }
    if (status != ERROR_SUCCESS)
        return status;
    char value[kValueBuffer] = {};
    if (pszValue)
        std::strncpy(value, pszValue, PORTIX_VALUE_MAX);
    if (!value[0])
        std::strcpy(value, kEmptyInRegistry);
    status = RegSetValueEx(key, pszKey, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                           static_cast<DWORD>(std::strlen(value) + 1));
    RegCloseKey(key);
    return status;
}

int SaveToIni(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue)
{
    CString ini = dlrGetPortixIniPath();
    if (WritePrivateProfileString(pszSection, pszKey, pszValue ? pszValue : "", ini))
        return 0;
    DWORD error = GetLastError();
    return error ? static_cast<int>(error) : ERROR_CANTWRITE;
}

UINT ReadFromIni(LPCSTR pszSection, LPCSTR pszKey, LPSTR pszBuffer, UINT nSize)
{
    DWORD count = GetPrivateProfileString(pszSection, pszKey, "", pszBuffer, nSize, dlrGetPortixIniPath());
    if (!count)
        pszBuffer[0] = '\0';
    return count;
}

// Reads a value of a registry key; a missing key reads the INI file's section instead.
UINT ReadFromRegistry(const CString& keyPath, LPCSTR pszSection, LPCSTR pszKey, LPSTR pszBuffer, UINT nSize)
{
    HKEY key = NULL;
    LSTATUS status = RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key);
    if (status == ERROR_FILE_NOT_FOUND)
        return ReadFromIni(pszSection, pszKey, pszBuffer, nSize);
    if (status != ERROR_SUCCESS)
        return 0;
    DWORD type = REG_NONE;
    DWORD count = nSize;
    status = RegQueryValueEx(key, pszKey, NULL, &type, reinterpret_cast<BYTE*>(pszBuffer), &count);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        pszBuffer[0] = '\0';
        return 0;
    }
    // The text ends inside the buffer, whatever the value held.
    if (count == 0)
        pszBuffer[0] = '\0';
    else if (pszBuffer[count - 1] != '\0')
        pszBuffer[count < nSize ? count : nSize - 1] = '\0';
    if (std::strcmp(pszBuffer, kEmptyInRegistry) == 0) {
        pszBuffer[0] = '\0';
        return 0;
    }
    return count;
}

// A connection's registry key name: the connection's name without its blanks.
CString WithoutBlanks(LPCSTR pszIsp)
{
    CString name = pszIsp ? pszIsp : "";
    name.Remove(' ');
    return name;
}

// All of a buffer-filling profile read, grown 300 bytes at a time until it fits.
template <typename Read>
std::vector<char> ReadWhole(Read read)
{
    std::vector<char> buffer(300);
    for (;;) {
        DWORD got = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got < buffer.size() - 2) {
            buffer.resize(got + 2);
            buffer[got] = buffer[got + 1] = '\0';
            return buffer;
        }
        buffer.resize(buffer.size() + 300);
    }
}

// The names of a double-zero-terminated list.
std::vector<CString> Names(const std::vector<char>& list)
{
    std::vector<CString> out;
    for (const char* p = list.data(); *p; p += std::strlen(p) + 1)
        out.push_back(CString(p));
    return out;
}

// This library's product version, from its own version resource.
CString OwnProductVersion()
{
    char path[MAX_PATH] = {};
    if (!GetModuleFileName(AfxGetInstanceHandle(), path, MAX_PATH))
        std::strcpy(path, "PORTIXCMN.DLL");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSize(path, &handle);
    if (!size)
        return CString(kFallbackVersion);
    std::vector<char> block(size);
    void* value = NULL;
    UINT length = 0;
    if (!GetFileVersionInfo(path, handle, size, block.data()) ||
        !VerQueryValue(block.data(), "StringFileInfo\\040904B0\\ProductVersion", &value, &length) || !length)
        return CString(kFallbackVersion);
    return CString(static_cast<const char*>(value));
}

}  // namespace

PORTIXCMN_API CString dlrRegGetRootPath()
{
    PORTIX_ENTRY();
    return CString(kRegistryPortix) + CPortixCmnApp::ProgramBaseName();
}

PORTIXCMN_API CString dlrRegGetISPPath(LPCSTR pszIsp)
{
    PORTIX_ENTRY();
    return dlrRegGetRootPath() + "\\" + WithoutBlanks(pszIsp);
}

PORTIXCMN_API CString dlrGetPortixIniPath()
{
    PORTIX_ENTRY();
    return CPortixCmnApp::InProgramFolder("portix.ini");
}

PORTIXCMN_API int dlrRegCreateBasePath(LPCSTR pszPath)
{
    PORTIX_ENTRY();
    CString path = pszPath ? pszPath : "";
    int slash = path.ReverseFind('\\');
    CString steps[] = {kRegistryBase, kRegistryPortix, slash < 0 ? path : path.Left(slash), path};
    for (const CString& step : steps) {
        HKEY key = NULL;
        LSTATUS status = RegOpenKeyEx(HKEY_CURRENT_USER, step, 0, KEY_ALL_ACCESS, &key);
        if (status == ERROR_FILE_NOT_FOUND)
            status = RegCreateKeyEx(HKEY_CURRENT_USER, step, 0, const_cast<LPSTR>(""), REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, NULL, &key, NULL);
        if (status != ERROR_SUCCESS)
            return status;
        RegCloseKey(key);
    }
    return 0;
}

PORTIXCMN_API int dlrSaveISPStrData(LPCSTR pszIsp, LPCSTR pszKey, LPCSTR pszValue)
{
    PORTIX_ENTRY();
    if (PortixCmnApp().UseIniFile())
        return SaveToIni(pszIsp, pszKey, pszValue);
    return SaveToRegistry(dlrRegGetISPPath(pszIsp), pszKey, pszValue);
}

PORTIXCMN_API UINT dlrGetISPStrData(LPCSTR pszIsp, LPCSTR pszKey, LPSTR pszBuffer, UINT nSize)
{
    PORTIX_ENTRY();
    if (!pszBuffer || !nSize)
        return 0;
    pszBuffer[0] = '\0';
    if (PortixCmnApp().UseIniFile())
        return ReadFromIni(pszIsp, pszKey, pszBuffer, nSize);
    return ReadFromRegistry(dlrRegGetISPPath(pszIsp), pszIsp, pszKey, pszBuffer, nSize);
}

PORTIXCMN_API int dlrSavePortixStrData(LPCSTR pszKey, LPCSTR pszValue)
{
    PORTIX_ENTRY();
    if (PortixCmnApp().UseIniFile())
        return SaveToIni(kGlobalSection, pszKey, pszValue);
    return SaveToRegistry(dlrRegGetRootPath(), pszKey, pszValue);
}

PORTIXCMN_API UINT dlrGetPortixStrData(LPCSTR pszKey, LPSTR pszBuffer, UINT nSize)
{
    PORTIX_ENTRY();
    if (!pszBuffer || !nSize)
        return 0;
    pszBuffer[0] = '\0';
    if (PortixCmnApp().UseIniFile())
        return ReadFromIni(kGlobalSection, pszKey, pszBuffer, nSize);
    return ReadFromRegistry(dlrRegGetRootPath(), kGlobalSection, pszKey, pszBuffer, nSize);
}

PORTIXCMN_API BOOL dlrIsISPConfigured(LPCSTR pszIsp)
{
    PORTIX_ENTRY();
    if (!PortixCmnApp().UseIniFile()) {
        HKEY key = NULL;
        LSTATUS status = RegOpenKeyEx(HKEY_CURRENT_USER, dlrRegGetISPPath(pszIsp), 0, KEY_READ, &key);
        if (status == ERROR_SUCCESS) {
            RegCloseKey(key);
            return TRUE;
        }
        if (status != ERROR_FILE_NOT_FOUND)
            return FALSE;
    }
    // The connection's own section holds a key.
    char keys[400] = {};
    return GetPrivateProfileString(pszIsp, NULL, "", keys, sizeof keys, dlrGetPortixIniPath()) > 0;
}

PORTIXCMN_API void dlrMigrateINItoRegistry()
{
    PORTIX_ENTRY();
    char version[kValueBuffer] = {};
    dlrGetPortixStrData(kVersionKey, version, sizeof version);
    if (version[0] && std::strcmp(version, "0") != 0)
        return;  // done before
    // Only the registry receives: with the INI file as the store there is nothing to move (and
    // a stamp there would hide the move from a later run that uses the registry).
    if (PortixCmnApp().UseIniFile())
        return;
    CString ini = dlrGetPortixIniPath();
    std::vector<char> sectionList =
        ReadWhole([&](char* buffer, DWORD size) { return GetPrivateProfileSectionNames(buffer, size, ini); });
    for (const CString& section : Names(sectionList)) {
        std::vector<char> lines = ReadWhole(
            [&](char* buffer, DWORD size) { return GetPrivateProfileSection(section, buffer, size, ini); });
        bool global = section.CompareNoCase(kGlobalSection) == 0;
        for (const CString& line : Names(lines)) {
            int equals = line.Find('=');
            if (equals <= 0)
                continue;
            CString key = line.Left(equals);
            CString value = line.Mid(equals + 1);
            if (value.IsEmpty())
                continue;
            if (global)
                dlrSavePortixStrData(key, value);
            else
                dlrSaveISPStrData(section, key, value);  // passwords too: their stored form as it is
            logPortix("Moved %s of [%s] to the registry", static_cast<LPCSTR>(key), static_cast<LPCSTR>(section));
        }
    }
    dlrSavePortixStrData(kVersionKey, OwnProductVersion());
}

PORTIXCMN_API int dlrSetDefaultConnection()
{
    PORTIX_ENTRY();
    int result = dlrSetConfiguredIsp(kNoConnection);
    int support = dlrSetSupportDll(kNoConnection, "ISPNULL.DLL");
    int dialer = dlrSetDialerDll(kNoConnection, "PTDNONE.DLL");
    return result ? result : support ? support : dialer;
}

PORTIXCMN_API BOOL dlrIsThisAConnection(LPCSTR pszName)
{
    PORTIX_ENTRY();
    return CString(pszName ? pszName : "").CompareNoCase(kNoConnection) != 0;
}
