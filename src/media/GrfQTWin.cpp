#include "media/GrfQTWin.h"

#include "base/Reference.h"
#include "media/GrfDocument.h"

CGrfQTWin::~CGrfQTWin()
{
    if (GetSafeHwnd() != NULL)
        Destroy();
}

BOOL CGrfQTWin::Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect)
{
    m_pDocument = pDocument;
    BOOL bCreated = FALSE;
    try {
        CString strFolder;
        if (pDocument == NULL || !pDocument->GetDataFolder(strFolder, TRUE))
            return FALSE;
        const CString strPath = strFolder + pDocument->GetMediaFileName();
        bCreated = CQTWin::Create(pParent, rect, WS_CHILD | WS_CLIPSIBLINGS, strPath,
                                  pDocument->GetKind() == REFKIND_VIRTUALREALITY);
        if (!bCreated)
            AfxMessageBox("Unable to create movie window.", MB_ICONEXCLAMATION);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    return bCreated;
}
