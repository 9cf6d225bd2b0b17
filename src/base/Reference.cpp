#include "base/Reference.h"

#include "base/RomLinkTable.h"
#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/HitList.h"

#include <cstring>
#include <new>

namespace {

// Where the items of a kind live and how lists show them.
struct REF_KIND_INFO {
    LONG nKind;
    BOOL bArchive;           // in the archive vl.dat of the data root
    LPCSTR pszFilePattern;   // a file of its own, named with (number mod 10,000); NULL for none
    int nDataDirType;
    UINT nIconId;
};

const char kArchiveName[] = "vl.dat";

const REF_KIND_INFO kKinds[] = {
    {REFKIND_ARTICLE, TRUE, NULL, DDT_INFO_DAT11, 0},
    {REFKIND_ANIMATION, FALSE, "AM%06ld.mov", DDT_MOVIES2, 4030},
    {REFKIND_VIDEO, FALSE, "VD%06ld.mov", DDT_MOVIES, 4031},
    {REFKIND_PICTURE, TRUE, NULL, DDT_INFO_DAT11, 4032},
    {REFKIND_SOUND, FALSE, "AU%06ld.mov", DDT_SOUND, 187},
    {REFKIND_SIMULATION, FALSE, "si%06ld.dll", DDT_SIMS, 4033},
    {REFKIND_MAP, TRUE, NULL, DDT_INFO_DAT11, 143},
    {REFKIND_VIRTUALREALITY, FALSE, "QR%06ld.mov", DDT_MOVIES, 4035},
    {REFKIND_ONLINESOUND, FALSE, "AU%06ld.mov", DDT_SOUND, 0},
    {REFKIND_ARTICLE2, TRUE, NULL, DDT_INFO_DAT11, 0},
    {REFKIND_NOFILE, FALSE, NULL, DDT_NO_FOLDER, 0},
    {REFKIND_MINIARTICLE, FALSE, NULL, DDT_NO_FOLDER, 0},
    {REFKIND_BUBBLE, FALSE, "Bu%06ld.bub", DDT_PHOTO, 4035},
    {REFKIND_TIMELINE, FALSE, NULL, DDT_NO_FOLDER, 0},
};

// The row of a kind, NULL outside the table.
const REF_KIND_INFO* FindKind(LONG nKind)
{
    for (const REF_KIND_INFO& info : kKinds)
        if (info.nKind == nKind)
            return &info;
    return NULL;
}

const REF_KIND_INFO& KindOrThrow(LONG nKind)
{
    const REF_KIND_INFO* pInfo = FindKind(nKind);
    if (pInfo == NULL)
        AfxThrowNotSupportedException();
    return *pInfo;
}

}  // namespace

UINT GetReferenceKindIconId(LONG nKind)
{
    const REF_KIND_INFO* pInfo = FindKind(nKind);
    return pInfo != NULL ? pInfo->nIconId : 0;
}

IMPLEMENT_DYNAMIC(CReference, CObject)

CReference::CReference() : CReference(REFTYPE_PLAIN) {}

CReference::CReference(LONG nRefType)
    : m_nRefType(nRefType),
      m_nEntryCode(REFENTRY_HEADING),
      m_nCategory(0),
      m_nKind(REFKIND_NONE),
      m_nNumber(0),
      m_nBlock(0),
      m_nBlockCount(0),
      m_pData(NULL),
      m_nDisc(1),
      m_nPictureFlag(0)
{
}

CReference::CReference(LONG nNumber, LPCSTR lpszTitle) : CReference(REFTYPE_PLAIN)
{
    CRomLinkTable* pEngine = GetAppRomLinkTable();
    RomLinkRecord record;
    if (pEngine != NULL && pEngine->GetRomLink(nNumber, record))
        SetFromRomLink(record);
    SetTitle(lpszTitle);
}

CReference::CReference(const CReference& other) : CReference(REFTYPE_PLAIN)
{
    Copy(other);
}

CReference::~CReference()
{
    delete m_pData;
}

void CReference::SetSubList(CReferenceList*) {}

CReferenceList* CReference::GetSubList()
{
    return NULL;
}

BOOL CReference::IsSameItem(const CReference* pOther) const
{
    return pOther != NULL && pOther->m_nNumber == m_nNumber;
}

BOOL CReference::HasMediaNote() const
{
    return FALSE;
}

CString& CReference::GetMediaNote(CString& strNote) const
{
    strNote.Empty();
    return strNote;
}

int CReference::GetDisc() const
{
    return m_nDisc;
}

CString CReference::GetFilePath()
{
    CString strFolder;
    CString strName;
    if (!GetDataFolder(strFolder, TRUE))
        return strFolder + strName;
    const REF_KIND_INFO& info = KindOrThrow(m_nKind);
    if (info.bArchive)
        strName = kArchiveName;
    else if (info.pszFilePattern != NULL)
        strName.Format(info.pszFilePattern, static_cast<long>(m_nNumber % 10000));
    else
        AfxThrowNotSupportedException();
    return strFolder + strName;
}

int CReference::GetDataDirType() const
{
    return KindOrThrow(m_nKind).nDataDirType;
}

BOOL CReference::GetDataFolder(CString& strFolder, BOOL bPrompt)
{
    // The disc is asked for before the folder kind.
    const int nDisc = GetDisc();
    const int nType = GetDataDirType();
    return GetDataDir(strFolder, nType, nDisc, bPrompt);
}

BOOL CReference::IsFileAvailable()
{
    return TRUE;
}

void CReference::MakeLinkText()
{
    m_strLinkText.Format("vl:%ld", static_cast<long>(m_nNumber));
}

CReference* CReference::Clone()
{
    CReference* pClone = new (std::nothrow) CReference;
    if (pClone != NULL)
        pClone->Copy(*this);
    return pClone;
}

void CReference::Copy(const CReference& other)
{
    if (&other == this)
        return;
    m_strTitle = other.m_strTitle;
    m_nRefType = other.m_nRefType;
    m_nEntryCode = other.m_nEntryCode;
    m_nCategory = other.m_nCategory;
    m_nKind = other.m_nKind;
    m_nNumber = other.m_nNumber;
    m_nBlock = other.m_nBlock;
    m_nBlockCount = other.m_nBlockCount;
    m_strLinkText = other.m_strLinkText;
    m_nDisc = other.m_nDisc;
    m_nPictureFlag = other.m_nPictureFlag;

    delete m_pData;
    m_pData = NULL;
    const CHitList* pHits = DYNAMIC_DOWNCAST(CHitList, other.m_pData);
    if (pHits != NULL) {
        CHitList* pCopy = new (std::nothrow) CHitList;
        if (pCopy != NULL)
            pHits->CopyTo(pCopy);
        m_pData = pCopy;
    }
}

void CReference::CopyTitle(LPSTR lpszBuffer, int nSize) const
{
    if (lpszBuffer == NULL || nSize <= 0)
        return;
    std::memset(lpszBuffer, 0, static_cast<size_t>(nSize));
    if (m_strTitle.GetLength() < nSize)
        std::memcpy(lpszBuffer, static_cast<LPCSTR>(m_strTitle), static_cast<size_t>(m_strTitle.GetLength()) + 1);
}

void CReference::SetLocation(LONG nNumber, LONG nBlock, LONG nBlockCount)
{
    m_nNumber = nNumber;
    m_nBlock = nBlock;
    m_nBlockCount = nBlockCount;
}

void CReference::SetFromRomLink(const RomLinkRecord& record)
{
    m_nCategory = RomLinkCategory(record);
    m_nKind = RomLinkKind(record);
    SetLocation(record.id, RomLinkBlock(record), RomLinkBlockCount(record));
    m_nDisc = RomLinkDisc(record);
    m_nPictureFlag = RomLinkPictureFlag(record);
}

void CReference::SetData(CObject* pData)
{
    if (pData == m_pData)
        return;
    delete m_pData;
    m_pData = pData;
}
