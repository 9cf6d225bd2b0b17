// Keyword references: the articles that a word search finds, each carrying its hit list. The
// word engine fills one per ranked article from its ranking entry, TITLELNK.DAT and the ROM_LINK
// table.
#pragma once

#include "base/Reference.h"

class CKWReference : public CReference {
    DECLARE_DYNAMIC(CKWReference)
public:
    // Reference type REFTYPE_KEYWORD; the counters zero.
    CKWReference();

    // The base Clone of a keyword reference gives a plain CReference; this one gives a keyword
    // reference with the same contents. NULL when it cannot be made.
    virtual CKWReference* CloneKeyword();
    // CReference::Copy, then the counters.
    virtual void CopyKeyword(const CKWReference& other);

    // Index of the article's first occurrence record in the query result.
    LONG m_nFirstRecord;
    LONG m_nOwnHits;     // hits in this entry
    LONG m_nTotalHits;   // hits of the article (the ranking key)
    LONG m_nValue1;      // copied from the ranking entry
    LONG m_nValue2;
    SHORT m_nValue3;
    DWORD m_dwTitleLink;     // the TITLELNK.DAT value (RIN in bits 0-23)
    LONG m_nParent;          // the parent article number, 0 for a main article
    LONG m_nArticleNumber;   // the article number of the occurrence records

private:
    CKWReference(const CKWReference&) = delete;
    CKWReference& operator=(const CKWReference&) = delete;
};
