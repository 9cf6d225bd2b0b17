// The typed settings: each named value of a connection or of the whole family, with its default,
// the scrambled passwords and the buffer variants for the caller's own memory.
#include "portixcmn/PortixCmn.h"
#include "portixcmn/PortixCmnApp.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const UINT kValueBuffer = PORTIX_VALUE_MAX + 1;
// The scrambling sequence's seed.
const unsigned kScrambleSeed = 17;

CString ReadIsp(LPCSTR pszIsp, LPCSTR pszKey)
{
    char buffer[kValueBuffer] = {};
    dlrGetISPStrData(pszIsp, pszKey, buffer, sizeof buffer);
    return CString(buffer);
}

CString ReadGlobal(LPCSTR pszKey, LPCSTR pszDefault = "")
{
    char buffer[kValueBuffer] = {};
    dlrGetPortixStrData(pszKey, buffer, sizeof buffer);
    return CString(buffer[0] ? buffer : pszDefault);
}

CString QualifiedKey(LPCSTR pszBase, LPCSTR pszQualifier)
{
    return CString(pszBase) + "-" + (pszQualifier ? pszQualifier : "");
}

// The scrambling: each byte XOR the low byte of the next number of the runtime's sequence,
// seeded afresh each time, so the same call unscrambles.
void Scramble(unsigned char* bytes, std::size_t count)
{
    srand(kScrambleSeed);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(bytes[i] ^ (rand() & 0xFF));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The stored form of a password: its scrambled bytes, two hexadecimal digits each.
CString StoredPassword(LPCSTR pszPassword)
{
    std::size_t length = std::strlen(pszPassword);
    unsigned char bytes[PORTIX_PASSWORD_MAX] = {};
    std::memcpy(bytes, pszPassword, length);
    Scramble(bytes, length);
    CString text;
    char digits[3];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        text += digits;
    }
    return text;
}

// The password of a stored form: hexadecimal digits, or an older value scrambled as text.
CString PasswordOf(const CString& stored)
{
    int length = stored.GetLength();
    unsigned char bytes[kValueBuffer] = {};
    std::size_t count = 0;
    bool hex = length > 0 && length % 2 == 0;
    for (int i = 0; hex && i < length; i += 2) {
        int high = HexDigit(stored[i]), low = HexDigit(stored[i + 1]);
        hex = high >= 0 && low >= 0;
        bytes[count++] = static_cast<unsigned char>(high * 16 + low);
    }
    if (!hex) {
        count = static_cast<std::size_t>(length);
        std::memcpy(bytes, static_cast<LPCSTR>(stored), count);
    }
    Scramble(bytes, count);
    // A scrambled zero that came back means the text ends there.
    return CString(reinterpret_cast<const char*>(bytes), static_cast<int>(strnlen(reinterpret_cast<const char*>(bytes), count)));
}

// A value into the caller's buffer: 0 when it fits in nSize characters, else 1 and empty.
int CopyOut(const CString& value, LPSTR pszBuffer, int nSize)
{
    if (!pszBuffer)
        return 1;
    if (nSize >= 0)
        pszBuffer[0] = '\0';
    if (nSize < 0 || value.GetLength() > nSize)
        return 1;
    std::memcpy(pszBuffer, static_cast<LPCSTR>(value), static_cast<std::size_t>(value.GetLength()) + 1);
    return 0;
}

CString Number(int value)
{
    CString text;
    text.Format("%d", value);
    return text;
}

}  // namespace

// Per-connection strings.
#define PORTIX_ISP_STRING(getter, setter, key)                                   \
    PORTIXCMN_API CString getter(LPCSTR pszIsp)                                  \
    {                                                                            \
        PORTIX_ENTRY();                                                          \
        return ReadIsp(pszIsp, key);                                             \
    }                                                                            \
    PORTIXCMN_API int setter(LPCSTR pszIsp, LPCSTR pszValue)                     \
    {                                                                            \
        PORTIX_ENTRY();                                                          \
        return dlrSaveISPStrData(pszIsp, key, pszValue);                         \
    }

PORTIX_ISP_STRING(dlrGetWinSockDLL, dlrSetWinSockDLL, "32-Bit WinSock DLL")
PORTIX_ISP_STRING(dlrGetWinSock16DLL, dlrSetWinSock16DLL, "16-Bit WinSock DLL")
PORTIX_ISP_STRING(dlrGetBrowser, dlrSetBrowser, "Browser")
PORTIX_ISP_STRING(dlrGetBrowserParams, dlrSetBrowserParams, "BrowserParams")
PORTIX_ISP_STRING(dlrGetScreenName, dlrSetScreenName, "EntryName")
PORTIX_ISP_STRING(dlrGetSupportDll, dlrSetSupportDll, "Support DLL")
PORTIX_ISP_STRING(dlrGetDialerDll, dlrSetDialerDll, "Dialer DLL")
PORTIX_ISP_STRING(dlrGetDialer, dlrSetDialer, "Dialer")
PORTIX_ISP_STRING(dlrGetDialerParams, dlrSetDialerParams, "DialerParams")

// Global strings with their defaults.
#define PORTIX_GLOBAL_STRING(getter, setter, key, fallback)                      \
    PORTIXCMN_API CString getter()                                               \
    {                                                                            \
        PORTIX_ENTRY();                                                          \
        return ReadGlobal(key, fallback);                                        \
    }                                                                            \
    PORTIXCMN_API int setter(LPCSTR pszValue)                                    \
    {                                                                            \
        PORTIX_ENTRY();                                                          \
        return dlrSavePortixStrData(key, pszValue);                              \
    }

PORTIX_GLOBAL_STRING(dlrGetConfiguredIsp, dlrSetConfiguredIsp, "Current Isp", "No Internet Access")
PORTIX_GLOBAL_STRING(dlrGetAuthorization, dlrSetAuthorization, "Authorization", "")
PORTIX_GLOBAL_STRING(dlrGetHttpProxy, dlrSetHttpProxy, "HttpProxy", "")
PORTIX_GLOBAL_STRING(dlrGetHttpProxyPort, dlrSetHttpProxyPort, "HttpProxyPort", "80")
PORTIX_GLOBAL_STRING(dlrGetSocksHost, dlrSetSocksHost, "SOCKSHost", "")
PORTIX_GLOBAL_STRING(dlrGetSocksHostPort, dlrSetSocksHostPort, "SOCKSHostPort", "1080")
PORTIX_GLOBAL_STRING(dlrGetNoProxyList, dlrSetNoProxyList, "NoProxyList", "")
PORTIX_GLOBAL_STRING(dlrGetLoggingType, dlrSetLoggingType, "LoggingType", "")

PORTIXCMN_API CString dlrGetPassword(LPCSTR pszIsp, LPCSTR pszQualifier)
{
    PORTIX_ENTRY();
    return PasswordOf(ReadIsp(pszIsp, QualifiedKey("Password", pszQualifier)));
}

PORTIXCMN_API int dlrSetPassword(LPCSTR pszIsp, LPCSTR pszPassword, LPCSTR pszQualifier)
{
    PORTIX_ENTRY();
    LPCSTR password = pszPassword ? pszPassword : "";
    if (std::strlen(password) > PORTIX_PASSWORD_MAX)
        return ERROR_INVALID_PARAMETER;
    return dlrSaveISPStrData(pszIsp, QualifiedKey("Password", pszQualifier), StoredPassword(password));
}

PORTIXCMN_API CString dlrGetUsername(LPCSTR pszIsp, LPCSTR pszQualifier)
{
    PORTIX_ENTRY();
    return ReadIsp(pszIsp, QualifiedKey("UserName", pszQualifier));
}

PORTIXCMN_API int dlrSetUsername(LPCSTR pszIsp, LPCSTR pszUserName, LPCSTR pszQualifier)
{
    PORTIX_ENTRY();
    return dlrSaveISPStrData(pszIsp, QualifiedKey("UserName", pszQualifier), pszUserName);
}

PORTIXCMN_API CString dlrGetPath2AOL(LPCSTR pszIsp)
{
    PORTIX_ENTRY();
    return ReadIsp(pszIsp, "PathToAOL");
}

PORTIXCMN_API int dlrSetPath2AOL(LPCSTR pszIsp, LPCSTR pszValue)
{
    PORTIX_ENTRY();
    if (pszValue && *pszValue)
        WriteProfileString("WAOL", "AppPath", pszValue);
    return dlrSaveISPStrData(pszIsp, "PathToAOL", pszValue);
}

PORTIXCMN_API int dlrGetUseDefaultBrowser(LPCSTR pszIsp)
{
    PORTIX_ENTRY();
    CString value = ReadIsp(pszIsp, "UseDefaultBrowser");
    return value.IsEmpty() ? 1 : std::atoi(value);
}

PORTIXCMN_API int dlrSetUseDefaultBrowser(LPCSTR pszIsp, int nUse)
{
    PORTIX_ENTRY();
    return dlrSaveISPStrData(pszIsp, "UseDefaultBrowser", nUse ? "1" : "0");
}

PORTIXCMN_API int dlrGetBrowserInstanceFlag(LPCSTR pszIsp)
{
    PORTIX_ENTRY();
    return std::atoi(ReadIsp(pszIsp, "OnlyOneBrowserFlag"));
}

PORTIXCMN_API int dlrSetBrowserInstanceFlag(LPCSTR pszIsp, int nFlag)
{
    PORTIX_ENTRY();
    return dlrSaveISPStrData(pszIsp, "OnlyOneBrowserFlag", Number(nFlag));
}

PORTIXCMN_API int dlrGetFirewallType()
{
    PORTIX_ENTRY();
    return std::atoi(ReadGlobal("FirewallType"));
}

PORTIXCMN_API int dlrSetFirewallType(int nType)
{
    PORTIX_ENTRY();
    return dlrSavePortixStrData("FirewallType", Number(nType));
}

PORTIXCMN_API int _dlrGetHttpProxy(LPSTR pszBuffer, int nSize)
{
    PORTIX_ENTRY();
    return CopyOut(dlrGetHttpProxy(), pszBuffer, nSize);
}

PORTIXCMN_API int _dlrGetHttpProxyPort(LPSTR pszBuffer, int nSize)
{
    PORTIX_ENTRY();
    return CopyOut(dlrGetHttpProxyPort(), pszBuffer, nSize);
}

PORTIXCMN_API int _dlrGetSocksHost(LPSTR pszBuffer, int nSize)
{
    PORTIX_ENTRY();
    return CopyOut(dlrGetSocksHost(), pszBuffer, nSize);
}

PORTIXCMN_API int _dlrGetSocksHostPort(LPSTR pszBuffer, int nSize)
{
    PORTIX_ENTRY();
    return CopyOut(dlrGetSocksHostPort(), pszBuffer, nSize);
}
