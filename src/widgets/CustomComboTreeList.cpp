#include "widgets/CustomComboTreeList.h"

#include "widgets/CustomComboDropList.h"

BEGIN_MESSAGE_MAP(CCustomComboTreeList, CVLListWindow)
    ON_NOTIFY_REFLECT_EX(TVN_SELCHANGED, OnSelChanged)
END_MESSAGE_MAP()

BOOL CCustomComboTreeList::OnSelChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_pCombo != NULL)
        m_pCombo->OnListSelChanged();
    // The panel hears of it too.
    return FALSE;
}
