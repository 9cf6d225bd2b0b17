// CMediaDisplayRef: the view state of the media viewer. Whoever wants a media item shown makes one
// and posts it to the frame (VLM_POST_TO_WINDOW, view IDW_MEDIA); the viewer keeps it and the
// frame's history keeps copies. It names the item to show and, optionally, the media items of the
// list it was chosen from (a film strip, a result list, a reference tab).
#pragma once

#include "base/VLStateObj.h"

class CReference;
class CReferenceList;

// The kinds that a media list keeps (animations, videos, pictures, sounds, simulations,
// panoramas, online sounds and photo bubbles).
const LONG MEDIA_LIST_KIND_MASK = 0x11BE00;

class CMediaDisplayRef : public CVLStateObj {
    DECLARE_DYNAMIC(CMediaDisplayRef)
public:
    // Titled "Media" for the media view; a clone of the reference (NULL allowed); the media
    // items of the list copied by their links (see the source); the caller's value (0: the
    // viewer hands the list to its media list tab).
    CMediaDisplayRef(CReference* pReference, CReferenceList* pMediaList, LONG nCallerValue);
    CMediaDisplayRef(const CMediaDisplayRef& other);
    ~CMediaDisplayRef() override;

    CVLStateObj& Assign(const CVLStateObj& other) override;
    // The reference's disc and data-folder kind; 1 and 1 without a reference.
    int GetDisc() const override;
    int GetDataDirType() const override;
    // A new copy; NULL when memory runs out.
    CVLStateObj* Clone() const override;
    // Assignment from another display reference: the base's fields, clones of the reference
    // and of the list's media items.
    virtual CMediaDisplayRef& AssignDisplay(const CMediaDisplayRef& other);

    CMediaDisplayRef& operator=(const CMediaDisplayRef& other) { return AssignDisplay(other); }

    CReference* GetReference() const { return m_pReference; }
    // Deletes the current reference and keeps a clone of this one.
    void SetReference(CReference* pReference);
    CReferenceList* GetMediaList() const { return m_pMediaList; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    LONG GetCallerValue() const { return m_nCallerValue; }
    void SetCallerValue(LONG nValue) { m_nCallerValue = nValue; }

private:
    CReference* m_pReference = NULL;
    CReferenceList* m_pMediaList = NULL;
    LONG m_nCallerValue = 0;
};
