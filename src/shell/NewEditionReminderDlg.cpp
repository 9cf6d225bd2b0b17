#include "shell/NewEditionReminderDlg.h"

#include "base/DataFolders.h"

#include <cstdio>
#include <ctime>

namespace {

const char kNextPrompt[] = "Next Prompt";
const UINT kDontShowId = 100;
const int kClientWidth = 450;
const int kClientHeight = 275;

CString FormatDate(const CTime& time)
{
    CString strDate;
    strDate.Format("%04d/%02d/%02d", time.GetYear(), time.GetMonth(), time.GetDay());
    return strDate;
}

// Today at midnight plus a number of days (local time, calendar days).
CTime TodayPlusDays(const CTime& now, int nDays)
{
    CTime today(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
    struct tm when = {};
    when.tm_year = today.GetYear() - 1900;
    when.tm_mon = today.GetMonth() - 1;
    when.tm_mday = today.GetDay() + nDays;
    when.tm_hour = 12;  // noon: a daylight-saving change never moves the date
    when.tm_isdst = -1;
    std::time_t t = std::mktime(&when);
    const struct tm* pResult = std::localtime(&t);
    return CTime(pResult->tm_year + 1900, pResult->tm_mon + 1, pResult->tm_mday, 0, 0, 0);
}

}  // namespace

const char* const CNewEditionReminderDlg::s_lines[] = {
    "A more recent version of Veltra is available.  If you ",
    "would like to order the latest version of Veltra, please ",
    "visit our website at www.veltra.example/new-edition or call ",
    "Customer Service at one of the following numbers:",
    "",
    "North America:  1-800-555-0199",
    "United Kingdom:  0800 555 0199",
    "Australia:  1-800-555-019",
    "",
    "This message will appear every 30 days.",
};
const int CNewEditionReminderDlg::s_nLines = sizeof(s_lines) / sizeof(s_lines[0]);

BEGIN_MESSAGE_MAP(CNewEditionReminderDlg, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CNewEditionReminderDlg::CNewEditionReminderDlg(CWnd* pOwner) : m_pOwner(pOwner) {}

CNewEditionReminderDlg::~CNewEditionReminderDlg()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

int CNewEditionReminderDlg::CheckAndShow()
{
    const CTime now = CTime::GetCurrentTime();
    CString strValue = GetAppProfileString(VL_PRODUCT_SECTION, kNextPrompt, "");
    if (strValue.IsEmpty()) {
        CTime next = now < CTime(2000, 5, 1, 0, 0, 0) ? CTime(2000, 9, 1, 0, 0, 0) : TodayPlusDays(now, 120);
        WriteAppProfileString(VL_PRODUCT_SECTION, kNextPrompt, FormatDate(next));
        return 0;
    }
    if (strValue == "OFF")
        return -1;
    int nYear = 0, nMonth = 0, nDay = 0;
    if (std::sscanf(strValue, "%4d/%2d/%2d", &nYear, &nMonth, &nDay) != 3)
        return -1;
    if (nYear < 1970 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31)
        return -1;
    CTime prompt(nYear, nMonth, nDay, 0, 0, 0);
    if (now < prompt)
        return 0;
    int nResult = DoModal();
    WriteAppProfileString(VL_PRODUCT_SECTION, kNextPrompt, m_bDisplayAgain ? FormatDate(TodayPlusDays(now, 30)) : "OFF");
    return nResult;
}

int CNewEditionReminderDlg::DoModal()
{
    LPCSTR lpszClass = AfxRegisterWndClass(0, NULL, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)), NULL);
    CRect rect(0, 0, kClientWidth, kClientHeight);
    const DWORD dwStyle = WS_POPUP | WS_CAPTION;
    ::AdjustWindowRectEx(&rect, dwStyle, FALSE, WS_EX_NOPARENTNOTIFY);
    int x = (::GetSystemMetrics(SM_CXSCREEN) - rect.Width()) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - rect.Height()) / 2;
    HWND hOwner = m_pOwner != NULL ? m_pOwner->GetSafeHwnd() : NULL;
    if (!CreateEx(WS_EX_NOPARENTNOTIFY, lpszClass, AfxGetAppName(), dwStyle, x, y, rect.Width(), rect.Height(),
                  hOwner, NULL))
        AfxThrowUserException();
    ShowWindow(SW_SHOW);
    if (hOwner != NULL)
        ::EnableWindow(hOwner, FALSE);
    int nResult = RunModalLoop(0);
    if (hOwner != NULL)
        ::EnableWindow(hOwner, TRUE);
    DestroyWindow();
    if (hOwner != NULL)
        ::UpdateWindow(hOwner);
    return nResult;
}

int CNewEditionReminderDlg::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const int nOKLeft = (kClientWidth - 76) / 2;
    const int nBoxLeft = (kClientWidth - 256) / 2;
    if (!m_btnOK.Create("OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        CRect(nOKLeft, 198, nOKLeft + 76, 230), this, IDOK) ||
        !m_btnDontShow.Create("Don't display this message again.", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX,
                              CRect(nBoxLeft, 243, nBoxLeft + 256, 267), this, kDontShowId))
        AfxThrowUserException();
    m_btnOK.SetFocus();
    return 0;
}

void CNewEditionReminderDlg::OnPaint()
{
    CPaintDC dc(this);
    LOGFONT lf = {};
    lf.lfHeight = 16;
    lf.lfWeight = 100;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = 36;
    lstrcpy(lf.lfFaceName, "Arial");
    CFont font;
    if (!font.CreateFontIndirect(&lf))
        return;
    CFont* pOldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    const int nLineHeight = dc.GetTextExtent(s_lines[0], lstrlen(s_lines[0])).cy;
    int y = 15;
    for (int i = 0; i < s_nLines; ++i, y += nLineHeight)
        dc.TextOut(20, y, s_lines[i], lstrlen(s_lines[i]));
    dc.SelectObject(pOldFont);
}

BOOL CNewEditionReminderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        m_bDisplayAgain = m_btnDontShow.GetCheck() == BST_CHECKED ? FALSE : TRUE;
        EndModalLoop(1);
        return TRUE;
    case kDontShowId:
        m_btnDontShow.SetCheck(m_btnDontShow.GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        return TRUE;
    default:
        return CWnd::OnCommand(wParam, lParam);
    }
}

BOOL CNewEditionReminderDlg::PreTranslateMessage(MSG* pMsg)
{
    if (GetSafeHwnd() != NULL && ::IsDialogMessage(GetSafeHwnd(), pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}
