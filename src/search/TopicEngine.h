// The topic engine: the search of the subject index (SubjectIndex.h). Every matching heading
// becomes a topic reference (CTPReference) with the heading's display text as its title and, as
// its sub-list, one reference per sub-entry (an article or a place in one, or a "See"/"See also"
// cross-reference). The search engine owns the one topic engine.
#pragma once

#include <afx.h>

class CReferenceList;
class CTPReference;

class CTopicEngine {
public:
    CTopicEngine();
    // Closes the subject index when this engine opened it.
    ~CTopicEngine();
    CTopicEngine(const CTopicEngine&) = delete;
    CTopicEngine& operator=(const CTopicEngine&) = delete;

    // Opens the subject index on first use (a failed open is not tried again); TRUE when it is
    // open. Throws CUserException when a data folder cannot be found.
    BOOL Open();
    // Appends one topic reference per matching heading, best first. The references' records stay
    // valid until the next search.
    void Search(LPCSTR lpszQuery, CReferenceList* pResults);
    // Fills the sub-list of a topic reference from its record.
    void BuildEntryReferences(CTPReference* pReference, CReferenceList* pList);

private:
    BOOL m_bOpened;
};
