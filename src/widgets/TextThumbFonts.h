// The four "Arial" fonts that every text thumbnail and mini-article box shares: cell height 14,
// ANSI character set, Swiss family; regular, bold, italic and underlined. They are made when the
// first user joins and deleted when the last one leaves (an instance count).
#pragma once

#include <afxwin.h>

// A set of four fonts as the mini-article layout uses them (not owned).
struct MINIART_FONTS {
    CFont* pNormal = NULL;
    CFont* pBold = NULL;
    CFont* pItalic = NULL;
    CFont* pUnderline = NULL;
};

class CTextThumbFonts {
public:
    // Counts a user in; the first one makes the fonts.
    static void Join();
    // Counts a user out; the last one deletes the fonts.
    static void Leave();
    // How many users there are now.
    static int GetUserCount();
    // The shared set (its fonts are NULL while nobody has joined).
    static MINIART_FONTS GetFonts();

    // Makes the four fonts of a face at a cell height into the given objects (tests make a set of
    // a fixed-pitch face this way). FALSE when any of them cannot be made.
    static BOOL CreateFontSet(LPCSTR lpszFace, int nHeight, CFont& normal, CFont& bold, CFont& italic,
                              CFont& underline);
};

// Joins the shared fonts for the life of the object.
class CTextThumbFontUser {
public:
    CTextThumbFontUser() { CTextThumbFonts::Join(); }
    ~CTextThumbFontUser() { CTextThumbFonts::Leave(); }
    CTextThumbFontUser(const CTextThumbFontUser&) = delete;
    CTextThumbFontUser& operator=(const CTextThumbFontUser&) = delete;
};
