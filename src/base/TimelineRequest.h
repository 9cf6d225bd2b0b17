// TimelineRequest: what a page asks the timeline viewer to show: the rectangle to show it in (left,
// top, width, height, in screen pixels) and the timeline's name ("TM%06ld"). It travels as lParam
// of the frame's VLM_TIMELINE_VIEWER; the frame owns and deletes it.
#pragma once

#include <afxwin.h>

class TimelineRequest : public CObject {
public:
    TimelineRequest() = default;
    TimelineRequest(int nLeft, int nTop, int nWidth, int nHeight, LPCSTR lpszName)
        : m_nLeft(nLeft), m_nTop(nTop), m_nWidth(nWidth), m_nHeight(nHeight), m_strName(lpszName)
    {
    }
    ~TimelineRequest() override = default;

    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CString m_strName;
};
