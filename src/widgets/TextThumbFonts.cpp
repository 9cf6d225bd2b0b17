#include "widgets/TextThumbFonts.h"

namespace {

struct SharedFonts {
    int nUsers = 0;
    CFont normal, bold, italic, underline;
};

SharedFonts& Shared()
{
    static SharedFonts fonts;
    return fonts;
}

BOOL MakeFont(CFont& font, LPCSTR lpszFace, int nHeight, int nWeight, BOOL bItalic, BOOL bUnderline)
{
    return font.CreateFont(nHeight, 0, 0, 0, nWeight, BYTE(bItalic), BYTE(bUnderline), 0, ANSI_CHARSET, 0, 0, 0,
                           FF_SWISS, lpszFace);
}

}  // namespace

void CTextThumbFonts::Join()
{
    SharedFonts& fonts = Shared();
    if (fonts.nUsers++ == 0)
        CreateFontSet("Arial", 14, fonts.normal, fonts.bold, fonts.italic, fonts.underline);
}

void CTextThumbFonts::Leave()
{
    SharedFonts& fonts = Shared();
    if (fonts.nUsers <= 0)
        return;
    if (--fonts.nUsers == 0) {
        fonts.normal.DeleteObject();
        fonts.bold.DeleteObject();
        fonts.italic.DeleteObject();
        fonts.underline.DeleteObject();
    }
}

int CTextThumbFonts::GetUserCount()
{
    return Shared().nUsers;
}

MINIART_FONTS CTextThumbFonts::GetFonts()
{
    SharedFonts& fonts = Shared();
    MINIART_FONTS set;
    if (fonts.nUsers > 0) {
        set.pNormal = &fonts.normal;
        set.pBold = &fonts.bold;
        set.pItalic = &fonts.italic;
        set.pUnderline = &fonts.underline;
    }
    return set;
}

BOOL CTextThumbFonts::CreateFontSet(LPCSTR lpszFace, int nHeight, CFont& normal, CFont& bold, CFont& italic,
                                    CFont& underline)
{
    BOOL bOk = MakeFont(normal, lpszFace, nHeight, FW_NORMAL, FALSE, FALSE);
    bOk = MakeFont(bold, lpszFace, nHeight, FW_BOLD, FALSE, FALSE) && bOk;
    bOk = MakeFont(italic, lpszFace, nHeight, FW_NORMAL, TRUE, FALSE) && bOk;
    bOk = MakeFont(underline, lpszFace, nHeight, FW_NORMAL, FALSE, TRUE) && bOk;
    return bOk;
}
