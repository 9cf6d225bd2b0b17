// CGrfDocument: one picture record ("GRF" record) in memory. Every picture, map, movie, sound,
// simulation, panorama and photo-bubble item is described by such a record: a header with the
// item's title, caption, text sections, hot spots, named records (zoom-out link, overlay and group
// lists, legend), two small embedded GIF images, and the place of the full picture. The record
// lies in the data archive "VL.DAT" at the reference's block times 512, in a file "%08ld.grf" of
// the reference's data folder, or, for an online item, in its downloaded file.
//
// Every count, offset and length of a loaded record is checked against the bytes loaded before
// the record is accepted, so the accessors never read outside the record: a damaged record is
// refused by Create with the message of a record that is not a picture record.
#pragma once

#include <afxwin.h>

class CDib;
class CReference;
class CReferenceList;
class CRomFile;

#pragma pack(push, 1)
// A hot spot (16 bytes): a rectangle of picture pixels, a target (an item number for kind 0, a
// sound number for kind 3) and a kind (0 link, 1 pop-up label, 3 sound).
struct GRF_HOTSPOT {
    SHORT top;
    SHORT left;
    SHORT bottom;
    SHORT right;
    DWORD target;
    WORD reserved;
    SHORT kind;
};
// A named record (72 bytes).
struct GRF_NAMEDRECORD {
    BYTE reserved1[2];
    DWORD value;  // "ZOOM_OUT": item number; "MAP_OLAY", "TRA_OLAY", "GROUP": list index
    BYTE reserved2[42];
    char name[16];
    DWORD legendOffset;  // "LEGEND"
    DWORD legendLength;  // "LEGEND"; 0: none
};
#pragma pack(pop)
static_assert(sizeof(GRF_HOTSPOT) == 16, "hot spots are 16 bytes");
static_assert(sizeof(GRF_NAMEDRECORD) == 72, "named records are 72 bytes");

enum : SHORT { GRF_HOTSPOT_LINK = 0, GRF_HOTSPOT_LABEL = 1, GRF_HOTSPOT_SOUND = 3 };

// Section codes of a picture's search hits (CHitList): hot spots, caption, text section n.
enum : UINT { GRF_SECTION_HOTSPOTS = 220, GRF_SECTION_CAPTION = 221, GRF_SECTION_TEXT = 223 };

// A new reference to an item by number, placed through the content index and keeping that
// number; NULL without memory. The caller owns it.
CReference* CreateItemReference(LONG nNumber, LPCSTR lpszTitle);

class CGrfDocument : public CObject {
    DECLARE_DYNAMIC(CGrfDocument)
public:
    // The header's fixed fields.
    enum : DWORD {
        offMediaNumber = 20, offItemNumber = 24, offTitle = 36, offHotSpots = 44, offHotSpotCount = 52,
        offNamed = 54, offNamedCount = 62, offCaption = 64, offCaptionLength = 68, offSectionCount = 72,
        offSections = 74, offLists = 274, offNote = 374, offNoteLength = 378, offCredit = 382,
        offCreditLength = 386, offLinkValue = 390, offAltLegend = 394, offPreview = 402, offFullPicture = 410, offCanCopy = 418,
        offSecondImage = 420, offSecondImageLength = 424, headerSize = 428,
        maxSections = 20, maxLists = 10, firstReadSize = 2048, firstReadSizePreview = 14336,
    };

    // The first document of a run opens the shared data archive (VL.DAT of the data root, disc
    // 1): a data root that cannot be had throws CUserException; an archive that cannot be opened
    // is reported ("CGrfDocument::CGrfDocument() Can't open %s\nError: %d") and not tried again.
    CGrfDocument();
    ~CGrfDocument() override;
    CGrfDocument(const CGrfDocument&) = delete;
    CGrfDocument& operator=(const CGrfDocument&) = delete;

    // Closes and forgets the shared archive (application exit; tests between cases): the next
    // document constructed opens it again.
    static void CloseArchive();

    // Fetches a missing online file through the online manager, then Create; for a disc-2
    // reference the link value in memory becomes 1; a reference whose link value is set takes a
    // non-zero link value of the header. Non-zero on success; reports nothing of its own.
    BOOL Load(CReference* pReference, BOOL bWithPreview);
    // Reads the record of the reference (with the preview image and the second image when
    // bWithPreview is set, else the header only). 1 or 0; failures are reported in a box.
    BOOL Create(CReference* pReference, BOOL bWithPreview);

    BOOL IsLoaded() const { return m_pHeader != NULL; }
    DWORD GetLoadedSize() const { return m_dwSize; }

    CString GetTitle() const;
    // A new reference for the picture itself (its number and title); NULL without memory.
    CReference* CreateReference() const;
    BOOL CanCopy() const;
    DWORD GetMediaNumber() const { return Get32(offMediaNumber); }
    DWORD GetItemNumber() const { return Get32(offItemNumber); }
    DWORD GetLinkValue() const { return Get32(offLinkValue); }

    // The caption (never NULL: "" without one) and its length (0 without one).
    LPCSTR GetCaptionText() const;
    LONG GetCaptionLength() const;
    int GetSectionCount() const;
    // Text of section n, NULL when n is not below the section count.
    LPCSTR GetSectionData(int n) const;
    CString GetCreditText() const;
    CString GetNoteText() const;

    int GetHotSpotCount() const;
    const GRF_HOTSPOT* GetHotSpot(int n) const;
    // The 1-based number of the first active hot spot strictly containing the point, or 0.
    int HitTest(int x, int y) const;
    CReference* GetHotSpotReference(int k) const;
    DWORD GetHotSpotSound(int k) const;
    int GetHotSpotLabelCode(int k) const;
    const GRF_HOTSPOT* FindLabelHotSpot(int n) const;

    int GetNamedRecordCount() const;
    const GRF_NAMEDRECORD* GetNamedRecord(int n) const;
    CReference* GetZoomOutReference() const;
    CReferenceList* GetOverlayReferences() const;
    CReferenceList* GetGroupReferences() const;
    DWORD GetLegendOffset() const;
    // A record's images (the legend and the full picture) lie in the record's own source: the
    // file it was read from (GetImageSource), the archive or its own "%08ld.grf" or downloaded
    // file. Their positions there: in the archive the record's block x 512 plus the offset, in a
    // file of its own the offset (the record starts the file). A record read from the archive is
    // refused at Create when either lies outside the archive; otherwise a legend outside its file
    // gives 0 (none), and a full-picture position outside it or that a LONG cannot hold gives -2,
    // which the picture reader refuses (-1 would mean a file's start).
    LONG GetLegendPosition() const;
    LONG GetFullImagePosition() const;
    // The legend's second place (the 32-bit value at header byte 394): only a record read from
    // the archive gives one, at its block x 512 plus that value, when the value is not 0 and the
    // position lies inside the archive; else 0.
    LONG GetAlternativeLegendPosition() const;
    // The path of the file the record was read from (empty while none is loaded).
    const CString& GetImageSource() const { return m_strSource; }
    BOOL IsFromArchive() const { return m_llArchiveSize >= 0; }

    // New bitmaps of the embedded images (the caller owns them); NULL unless the preview was
    // loaded, or when the image is absent.
    CDib* CreateMainDib() const;
    CDib* CreateSecondDib() const;

    // The media file of the item: the kind's pattern with the media number modulo 10000. Throws
    // CNotSupportedException for a kind without one.
    CString GetMediaFileName() const;
    LONG GetKind() const;
    BOOL GetDataFolder(CString& strFolder, BOOL bPrompt) const;
    CObject* GetReferenceData() const;
    CReference* GetReference() const { return m_pReference; }

    // The shared archive's path once it has been opened (empty before).
    static CString GetArchivePath();

private:
    DWORD Get32(DWORD dwOffset) const;
    SHORT Get16(DWORD dwOffset) const;
    void Put32(DWORD dwOffset, DWORD dwValue);
    // A NUL-terminated text starting at the offset inside the record, or NULL.
    LPCSTR TextAt(DWORD dwOffset) const;
    // Whether every count, offset and length lies inside the loaded bytes.
    BOOL IsConsistent() const;
    BOOL IsListConsistent(int nList) const;
    int LeadingMarkedSections() const;
    // Appends the items of the reference lists of every named record called one of the names.
    CReferenceList* CollectLists(LPCSTR lpszName1, LPCSTR lpszName2) const;
    // Reads the record from the open file into a block; FALSE after reporting.
    BOOL ReadRecord(CFile& file, BOOL bWithPreview);
    void Free();
    // Where an offset of the record lies in its source: block x 512 + offset in the archive, the
    // offset in a file of its own, in 64 bits; -1 when that is not a position inside the source
    // (its end included).
    LONGLONG ArchivePosition(DWORD dwOffset) const;

    CReference* m_pReference = NULL;
    HGLOBAL m_hBlock = NULL;
    BYTE* m_pHeader = NULL;
    BOOL m_bPreviewLoaded = FALSE;
    DWORD m_dwSize = 0;  // bytes of the record in the block
    LONGLONG m_llArchiveSize = -1;  // of the archive the record was read from (-1: not the archive)
    LONGLONG m_llOwnFileSize = -1;  // of the record's own file (-1: read from the archive)
    CString m_strSource;
};
