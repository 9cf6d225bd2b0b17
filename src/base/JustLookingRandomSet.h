// The random browser's tables: [Dada Vaveroz Data] (every browsable item with its random
// ordinals) and [Dada Vaveroz Stats] (how many items each content and category combination has).
//
// Each item holds a random ordinal within every group it belongs to: [Random] among all items,
// [RandomCategory] within its category, [RandomContent] within its content, [RandomCategoryContent]
// within both, [RandomMedia] among the media items and [RandomCategoryMedia] among the media items
// of its category. The ordinals of a group run from 0 to its size - 1 (the size is in the stats
// table), so a window [Bottom, Top] over them is a random pick of that size.
#pragma once

#include "base/XRecordset.h"

// Choices of the random browser: content 0 any, 1 "Artcl" ... 10 "Centry", 11 all media, 12
// "TimeLine"; category 0 any, 1 "GEO" ... 8 "SOC".
enum { JL_CONTENT_ANY = 0, JL_CONTENT_MEDIA = 11, JL_CONTENT_COUNT = 13 };
enum { JL_CATEGORY_ANY = 0, JL_CATEGORY_COUNT = 9 };

// The parameter text of a content choice ("" for 0 and 11) and of a category choice ("" for 0);
// NULL for an index outside the table.
LPCSTR JustLookingContentCode(int nContent);
LPCSTR JustLookingCategoryCode(int nCategory);

class CJustLookingRandomSet : public CXRecordset {
    DECLARE_DYNAMIC(CJustLookingRandomSet)
public:
    explicit CJustLookingRandomSet(CDaoDatabase* pDatabase);

    CString m_Title;
    CString m_RinCode;
    CString m_Category;

    CString m_CategoryParam;
    CString m_ContentParam;
    long m_Bottom;  // the window of ordinals the next requery picks; -1 until the caller sets it
    long m_Top;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    // Choose the content and the category (an index outside the table counts as "any"). Either
    // resets [Bottom] and [Top] to -1 and rebuilds the filter and its parameters; the caller
    // sets the window and requeries.
    void SetContent(int nContent);
    void SetCategory(int nCategory);
    int GetContent() const { return m_nContent; }
    int GetCategory() const { return m_nCategory; }

private:
    void BuildFilter();

    int m_nContent;
    int m_nCategory;
};

class CJustLookingStatsSet : public CXRecordset {
    DECLARE_DYNAMIC(CJustLookingStatsSet)
public:
    explicit CJustLookingStatsSet(CDaoDatabase* pDatabase);

    CString m_Content;
    long m_ALL;
    short m_GEO;
    short m_HIS;
    short m_HUM;
    short m_IND;
    short m_LIF;
    short m_PHY;
    short m_REC;
    short m_SOC;

    CString m_ContentParam;  // the row to read: "All", a content code, or "Media"

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    // Chooses the row of a content choice (0 "All", 11 "Media", others their code; an index
    // outside the table counts as 0); the caller requeries.
    void SetContent(int nContent);
    int GetContent() const { return m_nContent; }
    // Items of the chosen row: category 0 all of them, 1 to 8 those of that category, else 0.
    long GetCount(int nCategory) const;

private:
    int m_nContent;
};

// Every column of [Dada Vaveroz Data], for the code that adds and rewrites rows. Numbers start
// at -1, texts empty.
class CJlrcSet : public CXRecordset {
    DECLARE_DYNAMIC(CJlrcSet)
public:
    explicit CJlrcSet(CDaoDatabase* pDatabase);

    CString m_Title;
    CString m_RinCode;
    CString m_Category;
    CString m_Content;
    CString m_WhichCD;
    CString m_ShowInJustLooking;
    long m_Random;
    short m_RandomCategory;
    long m_RandomContent;
    short m_RandomCategoryContent;
    short m_RandomMedia;
    short m_RandomCategoryMedia;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};
