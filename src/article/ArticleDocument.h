// CArticleDocument: one loaded article. It owns the article's reference and the three memory
// blocks of its record (record buffer, descriptor, view record) and answers every question the
// panes ask about the article. Counts come from the record header; strings are addresses into the
// record buffer, valid while the document lives; CStringArray results are new objects that the
// caller deletes. Every accessor answers 0, NULL or an empty result while no article is loaded.
#pragma once

#include "article/ArticleRecord.h"

#include <afxcoll.h>
#include <afxwin.h>
#include <mfc/Document.h>

class CArticleSection;
class CHitList;
class CReference;

class CArticleDocument : public CDocument {
public:
    CArticleDocument();
    ~CArticleDocument() override;

    // Takes the reference over (also when the open fails) and loads its record: 1 on success, 0
    // for a missing reference or view record, a lock that fails, or a media item that can be
    // neither found nor fetched. Fatal load errors end the program; a disc that cannot be had
    // throws the class library's user exception.
    BOOL Open(CReference* pReference);
    // Swaps the reference of a loaded document (the same article with other hits).
    void SetReference(CReference* pReference);
    CReference* GetReference() const { return m_pReference; }
    CHitList* GetHitList() const { return m_pHitList; }
    WORD GetFirstHitSection() const { return m_wFirstHitSection; }
    BOOL IsLoaded() const { return m_bLoaded; }
    ArticleRecordDescriptor* GetDescriptor() const { return m_hView != NULL ? m_pDescriptor : NULL; }
    LPBYTE GetRecord() const { return m_hView != NULL ? m_pRecord : NULL; }

    LPCSTR GetTitle() const;
    int GetFormatYear() const;
    LONG GetIssueDate() const;

    int GetSectionCount() const;
    CStringArray* GetSectionTitles() const;
    CArticleSection* GetSection(int i) const;

    int GetTableCount() const;
    CStringArray* GetTableTitles() const;
    LPCSTR GetTableTitle(int i) const;
    LPBYTE GetTableEntry(int i);
    // The index last passed to GetTableEntry: the table the tables view is to show.
    int GetCurrentTableIndex() const { return static_cast<int>(m_nCurrentTable); }
    LPBYTE GetTableDataStart() const;

    int GetExtraItemCount() const;
    CStringArray* GetExtraItemTitles() const;
    LPCSTR GetExtraItemTitle(int i) const;

    int GetMediaEntryCount() const;
    CStringArray* GetMediaCaptions() const;
    LPCSTR GetMediaCaption(int i) const;
    LPBYTE GetMediaEntry(int i) const;
    DWORD GetMediaRin(int i) const;  // 0 for an index past the list

    int GetLinkCount() const;
    LPBYTE GetLinkEntry(int i) const;
    CStringArray* GetLinkTargets() const;
    int GetLinkPositionCount() const;
    LPBYTE GetLinkPosition(int i) const;

    int GetRelatedCount() const;
    CStringArray* GetRelatedTitles() const;
    LPBYTE GetRelatedEntry(int i);
    int GetRelatedLinkCount() const;
    CStringArray* GetRelatedLinks() const;
    CStringArray* GetTrailingStrings() const;

    LPBYTE GetPictureArea() const;
    int GetLeadLineCount() const;
    BOOL SaveAsText(LPCSTR lpszFileName) const;

private:
    BOOL HasArticle() const { return m_hView != NULL; }
    BOOL IsNewLayout() const { return m_nFormatYear >= ARTICLE_NEW_LAYOUT_YEAR; }
    int MediaItemCount() const;
    void TakeHitList();
    static CStringArray* MakeArray(LPSTR const* ppsz, int nCount);

    DWORD m_nCurrentRelated;
    LPBYTE m_pRecord;
    ArticleRecordDescriptor* m_pDescriptor;
    HGLOBAL m_hView;
    ArticleViewRecord* m_pView;
    CHitList* m_pHitList;
    DWORD m_dwReserved;
    WORD m_wFirstHitSection;
    CReference* m_pReference;
    DWORD m_nCurrentTable;
    BOOL m_bLoaded;
    int m_nFormatYear;
};
