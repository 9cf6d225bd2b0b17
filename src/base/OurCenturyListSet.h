// The Back in Time topics: [Our Century List] holds one topic a row, made from the titles of the
// flag file's Back in Time articles (type 'OC'), each of which reads "Topic (year)".
#pragma once

#include "base/XRecordset.h"

class COurCenturyListSet : public CXRecordset {
    DECLARE_DYNAMIC(COurCenturyListSet)
public:
    explicit COurCenturyListSet(CDaoDatabase* pDatabase);

    CString m_Item;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    // Refills the list on pDatabase (NULL: the application's database) from the Back in Time
    // titles: each distinct part before a title's first " (" becomes one row (a title without
    // " (" gives none). All in one transaction: on any failure the old list stays and the
    // exception passes on. With no Back in Time article the list is emptied and the reader told.
    // TRUE when the list holds the new topics; FALSE with no database or no article.
    static BOOL Rebuild(CDaoDatabase* pDatabase = NULL);
};

// The titles of the Back in Time articles.
class COurCenturyTopicSet : public CXRecordset {
    DECLARE_DYNAMIC(COurCenturyTopicSet)
public:
    explicit COurCenturyTopicSet(CDaoDatabase* pDatabase);

    CString m_Title;

    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};
