// CThumbnailFactory: turns a content reference into the thumbnail that stands for it, with the
// text that goes with it. The application object makes the one factory at start-up and keeps it
// for the run. Its three record sets on the main database ([Timelines], [First Line], [Flag
// File]) stay open between look-ups and are closed when the application is idle.
//
// Views call CreateThumbnail with a reference, create the result's window with CreateAt, own it,
// and may delete their own reference at once: every thumbnail keeps a clone.
#pragma once

#include <afx.h>

class CDib;
class CReference;
class CThumbnail;

// The messages of a failed thumbnail.
#define THUMBFACTORY_NO_PICTURE "GIF Decoder ERROR thumbnail will show detailed information"
#define THUMBFACTORY_NO_MEMORY "Insufficient memory to create thumbnail."
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

    // A new, windowless thumbnail for the reference (borrowed), or NULL. By kind: articles get a
    // text thumbnail (title and first line; online or missing items their title and flag-file
    // description), mini articles a mini-article box, timelines a timeline card (with the
    // article title of [Timelines]), maps and other media a picture thumbnail from the item's
    // picture document (a media item whose picture is only a link to another item fails), sounds
    // numbered 6,000,000 to 6,999,999 a sound text thumbnail with the clip path in the sound
    // folder. Failures are reported here (a cancelled disc prompt silently) and give NULL.
    CThumbnail* CreateThumbnail(CReference* pRef);

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
    // The text that goes with the thumbnail: a timeline's article title, a first line, or the
    // title, a blank and the flag-file description.
    CString MakeText(CReference* pRef);
    // A picture thumbnail from the reference's picture document; bCheckFlag: fail when the
    // picture flag is set after loading; maps (bCheckFlag FALSE) take the picture's title.
    CThumbnail* MakePictureThumb(CReference* pRef, const CString& strCaption, BOOL bCheckFlag);
    CThumbnail* MakeSoundThumb(CReference* pRef);

    CDib* m_pLastPicture = NULL;  // handed to the latest bitmap thumbnail, which owns it
    CString m_strTitle;
    CString m_strPictureTitle;
    CTimelinesSet* m_pTimelinesSet = NULL;
    FirstLineSet* m_pFirstLineSet = NULL;
    CFlagSet* m_pFlagSet = NULL;
};
