#include "search/TopicEngine.h"

#include "search/SubjectIndex.h"

#include "base/ReferenceList.h"
#include "base/TPReference.h"

CTopicEngine::CTopicEngine() : m_bOpened(FALSE)
{
}

CTopicEngine::~CTopicEngine()
{
    if (m_bOpened)
        CloseSubjectIndex();
}

BOOL CTopicEngine::Open()
{
    if (!m_bOpened) {
        m_bOpened = TRUE;
        OpenSubjectIndex();
    }
    return IsSubjectIndexOpen();
}

void CTopicEngine::Search(LPCSTR lpszQuery, CReferenceList* pResults)
{
    if (pResults == NULL || !Open())
        return;
    SearchSubjectIndex(lpszQuery);
    for (int i = 0; i < GetSubjectResultCount(); ++i) {
        CTPReference* pReference = new CTPReference;
        GetSubjectEntry(i, pReference);
        pReference->SetTitle(pReference->GetText());
        CReferenceList* pSubList = new CReferenceList;
        BuildEntryReferences(pReference, pSubList);
        pReference->SetSubList(pSubList);
        pResults->Append(pReference);
    }
}

void CTopicEngine::BuildEntryReferences(CTPReference* pReference, CReferenceList* pList)
{
    if (GetSubjectResultCount() == 0 || pReference == NULL || pReference->GetEntryCount() == 0)
        return;
    BuildSubjectReferenceList(pReference, pList);
}
