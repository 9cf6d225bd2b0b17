#include "explore/AtlasDistCalcEditBox.h"

IMPLEMENT_DYNAMIC(CAtlasDistCalcEditBox, CEdit)

BEGIN_MESSAGE_MAP(CAtlasDistCalcEditBox, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

void CAtlasDistCalcEditBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    if (CWnd* pPanel = GetParent(); pPanel != NULL)
        pPanel->PostMessage(VLM_DISTCALC_KEY, nChar, static_cast<LPARAM>((nFlags & 0xFFFF) | (m_nPlace << 16)));
}

void CAtlasDistCalcEditBox::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    if (CWnd* pPanel = GetParent(); pPanel != NULL)
        pPanel->PostMessage(VLM_DISTCALC_FOCUS, 0, static_cast<LPARAM>(m_nPlace << 16));
}
