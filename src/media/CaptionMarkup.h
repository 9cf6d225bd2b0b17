// CCaptionMarkup: a caption's control bytes turned into the mini-article mark-up, one byte at a
// time. A carriage return alternately closes and opens a paragraph (the first one closes), 0x81
// starts italic, 0x82 bold, and 0x80 ends whichever of the two is on; every other byte is text.
#pragma once

#include <afx.h>

class CCaptionMarkup {
public:
    void Put(CString& strOut, BYTE c)
    {
        if (c == 13) {
            strOut += m_bCloseNext ? "</P>" : "<P>";
            m_bCloseNext = !m_bCloseNext;
        } else if (c == 0x81) {
            strOut += "<I>";
            m_bItalic = TRUE;
        } else if (c == 0x82) {
            strOut += "<STRONG>";
            m_bBold = TRUE;
        } else if (c == 0x80) {
            if (m_bItalic)
                strOut += "</I>";
            if (m_bBold)
                strOut += "</STRONG>";
            m_bItalic = m_bBold = FALSE;
        } else {
            strOut += static_cast<char>(c);
        }
    }

private:
    BOOL m_bItalic = FALSE;
    BOOL m_bBold = FALSE;
    BOOL m_bCloseNext = TRUE;
};
