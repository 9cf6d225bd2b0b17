#include "widgets/TextDropTarget.h"

#include <algorithm>
#include <vector>

namespace {

// The targets that exist, ordered by rank and, within a rank, by joining.
std::vector<CTextDropTarget*>& Targets()
{
    static std::vector<CTextDropTarget*> targets;
    return targets;
}

}  // namespace

CTextDropTarget::CTextDropTarget(int nRank) : m_nRank(nRank)
{
    std::vector<CTextDropTarget*>& targets = Targets();
    auto pos = std::upper_bound(targets.begin(), targets.end(), nRank,
                                [](int rank, const CTextDropTarget* p) { return rank < p->GetRank(); });
    targets.insert(pos, this);
}

CTextDropTarget::~CTextDropTarget()
{
    std::vector<CTextDropTarget*>& targets = Targets();
    targets.erase(std::remove(targets.begin(), targets.end(), this), targets.end());
}

CTextDropTarget* FindTextDropTarget(CPoint ptScreen, int* pnAction)
{
    // A copy: a target may leave while it is asked.
    std::vector<CTextDropTarget*> targets = Targets();
    for (CTextDropTarget* pTarget : targets) {
        int nAction = pTarget->HitTextDrop(ptScreen);
        if (nAction != TEXTDROP_NONE) {
            if (pnAction != NULL)
                *pnAction = nAction;
            return pTarget;
        }
    }
    if (pnAction != NULL)
        *pnAction = TEXTDROP_NONE;
    return NULL;
}

BOOL DropTextAt(CPoint ptScreen, const CString& strText)
{
    if (strText.IsEmpty())
        return FALSE;
    int nAction = TEXTDROP_NONE;
    CTextDropTarget* pTarget = FindTextDropTarget(ptScreen, &nAction);
    if (pTarget == NULL)
        return FALSE;
    pTarget->DropText(nAction, strText);
    return TRUE;
}

BOOL LookUpDroppedWord(const CString& strWord)
{
    if (strWord.IsEmpty())
        return FALSE;
    std::vector<CTextDropTarget*> targets = Targets();
    for (CTextDropTarget* pTarget : targets)
        if (pTarget->GetRank() == TEXTDROP_RANK_DICTIONARY_PANE && pTarget->IsPresent()) {
            pTarget->DropText(TEXTDROP_LOOKUP, strWord);
            return TRUE;
        }
    return FALSE;
}

CWndTextDropTarget::CWndTextDropTarget(int nRank, int nAction) : CTextDropTarget(nRank), m_nAction(nAction) {}

int CWndTextDropTarget::HitTextDrop(CPoint ptScreen)
{
    CWnd* pWnd = GetDropWindow();
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL || !pWnd->IsWindowVisible())
        return TEXTDROP_NONE;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return rect.PtInRect(ptScreen) ? m_nAction : TEXTDROP_NONE;
}

BOOL CWndTextDropTarget::IsPresent()
{
    CWnd* pWnd = GetDropWindow();
    return pWnd != NULL && pWnd->GetSafeHwnd() != NULL;
}
