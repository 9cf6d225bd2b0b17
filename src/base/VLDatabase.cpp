#include "base/VLDatabase.h"

#include "resource.h"

// CVLDatabase shares the run-time class of CXDatabase: it has no IMPLEMENT_DYNAMIC of its own.

CVLDatabase::CVLDatabase() = default;

CVLDatabase::~CVLDatabase() = default;

BOOL CVLDatabase::OpenDatabase(LPCSTR lpszFolder)
{
    try {
        CString strFile;
        if (!strFile.LoadString(IDS_DATABASE_FILE))
            strFile = "vl00i1.mdb";
        return OpenChecked(strFile, lpszFolder);
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
}
