// Content numbers. Every content item (article, picture, map, movie, sound, simulation, timeline,
// web site, update ...) is named by one 32-bit number, its RIN, and by a short text form, its RIT
// (a two-letter kind prefix and digits, such as "pc012345"), which names the item's files and is
// used in update data and links. CRin converts between the two forms and tells what kind of item a
// number names, all through one fixed table of content kinds.
//
// The RIN read as nine zero-padded decimal digits: the first is 0 for disc content and 1 for the
// web-site and update kinds; the second is 1 for an item from the online service (the number
// carries +10,000,000); the other seven give the kind and the serial number within the kind.
#pragma once

#include <afx.h>

// Flag bits of a content kind.
enum : LONG {
    RINF_TEXT = 0x1,             // an article-like text item
    RINF_MEDIA = 0x2,            // shown by the media browser, has a picture file
    RINF_PICTURE = 0x4,
    RINF_MAP = 0x8,
    RINF_VIDEO = 0x10,
    RINF_SOUND = 0x20,
    RINF_SIMULATION = 0x40,
    RINF_WEBSITE = 0x80,
    RINF_UPDATE = 0x100,
    RINF_TIMELINE = 0x200,
    RINF_VIRTUALREALITY = 0x400,
    RINF_BUBBLE = 0x800,
    RINF_ANIMATION = 0x1000,
};

// Offset that marks a number as coming from the online service.
const DWORD RIN_ONLINE_OFFSET = 10000000;

// One row of the kind table.
struct RIN_KIND {
    char szRinPattern[10];   // matched against the "%09lu" form of the number
    char szRitPattern[10];   // matched against RIT text
    char szRitFormat[12];    // printf/scanf format of the RIT text
    DWORD dwBase;            // added to the scanned digits to form the RIN
    DWORD dwModulus;         // RIN modulo this gives the digits of the RIT text
    LONG nKindCode;          // 1 to 17
    WORD wIconId;            // icon group resource for lists, 0 for none
    LONG nFlags;             // RINF_ bits
};

// The kind table, ended by a row whose first character is NUL. Rows are searched first to last.
extern const RIN_KIND g_rinKinds[];

// Walks both strings together: '#' in the pattern matches one decimal digit, any other pattern
// character only itself (case counts). TRUE when every character matched and both end together.
BOOL MatchDigitPattern(LPCSTR lpszPattern, LPCSTR lpszText);

// Thrown (by pointer) for a content code outside the kind table.
class CRinException : public CException {
    DECLARE_DYNAMIC(CRinException)
public:
    enum {
        badText = 0,    // the text matches no RIT pattern
        badNumber = 1,  // the number matches no RIN pattern
    };

    explicit CRinException(LONG cause);

    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    LONG m_cause;
};

[[noreturn]] void AfxThrowRinException(LONG cause);

class CRin : public CObject {
    DECLARE_DYNAMIC(CRin)
public:
    explicit CRin(DWORD dwNumber = 0);
    // Parses RIT text; bOnline adds the online offset. Throws CRinException (badText) when the
    // text matches no row.
    CRin(LPCSTR lpszCode, BOOL bOnline);
    CRin(const CRin& other);
    CRin& operator=(const CRin& other);
    void Assign(const CRin& other);

    DWORD GetNumber() const { return m_dwNumber; }
    BOOL IsOnline() const;

    // The RIT text of the number. Throws CRinException (badNumber) outside the table.
    CString FormatRit() const;

    // The 0-based row of the kind table; throws CRinException (badNumber) when none matches.
    int GetKindIndex() const;
    LONG GetKindCode() const;
    WORD GetKindIconId() const;

    BOOL IsArticleText() const;
    BOOL IsMedia() const;
    BOOL IsPicture() const;
    BOOL IsMap() const;
    BOOL IsVideo() const;
    BOOL IsSound() const;
    BOOL IsSimulation() const;
    BOOL IsWebSite() const;
    BOOL IsUpdate() const;
    BOOL IsVirtualReality() const;
    BOOL IsAnimation() const;
    // Video, animation or virtual-reality scene.
    BOOL IsMovie() const;

private:
    const RIN_KIND& GetKind() const;
    BOOL HasFlag(LONG nFlag) const;

    DWORD m_dwNumber;
};
