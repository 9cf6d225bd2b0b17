#include "article/ArticleDocument.h"

#include "base/AppHost.h"

#include "article/ArticleSection.h"
#include "article/ParagraphRun.h"
#include "base/AppServices.h"
#include "base/HitList.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"

#include <memory>

CArticleDocument::CArticleDocument()
    : m_nCurrentRelated(0),
      m_pRecord(NULL),
      m_pDescriptor(NULL),
      m_hView(NULL),
      m_pView(NULL),
      m_pHitList(NULL),
      m_dwReserved(0),
      m_wFirstHitSection(0),
      m_pReference(NULL),
      m_nCurrentTable(0),
      m_bLoaded(FALSE),
      m_nFormatYear(0)
{
}

CArticleDocument::~CArticleDocument()
{
    delete m_pReference;
    if (m_pView != NULL) {
        HGLOBAL hDescriptor = m_pView->hDescriptor;
        if (hDescriptor != NULL)
            FreeArticleRecord(hDescriptor);
    }
    if (m_hView != NULL)
        GlobalFree(m_hView);
}

BOOL CArticleDocument::Open(CReference* pReference)
{
    m_bLoaded = FALSE;
    if (pReference == NULL)
        return 0;
    m_pReference = pReference;

    CString strPath = pReference->GetFilePath();
    if (strPath.IsEmpty())
        AfxThrowUserException();  // the disc was not found, or the reader gave up
    DWORD nBlockCount = static_cast<DWORD>(pReference->GetBlockCount());
    if (nBlockCount == 0)
        nBlockCount = 255;
    HGLOBAL hView = LoadArticleRecord(strPath, static_cast<DWORD>(pReference->GetBlock()), nBlockCount);
    if (hView == NULL)
        return 0;
    m_hView = hView;
    m_pView = static_cast<ArticleViewRecord*>(GlobalLock(hView));
    if (m_pView == NULL)
        return 0;
    m_pDescriptor = static_cast<ArticleRecordDescriptor*>(GlobalLock(m_pView->hDescriptor));
    if (m_pDescriptor == NULL)
        return 0;
    m_pRecord = static_cast<LPBYTE>(GlobalLock(m_pDescriptor->buffers[0].hMem));
    if (m_pRecord == NULL)
        return 0;

    pReference->SetTitle(m_pDescriptor->pszTitle);
    m_nFormatYear = ArticleFormatYear(m_pRecord);

    // Every media item must be on hand, or fetched from the online service.
    CReferenceFactory* pFactory = GetAppReferenceFactory();
    for (int i = 0; pFactory != NULL && i < MediaItemCount(); ++i) {
        std::unique_ptr<CReference> pItem(
            pFactory->CreateReference(static_cast<LONG>(GetMediaRin(i)), "", 0));
        if (pItem == nullptr || pItem->IsFileAvailable())
            continue;
        if (!GetAppHost().OpenOnlineResource(pItem.get(), 1))
            return 0;
    }

    m_bLoaded = TRUE;
    TakeHitList();
    return 1;
}

void CArticleDocument::TakeHitList()
{
    m_pHitList = DYNAMIC_DOWNCAST(CHitList, m_pReference->GetData());
    m_wFirstHitSection = 0;
    if (m_pHitList != NULL && m_pHitList->GetCount() > 0)
        m_wFirstHitSection = static_cast<WORD>(m_pHitList->GetFirst()->GetSection());
}

void CArticleDocument::SetReference(CReference* pReference)
{
    if (pReference == NULL)
        return;
    if (pReference != m_pReference)
        delete m_pReference;
    m_pReference = pReference;
    TakeHitList();
}

int CArticleDocument::MediaItemCount() const
{
    int nMedia = GetMediaEntryCount();
    return IsNewLayout() ? nMedia : nMedia / 2;
}

CStringArray* CArticleDocument::MakeArray(LPSTR const* ppsz, int nCount)
{
    CStringArray* pArray = new CStringArray;
    for (int i = 0; i < nCount && ppsz[i] != NULL; ++i)
        pArray->Add(ppsz[i]);
    return pArray;
}

LPCSTR CArticleDocument::GetTitle() const
{
    return HasArticle() ? m_pDescriptor->pszTitle : NULL;
}

int CArticleDocument::GetFormatYear() const
{
    return HasArticle() ? m_nFormatYear : 0;
}

LONG CArticleDocument::GetIssueDate() const
{
    if (!HasArticle())
        return 0;
    auto pair = [this](int at) {
        LONG n = 0;
        for (int i = at; i < at + 2; ++i) {
            BYTE ch = m_pRecord[ARH_ISSUE_DATE + i];
            n = n * 10 + (ch >= '0' && ch <= '9' ? ch - '0' : 0);
        }
        return n;
    };
    return pair(0) * 10000 + pair(3) * 100 + pair(6);
}

int CArticleDocument::GetSectionCount() const
{
    return HasArticle() ? m_pRecord[ARH_SECTION_COUNT] : 0;
}

CStringArray* CArticleDocument::GetSectionTitles() const
{
    return HasArticle() ? MakeArray(m_pDescriptor->apszSectionTitles, GetSectionCount()) : NULL;
}

CArticleSection* CArticleDocument::GetSection(int i) const
{
    if (!HasArticle() || i < 0 || i >= GetSectionCount())
        return NULL;
    return new CArticleSection(m_pDescriptor, m_pRecord, i);
}

int CArticleDocument::GetTableCount() const
{
    return HasArticle() ? m_pRecord[ARH_TABLE_COUNT] : 0;
}

CStringArray* CArticleDocument::GetTableTitles() const
{
    if (GetTableCount() == 0)
        return NULL;
    return MakeArray(m_pDescriptor->apszTableTitles, GetTableCount());
}

LPCSTR CArticleDocument::GetTableTitle(int i) const
{
    if (i < 0 || i >= GetTableCount())
        return NULL;
    return m_pDescriptor->apszTableTitles[i];
}

LPBYTE CArticleDocument::GetTableEntry(int i)
{
    if (!HasArticle())
        return NULL;
    WORD wIndex = static_cast<WORD>(i);
    m_nCurrentTable = wIndex;
    if (wIndex >= GetTableCount())
        return NULL;
    return m_pRecord + m_pDescriptor->offTables + wIndex * ARTICLE_TABLE_ENTRY;
}

LPBYTE CArticleDocument::GetTableDataStart() const
{
    if (GetTableCount() == 0)
        return NULL;
    return m_pRecord + m_pDescriptor->offTextStart + ArticleDword(m_pRecord + m_pDescriptor->offTables);
}

int CArticleDocument::GetExtraItemCount() const
{
    return HasArticle() ? ArticleWord(m_pRecord + ARH_EXTRA_COUNT) : 0;
}

CStringArray* CArticleDocument::GetExtraItemTitles() const
{
    if (GetExtraItemCount() == 0 || !IsNewLayout())
        return NULL;
    return MakeArray(m_pDescriptor->apszExtraTitles, GetExtraItemCount());
}

LPCSTR CArticleDocument::GetExtraItemTitle(int i) const
{
    if (!IsNewLayout() || i < 0 || i >= GetExtraItemCount())
        return NULL;
    return m_pDescriptor->apszExtraTitles[i];
}

int CArticleDocument::GetMediaEntryCount() const
{
    return HasArticle() ? ArticleWord(m_pRecord + ARH_MEDIA_COUNT) : 0;
}

CStringArray* CArticleDocument::GetMediaCaptions() const
{
    return HasArticle() ? MakeArray(m_pDescriptor->apszMediaCaptions, MediaItemCount()) : NULL;
}

LPCSTR CArticleDocument::GetMediaCaption(int i) const
{
    if (GetMediaEntryCount() == 0 || i < 0 || static_cast<DWORD>(i) >= m_pDescriptor->dwCaptionCount)
        return NULL;
    return m_pDescriptor->apszMediaCaptions[i];
}

LPBYTE CArticleDocument::GetMediaEntry(int i) const
{
    if (i < 0 || i >= GetMediaEntryCount())
        return NULL;
    return m_pRecord + m_pDescriptor->offMedia + i * ARTICLE_MEDIA_ENTRY;
}

DWORD CArticleDocument::GetMediaRin(int i) const
{
    // Kept inside the record: an index past the list reads 0.
    LPBYTE pEntry = GetMediaEntry(i);
    return pEntry != NULL ? ArticleDword(pEntry) : 0;
}

int CArticleDocument::GetLinkCount() const
{
    return HasArticle() ? ArticleWord(m_pRecord + ARH_LINK_COUNT) : 0;
}

LPBYTE CArticleDocument::GetLinkEntry(int i) const
{
    if (i < 0 || i >= GetLinkCount())
        return NULL;
    return m_pRecord + m_pDescriptor->offLinks + i * ARTICLE_LINK_ENTRY;
}

CStringArray* CArticleDocument::GetLinkTargets() const
{
    return HasArticle() ? MakeArray(m_pDescriptor->apszLinkTargets, GetLinkCount()) : NULL;
}

int CArticleDocument::GetLinkPositionCount() const
{
    return HasArticle() ? ArticleWord(m_pRecord + ARH_POSITION_COUNT) : 0;
}

LPBYTE CArticleDocument::GetLinkPosition(int i) const
{
    if (i < 0 || i >= GetLinkPositionCount())
        return NULL;
    return m_pRecord + m_pDescriptor->offPositions + i * ARTICLE_POSITION_ENTRY;
}

int CArticleDocument::GetRelatedCount() const
{
    return HasArticle() ? ArticleWord(m_pRecord + ARH_RELATED_COUNT) : 0;
}

CStringArray* CArticleDocument::GetRelatedTitles() const
{
    return HasArticle() ? MakeArray(m_pDescriptor->apszRelatedTitles, GetRelatedCount()) : NULL;
}

LPBYTE CArticleDocument::GetRelatedEntry(int i)
{
    if (!HasArticle())
        return NULL;
    m_nCurrentRelated = static_cast<DWORD>(i);
    if (i < 0 || i >= GetRelatedCount())
        return NULL;
    return m_pRecord + m_pDescriptor->offRelated + i * ARTICLE_RELATED_ENTRY;
}

int CArticleDocument::GetRelatedLinkCount() const
{
    return HasArticle() ? ArticleWord(m_pRecord + ARH_RELATED_LINK_COUNT) : 0;
}

CStringArray* CArticleDocument::GetRelatedLinks() const
{
    if (!HasArticle())
        return NULL;
    // The old layout's table ends with NULL; from 1998 on the count at byte 74 says.
    int nCount = IsNewLayout() ? GetRelatedLinkCount() : static_cast<int>(ARTICLE_MAX_RELATED_LINKS);
    return MakeArray(m_pDescriptor->apszRelatedLinks, nCount);
}

CStringArray* CArticleDocument::GetTrailingStrings() const
{
    if (!HasArticle())
        return NULL;
    CStringArray* pArray = new CStringArray;
    if (!IsNewLayout() && m_pDescriptor->dwTrailingCount > 0)
        pArray->Add(m_pDescriptor->apszTrailing[0]);
    return pArray;
}

LPBYTE CArticleDocument::GetPictureArea() const
{
    if (!HasArticle())
        return NULL;
    DWORD dwEnd = GetTableCount() > 0 ? ArticleDword(m_pRecord + m_pDescriptor->offTables)
                                      : ArticleDword(m_pRecord + ARH_SECTIONS_END);
    return m_pRecord + m_pDescriptor->offTextStart + dwEnd - ArticleDword(m_pRecord + ARH_PICTURE_LENGTH);
}

int CArticleDocument::GetLeadLineCount() const
{
    if (!HasArticle() || !IsNewLayout())
        return 1;
    if (GetSectionCount() == 0)
        return 1;
    std::unique_ptr<CArticleSection> pSection(GetSection(0));
    int nRuns = pSection->GetRunCount();
    if (nRuns == 0)
        return 1;
    CParagraphRun* pRun0 = pSection->GetRun(0);
    int nKind0 = pRun0->GetKind();
    int nAdded = pRun0->IsHeading() ? pRun0->GetLevelValue() : 0;
    if (nRuns > 1) {
        CParagraphRun* pRun1 = pSection->GetRun(1);
        if (pRun1->GetKind() == 4)
            return 2 + nAdded;
        if (nKind0 == 3)
            nAdded = pRun1->GetLevelValue();
    }
    return 1 + nAdded;
}

BOOL CArticleDocument::SaveAsText(LPCSTR lpszFileName) const
{
    if (!HasArticle())
        return 0;
    CFile file;
    if (!file.Open(lpszFileName, CFile::modeCreate | CFile::modeWrite))
        return 0;
    BOOL bWritten = TRUE;
    TRY
    {
        for (int s = 0; s < GetSectionCount(); ++s) {
            std::unique_ptr<CArticleSection> pSection(GetSection(s));
            for (int r = 0; r < pSection->GetRunCount(); ++r) {
                CParagraphRun* pRun = pSection->GetRun(r);
                if (pRun->HasNoText())
                    continue;
                file.Write(pRun->GetTextAddress(), pRun->GetTextLength());
                file.Write("\r\n\r\n", 4);
            }
        }
        file.Close();
    }
    CATCH(CFileException, e)
    {
        file.Abort();
        bWritten = FALSE;
    }
    END_CATCH
    // A file cut short by a failed write (a full disk) is not left behind.
    if (!bWritten)
        ::DeleteFile(lpszFileName);
    return bWritten;
}
