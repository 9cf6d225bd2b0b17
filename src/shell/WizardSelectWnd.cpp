#include "shell/WizardSelectWnd.h"

#include "resource.h"
#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "widgets/Dib.h"
#include "widgets/DibButton.h"

#include <cstring>

namespace {

struct WizardButton {
    UINT nID;
    LPCSTR lpszCaption;
    UINT nFirstBitmap;
    UINT nSecondBitmap;
};

// In the order they are made, top to bottom.
const WizardButton kButtons[5] = {
    {IDC_WIZARD_RESEARCH, "Research Wizard", 503, 502},
    {IDC_WIZARD_CHART, "Chart Wizard", 488, 487},
    {IDC_WIZARD_TIMELINE, "Timeline Wizard", 506, 505},
    {IDC_WIZARD_WEB, "Web Page Wizard", 324, 328},
    {IDC_WIZARD_QUIZ, "", 326, 329},
};
// The first button's top-left corner and the gap below each button.
const int kButtonLeft = 50;
const int kButtonTop = 78;
const int kButtonGap = 9;
const int kBannerTop = 10;

const int kHeadings[] = {IDC_WIZARD_RESEARCH_HEADING, IDC_WIZARD_TIMELINE_HEADING, IDC_WIZARD_CHART_HEADING,
                         IDC_WIZARD_WEB_HEADING, IDC_WIZARD_QUIZ_HEADING};
const int kTexts[] = {IDC_WIZARD_RESEARCH_TEXT, IDC_WIZARD_CHART_TEXT, IDC_WIZARD_TIMELINE_TEXT, IDC_WIZARD_WEB_TEXT,
                      IDC_WIZARD_QUIZ_TEXT};

}  // namespace

IMPLEMENT_DYNAMIC(CWizardSelectWnd, CDialog)

BEGIN_MESSAGE_MAP(CWizardSelectWnd, CDialog)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_WIZARD_RESEARCH, OnResearch)
    ON_BN_CLICKED(IDC_WIZARD_CHART, OnChart)
    ON_BN_CLICKED(IDC_WIZARD_TIMELINE, OnTimeline)
    ON_BN_CLICKED(IDC_WIZARD_WEB, OnWebPage)
    ON_BN_CLICKED(IDC_WIZARD_QUIZ, OnQuiz)
    ON_BN_CLICKED(IDC_WIZARD_CANCEL, OnCancelButton)
END_MESSAGE_MAP()

CWizardSelectWnd::CWizardSelectWnd(CWnd* pParent) : CDialog(IDD_WIZARD_SELECT, pParent)
{
}

CWizardSelectWnd::~CWizardSelectWnd()
{
    for (CDibButton*& pButton : m_pButtons) {
        delete pButton;
        pButton = NULL;
    }
}

CDibButton* CWizardSelectWnd::GetButton(int nIndex) const
{
    return nIndex >= 0 && nIndex < 5 ? m_pButtons[nIndex] : NULL;
}

int CWizardSelectWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    GetClientRect(&m_rcClient);
    if (!CreateButtons())
        return -1;
    CenterWindow(GetDesktopWindow());
    m_bFontsMade = FALSE;
    return 0;
}

BOOL CWizardSelectWnd::CreateButtons()
{
    int cx = 0, cy = 0;
    try {
        CDib size(kButtons[0].nFirstBitmap);
        cx = static_cast<int>(size.GetWidth()) / 4 * 4;
        cy = static_cast<int>(size.GetHeight()) / 4 * 4;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    CRect rect(kButtonLeft, kButtonTop, kButtonLeft + cx, kButtonTop + cy);
    for (int i = 0; i < 5; ++i) {
        m_pButtons[i] = new CDibButton;
        if (!m_pButtons[i]->Create(kButtons[i].lpszCaption,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW, rect, this,
                                   kButtons[i].nID) ||
            !m_pButtons[i]->LoadStateBitmaps(kButtons[i].nFirstBitmap, kButtons[i].nSecondBitmap))
            return FALSE;
        rect.OffsetRect(0, cy + kButtonGap);
    }
    return TRUE;
}

BOOL CWizardSelectWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemText(m_hWnd, IDC_WIZARD_RESEARCH_HEADING, "Research Wizard");
    ::SetDlgItemText(m_hWnd, IDC_WIZARD_RESEARCH_TEXT,
                     "The Research Wizard helps you through the steps of writing a research report.");
    return TRUE;
}

void CWizardSelectWnd::MakeFonts(CDC* pDC)
{
    LOGFONT heading{};
    heading.lfHeight = 140;
    heading.lfWeight = FW_BOLD;
    std::strcpy(heading.lfFaceName, "Arial");
    LOGFONT text = heading;
    text.lfHeight = 120;
    text.lfWeight = FW_LIGHT;
    if (!m_fontHeading.CreatePointFontIndirect(&heading, pDC) || !m_fontText.CreatePointFontIndirect(&text, pDC))
        return;
    for (int nID : kHeadings)
        if (CWnd* pText = GetDlgItem(nID))
            pText->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontHeading.GetSafeHandle()), TRUE);
    for (int nID : kTexts)
        if (CWnd* pText = GetDlgItem(nID))
            pText->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontText.GetSafeHandle()), TRUE);
    m_bFontsMade = TRUE;
}

void CWizardSelectWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    dc.SetBkColor(0x02E7FFFF);
    try {
        CDib banner(IDB_WIZARD_BANNER);
        int x = (m_rcClient.Width() - static_cast<int>(banner.GetWidth())) / 2;
        banner.Draw(&dc, x, m_rcClient.top + kBannerTop);
    } catch (CException* e) {
        e->Delete();
    }
    if (!m_bFontsMade)
        MakeFonts(&dc);
}

void CWizardSelectWnd::OnDestroy()
{
    for (CDibButton*& pButton : m_pButtons) {
        if (pButton != NULL) {
            if (pButton->GetSafeHwnd() != NULL)
                pButton->DestroyWindow();
            delete pButton;
            pButton = NULL;
        }
    }
    m_fontHeading.DeleteObject();
    m_fontText.DeleteObject();
    CDialog::OnDestroy();
}

void CWizardSelectWnd::StartWizard(UINT nMessage)
{
    if (CWnd* pMain = GetAppMainWnd())
        pMain->PostMessage(nMessage, 0, 0);
    EndDialog(0);
}

void CWizardSelectWnd::OnResearch()
{
    StartWizard(VLM_COMPANION_FIRST);
}

void CWizardSelectWnd::OnChart()
{
    StartWizard(VLM_COMPANION_SECOND);
}

void CWizardSelectWnd::OnTimeline()
{
    StartWizard(VLM_COMPANION_THIRD);
}

void CWizardSelectWnd::OnWebPage()
{
    StartWizard(VLM_COMPANION_FOURTH);
}

void CWizardSelectWnd::OnQuiz()
{
    StartWizard(VLM_COMPANION_FIFTH);
}

void CWizardSelectWnd::OnCancelButton()
{
    EndDialog(IDCANCEL);
}
