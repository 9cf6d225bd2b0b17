#include "media/GrfDocument.h"

#include "base/AppHost.h"
#include "base/DataFolders.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/RomFile.h"
#include "widgets/Dib.h"

#include <cstring>
#include <new>

namespace {

const char kNotPictureRecord[] = "Error: Article CReference passed to CGrfDocument::Create()";
const char kNoMemory[] = "Error: not enough memory to load graphic";

// The program-wide data archive: opened by the first document constructed in a run.
struct SharedArchive {
    CRomFile* pFile = NULL;
    BOOL bTried = FALSE;
    CString strPath;
};

SharedArchive& Archive()
{
    static SharedArchive archive;
    return archive;
}

BOOL NameIs(const GRF_NAMEDRECORD* pRecord, LPCSTR lpszName)
{
    return pRecord != NULL && lpszName != NULL && std::strncmp(pRecord->name, lpszName, sizeof(pRecord->name)) == 0;
}

}  // namespace

CReference* CreateItemReference(LONG nNumber, LPCSTR lpszTitle)
{
    CReference* pRef = new (std::nothrow) CReference(nNumber, lpszTitle);
    if (pRef != NULL && pRef->GetNumber() != nNumber)
        pRef->SetNumber(nNumber);
    return pRef;
}

IMPLEMENT_DYNAMIC(CGrfDocument, CObject)

CGrfDocument::CGrfDocument()
{
    SharedArchive& archive = Archive();
    if (archive.bTried)
        return;
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE))
        AfxThrowUserException();
    archive.bTried = TRUE;
    archive.strPath = strFolder + "VL.DAT";
    archive.pFile = new CRomFile;
    CFileException error;
    if (!archive.pFile->Open(archive.strPath, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone, &error)) {
        CString strMessage;
        strMessage.Format("CGrfDocument::CGrfDocument() Can't open %s\nError: %d", static_cast<LPCSTR>(archive.strPath),
                          static_cast<int>(error.m_cause));
        AfxMessageBox(strMessage, MB_OK);
    }
}

CGrfDocument::~CGrfDocument()
{
    Free();
}

void CGrfDocument::CloseArchive()
{
    SharedArchive& archive = Archive();
    delete archive.pFile;
    archive.pFile = NULL;
    archive.bTried = FALSE;
    archive.strPath.Empty();
}

CString CGrfDocument::GetArchivePath()
{
    return Archive().strPath;
}

void CGrfDocument::Free()
{
    if (m_hBlock != NULL) {
        GlobalUnlock(m_hBlock);
        GlobalFree(m_hBlock);
    }
    m_hBlock = NULL;
    m_pHeader = NULL;
    m_dwSize = 0;
    m_bPreviewLoaded = FALSE;
    m_llArchiveSize = -1;
    m_llOwnFileSize = -1;
    m_strSource.Empty();
    delete m_pReference;
    m_pReference = NULL;
}

BOOL CGrfDocument::Load(CReference* pReference, BOOL bWithPreview)
{
    if (pReference == NULL)
        return FALSE;
    if (!pReference->IsFileAvailable() && !GetAppHost().OpenOnlineResource(pReference, 1))
        return FALSE;
    BOOL bResult = Create(pReference, bWithPreview);
    if (!bResult)
        return FALSE;
    if (pReference->GetDisc() == 2)
        Put32(offLinkValue, 1);
    const DWORD dwLink = GetLinkValue();
    if (pReference->GetPictureFlag() != 0 && dwLink != 0)
        pReference->SetPictureLink(static_cast<LONG>(dwLink));
    return bResult;
}

BOOL CGrfDocument::Create(CReference* pReference, BOOL bWithPreview)
{
    if (pReference == NULL)
        return FALSE;
    Free();
    const int nDisc = pReference->GetDisc();
    CFile* pFile = NULL;
    CFile ownFile;
    CString strPath;
    if (nDisc == 1 || (nDisc == 2 && bWithPreview)) {
        CString strFolder;
        if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE))
            return FALSE;
        SharedArchive& archive = Archive();
        if (archive.pFile == NULL) {
            CString strMessage;
            strMessage.Format("Can't open GRF file, %s", static_cast<LPCSTR>(strFolder + "VL.DAT"));
            AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
            return FALSE;
        }
        pFile = archive.pFile;
        strPath = archive.strPath;
    } else {
        if (nDisc < 2) {
            strPath = pReference->GetFilePath();
        } else {
            CString strFolder;
            BOOL bFolder = FALSE;
            try {
                bFolder = pReference->GetDataFolder(strFolder, TRUE);
            } catch (CNotSupportedException* e) {
                // A disc or a kind of folder that this edition does not serve.
                e->Delete();
            }
            if (!bFolder)
                return FALSE;
            strPath.Format("%s%08ld.grf", static_cast<LPCSTR>(strFolder), static_cast<long>(pReference->GetNumber()));
        }
        if (strPath.IsEmpty() ||
            !ownFile.Open(strPath, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone)) {
            CString strMessage;
            if (nDisc < 2)
                strMessage = "Can't open Online GRF file.";
            else
                strMessage.Format("Can't open GRF file, %s", static_cast<LPCSTR>(strPath));
            AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
            return FALSE;
        }
        pFile = &ownFile;
    }

    m_pReference = pReference->Clone();
    m_strSource = strPath;
    BOOL bRead = FALSE;
    try {
        if (pFile != &ownFile) {
            // The record's block must start inside the archive (a damaged ROM_LINK entry can
            // name any block).
            pFile->Seek(0, CFile::begin);  // throws when the archive is not open
            m_llArchiveSize = static_cast<LONGLONG>(pFile->GetLength());
            const LONGLONG llStart = ArchivePosition(0);
            if (llStart < 0) {
                AfxMessageBox(kNotPictureRecord, MB_OK);
                Free();
                return FALSE;
            }
            pFile->Seek(static_cast<LONG>(llStart), CFile::begin);
        }
        if (pFile == &ownFile)
            m_llOwnFileSize = static_cast<LONGLONG>(ownFile.GetLength());
        bRead = ReadRecord(*pFile, bWithPreview);
    } catch (CFileException* e) {
        e->Delete();
        CString strMessage;
        strMessage.Format("Can't open GRF file, %s", static_cast<LPCSTR>(strPath));
        AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
        bRead = FALSE;
    }
    if (pFile == &ownFile)
        ownFile.Close();
    if (!bRead) {
        Free();
        return FALSE;
    }
    m_bPreviewLoaded = bWithPreview;

    // A record whose preview is missing but that has a legend keeps its picture offsets counted
    // as if the legend stood where the preview is: move them back by the difference.
    const DWORD dwPreview = Get32(offPreview);
    const BOOL bPreviewSeen = dwPreview <= m_dwSize && m_dwSize - dwPreview >= 3;
    if (nDisc != 2 && bPreviewSeen && std::memcmp(m_pHeader + dwPreview, "GIF", 3) != 0 && GetLegendOffset() != 0) {
        const DWORD dwDelta = Get32(offPreview) - GetLegendOffset();
        Put32(offPreview, Get32(offPreview) - dwDelta);
        Put32(offFullPicture, Get32(offFullPicture) - dwDelta);
        for (int i = 0; i < GetNamedRecordCount(); ++i) {
            const GRF_NAMEDRECORD* pNamed = GetNamedRecord(i);
            if (NameIs(pNamed, "LEGEND")) {
                const DWORD dwAt = static_cast<DWORD>(reinterpret_cast<const BYTE*>(pNamed) - m_pHeader) + 64;
                Put32(dwAt, Get32(dwAt) - dwDelta);
            }
        }
    }
    // The full picture and the legend are read from the archive by position: both must lie in it.
    if (m_llArchiveSize >= 0 &&
        (ArchivePosition(Get32(offFullPicture)) < 0 || (GetLegendOffset() != 0 && ArchivePosition(GetLegendOffset()) < 0))) {
        AfxMessageBox(kNotPictureRecord, MB_OK);
        Free();
        return FALSE;
    }
    return TRUE;
}

LONGLONG CGrfDocument::ArchivePosition(DWORD dwOffset) const
{
    if (m_llOwnFileSize >= 0) {
        // A record in a file of its own starts the file.
        const LONGLONG llPosition = static_cast<LONGLONG>(dwOffset);
        if (llPosition > 0x7FFFFFFFLL || llPosition > m_llOwnFileSize)
            return -1;
        return llPosition;
    }
    const LONGLONG llBlock = m_pReference != NULL ? static_cast<LONGLONG>(m_pReference->GetBlock()) : 0;
    if (llBlock < 0)
        return -1;
    const LONGLONG llPosition = llBlock * 512 + static_cast<LONGLONG>(dwOffset);
    if (llPosition > 0x7FFFFFFFLL)  // beyond what a file position of this system holds
        return -1;
    // The archive's end is still a position: an image of no bytes (a record without a full
    // picture, last in the archive) ends there.
    if (m_llArchiveSize >= 0 && llPosition > m_llArchiveSize)
        return -1;
    return llPosition;
}

BOOL CGrfDocument::ReadRecord(CFile& file, BOOL bWithPreview)
{
    const DWORD dwFirst = bWithPreview ? firstReadSizePreview : firstReadSize;
    m_hBlock = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, dwFirst);
    if (m_hBlock == NULL) {
        AfxMessageBox(kNoMemory, MB_OK);
        return FALSE;
    }
    m_pHeader = static_cast<BYTE*>(GlobalLock(m_hBlock));
    const UINT nRead = file.Read(m_pHeader, dwFirst);
    m_dwSize = nRead;
    if (nRead < 2 || m_pHeader[0] != 'G' || m_pHeader[1] != 'R' || nRead < headerSize) {
        AfxMessageBox(kNotPictureRecord, MB_OK);
        return FALSE;
    }
    // The bytes needed: up to the full picture with the preview, else just enough to see the
    // preview's signature. A length the file cannot hold is a damaged record.
    DWORD dwNeeded = bWithPreview ? Get32(offFullPicture) : Get32(offPreview) + 3;
    const ULONGLONG nLength = file.GetLength();
    const ULONGLONG nPosition = file.GetPosition();
    const ULONGLONG nAvailable = nRead + (nLength > nPosition ? nLength - nPosition : 0);
    if (Get32(offPreview) > 0xFFFFFFF0u || dwNeeded < headerSize || dwNeeded > nAvailable) {
        AfxMessageBox(kNotPictureRecord, MB_OK);
        return FALSE;
    }
    GlobalUnlock(m_hBlock);
    HGLOBAL hNew = GlobalReAlloc(m_hBlock, dwNeeded, GMEM_MOVEABLE);
    if (hNew == NULL) {
        m_pHeader = NULL;
        AfxMessageBox(kNoMemory, MB_OK);
        return FALSE;
    }
    m_hBlock = hNew;
    m_pHeader = static_cast<BYTE*>(GlobalLock(m_hBlock));
    if (dwNeeded > nRead) {
        const UINT nMore = file.Read(m_pHeader + nRead, dwNeeded - nRead);
        if (nMore != dwNeeded - nRead) {
            m_dwSize = nRead + nMore;
            AfxMessageBox(kNotPictureRecord, MB_OK);
            return FALSE;
        }
    }
    m_dwSize = dwNeeded;
    if (!IsConsistent()) {
        AfxMessageBox(kNotPictureRecord, MB_OK);
        return FALSE;
    }
    return TRUE;
}

// ---- checks ------------------------------------------------------------------------------------

DWORD CGrfDocument::Get32(DWORD dwOffset) const
{
    if (m_pHeader == NULL || dwOffset > m_dwSize || m_dwSize - dwOffset < 4)
        return 0;
    const BYTE* p = m_pHeader + dwOffset;
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

SHORT CGrfDocument::Get16(DWORD dwOffset) const
{
    if (m_pHeader == NULL || dwOffset > m_dwSize || m_dwSize - dwOffset < 2)
        return 0;
    const BYTE* p = m_pHeader + dwOffset;
    return static_cast<SHORT>(static_cast<WORD>(p[0] | (p[1] << 8)));
}

void CGrfDocument::Put32(DWORD dwOffset, DWORD dwValue)
{
    if (m_pHeader == NULL || dwOffset > m_dwSize || m_dwSize - dwOffset < 4)
        return;
    for (int i = 0; i < 4; ++i)
        m_pHeader[dwOffset + static_cast<DWORD>(i)] = static_cast<BYTE>(dwValue >> (8 * i));
}

LPCSTR CGrfDocument::TextAt(DWORD dwOffset) const
{
    if (m_pHeader == NULL || dwOffset >= m_dwSize)
        return NULL;
    const void* pEnd = std::memchr(m_pHeader + dwOffset, 0, m_dwSize - dwOffset);
    return pEnd != NULL ? reinterpret_cast<LPCSTR>(m_pHeader + dwOffset) : NULL;
}

BOOL CGrfDocument::IsListConsistent(int nList) const
{
    const DWORD dwEntry = offLists + 10 * static_cast<DWORD>(nList);
    const SHORT nItems = Get16(dwEntry + 8);
    if (nItems < 0)
        return FALSE;
    DWORD dwAt = Get32(dwEntry);
    for (int i = 0; i < nItems; ++i) {
        LPCSTR pszTitle = TextAt(dwAt);
        if (pszTitle == NULL)
            return FALSE;
        dwAt += static_cast<DWORD>(std::strlen(pszTitle)) + 1;
        if (dwAt > m_dwSize || m_dwSize - dwAt < 4)
            return FALSE;
        dwAt += 4;
    }
    return TRUE;
}

BOOL CGrfDocument::IsConsistent() const
{
    if (TextAt(Get32(offTitle)) == NULL)
        return FALSE;
    // Texts with a length: inside the record and ended before it ends.
    const DWORD lengths[][2] = {{offCaption, offCaptionLength}, {offNote, offNoteLength}, {offCredit, offCreditLength}};
    for (const auto& field : lengths) {
        const LONG nLength = static_cast<LONG>(Get32(field[1]));
        if (nLength < 1)
            continue;
        const DWORD dwText = Get32(field[0]);
        if (dwText >= m_dwSize || static_cast<DWORD>(nLength) > m_dwSize - dwText || TextAt(dwText) == NULL)
            return FALSE;
    }
    const SHORT nSections = Get16(offSectionCount);
    if (nSections < 0 || nSections > static_cast<SHORT>(maxSections))
        return FALSE;
    for (int i = 0; i < nSections; ++i)
        if (TextAt(Get32(offSections + 10 * static_cast<DWORD>(i) + 4)) == NULL)
            return FALSE;
    const struct {
        DWORD dwOffset, dwCount, dwSize;
    } tables[] = {{offHotSpots, offHotSpotCount, sizeof(GRF_HOTSPOT)}, {offNamed, offNamedCount, sizeof(GRF_NAMEDRECORD)}};
    for (const auto& table : tables) {
        const SHORT nCount = Get16(table.dwCount);
        if (nCount < 0)
            return FALSE;
        const DWORD dwAt = Get32(table.dwOffset);
        if (nCount > 0 && (dwAt > m_dwSize || (m_dwSize - dwAt) / table.dwSize < static_cast<DWORD>(nCount)))
            return FALSE;
    }
    for (int i = 0; i < GetNamedRecordCount(); ++i) {
        const GRF_NAMEDRECORD* pNamed = GetNamedRecord(i);
        if (std::memchr(pNamed->name, 0, sizeof(pNamed->name)) == NULL)
            return FALSE;
        if (NameIs(pNamed, "MAP_OLAY") || NameIs(pNamed, "TRA_OLAY") || NameIs(pNamed, "GROUP")) {
            if (pNamed->value >= maxLists || !IsListConsistent(static_cast<int>(pNamed->value)))
                return FALSE;
        }
    }
    // The images: the preview lies before the full picture, the second image inside the record.
    if (Get32(offPreview) > Get32(offFullPicture))
        return FALSE;
    if (m_dwSize == Get32(offFullPicture)) {
        const DWORD dwSecond = Get32(offSecondImage);
        const DWORD dwLength = Get32(offSecondImageLength);
        if (dwLength != 0 && (dwSecond > m_dwSize || dwLength > m_dwSize - dwSecond))
            return FALSE;
    }
    return TRUE;
}

// ---- accessors ---------------------------------------------------------------------------------

CString CGrfDocument::GetTitle() const
{
    LPCSTR psz = TextAt(Get32(offTitle));
    return psz != NULL ? CString(psz) : CString();
}

CReference* CGrfDocument::CreateReference() const
{
    if (m_pHeader == NULL)
        return NULL;
    return CreateItemReference(static_cast<LONG>(GetItemNumber()), GetTitle());
}

BOOL CGrfDocument::CanCopy() const
{
    return m_pHeader != NULL && m_dwSize > offCanCopy && m_pHeader[offCanCopy] == 'Y';
}

LPCSTR CGrfDocument::GetCaptionText() const
{
    if (GetCaptionLength() < 1)
        return "";
    LPCSTR psz = TextAt(Get32(offCaption));
    return psz != NULL ? psz : "";
}

LONG CGrfDocument::GetCaptionLength() const
{
    const LONG nLength = static_cast<LONG>(Get32(offCaptionLength));
    return nLength < 1 ? 0 : nLength;
}

int CGrfDocument::GetSectionCount() const
{
    const SHORT n = Get16(offSectionCount);
    return n < 0 ? 0 : (n > static_cast<SHORT>(maxSections) ? static_cast<int>(maxSections) : n);
}

LPCSTR CGrfDocument::GetSectionData(int n) const
{
    if (n < 0 || n >= GetSectionCount())
        return NULL;
    return TextAt(Get32(offSections + 10 * static_cast<DWORD>(n) + 4));
}

CString CGrfDocument::GetCreditText() const
{
    LPCSTR psz = static_cast<LONG>(Get32(offCreditLength)) < 1 ? NULL : TextAt(Get32(offCredit));
    return psz != NULL ? CString(psz) : CString();
}

CString CGrfDocument::GetNoteText() const
{
    LPCSTR psz = static_cast<LONG>(Get32(offNoteLength)) < 1 ? NULL : TextAt(Get32(offNote));
    return psz != NULL ? CString(psz) : CString();
}

int CGrfDocument::GetHotSpotCount() const
{
    const SHORT n = Get16(offHotSpotCount);
    const DWORD dwAt = Get32(offHotSpots);
    if (n <= 0 || dwAt > m_dwSize || (m_dwSize - dwAt) / sizeof(GRF_HOTSPOT) < static_cast<DWORD>(n))
        return 0;
    return n;
}

const GRF_HOTSPOT* CGrfDocument::GetHotSpot(int n) const
{
    if (n < 0 || n >= GetHotSpotCount())
        return NULL;
    return reinterpret_cast<const GRF_HOTSPOT*>(m_pHeader + Get32(offHotSpots) + sizeof(GRF_HOTSPOT) * static_cast<DWORD>(n));
}

int CGrfDocument::HitTest(int x, int y) const
{
    for (int i = 0; i < GetHotSpotCount(); ++i) {
        const GRF_HOTSPOT* p = GetHotSpot(i);
        if (p->target == 0 && p->kind != GRF_HOTSPOT_LABEL)
            continue;
        if (p->left < x && x < p->right && p->top < y && y < p->bottom)
            return i + 1;
    }
    return 0;
}

CReference* CGrfDocument::GetHotSpotReference(int k) const
{
    const GRF_HOTSPOT* p = GetHotSpot(k - 1);
    if (p == NULL || p->kind != GRF_HOTSPOT_LINK)
        return NULL;
    return CreateItemReference(static_cast<LONG>(p->target), "");
}

DWORD CGrfDocument::GetHotSpotSound(int k) const
{
    const GRF_HOTSPOT* p = GetHotSpot(k - 1);
    return p != NULL && p->kind == GRF_HOTSPOT_SOUND ? p->target : 0;
}

int CGrfDocument::LeadingMarkedSections() const
{
    int n = 0;
    while (n < GetSectionCount() && Get32(offSections + 10 * static_cast<DWORD>(n)) != 0)
        ++n;
    return n;
}

int CGrfDocument::GetHotSpotLabelCode(int k) const
{
    const GRF_HOTSPOT* p = GetHotSpot(k - 1);
    if (p == NULL || p->kind != GRF_HOTSPOT_LABEL)
        return 0;
    int nLabel = LeadingMarkedSections();
    for (int i = 0; i < k - 1; ++i)
        if (GetHotSpot(i)->kind == GRF_HOTSPOT_LABEL)
            ++nLabel;
    return static_cast<int>(GRF_SECTION_TEXT) + nLabel;
}

const GRF_HOTSPOT* CGrfDocument::FindLabelHotSpot(int n) const
{
    int nLabel = LeadingMarkedSections();
    for (int i = 0; i < GetHotSpotCount(); ++i) {
        const GRF_HOTSPOT* p = GetHotSpot(i);
        if (p->kind != GRF_HOTSPOT_LABEL)
            continue;
        if (nLabel == n)
            return p;
        ++nLabel;
    }
    return NULL;
}

int CGrfDocument::GetNamedRecordCount() const
{
    const SHORT n = Get16(offNamedCount);
    const DWORD dwAt = Get32(offNamed);
    if (n <= 0 || dwAt > m_dwSize || (m_dwSize - dwAt) / sizeof(GRF_NAMEDRECORD) < static_cast<DWORD>(n))
        return 0;
    return n;
}

const GRF_NAMEDRECORD* CGrfDocument::GetNamedRecord(int n) const
{
    if (n < 0 || n >= GetNamedRecordCount())
        return NULL;
    return reinterpret_cast<const GRF_NAMEDRECORD*>(m_pHeader + Get32(offNamed) +
                                                    sizeof(GRF_NAMEDRECORD) * static_cast<DWORD>(n));
}

CReference* CGrfDocument::GetZoomOutReference() const
{
    for (int i = 0; i < GetNamedRecordCount(); ++i) {
        const GRF_NAMEDRECORD* p = GetNamedRecord(i);
        if (NameIs(p, "ZOOM_OUT"))
            return CreateItemReference(static_cast<LONG>(p->value), "");
    }
    return NULL;
}

CReferenceList* CGrfDocument::CollectLists(LPCSTR lpszName1, LPCSTR lpszName2) const
{
    CReferenceList* pList = NULL;
    for (int i = 0; i < GetNamedRecordCount(); ++i) {
        const GRF_NAMEDRECORD* p = GetNamedRecord(i);
        if (!NameIs(p, lpszName1) && !NameIs(p, lpszName2))
            continue;
        if (p->value >= maxLists || !IsListConsistent(static_cast<int>(p->value)))
            continue;
        const DWORD dwEntry = offLists + 10 * p->value;
        const SHORT nItems = Get16(dwEntry + 8);
        DWORD dwAt = Get32(dwEntry);
        for (int j = 0; j < nItems; ++j) {
            LPCSTR pszTitle = TextAt(dwAt);
            dwAt += static_cast<DWORD>(std::strlen(pszTitle)) + 1;
            const LONG nNumber = static_cast<LONG>(Get32(dwAt));
            dwAt += 4;
            CReference* pRef = CreateItemReference(nNumber, pszTitle);
            if (pRef == NULL)
                continue;
            if (pList == NULL)
                pList = new CReferenceList;
            pList->Append(pRef);
        }
    }
    return pList;
}

CReferenceList* CGrfDocument::GetOverlayReferences() const
{
    return CollectLists("MAP_OLAY", "TRA_OLAY");
}

CReferenceList* CGrfDocument::GetGroupReferences() const
{
    return CollectLists("GROUP", NULL);
}

DWORD CGrfDocument::GetLegendOffset() const
{
    for (int i = 0; i < GetNamedRecordCount(); ++i) {
        const GRF_NAMEDRECORD* p = GetNamedRecord(i);
        if (NameIs(p, "LEGEND"))
            return p->legendLength != 0 ? p->legendOffset : 0;
    }
    return 0;
}

LONG CGrfDocument::GetLegendPosition() const
{
    const DWORD dwOffset = GetLegendOffset();
    if (dwOffset == 0 || m_pReference == NULL)
        return 0;
    const LONGLONG llPosition = ArchivePosition(dwOffset);
    return llPosition < 0 ? 0 : static_cast<LONG>(llPosition);
}

LONG CGrfDocument::GetAlternativeLegendPosition() const
{
    if (m_pHeader == NULL || !IsFromArchive() || m_dwSize < offAltLegend + 4)
        return 0;
    const DWORD dwValue = Get32(offAltLegend);
    if (dwValue == 0)
        return 0;
    // Inside the archive: its end holds no legend.
    const LONGLONG llPosition = ArchivePosition(dwValue);
    return llPosition < 0 || llPosition >= m_llArchiveSize ? 0 : static_cast<LONG>(llPosition);
}

LONG CGrfDocument::GetFullImagePosition() const
{
    // -2 where no position holds: a seek the picture reader refuses (-1 would mean the start).
    const LONGLONG llPosition = ArchivePosition(Get32(offFullPicture));
    return llPosition < 0 ? -2 : static_cast<LONG>(llPosition);
}

CDib* CGrfDocument::CreateMainDib() const
{
    if (!m_bPreviewLoaded || m_pHeader == NULL)
        return NULL;
    const DWORD dwStart = Get32(offPreview);
    const DWORD dwEnd = Get32(offFullPicture);
    if (dwStart >= dwEnd || dwEnd > m_dwSize)
        return NULL;
    return new (std::nothrow) CDib(m_pHeader + dwStart, dwEnd - dwStart);
}

CDib* CGrfDocument::CreateSecondDib() const
{
    if (!m_bPreviewLoaded || m_pHeader == NULL)
        return NULL;
    const DWORD dwStart = Get32(offSecondImage);
    const DWORD dwLength = Get32(offSecondImageLength);
    if (dwLength == 0 || dwStart > m_dwSize || dwLength > m_dwSize - dwStart)
        return NULL;
    return new (std::nothrow) CDib(m_pHeader + dwStart, dwLength);
}

CString CGrfDocument::GetMediaFileName() const
{
    LPCSTR pszPattern = NULL;
    switch (GetKind()) {
    case REFKIND_ANIMATION: pszPattern = "AM%06ld.mov"; break;
    case REFKIND_VIDEO: pszPattern = "VD%06ld.mov"; break;
    case REFKIND_SIMULATION: pszPattern = "si%06ld.dll"; break;
    case REFKIND_VIRTUALREALITY: pszPattern = "QR%06ld.mov"; break;
    case REFKIND_ONLINESOUND: pszPattern = "AU%06ld.mov"; break;
    case REFKIND_BUBBLE: pszPattern = "Bu%06ld.bub"; break;
    default: AfxThrowNotSupportedException();
    }
    CString strName;
    strName.Format(pszPattern, static_cast<long>(GetMediaNumber() % 10000));
    return strName;
}

LONG CGrfDocument::GetKind() const
{
    return m_pReference != NULL ? m_pReference->GetKind() : 0;
}

BOOL CGrfDocument::GetDataFolder(CString& strFolder, BOOL bPrompt) const
{
    if (m_pReference == NULL) {
        strFolder.Empty();
        return FALSE;
    }
    return m_pReference->GetDataFolder(strFolder, bPrompt);
}

CObject* CGrfDocument::GetReferenceData() const
{
    return m_pReference != NULL ? m_pReference->GetData() : NULL;
}
