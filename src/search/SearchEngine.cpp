#include "search/SearchEngine.h"

#include "search/KWReference.h"
#include "search/TopicEngine.h"
#include "search/WordEngine.h"

#include "base/AppServices.h"
#include "base/ReferenceList.h"

#include <memory>
#include <new>

CSearchEngine::CSearchEngine()
    : m_bInitialised(FALSE),
      m_bSearching(FALSE),
      m_bTopicMode(TRUE),
      m_pTopicEngine(NULL),
      m_pWordEngine(NULL),
      m_bWordCheck(TRUE)
{
}

CSearchEngine::~CSearchEngine()
{
    Cleanup();
}

BOOL CSearchEngine::Init()
{
    m_bSearching = FALSE;
    if (m_pTopicEngine == NULL)
        m_pTopicEngine = new (std::nothrow) CTopicEngine;
    if (m_pTopicEngine == NULL || !m_pTopicEngine->Open())
        return FALSE;
    if (m_pWordEngine == NULL)
        m_pWordEngine = new (std::nothrow) CWordEngine;
    if (m_pWordEngine == NULL) {
        delete m_pTopicEngine;
        m_pTopicEngine = NULL;
        return FALSE;
    }
    if (!m_pWordEngine->Open() || !LoadTable())
        return FALSE;
    m_bInitialised = TRUE;
    return TRUE;
}

void CSearchEngine::Cleanup()
{
    delete m_pTopicEngine;
    m_pTopicEngine = NULL;
    delete m_pWordEngine;
    m_pWordEngine = NULL;
    FreeTable();
    m_bInitialised = FALSE;
}

void CSearchEngine::Search(LPCSTR lpszQuery, CReferenceList* pResults, BOOL bTopicMode)
{
    m_bSearching = TRUE;
    m_bTopicMode = bTopicMode;
    try {
        RunSearch(lpszQuery, pResults);
    } catch (...) {
        m_bSearching = FALSE;
        throw;
    }
    m_bSearching = FALSE;
}

void CSearchEngine::RunSearch(LPCSTR lpszQuery, CReferenceList* pResults)
{
    if (!m_bInitialised && !Init())
        return;
    std::unique_ptr<CReferenceList> pTopics(new (std::nothrow) CReferenceList);
    std::unique_ptr<CReferenceList> pWords(new (std::nothrow) CReferenceList);
    if (pTopics == NULL || pWords == NULL)
        return;
    if (m_bTopicMode || !m_bSearching)
        m_pTopicEngine->Search(lpszQuery, pTopics.get());
    if (m_bSearching && !m_bTopicMode)
        m_pWordEngine->Search(lpszQuery, pWords.get(), m_bWordCheck);
    else if (m_bSearching && pTopics->GetCount() == 0)
        m_pWordEngine->Search(lpszQuery, pWords.get(), m_bWordCheck);
    else if (!m_bSearching)
        m_pWordEngine->Search(lpszQuery, pWords.get(), FALSE);
    std::unique_ptr<CReferenceList> pFlat(FlattenTopicResults(pTopics.release()));
    if (pResults != NULL)
        pResults->Merge(pFlat.get(), pWords.get());
}

CReferenceList* CSearchEngine::FlattenTopicResults(CReferenceList* pTopics)
{
    CReferenceList* pFlat = new CReferenceList;
    if (pTopics == NULL)
        return pFlat;
    while (CReference* pTopic = pTopics->RemoveFirst()) {
        if (m_bSearching)
            pFlat->Append(pTopic);
        if (CReferenceList* pSubList = pTopic->GetSubList()) {
            while (CReference* pEntry = pSubList->RemoveFirst())
                pFlat->Append(pEntry);
        }
        if (m_bSearching)
            pTopic->SetSubList(NULL);
        else
            delete pTopic;
    }
    delete pTopics;
    return pFlat;
}

void CSearchEngine::WordSearch(LPCSTR lpszQuery, CReferenceList* pResults)
{
    if (!m_bInitialised && !Init())
        return;
    m_bWordCheck = FALSE;
    m_pWordEngine->Search(lpszQuery, pResults, FALSE);
    m_bWordCheck = TRUE;
}

CKWReference* CSearchEngine::FindInArticle(const CString& strText, LONG nRin)
{
    if (!m_bInitialised && !Init())
        return NULL;
    m_bWordCheck = FALSE;
    CKWReference* pFound = m_pWordEngine->FindInArticle(strText, nRin);
    m_bWordCheck = TRUE;
    return pFound;
}

CSearchEngine* GetAppSearchEngine()
{
    return dynamic_cast<CSearchEngine*>(AppServices().owned.pSearchEngine);
}
