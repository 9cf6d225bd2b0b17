// The reference factory: makes the right kind of reference from a RIN (an online item, a timeline,
// or a disc item placed through the ROM_LINK table), and parses the links inside articles. The
// application object holds the one factory (GetAppReferenceFactory); it has no state.
//
// Article links have the form "vl://" followed by the article's six digits, optionally followed
// by "(T)" or by "(" and the number of the section the link points into, and one closing
// character.
#pragma once

#include <afx.h>

class CReference;

class CReferenceFactory {
public:
    // A new reference owned by the caller:
    // - an online number: a COnlineReference named by its RIT text + ".rcv" (an article) or
    //   ".grf" (a media item), with the title, the category and the kind of its content; any
    //   other online kind shows a message box and throws CNotSupportedException;
    // - a timeline: a reference of kind REFKIND_TIMELINE with the number, title and category;
    // - anything else: a reference placed through the ROM_LINK table (the table gives the
    //   category; the argument is not used).
    // A number outside the kind table throws CRinException; out of memory CMemoryException.
    CReference* CreateReference(LONG nNumber, LPCSTR lpszTitle, LONG nCategory);

    // A new reference (owned by the caller) to the article a link names, with the whole link as
    // its link text and, when the link names a section, a CHitList with that section as its
    // data. A malformed link throws CNotSupportedException; a number of other than six digits
    // CRinException.
    CReference* ParseReferenceLink(LPCSTR lpszLink);
};
