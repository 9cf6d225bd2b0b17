#include "base/FlagSet.h"

#include "base/AppDatabase.h"

const FLAG_CATEGORY g_flagCategories[8] = {{"GEO", 1},  {"HIS", 2},  {"HUM", 4},  {"IND", 8},
                                           {"LIF", 16}, {"PHY", 32}, {"REC", 64}, {"SOC", 128}};

// ---- CFlagSet ----

IMPLEMENT_DYNAMIC(CFlagSet, CXRecordset)

CFlagSet::CFlagSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase), m_Year(0) { m_nFields = 9; }

CString CFlagSet::GetDefaultSQL() { return "[Flag File]"; }

void CFlagSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[RIT]", m_RIT);
    DFX_Text(pFX, "[Type]", m_Type);
    DFX_Text(pFX, "[URL]", m_URL);
    DFX_Text(pFX, "[Article TimeStamp]", m_ArticleTimeStamp);
    DFX_Text(pFX, "[Title]", m_Title);
    DFX_Text(pFX, "[Category]", m_Category);
    DFX_Text(pFX, "[Description]", m_Description);
    DFX_Text(pFX, "[Graphics List]", m_GraphicsList);
    DFX_Double(pFX, "[Year]", m_Year);
}

LONG CFlagSet::GetCategoryBit()
{
    for (const FLAG_CATEGORY& category : g_flagCategories)
        if (m_Category.CompareNoCase(category.lpszCode) == 0)
            return category.nBit;
    return 0;
}

void CFlagSet::FilterByKeywords(LPCSTR lpszQuery)
{
    CKeywordSet keywords(m_pDatabase != NULL ? m_pDatabase : GetAppDatabase());
    m_strFilter = keywords.BuildRitFilter(lpszQuery);
}

// ---- CFlagExtrasSet ----

IMPLEMENT_DYNAMIC(CFlagExtrasSet, CXRecordset)

CFlagExtrasSet::CFlagExtrasSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase)
{
    m_nFields = 5;
    m_nParams = 1;
}

CString CFlagExtrasSet::GetDefaultSQL()
{
    return "[Flag File MTL] INNER JOIN [Flag File] ON [Flag File MTL].RIT = [Flag File].RIT";
}

void CFlagExtrasSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "RIT", m_RIT);
    DFX_Text(pFX, "TYPE", m_TYPE);
    DFX_Text(pFX, "TITLE", m_TITLE);
    DFX_Text(pFX, "DESCRIPTION", m_DESCRIPTION);
    DFX_Text(pFX, "MTL", m_MTL);
    pFX->SetFieldType(CDaoFieldExchange::param);
    DFX_Text(pFX, "[MtlParam]", m_MtlParam);
}

BOOL CFlagExtrasSet::OpenForMtl(LPCSTR lpszMtl)
{
    m_MtlParam = lpszMtl != NULL ? lpszMtl : "";
    try {
        Open(AFX_DAO_USE_DEFAULT_TYPE,
             "SELECT DISTINCTROW [Flag File MTL].RIT AS RIT, [Flag File].Type AS TYPE, [Flag File].Title AS TITLE, "
             "[Flag File].Description AS DESCRIPTION, [Flag File MTL].[MTL Number] AS MTL FROM [Flag File] "
             "INNER JOIN [Flag File MTL] ON [Flag File].RIT = [Flag File MTL].RIT "
             "WHERE (([Flag File MTL].[MTL Number]=[MtlParam]));");
    } catch (CDaoException* e) {
        TRACE0("CDaoException caught!\n");
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

// ---- CKeywordSet ----

IMPLEMENT_DYNAMIC(CKeywordSet, CXRecordset)

CKeywordSet::CKeywordSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase)
{
    m_nFields = 2;
    m_nParams = 1;
}

CString CKeywordSet::GetDefaultSQL() { return "[Flag File Keyword]"; }

void CKeywordSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[RIT]", m_RIT);
    DFX_Text(pFX, "[Keyword]", m_Keyword);
    pFX->SetFieldType(CDaoFieldExchange::param);
    DFX_Text(pFX, "[KeywordParam]", m_KeywordParam);
}

void CKeywordSet::FindRits(LPCSTR lpszTerm, CStringArray& rits)
{
    m_KeywordParam = lpszTerm != NULL ? lpszTerm : "";
    m_strFilter = "keyword = [KeywordParam]";
    if (IsOpen())
        Requery();
    else
        OpenRecordsetChecked();
    for (; !IsEOF(); MoveNext())
        rits.Add(m_RIT);
}

namespace {

BOOL Contains(const CStringArray& list, const CString& rit)
{
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        if (list[i] == rit)
            return TRUE;
    return FALSE;
}

// Keeps the entries of list that are (bKeep TRUE) or are not (FALSE) in other.
void KeepWhere(CStringArray& list, const CStringArray& other, BOOL bKeep)
{
    CStringArray kept;
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        if (Contains(other, list[i]) == bKeep)
            kept.Add(list[i]);
    list.Copy(kept);
}

}  // namespace

CString CKeywordSet::BuildRitFilter(LPCSTR lpszQuery)
{
    if (!IsOpen())
        OpenRecordsetChecked();

    // Up to three terms, each followed by the operator that joins it to the next.
    enum { maxTerms = 3 };
    CString terms[maxTerms];
    char operators[maxTerms] = {0, 0, 0};
    int nTerms = 0;
    CString strRest = lpszQuery != NULL ? lpszQuery : "";
    while (nTerms < maxTerms) {
        strRest.TrimLeft();
        int nOperator = strRest.FindOneOf("&|!");
        if (nOperator < 0) {
            terms[nTerms] = strRest;
            terms[nTerms++].TrimRight();
            break;
        }
        terms[nTerms] = strRest.Left(nOperator);
        terms[nTerms].TrimRight();
        operators[nTerms++] = strRest[nOperator];
        strRest = strRest.Mid(nOperator + 1);
    }

    CStringArray rits;
    FindRits(terms[0], rits);
    for (int i = 1; i < nTerms; ++i) {
        CStringArray next;
        FindRits(terms[i], next);
        switch (operators[i - 1]) {
        case '&': KeepWhere(rits, next, TRUE); break;
        case '|': rits.Append(next); break;
        case '!': KeepWhere(rits, next, FALSE); break;
        }
    }

    CString strFilter;
    for (INT_PTR i = 0; i < rits.GetSize(); ++i)
        strFilter += (i == 0 ? "RIT = " : " OR RIT = ") + JetTextLiteral(rits[i]);
    if (strFilter.IsEmpty())
        strFilter = "RIT = " + JetTextLiteral(KEYWORD_NO_MATCH_RIT);
    m_strFilter = strFilter;
    return strFilter;
}

// ---- CMtlSet ----

IMPLEMENT_DYNAMIC(CMtlSet, CXRecordset)

CMtlSet::CMtlSet(CDaoDatabase* pDatabase) : CXRecordset(pDatabase) { m_nFields = 2; }

CString CMtlSet::GetDefaultSQL() { return "[Flag File MTL]"; }

void CMtlSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[MTL Number]", m_MTLNumber);
    DFX_Text(pFX, "[RIT]", m_RIT);
}
