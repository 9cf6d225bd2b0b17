// CJustLookingRecSet: the browsing view's FIND list over [Dada Vaveroz Data], sorted by title and
// filtered by category, content, disc, the "shown in the FIND list" mark and the no-articles
// flag. Its row count comes from a cache in [Table Data]: the rows "Dada Vaveroz Records-<key>"
// hold the count of each filter combination, so that a combination's records are walked once.
//
// CJustLookingVirtualData: the list data over such a set, on a given database or the program's.
#pragma once

#include "base/VLRecordset.h"
#include "widgets/VLDBVirtualData.h"

class CJustLookingRecSet : public CVLRecordset {
    DECLARE_DYNAMIC(CJustLookingRecSet)
public:
    explicit CJustLookingRecSet(CDaoDatabase* pDatabase);
    ~CJustLookingRecSet() override;

    CString m_Title;
    CString m_RinCode;
    CString m_Category;
    CString m_Content;
    CString m_WhichCD;
    CString m_ShowInJustLooking;

    // The filter parameters: category 0 any, 1 "GEO" ... 8 "SOC"; content 0 any, 1 "Artcl" ...
    // 10 "Centry", 11 the media kinds, 12 "TimeLine"; the disc character (0 any); the show
    // character ('Y' at first; 0 any); no articles (FALSE at first).
    int m_nCategory;
    int m_nContent;
    char m_chDisc;
    char m_chShow;
    BOOL m_bNoArticles;

    void DoFieldExchange(CDaoFieldExchange* pFX) override;

    // Opens the set; when it opened and is not empty the row count comes from the count cache
    // (walking the records once for a combination the cache does not know), else it is 0.
    void Open(int nOpenType = AFX_DAO_USE_DEFAULT_TYPE, LPCSTR lpszSQL = NULL, int nOptions = 0) override;
    void Close() override;
    // Opens with the shared checked open: a DAO failure is shown once and gives FALSE (row count 0).
    BOOL OpenChecked();
    long GetCount() const { return m_nRecordCount; }

    CString GetKey(CString& strKey) override;
    // Copies title, number, category and content into another CJustLookingRecSet; nothing for
    // another class of set.
    void CopyFields(CVLRecordset* pOther) override;
    long GetItemId() override;
    long GetRowCount() override { return m_nRecordCount; }
    CString GetContentType() override { return m_Content; }

    // The filter of the parameters now set.
    CString MakeFilter() const;
    // The count cache's key of the parameters now set: category and content in upper-case
    // hexadecimal, then the disc and show characters (ending at the first one that is 0).
    CString MakeCountKey() const;

    static const char s_szCountKeyPrefix[];  // "Dada Vaveroz Records-"

private:
    // The row count of the open, non-empty set, from the cache or by walking it.
    long CountRows();
};

class CJustLookingVirtualData : public CVLDBVirtualData {
    DECLARE_DYNAMIC(CJustLookingVirtualData)
public:
    // On the given database, else the program's; without either the reader is told and every
    // open fails.
    explicit CJustLookingVirtualData(CDaoDatabase* pDatabase = NULL);
    ~CJustLookingVirtualData() override;

    // Opens the set with a filter no row meets; the open's result.
    BOOL OpenEmpty();
    // Filters by category and content (indexes as CJustLookingRecSet's), reopening the set when
    // the filter changed or the set is closed; the row count.
    long BuildFilter(int nCategory, int nContent);

    // The first row whose title is not less than the text in the order the database sorts
    // the titles (its word order, case ignored: hyphens and apostrophes count for little), so
    // that titles with punctuation are found where the list shows them; the last row when every
    // title is less, 1 (first window loaded) for an empty or blank text, 0 without rows.
    long FindTitle(LPCSTR lpszTitle) override;

    CJustLookingRecSet* GetRecSet() const { return m_pSet; }

private:
    BOOL Reopen(const CString& strFilter);

    CJustLookingRecSet* m_pSet;
};
