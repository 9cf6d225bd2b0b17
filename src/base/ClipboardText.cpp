#include "base/ClipboardText.h"

#include <cstring>

BOOL CopyTextToClipboard(CWnd* pOwner, const CString& strText)
{
    if (strText.IsEmpty())
        return FALSE;
    const SIZE_T nBytes = static_cast<SIZE_T>(strText.GetLength()) + 1;
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    if (hText == NULL)
        return FALSE;
    void* pText = ::GlobalLock(hText);
    if (pText == NULL) {
        ::GlobalFree(hText);
        return FALSE;
    }
    std::memcpy(pText, static_cast<LPCSTR>(strText), nBytes);
    ::GlobalUnlock(hText);
    if (!::OpenClipboard(pOwner != NULL ? pOwner->GetSafeHwnd() : NULL)) {
        ::GlobalFree(hText);
        return FALSE;
    }
    ::EmptyClipboard();
    const BOOL bDone = ::SetClipboardData(CF_TEXT, hText) != NULL;
    if (!bDone)
        ::GlobalFree(hText);
    ::CloseClipboard();
    return bDone;
}
