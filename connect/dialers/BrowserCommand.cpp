// The URL check and the browser's command line.
#include "dialers/BrowserCommand.h"

#include <windows.h>

namespace {

const int kUrlLimit = 2048;

BOOL StartsWithNoCase(const CString& text, LPCSTR prefix)
{
    const int length = lstrlenA(prefix);
    return text.GetLength() >= length && text.Left(length).CompareNoCase(prefix) == 0;
}

}  // namespace

BOOL IsLaunchableUrl(const CString& strUrl)
{
    const int length = strUrl.GetLength();
    if (length == 0 || length > kUrlLimit)
        return FALSE;
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(strUrl[i]);
        if (c <= ' ' || c == 0x7F || c == '"')
            return FALSE;
    }
    int start = 0;
    if (StartsWithNoCase(strUrl, "http://"))
        start = 7;
    else if (StartsWithNoCase(strUrl, "https://"))
        start = 8;
    else
        return FALSE;
    // The authority runs to the first "/", "?" or "#"; its host follows any user part and ends
    // at the port.
    int end = start;
    while (end < length && strUrl[end] != '/' && strUrl[end] != '?' && strUrl[end] != '#')
        ++end;
    CString authority = strUrl.Mid(start, end - start);
    int at = authority.ReverseFind('@');
    CString hostPart = at >= 0 ? authority.Mid(at + 1) : authority;
    if (!hostPart.IsEmpty() && hostPart[0] == '[')
        return hostPart.Find(']') > 1;
    int colon = hostPart.Find(':');
    CString host = colon >= 0 ? hostPart.Left(colon) : hostPart;
    return !host.IsEmpty();
}

CString BrowserCommandLine(const CString& strProgram, const CString& strUrl, const CString& strParams)
{
    CString commandLine = strProgram.Find(' ') >= 0 ? "\"" + strProgram + "\"" : strProgram;
    if (!strUrl.IsEmpty())
        commandLine += " " + strUrl;
    if (!strParams.IsEmpty())
        commandLine += " " + strParams;
    return commandLine;
}

CString ProgramFolderOf(const CString& strProgram)
{
    int slash = strProgram.ReverseFind('\\');
    return slash < 0 ? CString() : strProgram.Left(slash);
}
