#include "shell/FramePaneDropTarget.h"

#include "shell/BaseWindow.h"

CFramePaneDropTarget::CFramePaneDropTarget(CBaseWindow& frame, int nPane)
    : CWndTextDropTarget(nPane == 1 ? TEXTDROP_RANK_SEARCH_PANE : TEXTDROP_RANK_DICTIONARY_PANE,
                         nPane == 1 ? TEXTDROP_SEARCH : TEXTDROP_LOOKUP),
      m_frame(frame),
      m_nPane(nPane)
{
}

CFramePaneDropTarget::CFramePaneDropTarget(CBaseWindow& frame, int nPane, CWnd* pButton)
    : CWndTextDropTarget(TEXTDROP_RANK_TOOLBAR, nPane == 1 ? TEXTDROP_SEARCH : TEXTDROP_LOOKUP),
      m_frame(frame),
      m_nPane(nPane),
      m_pButton(pButton)
{
}

CWnd* CFramePaneDropTarget::GetDropWindow()
{
    if (m_pButton != NULL)
        return m_pButton;
    return m_nPane == 1 ? static_cast<CWnd*>(m_frame.GetSearchTabWin())
                        : static_cast<CWnd*>(m_frame.GetDictionaryTabWin());
}

void CFramePaneDropTarget::DropText(int nAction, const CString& strText)
{
    if (nAction == TEXTDROP_SEARCH)
        m_frame.SearchForText(strText);
    else if (nAction == TEXTDROP_LOOKUP)
        m_frame.LookUpWord(strText);
}
