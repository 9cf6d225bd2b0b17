#include "media/ThumbnailFactory.h"

#include "base/AppDatabase.h"
#include "base/FirstLineSet.h"
#include "base/FlagSet.h"
#include "base/Rin.h"
#include "base/TimelinesSet.h"

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
