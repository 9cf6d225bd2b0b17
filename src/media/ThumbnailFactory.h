// CThumbnailFactory: turns a content reference into the thumbnail that stands for it, with the
// text that goes with it. The application object makes the one factory at start-up and keeps it
// for the run. Its three record sets on the main database ([Timelines], [First Line], [Flag
// File]) stay open between look-ups and are closed when the application is idle.
//
// What is here: the factory's life and its three look-ups. Making the thumbnail objects
// themselves (CreateThumbnail) joins when the thumbnail classes exist.
#pragma once

#include <afx.h>

class CDib;
class CTimelinesSet;
class FirstLineSet;
class CFlagSet;

class CThumbnailFactory : public CObject {
    DECLARE_DYNAMIC(CThumbnailFactory)
public:
    CThumbnailFactory();
    // Closes and deletes the record sets as ReleaseRecordSets does.
    ~CThumbnailFactory() override;
    CThumbnailFactory(const CThumbnailFactory&) = delete;
    CThumbnailFactory& operator=(const CThumbnailFactory&) = delete;

    // The idle step: closes and deletes each record set that exists; FALSE (no more idle work).
    // The sets are made again by the next look-up.
    BOOL ReleaseRecordSets();

    // The look-ups, on the application's database: the first row's column, or empty when there
    // is no row. The record set is made, filtered and opened at first use, else filtered and
    // re-queried. Database errors pass on to the caller.
    // [First Line] "[Rin Code] = '%07lu'": its [First Line].
    void LookUpFirstLine(long nNumber, CString& strOut);
    // [Flag File] "RIT = '%s'" with the RIT text of the number: its [Description]. A number with
    // no RIT form throws CRinException.
    void LookUpDescription(long nNumber, CString& strOut);
    // [Timelines] "RIN = %ld": its [Article Title].
    void LookUpTimelineTitle(long nNumber, CString& strOut);

    BOOL HasOpenRecordSets() const
    {
        return m_pTimelinesSet != NULL || m_pFirstLineSet != NULL || m_pFlagSet != NULL;
    }

private:
    CDib* m_pLastPicture = NULL;  // handed to the latest bitmap thumbnail, which owns it
    CString m_strTitle;
    CString m_strPictureTitle;
    CTimelinesSet* m_pTimelinesSet = NULL;
    FirstLineSet* m_pFirstLineSet = NULL;
    CFlagSet* m_pFlagSet = NULL;
};
