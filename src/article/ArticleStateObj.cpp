#include "article/ArticleStateObj.h"

#include "base/Reference.h"
#include "base/VLMessages.h"

IMPLEMENT_DYNAMIC(CArticleStateObj, CVLStateObj)

CArticleStateObj::CArticleStateObj(CReference* pReference) : m_pReference(pReference)
{
    if (pReference != NULL)
        m_strTitle = pReference->GetTitle().Left(127);
    m_nWindowID = IDW_ARTICLE;
}

CArticleStateObj::~CArticleStateObj()
{
    delete m_pReference;
}

int CArticleStateObj::GetDisc() const
{
    return m_pReference != NULL ? m_pReference->GetDisc() : CVLStateObj::GetDisc();
}

int CArticleStateObj::GetDataDirType() const
{
    if (m_pReference == NULL)
        return CVLStateObj::GetDataDirType();
    try {
        return m_pReference->GetDataDirType();
    } catch (CException* e) {
        e->Delete();
        return DDT_NO_FOLDER;
    }
}

CVLStateObj* CArticleStateObj::Clone() const
{
    CReference* pClone = m_pReference != NULL ? m_pReference->Clone() : NULL;
    auto* pState = new CArticleStateObj(pClone);
    pState->Assign(*this);
    return pState;
}
