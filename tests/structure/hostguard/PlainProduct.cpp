// What product code may do: the platform's interface, including names the guard must not break.
#include <afxwin.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

CString Configured()
{
    char value[260];
    DWORD length = GetEnvironmentVariable("VMPATH", value, sizeof value);
    CString text = length > 0 && length < sizeof value ? CString(value) : CString();
    CFileStatus status;
    if (CFile::GetStatus(text, status) && (status.m_attribute & CFile::system) != 0)
        text.Empty();
    return text;
}
