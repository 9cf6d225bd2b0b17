#include "media/EmbeddedSimHolder.h"

BOOL CEmbeddedSimHolder::Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect)
{
    m_pDocument = pDocument;
    m_pParent = pParent;
    m_rect = rect;
    return FALSE;
}

void CEmbeddedSimHolder::Hide()
{
}

void CEmbeddedSimHolder::Show()
{
}

void CEmbeddedSimHolder::Move(const RECT& rect)
{
    m_rect = rect;
}

void CEmbeddedSimHolder::GetPreferredSize(CSize&)
{
}
