#include "explore/JustLookingRecSet.h"

#include "base/AppDatabase.h"
#include "base/JustLookingRandomSet.h"
#include "base/VLAppRecords.h"

#include <afxwin.h>

#include <cstdlib>

IMPLEMENT_DYNAMIC(CJustLookingRecSet, CVLRecordset)
IMPLEMENT_DYNAMIC(CJustLookingVirtualData, CVLDBVirtualData)

namespace {

// The content expressions of the filter, by content index (0 none).
const LPCSTR kContentExpressions[JL_CONTENT_COUNT] = {
    NULL,
    "= 'Artcl'",
    "= 'Animt'",
    "= 'Video'",
    "= 'Pict'",
    "= 'PicSnd'",
    "= 'Simul'",
    "= 'VirRel'",
    "= 'Map'",
    "= 'OnLine'",
    "= 'Centry'",
    "IN ('Animt','Map','PicSnd','Pict','Simul','Video','VirRel')",
    "= 'TimeLine'",
};

void AddPart(CString& strFilter, const CString& strPart)
{
    if (!strFilter.IsEmpty())
        strFilter += " AND ";
    strFilter += strPart;
}

}  // namespace

const char CJustLookingRecSet::s_szCountKeyPrefix[] = "Dada Vaveroz Records-";

CJustLookingRecSet::CJustLookingRecSet(CDaoDatabase* pDatabase)
    : CVLRecordset(pDatabase), m_nCategory(0), m_nContent(0), m_chDisc(0), m_chShow('Y'), m_bNoArticles(FALSE)
{
    m_nFields = 6;
    m_strSort = "[Title]";
    m_strDefaultSQL = "[Dada Vaveroz Data]";
}

CJustLookingRecSet::~CJustLookingRecSet()
{
    if (IsOpen())
        Close();
}

void CJustLookingRecSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Title]", m_Title);
    DFX_Text(pFX, "[Rin Code]", m_RinCode);
    DFX_Text(pFX, "[Category]", m_Category);
    DFX_Text(pFX, "[Content]", m_Content);
    DFX_Text(pFX, "[Which CD]", m_WhichCD);
    DFX_Text(pFX, "[Show In JustLooking]", m_ShowInJustLooking);
}

CString CJustLookingRecSet::MakeFilter() const
{
    CString strFilter;
    if (m_nCategory > 0 && m_nCategory < JL_CATEGORY_COUNT) {
        CString strPart;
        strPart.Format("[Category] = '%s'", JustLookingCategoryCode(m_nCategory));
        AddPart(strFilter, strPart);
    }
    if (m_nContent > 0 && m_nContent < JL_CONTENT_COUNT) {
        CString strPart;
        strPart.Format("[Content] %s", kContentExpressions[m_nContent]);
        AddPart(strFilter, strPart);
    }
    if (m_chShow != 0) {
        CString strPart;
        strPart.Format(" [Show In JustLooking] = '%c'", m_chShow);
        AddPart(strFilter, strPart);
    }
    if (m_chDisc != 0) {
        CString strPart;
        strPart.Format(" [Which CD] = '%c'", m_chDisc);
        AddPart(strFilter, strPart);
    }
    if (m_bNoArticles)
        AddPart(strFilter, "  NOT [CONTENT] = 'Artcl'");
    return strFilter;
}

CString CJustLookingRecSet::MakeCountKey() const
{
    char szKey[32];
    std::snprintf(szKey, sizeof szKey, "%X%X%c%c", static_cast<unsigned>(m_nCategory), static_cast<unsigned>(m_nContent),
                  m_chDisc, m_chShow);
    return CString(szKey);  // up to the first zero character
}

void CJustLookingRecSet::Open(int nOpenType, LPCSTR lpszSQL, int nOptions)
{
    m_nRecordCount = 0;
    CVLRecordset::Open(nOpenType, lpszSQL, nOptions);
    if (!(IsBOF() && IsEOF()))
        m_nRecordCount = CountRows();
}

void CJustLookingRecSet::Close()
{
    m_nRecordCount = 0;
    CVLRecordset::Close();
}

BOOL CJustLookingRecSet::OpenChecked()
{
    try {
        return OpenRecordsetChecked();
    } catch (CDaoException* e) {
        e->Delete();
        m_nRecordCount = 0;
        return FALSE;
    }
}

long CJustLookingRecSet::CountRows()
{
    const CString strKeyValue = CString(s_szCountKeyPrefix) + MakeCountKey();
    CVLAppRecords cache(m_pDatabase);
    BOOL bCacheOpen = FALSE;
    try {
        cache.m_strFilter = "[Key Value] = " + JetTextLiteral(strKeyValue);
        cache.Open();
        bCacheOpen = TRUE;
        // A negative count is damage: count again and put it right.
        if (!cache.IsEOF() && cache.m_NumberKey >= 0)
            return cache.m_NumberKey;
    } catch (CDaoException* e) {
        e->Delete();
    }

    MoveFirst();
    MoveLast();
    const long nCount = GetRecordCount();
    MoveFirst();

    // A cache that cannot be written (a read-only database) still gives the counted rows.
    if (bCacheOpen) {
        try {
            if (!cache.IsEOF()) {
                cache.Edit();
            } else {
                cache.AddNew();
                cache.m_KeyValue = strKeyValue;
            }
            cache.m_NumberKey = nCount;
            cache.Update();
        } catch (CDaoException* e) {
            e->Delete();
        }
    }
    return nCount;
}

CString CJustLookingRecSet::GetKey(CString& strKey)
{
    strKey = m_Title;
    return strKey;
}

void CJustLookingRecSet::CopyFields(CVLRecordset* pOther)
{
    if (pOther == NULL || !pOther->IsKindOf(RUNTIME_CLASS(CJustLookingRecSet)))
        return;
    auto* pSet = static_cast<CJustLookingRecSet*>(pOther);
    pSet->m_Title = m_Title;
    pSet->m_RinCode = m_RinCode;
    pSet->m_Category = m_Category;
    pSet->m_Content = m_Content;
}

long CJustLookingRecSet::GetItemId() { return std::atol(m_RinCode); }

// ---- CJustLookingVirtualData ----

CJustLookingVirtualData::CJustLookingVirtualData(CDaoDatabase* pDatabase) : m_pSet(NULL)
{
    if (pDatabase == NULL)
        pDatabase = GetAppDatabase();
    if (pDatabase == NULL) {
        AfxMessageBox("Unable to get Database in CJustLookingVirtualData\nPlease Reinstall Veltra", MB_ICONEXCLAMATION);
        return;
    }
    m_pSet = new CJustLookingRecSet(pDatabase);
    SetRecordset(m_pSet);
}

CJustLookingVirtualData::~CJustLookingVirtualData()
{
    SetRecordset(NULL);
    delete m_pSet;
}

BOOL CJustLookingVirtualData::Reopen(const CString& strFilter)
{
    if (m_pSet == NULL)
        return FALSE;
    SetRecordset(NULL);
    if (m_pSet->IsOpen())
        m_pSet->Close();
    m_pSet->m_strFilter = strFilter;
    const BOOL bOpen = m_pSet->OpenChecked();
    SetRecordset(m_pSet);
    return bOpen;
}

BOOL CJustLookingVirtualData::OpenEmpty() { return Reopen("[content] = 'aaa'"); }

long CJustLookingVirtualData::BuildFilter(int nCategory, int nContent)
{
    if (m_pSet == NULL)
        return 0;
    m_pSet->m_nCategory = nCategory >= 0 && nCategory < JL_CATEGORY_COUNT ? nCategory : 0;
    m_pSet->m_nContent = nContent >= 0 && nContent < JL_CONTENT_COUNT ? nContent : 0;
    const CString strFilter = m_pSet->MakeFilter();
    if (strFilter != m_pSet->m_strFilter || !m_pSet->IsOpen())
        Reopen(strFilter);
    return m_pSet->GetCount();
}

long CJustLookingVirtualData::FindTitle(LPCSTR lpszTitle)
{
    const long nCount = GetCount();
    if (m_pSet == NULL || !m_pSet->IsOpen() || nCount <= 0)
        return 0;
    CString strTitle = lpszTitle != NULL ? lpszTitle : "";
    strTitle.TrimRight();
    if (strTitle.IsEmpty()) {
        LoadBlock(1);
        return 1;
    }
    // Bisect the positions, reading each title as the database compares it.
    long nLow = 0, nHigh = nCount;
    try {
        while (nLow < nHigh) {
            const long nMiddle = nLow + (nHigh - nLow) / 2;
            m_pSet->SetAbsolutePosition(nMiddle);
            if (::lstrcmpiA(m_pSet->m_Title, strTitle) < 0)
                nLow = nMiddle + 1;
            else
                nHigh = nMiddle;
        }
    } catch (CDaoException* e) {
        e->Delete();
        return 0;
    }
    const long nRow = nLow < nCount ? nLow + 1 : nCount;
    EnsureLoaded(nRow);
    return nRow;
}
