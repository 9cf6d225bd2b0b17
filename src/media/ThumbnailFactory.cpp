#include "media/ThumbnailFactory.h"

#include "base/AppDatabase.h"
#include "base/FirstLineSet.h"
#include "base/FlagSet.h"
#include "base/Rin.h"
#include "base/TimelinesSet.h"
#include "base/DataFolders.h"
#include "base/Reference.h"
#include "media/AudioTextThumb.h"
#include "media/BitmapThumb.h"
#include "media/GrfDocument.h"
#include "widgets/Dib.h"
#include "widgets/MiniArtThumb.h"
#include "widgets/TextThumb.h"
#include "widgets/TimelineThumb.h"

#include <new>

IMPLEMENT_DYNAMIC(CThumbnailFactory, CObject)

namespace {

// Closes (when open) and deletes a record set, and clears the pointer.
template <class TSet>
void CloseAndDelete(TSet*& pSet)
{
    if (pSet == NULL)
        return;
    try {
        if (pSet->IsOpen())
            pSet->Close();
    } catch (CException* e) {
        e->Delete();
    }
    delete pSet;
    pSet = NULL;
}

// Makes the set on the application's database at first use and opens it with the filter, else
// re-queries it with the new filter. TRUE when the set has a current row.
template <class TSet>
BOOL Query(TSet*& pSet, const CString& strFilter)
{
    if (pSet == NULL) {
        CVLDatabase* pDatabase = GetAppDatabase();
        if (pDatabase == NULL)
            AfxThrowNotSupportedException();
        TSet* pNew = new TSet(pDatabase);
        pNew->m_strFilter = strFilter;
        try {
            pNew->OpenRecordsetChecked();
        } catch (...) {
            delete pNew;
            throw;
        }
        pSet = pNew;
    } else {
        pSet->m_strFilter = strFilter;
        pSet->Requery();
    }
    return !pSet->IsEOF();
}

}  // namespace

CThumbnailFactory::CThumbnailFactory() = default;

CThumbnailFactory::~CThumbnailFactory()
{
    ReleaseRecordSets();
}

BOOL CThumbnailFactory::ReleaseRecordSets()
{
    CloseAndDelete(m_pTimelinesSet);
    CloseAndDelete(m_pFirstLineSet);
    CloseAndDelete(m_pFlagSet);
    return FALSE;
}

void CThumbnailFactory::LookUpFirstLine(long nNumber, CString& strOut)
{
    CString strFilter;
    strFilter.Format("[Rin Code] = '%07lu'", static_cast<unsigned long>(nNumber));
    if (Query(m_pFirstLineSet, strFilter))
        strOut = m_pFirstLineSet->m_FirstLine;
    else
        strOut.Empty();
}

void CThumbnailFactory::LookUpDescription(long nNumber, CString& strOut)
{
    CString strFilter;
    strFilter.Format("RIT = '%s'", static_cast<LPCSTR>(CRin(static_cast<DWORD>(nNumber)).FormatRit()));
    if (Query(m_pFlagSet, strFilter))
        strOut = m_pFlagSet->m_Description;
    else
        strOut.Empty();
}

void CThumbnailFactory::LookUpTimelineTitle(long nNumber, CString& strOut)
{
    CString strFilter;
    strFilter.Format("RIN = %ld", nNumber);
    if (Query(m_pTimelinesSet, strFilter))
        strOut = m_pTimelinesSet->m_ArticleTitle;
    else
        strOut.Empty();
}

namespace {

// A caption of a picture document as plain text for a card: paragraph ends become blanks, the
// style bytes disappear.
CString PlainCaption(LPCSTR lpszCaption)
{
    CString strText;
    for (LPCSTR p = lpszCaption != NULL ? lpszCaption : ""; *p != '\0'; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (ch == 13 || ch == 10)
            strText += ' ';
        else if (ch < 0x80 || ch > 0x82)
            strText += static_cast<char>(ch);
    }
    strText.Trim();
    return strText;
}

}  // namespace

CString CThumbnailFactory::MakeText(CReference* pRef)
{
    const LONG nKind = pRef->GetKind();
    const long nNumber = pRef->GetNumber();
    CString strText;
    if (nKind == REFKIND_TIMELINE) {
        LookUpTimelineTitle(nNumber, strText);
    } else if (pRef->IsFileAvailable() && nKind != REFKIND_MINIARTICLE && nNumber < 10000000) {
        LookUpFirstLine(nNumber, strText);
    } else if (!pRef->IsFileAvailable() || nNumber > 9999999) {
        CString strDescription;
        LookUpDescription(nNumber, strDescription);
        m_strTitle = pRef->GetTitle();
        strText = m_strTitle + " " + strDescription;
    }
    return strText;
}

CThumbnail* CThumbnailFactory::MakePictureThumb(CReference* pRef, const CString& strCaption, BOOL bCheckFlag)
{
    CGrfDocument* pDocument = new CGrfDocument;
    CThumbnail* pThumb = NULL;
    try {
        pDocument->Load(pRef, 1);
        m_pLastPicture = pDocument->CreateMainDib();
        if (m_pLastPicture == NULL)
            ::MessageBox(NULL, THUMBFACTORY_NO_PICTURE, NULL, MB_OK);
        CString strUsed = strCaption;
        if (!bCheckFlag) {
            m_strPictureTitle = pDocument->GetTitle();
            strUsed = m_strPictureTitle;
        }
        // The picture flag turned into a link by the load: the item's picture is only a pointer
        // to another item's, and no thumbnail is made of it. (The flag's plain set mark, and the
        // disc-2 mark 1, leave a picture of its own.)
        const LONG nFlag = pRef->GetPictureFlag();
        if (bCheckFlag && nFlag != 0 && nFlag != -1 && nFlag != 1) {
            delete m_pLastPicture;
            m_pLastPicture = NULL;
            AfxThrowNotSupportedException();
        }
        CDib* pPicture = m_pLastPicture;
        m_pLastPicture = NULL;
        try {
            pThumb = new CBitmapThumb(pPicture, pRef, &strUsed);
        } catch (...) {
            delete pPicture;
            throw;
        }
        m_pLastPicture = pPicture;  // the thumbnail owns it
    } catch (...) {
        delete pDocument;
        throw;
    }
    delete pDocument;
    return pThumb;
}

CThumbnail* CThumbnailFactory::MakeSoundThumb(CReference* pRef)
{
    const long nNumber = pRef->GetNumber();
    if (nNumber < 6000000 || nNumber > 6999999)
        return NULL;
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_SOUND, 1, TRUE))
        return NULL;
    CString strPath;
    strPath.Format("%sAU%06ld.mov", static_cast<LPCSTR>(strFolder), nNumber % 1000000);
    CGrfDocument* pDocument = new CGrfDocument;
    CAudioTextThumb* pThumb = NULL;
    try {
        pDocument->Load(pRef, 1);
        const CString strCaption = PlainCaption(pDocument->GetCaptionText());
        pThumb = new CAudioTextThumb(pRef, &strCaption, NULL);
        pThumb->SetAudioPath(strPath);
    } catch (...) {
        delete pThumb;
        delete pDocument;
        throw;
    }
    delete pDocument;
    return pThumb;
}

CThumbnail* CThumbnailFactory::CreateThumbnail(CReference* pRef)
{
    if (pRef == NULL)
        return NULL;
    CThumbnail* pThumb = NULL;
    try {
        const CString strText = MakeText(pRef);
        const LONG nKind = pRef->GetKind();
        switch (nKind) {
        case REFKIND_ARTICLE:
        case REFKIND_ARTICLE2:
            pThumb = new CTextThumb(pRef, &strText, &m_strTitle);
            m_strTitle.Empty();
            break;
        case REFKIND_MINIARTICLE:
            pThumb = new CMiniArtThumb(pRef);
            break;
        case REFKIND_TIMELINE:
            pThumb = new CTimelineThumb(pRef, strText);
            m_strTitle.Empty();
            break;
        case REFKIND_MAP:
            pThumb = MakePictureThumb(pRef, strText, FALSE);
            break;
        case REFKIND_ANIMATION:
        case REFKIND_VIDEO:
        case REFKIND_PICTURE:
        case REFKIND_SIMULATION:
        case REFKIND_VIRTUALREALITY:
        case REFKIND_BUBBLE:
            pThumb = MakePictureThumb(pRef, strText, TRUE);
            break;
        case REFKIND_SOUND:
        case REFKIND_ONLINESOUND:
            pThumb = MakeSoundThumb(pRef);
            break;
        case REFKIND_NOFILE:
            AfxThrowNotSupportedException();
        default:
            break;
        }
    } catch (CUserException* e) {
        e->Delete();
    } catch (CMemoryException* e) {
        ::MessageBox(NULL, THUMBFACTORY_NO_MEMORY, NULL, MB_ICONHAND);
        e->Delete();
    } catch (CException* e) {
        e->ReportError(MB_OK);
        e->Delete();
    } catch (const std::bad_alloc&) {
        ::MessageBox(NULL, THUMBFACTORY_NO_MEMORY, NULL, MB_ICONHAND);
    }
    m_strTitle.Empty();
    return pThumb;
}
