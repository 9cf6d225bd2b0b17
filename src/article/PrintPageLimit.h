// CPrintPageLimit: the reader's cap on printed pages, from the product section of the profile:
// "LPL" equal to "y" (any case) turns the cap on, "MP" (a whole number, default 0) is the cap.
// The article, outline, related-list and table printers all read it at the start of a job.
#pragma once

#include <afxwin.h>

class CPrintPageLimit {
public:
    CPrintPageLimit();

    BOOL IsOn() const { return m_bOn; }
    int GetLimit() const { return m_nLimit; }
    // Articles: TRUE when a job that has printed nPages must stop (at most max(MP, 1) pages).
    BOOL Reached(int nPages) const { return m_bOn && nPages >= m_nLimit; }
    // Outlines, related lists and tables: TRUE when page nPages is the last one to print (with
    // MP 0 no page number matches and every page prints).
    BOOL IsLastPage(int nPages) const { return m_bOn && nPages == m_nLimit; }

    // "DGP" equal to "y" (any case): articles print without their pictures.
    static BOOL PicturesOff();

private:
    BOOL m_bOn = FALSE;
    int m_nLimit = 0;
};
