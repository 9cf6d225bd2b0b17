// CRecentFileList: the recently used files, kept in the profile and shown on the File menu.
#include <afxwin.h>

#include <cstdio>

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int nMaxDispLen)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nSize(nSize > 0 ? nSize : 1), m_arrNames(new CString[m_nSize > 0 ? m_nSize : 1]),
      m_nMaxDisplayLength(nMaxDispLen)
{
}

CRecentFileList::~CRecentFileList()
{
    delete[] m_arrNames;
}

int CRecentFileList::GetCount() const
{
    int n = 0;
    while (n < m_nSize && !m_arrNames[n].IsEmpty())
        ++n;
    return n;
}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (lpszPathName == NULL || *lpszPathName == '\0')
        return;
    // Where it is already, or the last place, is freed; the others move down.
    int at = 0;
    for (; at < m_nSize - 1; ++at)
        if (m_arrNames[at].IsEmpty() || m_arrNames[at].CompareNoCase(lpszPathName) == 0)
            break;
    for (int i = at; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = lpszPathName;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; ++i)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
}

namespace {

CString EntryName(const CString& format, int number)
{
    char entry[64];
    std::snprintf(entry, sizeof entry, format, number);
    return entry;
}

}  // namespace

void CRecentFileList::ReadList()
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return;
    int filled = 0;
    for (int i = 0; i < m_nSize; ++i) {
        CString name = app->GetProfileString(m_strSectionName, EntryName(m_strEntryFormat, i + 1), "");
        if (!name.IsEmpty())
            m_arrNames[filled++] = name;
    }
    for (int i = filled; i < m_nSize; ++i)
        m_arrNames[i].Empty();
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString entry = EntryName(m_strEntryFormat, i + 1);
        if (m_arrNames[i].IsEmpty())
            app->WriteProfileString(m_strSectionName, entry, NULL);
        else
            app->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir, BOOL) const
{
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty())
        return FALSE;
    strName = m_arrNames[nIndex];
    // A file of the current folder is shown by its name alone.
    if (lpszCurDir != NULL && nCurDir > 0 && strName.GetLength() > nCurDir &&
        strName.Left(nCurDir).CompareNoCase(CString(lpszCurDir, nCurDir)) == 0 &&
        strName.Find('\\', nCurDir + 1) < 0)
        strName = strName.Mid(strName[nCurDir] == '\\' ? nCurDir + 1 : nCurDir);
    // Long paths keep their drive and file name: "C:\...\name.txt".
    if (m_nMaxDisplayLength > 0 && strName.GetLength() > m_nMaxDisplayLength) {
        int slash = strName.ReverseFind('\\');
        if (slash > 2)
            strName = strName.Left(3) + "..." + strName.Mid(slash);
    }
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* menu = pCmdUI->m_pMenu;
    if (menu == NULL)
        return;
    if (m_strOriginal.IsEmpty())
        menu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (GetCount() == 0) {
        // Entries of a longer list shown before go; the first item stays with its own text.
        for (int i = 1; i < m_nSize; ++i)
            menu->DeleteMenu(m_nStart + static_cast<UINT>(i), MF_BYCOMMAND);
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    // The list's items go, then come back in the list's order where the first one was.
    for (int i = 0; i < m_nSize; ++i)
        menu->DeleteMenu(m_nStart + static_cast<UINT>(i), MF_BYCOMMAND);
    char current[MAX_PATH] = {};
    DWORD curLength = ::GetCurrentDirectory(sizeof current, current);
    for (int i = 0; i < m_nSize; ++i) {
        CString name;
        if (!GetDisplayName(name, i, current, static_cast<int>(curLength)))
            break;
        // A '&' of the name is doubled so that it shows.
        CString shown;
        for (int c = 0; c < name.GetLength(); ++c) {
            if (name[c] == '&')
                shown += '&';
            shown += name[c];
        }
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "&%d ", (i + 1) % 10);
        menu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, m_nStart + static_cast<UINT>(i),
                         CString(prefix) + shown);
    }
    // The caller's walk goes on after the last item put in.
    pCmdUI->m_nIndex--;
    pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}
