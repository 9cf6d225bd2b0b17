// The subject index of the topic search: a sorted list of subject headings, each with its
// sub-entries (the articles and places it names, and "See"/"See also" cross-references).
//
//   MASTER.NDX    (data folder kind 11) one 6-byte front-coded key per block of SSUBJECT.NDX:
//                 byte 0 the characters shared with the previous key, bytes 1-5 the next five
//                 (NUL-padded); key i is the title of the first record that starts in block i.
//   SSUBJECT.NDX  (data folder kind 2) blocks of 6,144 bytes, each beginning with "%FIRST-REC%";
//                 records never straddle blocks: the last record of a block has its length
//                 extended over the padding and the next block's marker; a length of 0 ends them.
//
// Record: i16 length, u16 unused, u8 flags, u8 sub-entry count, u32 entry number, the title
// (normalised, NUL-terminated), the display text (NUL-terminated, may hold "[qualifier]"), then
// the sub-entries: u32 target, u32 hit position, u8 unused, u8 label index, the text with NUL.
//
// A search normalises the query (SubjectNormalizer.h), finds the blocks that can hold it through
// the master index (reading at most 62,000 bytes), matches every record there directly and, for a
// name, inverted ("JOHN KENNEDY" as "KENNEDY, JOHN"), and ranks the matches by class (1 exact,
// 2 leading part, 3 partial), plural ending and score (sub-entries x 10, weighted by the flags).
// At most 100 results of class 1 or 2 are kept.
//
// Plain functions over program-wide state, used by one search at a time on the user-interface
// thread. Errors are shown through ShowMessage.
#pragma once

#include <afx.h>

class CTPReference;
class CReferenceList;

// Flags of a heading.
enum : BYTE {
    SUBJECT_FLAG_BONUS = 0x01,       // the score is raised by a tenth
    SUBJECT_FLAG_NOT_TRUE = 0x02,    // clear: raised by a fifth; an exact match counts as true
    SUBJECT_FLAG_NOT_SR = 0x04,      // a query with "SR" does not want it
    SUBJECT_FLAG_NOT_JR = 0x08,      // a query with "JR" does not want it
    SUBJECT_FLAG_NO_PLURAL = 0x10,   // no match through a plural ending; may be moved to the top
    SUBJECT_FLAG_TOP = 0x40,         // may be moved to the top on an exact title
};

// Sub-entry targets that name no article.
const DWORD SUBJECT_TARGET_NONE = 0;
const DWORD SUBJECT_TARGET_HEADING = 0xFFFFFFFD;
const DWORD SUBJECT_TARGET_SEE = 0xFFFFFFFE;
const DWORD SUBJECT_TARGET_SEE_ALSO = 0xFFFFFFFF;

#define SUBJECT_BLOCK_SIZE 6144
#define SUBJECT_MAX_READ 62000
#define SUBJECT_MARKER "%FIRST-REC%"
#define SUBJECT_RESULT_SLOTS 2000
#define SUBJECT_MAX_RESULTS 100
#define SUBJECT_QUERY_SIZE 200
// The smallest record: the header, an empty title and an empty display text.
#define SUBJECT_MIN_RECORD 12

#define SUBJECT_MSG_QUERY_TOO_LONG "The topic is too long; only its first 199 characters are searched."
#define SUBJECT_MSG_DAMAGED_RECORD ">>> Damaged record in subject index"

// Opens both files and reads the master index; FALSE after a message when one cannot be opened
// or read (a master index with a prefix longer than the key before it counts as unreadable).
// Throws CUserException when a data folder cannot be found.
BOOL OpenSubjectIndex();
void CloseSubjectIndex();
BOOL IsSubjectIndexOpen();

// Searches the index; the results stay until the next search.
void SearchSubjectIndex(LPCSTR pszQuery);
int GetSubjectResultCount();
// Fills a topic reference from result i: sub-entry count (at most 180), display text, and the
// result's record (valid until the next search that finds something).
void GetSubjectEntry(int i, CTPReference* pReference);
// Appends one reference per sub-entry of the reference's record.
void BuildSubjectReferenceList(CTPReference* pReference, CReferenceList* pList);

// What a result holds, for the search pane and the tests.
struct SubjectResultInfo {
    int nClass;
    int nPluralLength;
    int nScore;
    BYTE bFlags;
    int nEntries;
    CString strTitle;
    CString strDisplay;
};
BOOL GetSubjectResultInfo(int i, SubjectResultInfo& info);
// The normalised query, its inverted form and its suffix (SubjectNormalizer.h) of the last search.
CString GetSubjectQuery();
CString GetSubjectInvertedQuery();
int GetSubjectQuerySuffix();
