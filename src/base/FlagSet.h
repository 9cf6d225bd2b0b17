// The online article index: [Flag File] (one row per Back in Time article "OC", Special Report
// "OL" and web site "WS"), its keywords [Flag File Keyword] and its related-topic lists
// [Flag File MTL], with the keyword query that turns up to three search words into a filter of
// the flag file.
#pragma once

#include "base/XRecordset.h"

#include <afxcoll.h>

// Category codes of the flag file and their bits (the category bits of references).
struct FLAG_CATEGORY {
    LPCSTR lpszCode;
    LONG nBit;
};
extern const FLAG_CATEGORY g_flagCategories[8];  // GEO 1, HIS 2, ... SOC 128

class CFlagSet : public CXRecordset {
    DECLARE_DYNAMIC(CFlagSet)
public:
    explicit CFlagSet(CDaoDatabase* pDatabase);

    CString m_RIT;
    CString m_Type;
    CString m_URL;
    CString m_ArticleTimeStamp;
    CString m_Title;
    CString m_Category;
    CString m_Description;
    CString m_GraphicsList;
    double m_Year;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    // The bit of the current record's category (case ignored); 0 for any other text.
    LONG GetCategoryBit();

    // Makes this set's filter the RITs that a keyword query gives (CKeywordSet::BuildRitFilter,
    // on this set's database); the caller then opens or requeries. Database errors pass on.
    void FilterByKeywords(LPCSTR lpszQuery);
    void SetSearchFilter(LPCSTR lpszQuery) { FilterByKeywords(lpszQuery); }
};

// The flag-file rows related to one topic number: the join of [Flag File MTL] and [Flag File].
class CFlagExtrasSet : public CXRecordset {
    DECLARE_DYNAMIC(CFlagExtrasSet)
public:
    explicit CFlagExtrasSet(CDaoDatabase* pDatabase);

    CString m_RIT;
    CString m_TYPE;
    CString m_TITLE;
    CString m_DESCRIPTION;
    CString m_MTL;
    CString m_MtlParam;  // the topic number OpenForMtl looks for

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    // Opens on the rows whose topic number is lpszMtl (passed to the engine as a parameter, so
    // any text is safe). TRUE when open; a DAO error is traced, shown with the standard error
    // box and gives FALSE.
    BOOL OpenForMtl(LPCSTR lpszMtl);
};

// The sentinel RIT of a keyword query that found nothing: the filter then matches no row.
#define KEYWORD_NO_MATCH_RIT "Aint nutton found honey"

class CKeywordSet : public CXRecordset {
    DECLARE_DYNAMIC(CKeywordSet)
public:
    explicit CKeywordSet(CDaoDatabase* pDatabase);

    CString m_RIT;
    CString m_Keyword;
    CString m_KeywordParam;  // the keyword FindRits looks for

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    // A filter of the flag file ("RIT = 'a' OR RIT = 'b' ...", or the sentinel RIT when nothing
    // is left) from a query of at most three terms joined by & (both), | (either, duplicates
    // kept) or ! (the first without the second), combined left to right; a fourth term is
    // ignored. Opens the set first when it is not open (checked open); the filter is left as the
    // set's own too. Database errors pass on as CDaoException.
    CString BuildRitFilter(LPCSTR lpszQuery);
    // Appends, in table order, the RIT of every row whose keyword is lpszTerm (case ignored).
    void FindRits(LPCSTR lpszTerm, CStringArray& rits);
};

class CMtlSet : public CXRecordset {
    DECLARE_DYNAMIC(CMtlSet)
public:
    explicit CMtlSet(CDaoDatabase* pDatabase);

    CString m_MTLNumber;
    CString m_RIT;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};
