#include "base/JustLookingRandomSet.h"

namespace {

const LPCSTR kContentCodes[JL_CONTENT_COUNT] = {"",      "Artcl", "Animt",  "Video",  "Pict", "PicSnd",  "Simul",
                                                "VirRel", "Map",   "OnLine", "Centry", "",     "TimeLine"};
const LPCSTR kCategoryCodes[JL_CATEGORY_COUNT] = {"", "GEO", "HIS", "HUM", "IND", "LIF", "PHY", "REC", "SOC"};

const char kMediaList[] = "[Content] In ('Animt','Map','PicSnd','Pict','Simul','Video','VirRel')";

int ValidContent(int nContent) { return nContent >= 0 && nContent < JL_CONTENT_COUNT ? nContent : 0; }
int ValidCategory(int nCategory) { return nCategory >= 0 && nCategory < JL_CATEGORY_COUNT ? nCategory : 0; }

}  // namespace

LPCSTR JustLookingContentCode(int nContent)
{
    return nContent >= 0 && nContent < JL_CONTENT_COUNT ? kContentCodes[nContent] : NULL;
}

LPCSTR JustLookingCategoryCode(int nCategory)
{
    return nCategory >= 0 && nCategory < JL_CATEGORY_COUNT ? kCategoryCodes[nCategory] : NULL;
}

// ---- CJustLookingRandomSet ----

IMPLEMENT_DYNAMIC(CJustLookingRandomSet, CXRecordset)

CJustLookingRandomSet::CJustLookingRandomSet(CDaoDatabase* pDatabase)
    : CXRecordset(pDatabase), m_Bottom(-1), m_Top(-1), m_nContent(0), m_nCategory(0)
{
    m_nFields = 3;
    BuildFilter();
}

CString CJustLookingRandomSet::GetDefaultSQL() { return "[Dada Vaveroz Data]"; }

void CJustLookingRandomSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Title]", m_Title);
    DFX_Text(pFX, "[Rin Code]", m_RinCode);
    DFX_Text(pFX, "[Category]", m_Category);
    // The parameters the filter in force names, in its order.
    pFX->SetFieldType(CDaoFieldExchange::param);
    if (m_nCategory != 0)
        DFX_Text(pFX, "[CategoryParam]", m_CategoryParam);
    if (m_nContent != 0 && m_nContent != JL_CONTENT_MEDIA)
        DFX_Text(pFX, "[ContentParam]", m_ContentParam);
    DFX_Long(pFX, "[Bottom]", m_Bottom);
    DFX_Long(pFX, "[Top]", m_Top);
}

void CJustLookingRandomSet::SetContent(int nContent)
{
    m_Bottom = m_Top = -1;
    m_nContent = ValidContent(nContent);
    m_ContentParam = kContentCodes[m_nContent];
    BuildFilter();
}

void CJustLookingRandomSet::SetCategory(int nCategory)
{
    m_Bottom = m_Top = -1;
    m_nCategory = ValidCategory(nCategory);
    m_CategoryParam = kCategoryCodes[m_nCategory];
    BuildFilter();
}

void CJustLookingRandomSet::BuildFilter()
{
    CString strFilter;
    LPCSTR lpszOrdinal;
    m_nParams = 2;  // [Bottom] and [Top]
    if (m_nCategory != 0) {
        strFilter = "[Category] = [CategoryParam] And ";
        ++m_nParams;
    }
    if (m_nContent == JL_CONTENT_MEDIA) {
        strFilter += kMediaList;
        strFilter += " And ";
        lpszOrdinal = m_nCategory != 0 ? "[RandomCategoryMedia]" : "[RandomMedia]";
    } else if (m_nContent != 0) {
        strFilter += "[Content] = [ContentParam] And ";
        ++m_nParams;
        lpszOrdinal = m_nCategory != 0 ? "[RandomCategoryContent]" : "[RandomContent]";
    } else {
        lpszOrdinal = m_nCategory != 0 ? "[RandomCategory]" : "[Random]";
    }
    strFilter += lpszOrdinal;
    strFilter += " Between [Bottom] And [Top]";
    m_strFilter = strFilter;
}

// ---- CJustLookingStatsSet ----

IMPLEMENT_DYNAMIC(CJustLookingStatsSet, CXRecordset)

CJustLookingStatsSet::CJustLookingStatsSet(CDaoDatabase* pDatabase)
    : CXRecordset(pDatabase), m_ALL(0), m_GEO(0), m_HIS(0), m_HUM(0), m_IND(0), m_LIF(0), m_PHY(0), m_REC(0),
      m_SOC(0), m_ContentParam("All"), m_nContent(0)
{
    m_nFields = 10;
    m_nParams = 1;
    m_strFilter = "[Content] = [ContentParam]";
}

CString CJustLookingStatsSet::GetDefaultSQL() { return "[Dada Vaveroz Stats]"; }

void CJustLookingStatsSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Content]", m_Content);
    DFX_Long(pFX, "[ALL]", m_ALL);
    DFX_Short(pFX, "[GEO]", m_GEO);
    DFX_Short(pFX, "[HIS]", m_HIS);
    DFX_Short(pFX, "[HUM]", m_HUM);
    DFX_Short(pFX, "[IND]", m_IND);
    DFX_Short(pFX, "[LIF]", m_LIF);
    DFX_Short(pFX, "[PHY]", m_PHY);
    DFX_Short(pFX, "[REC]", m_REC);
    DFX_Short(pFX, "[SOC]", m_SOC);
    pFX->SetFieldType(CDaoFieldExchange::param);
    DFX_Text(pFX, "[ContentParam]", m_ContentParam);
}

void CJustLookingStatsSet::SetContent(int nContent)
{
    m_nContent = ValidContent(nContent);
    if (m_nContent == 0)
        m_ContentParam = "All";
    else if (m_nContent == JL_CONTENT_MEDIA)
        m_ContentParam = "Media";
    else
        m_ContentParam = kContentCodes[m_nContent];
}

long CJustLookingStatsSet::GetCount(int nCategory) const
{
    switch (nCategory) {
    case 0: return m_ALL;
    case 1: return m_GEO;
    case 2: return m_HIS;
    case 3: return m_HUM;
    case 4: return m_IND;
    case 5: return m_LIF;
    case 6: return m_PHY;
    case 7: return m_REC;
    case 8: return m_SOC;
    default: return 0;
    }
}

// ---- CJlrcSet ----

IMPLEMENT_DYNAMIC(CJlrcSet, CXRecordset)

CJlrcSet::CJlrcSet(CDaoDatabase* pDatabase)
    : CXRecordset(pDatabase), m_Random(-1), m_RandomCategory(-1), m_RandomContent(-1), m_RandomCategoryContent(-1),
      m_RandomMedia(-1), m_RandomCategoryMedia(-1)
{
    m_nFields = 12;
}

CString CJlrcSet::GetDefaultSQL() { return "[Dada Vaveroz Data]"; }

void CJlrcSet::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Text(pFX, "[Title]", m_Title);
    DFX_Text(pFX, "[Rin Code]", m_RinCode);
    DFX_Text(pFX, "[Category]", m_Category);
    DFX_Text(pFX, "[Content]", m_Content);
    DFX_Text(pFX, "[Which CD]", m_WhichCD);
    DFX_Text(pFX, "[Show In JustLooking]", m_ShowInJustLooking);
    DFX_Long(pFX, "[Random]", m_Random);
    DFX_Short(pFX, "[RandomCategory]", m_RandomCategory);
    DFX_Long(pFX, "[RandomContent]", m_RandomContent);
    DFX_Short(pFX, "[RandomCategoryContent]", m_RandomCategoryContent);
    DFX_Short(pFX, "[RandomMedia]", m_RandomMedia);
    DFX_Short(pFX, "[RandomCategoryMedia]", m_RandomCategoryMedia);
}
