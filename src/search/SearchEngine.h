// The search-engine owner: the one long-lived search service of the application. It owns the
// ROM_LINK table that places every content number (RIN), the topic engine (the subject index)
// and the word engine (the keyword index), and runs every search through them.
//
// A search of the search pane runs the topic engine first (in topic mode) and falls back to the
// word engine only when no heading matched; in word mode it runs only the word engine. The result
// is one list: each matching heading directly followed by its sub-entries, then the word hits
// whose article none of them names.
#pragma once

#include "base/RomLinkTable.h"

class CKWReference;
class CReferenceList;
class CTopicEngine;
class CWordEngine;

class CSearchEngine : public CRomLinkTable {
public:
    CSearchEngine();
    ~CSearchEngine() override;

    // Creates and opens both engines, loads the ROM_LINK table and fetches its default records;
    // TRUE when ready. Throws CUserException (the reader sees "cancelled") when the disc is not
    // found or the file holds more than MAX_ROMRECORDS records.
    BOOL Init();
    // Deletes both engines and frees the table; the engine is no longer initialised. The
    // destructor does this too.
    void Cleanup();
    BOOL IsInitialised() const { return m_bInitialised; }

    // The search pane's search: the query in, the ranked references appended to the list (see
    // above). bTopicMode: the topic search first.
    void Search(LPCSTR lpszQuery, CReferenceList* pResults, BOOL bTopicMode);
    // The order of the two engines and the merge of their results; initialises first when
    // needed (the list is left untouched when that fails).
    void RunSearch(LPCSTR lpszQuery, CReferenceList* pResults);
    // A word search straight into the list, without wildcard confirmation.
    void WordSearch(LPCSTR lpszQuery, CReferenceList* pResults);
    // The hits of a text in one article: a keyword reference owned by the caller, or NULL when the
    // text has no hit there.
    CKWReference* FindInArticle(const CString& strText, LONG nRin);
    // Each topic reference of the list followed by its sub-entries (the list is consumed and
    // deleted); a new list.
    CReferenceList* FlattenTopicResults(CReferenceList* pTopics);

    CTopicEngine* GetTopicEngine() const { return m_pTopicEngine; }
    CWordEngine* GetWordEngine() const { return m_pWordEngine; }
    BOOL IsSearching() const { return m_bSearching; }

private:
    BOOL m_bInitialised;
    BOOL m_bSearching;
    BOOL m_bTopicMode;
    CTopicEngine* m_pTopicEngine;
    CWordEngine* m_pWordEngine;
    BOOL m_bWordCheck;
};

// The application's search engine; NULL when there is none.
CSearchEngine* GetAppSearchEngine();
