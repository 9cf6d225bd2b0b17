// The word engine: runs a word query through the keyword index (KeywordIndex.h), groups the
// occurrences that it yields by article, ranks the articles by their number of hits, keeps the
// best hundred, and turns each into a keyword reference (CKWReference) that carries the article's
// hit list. Titles, RINs and parent articles come from TITLELNK.DAT; places from the ROM_LINK
// table of the application's search engine.
//
// TITLELNK.DAT, for article number i: at 12 x i a u32 whose bits 0-23 are the RIN, at 12 x i + 4
// the u16 number of the parent article (0 for a main article), at 12 x i + 6 the title up to and
// including a line feed (at most 255 characters).
//
// An occurrence is a hit when its length field is not 0. An occurrence whose section code is 220
// or more, in an article that has a parent, lies in a part of that article: parts are listed
// right after their article, and their hits count towards its rank.
#pragma once

#include "search/KeywordIndex.h"

#include <afx.h>

#include <functional>
#include <memory>
#include <vector>

class CHitList;
class CKWReference;
class CReferenceList;

#define WORDENGINE_MAX_RANKED 100
#define WORDENGINE_PART_SECTION 220
#define WORDENGINE_MSG_OPEN "Cannot open TITLELNK.DAT"
#define WORDENGINE_MSG_READ "Cannot read TITLELNK.DAT"

class CWordEngine {
public:
    // One ranked article or part of one.
    struct RankedEntry {
        LONG nFirstRecord = -1;
        LONG nOwnHits = 0;
        LONG nTotalHits = 0;
        DWORD dwTitleLink = 0;
        LONG nParent = 0;
        WORD wArticle = 0xFFFF;
        std::unique_ptr<CHitList> pHits;
        CString strTitle;
    };
    // Record i of an occurrence list; a record number of 0 ends it.
    typedef std::function<KEYWORD_OCCURRENCE(DWORD)> OccurrenceSource;

    CWordEngine();
    // Closes the keyword index and TITLELNK.DAT when open.
    ~CWordEngine();
    CWordEngine(const CWordEngine&) = delete;
    CWordEngine& operator=(const CWordEngine&) = delete;

    // Opens the keyword index and TITLELNK.DAT (from the program folder, else from the disc's data
    // folder, which carries it). FALSE when the keyword index does not open, or after the message
    // "Cannot open TITLELNK.DAT" (the engine then counts as opened, without titles).
    BOOL Open();
    BOOL IsOpened() const { return m_bOpened; }

    // Runs the query (with bCheck, through the checked query of the keyword index) and appends a
    // keyword reference per ranked article, best first, then the parts whose article did not rank.
    void Search(LPCSTR lpszQuery, CReferenceList* pResults, BOOL bCheck);
    // The hits of the text in the article of the RIN: a new keyword reference owned by the
    // caller, or NULL when the text has no hit in its main text.
    CKWReference* FindInArticle(LPCSTR lpszText, LONG nRin);

    // Groups, ranks and turns into references the occurrences of a query result.
    void CollectHits(const OccurrenceSource& records, CReferenceList* pResults);
    // Appends a reference for each entry (up to the count or an empty entry).
    void MakeReferences(std::vector<RankedEntry>& entries, CReferenceList* pResults, int nCount);

    // Reads the TITLELNK.DAT record of an article; FALSE (zeros, empty title) when it cannot be
    // read.
    BOOL ReadTitleLink(WORD wArticle, DWORD& dwValue, LONG& nParent, CString& strTitle);
    // The parent article number (0 after the message "Cannot read TITLELNK.DAT").
    LONG GetParentNumber(WORD wArticle);

    // Of the last search that ranked something: articles seen and hits counted.
    LONG GetArticlesSeen() const { return m_nArticlesSeen; }
    LONG GetTotalHits() const { return m_nTotalHits; }
    // The tables of the last search, for the tests.
    const std::vector<RankedEntry>& GetRanking() const { return m_ranking; }
    const std::vector<RankedEntry>& GetOverflow() const { return m_overflow; }

private:
    // The keyword index's query: the checked query (wildcard confirmation) or the plain one.
    RESULT_SET* RunQuery(LPCSTR lpszQuery, BOOL bCheck);
    static OccurrenceSource PagedSource(RESULT_SET* pSet);
    void FillReference(CKWReference* pReference, const RankedEntry& entry, const void* pTable);

    BOOL m_bOpened;
    CFile* m_pTitleLink;
    std::vector<RankedEntry> m_ranking;
    std::vector<RankedEntry> m_overflow;
    LONG m_nArticlesSeen;
    LONG m_nTotalHits;
};
