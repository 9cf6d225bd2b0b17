// CMenu and its handle map.
#include <afxwin.h>

#include <map>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

struct MenuMaps {
    std::map<HMENU, CMenu*> permanent;
    std::map<HMENU, CMenu*> temporary;
    ~MenuMaps()
    {
        for (auto& [h, menu] : temporary) {
            menu->m_hMenu = NULL;
            delete menu;
        }
    }
};

MenuMaps& Maps()
{
    static thread_local MenuMaps maps;
    return maps;
}

}  // namespace

CMenu::CMenu() : m_hMenu(NULL) {}

CMenu::~CMenu()
{
    if (m_hMenu != NULL)
        DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    if (hMenu == NULL)
        return NULL;
    MenuMaps& m = Maps();
    auto it = m.permanent.find(hMenu);
    if (it != m.permanent.end())
        return it->second;
    auto& temp = m.temporary[hMenu];
    if (!temp) {
        temp = new CMenu;
        temp->m_hMenu = hMenu;
    }
    return temp;
}

void PASCAL CMenu::DeleteTempMap()
{
    MenuMaps& m = Maps();
    for (auto& [h, menu] : m.temporary) {
        menu->m_hMenu = NULL;
        delete menu;
    }
    m.temporary.clear();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == NULL || m_hMenu != NULL)
        return FALSE;
    m_hMenu = hMenu;
    Maps().permanent[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h != NULL)
        Maps().permanent.erase(h);
    m_hMenu = NULL;
    return h;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

int CMenu::GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int n = ::GetMenuStringA(m_hMenu, nIDItem, NULL, 0, nFlags);
    LPSTR buffer = rString.GetBuffer(n + 1);
    ::GetMenuStringA(m_hMenu, nIDItem, buffer, n + 1, nFlags);
    rString.ReleaseBuffer(n);
    return n;
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, (pWnd ? pWnd->m_hWnd : NULL), lpRect);
}
