#include "search/DictionarySearchEngine.h"

#include "base/ShowMessage.h"

CDictionarySearchEngine::CDictionarySearchEngine() = default;

CDictionarySearchEngine::~CDictionarySearchEngine()
{
    CloseMainIndex(FALSE);
    delete[] m_pMasterIndex;
}

void CDictionarySearchEngine::Close()
{
    CloseMainIndex(TRUE);
}

void CDictionarySearchEngine::CloseMainIndex(BOOL bReport)
{
    if (m_pMainIndex != NULL) {
        try {
            m_pMainIndex->Close();
        } catch (CException* e) {
            e->Delete();
            if (bReport)
                ShowMessage(">>> Error closing DICMAIN.ndx");
        }
        delete m_pMainIndex;
        m_pMainIndex = NULL;
    }
    delete[] m_pBlocks;
    m_pBlocks = NULL;
}

BOOL CDictionarySearchEngine::Reopen()
{
    if (m_pMainIndex != NULL)
        return TRUE;
    if (m_strMainIndexPath.IsEmpty())
        return FALSE;
    CFile* pFile = new CFile;
    if (!pFile->Open(m_strMainIndexPath, CFile::modeRead | CFile::shareDenyWrite)) {
        delete pFile;
        ShowMessage("Error opening dictionary_ndx_file");
        return FALSE;
    }
    m_pMainIndex = pFile;
    return TRUE;
}
