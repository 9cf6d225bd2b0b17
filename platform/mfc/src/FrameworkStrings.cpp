// The framework's own texts: the program's string table answers first, so a program may word
// them its own way; the class library's default wording answers otherwise.
#include <afxwin.h>

namespace {

struct FrameworkText {
    UINT id;
    const char* text;
};

constexpr FrameworkText kTexts[] = {
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {AFX_IDS_HELPMODEMESSAGE, "Select an object on which to get Help"},
    {AFX_IDS_UNTITLED, "Untitled"},
    {ID_INDICATOR_EXT, "EXT"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_INDICATOR_OVR, "OVR"},
    {ID_INDICATOR_REC, "REC"},
    {AFX_IDS_ALLFILTER, "All Files (*.*)"},
    {AFX_IDS_OPENFILE, "Open"},
    {AFX_IDS_SAVEFILE, "Save As"},
    {AFX_IDS_SAVEFILECOPY, "Save As"},
    {AFX_IDS_PRINTONPORT, "on %1"},
    {AFX_IDS_PRINTPAGENUM, "Page %u"},
    {AFX_IDP_ASK_TO_SAVE, "Save changes to %1?"},
    {AFX_IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "Failed to open document."},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
    {AFX_IDP_FILE_TOO_LARGE, "The file is too large to open."},
    {AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job."},
    {AFX_IDP_FAILED_INVALID_FORMAT, "Unexpected file format."},
    {AFX_IDP_FAILED_INVALID_PATH, "%1\nCannot find this file.\nPlease verify that the correct path and file name are given."},
    {AFX_IDP_FAILED_DISK_FULL, "Destination disk drive is full."},
    {AFX_IDP_FAILED_ACCESS_READ, "Unable to read from %1, it is opened by someone else."},
    {AFX_IDP_FAILED_ACCESS_WRITE, "Unable to write to %1, it is read-only or opened by someone else."},
    {AFX_IDP_FAILED_IO_ERROR_READ, "An unexpected error occurred while reading %1."},
    {AFX_IDP_FAILED_IO_ERROR_WRITE, "An unexpected error occurred while writing %1."},
    {AFX_IDP_FILE_NOT_FOUND, "%1\nFile not found."},
};

}  // namespace

BOOL AFXAPI AfxLoadString(UINT nIDS, CString& rString)
{
    if (rString.LoadString(nIDS) && !rString.IsEmpty())
        return TRUE;
    for (const FrameworkText& t : kTexts)
        if (t.id == nIDS) {
            rString = t.text;
            return TRUE;
        }
    rString.Empty();
    return FALSE;
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1)
{
    CString format;
    AfxLoadString(nIDS, format);
    rString.Empty();
    for (int i = 0; i < format.GetLength(); ++i) {
        if (format[i] == '%' && i + 1 < format.GetLength() && format[i + 1] == '1') {
            rString += lpsz1 != NULL ? lpsz1 : "";
            ++i;
        } else {
            rString += format[i];
        }
    }
}
