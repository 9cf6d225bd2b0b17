#include "search/SearchTabWin.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"
#include "search/KeywordWildcards.h"
#include "search/KeywordIndex.h"
#include "search/QueryParser.h"
#include "search/SearchEngine.h"
#include "search/SpellCheckDlg.h"
#include "widgets/Dib.h"
#include "widgets/PopupMessageBox.h"

#include <algorithm>
#include <cstring>

namespace {

// The pane's ground: entry 56 of the application palette.
const COLORREF kGround = PALETTEINDEX(56);

// The filter boxes in member order: caption, check-box flag, kind bits. The ninth slot holds no
// box; "ANIMATIONS" and "SIMULATIONS" are made but never shown.
struct FilterBox {
    LPCSTR pszCaption;
    UINT nFlag;
    LONG nKinds;
    bool bShown;
};
const FilterBox kFilterBoxes[SEARCH_FILTER_COUNT] = {
    {"ALL", SEARCH_FILTER_ALL, SEARCH_ALL_KINDS, true},
    {"VIDEOS", 0x1, REFKIND_VIDEO, true},
    {"SOUNDS", 0x2, REFKIND_SOUND | REFKIND_ONLINESOUND, true},
    {"ANIMATIONS", 0x4, REFKIND_ANIMATION, false},
    {"SIMULATIONS", 0x8, REFKIND_SIMULATION, false},
    {"PICTURES", 0x10, REFKIND_PICTURE, true},
    {"ARTICLES", 0x20, REFKIND_ARTICLE, true},
    {"ATLAS", 0x80, REFKIND_MAP, true},
    {NULL, 0, 0, false},
    {"BUBBLE VIEWS", 0x200, REFKIND_BUBBLE, true},
};

const char* const kOperators[] = {"and", "or", "not"};
const char* const kScopes[] = {" SENTENCE ", " PARAGRAPH ", " SUB-HEADING ", " ARTICLE "};

// Pictures of the search button and the two mode buttons (normal, pressed), and of the radios.
const UINT kSearchPicture = 515, kSearchPressed = 514;
const UINT kWordModePicture = 517, kWordModePressed = 516;
const UINT kTopicModePicture = 519, kTopicModePressed = 518;
const UINT kRadioPicture = 580, kRadioChecked = 581;

// Layout of the controls (client coordinates).
const int kFieldHeight = CUSTOMCOMBO_HEIGHT;
const int kOperatorWidth = 56;
// The spacing of the pane's groups: roomy on wider screens, packed on a screen 640 pixels wide or
// less, where the view below the toolbar is shortest and every row saved goes to the results.
struct Metrics {
    int nMargin;         // left, right and bottom
    int nHeadingTop;     // the heading picture's top
    int nHeadingHeight;  // the picture's height
    int nLabelHeight;    // a label's line ("ENTER SEARCH WORDS", the filter caption)
    int nRowStep;        // from one field row to the next
    int nGap;            // around the rules between the groups
    int nBoxHeight;      // a filter box
    int nBoxStep;        // from one row of filter boxes to the next
};
const Metrics kWide = {6, 4, 20, 14, 24, 4, 16, 18};
const Metrics kNarrow = {3, 2, 20, 13, 22, 2, 14, 15};
const int kTopicRowsShown = 8;

CString Trimmed(CWnd& wnd)
{
    CString strText;
    if (wnd.GetSafeHwnd() != NULL)
        wnd.GetWindowText(strText);
    strText.TrimLeft();
    strText.TrimRight();
    return strText;
}

bool IsQueryBlank(char ch)
{
    return ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t';
}

// Whether a word of a query (lower case) is an operator word, with digits after it or (for the
// switch) anything.
bool IsOperatorWord(const CString& strWord)
{
    for (const QUERY_OPERATOR_WORD& op : g_aQueryOperatorWords) {
        const int nLength = static_cast<int>(std::strlen(op.pszWord));
        if (strWord.GetLength() < nLength || std::strncmp(strWord, op.pszWord, static_cast<size_t>(nLength)) != 0)
            continue;
        if (op.nCode == QUERY_SWITCH)
            return true;
        bool bDigits = true;
        for (int i = nLength; i < strWord.GetLength() && bDigits; ++i)
            bDigits = strWord[i] >= '0' && strWord[i] <= '9';
        if (bDigits)
            return true;
    }
    return false;
}

}  // namespace

void TrimQueryAtOperator(CString& strQuery)
{
    CString strLower = strQuery;
    strLower.MakeLower();
    const int nLength = strLower.GetLength();
    bool bQuoted = false;
    int i = 0;
    while (i < nLength) {
        while (i < nLength && IsQueryBlank(strLower[i]))
            ++i;
        const int nStart = i;
        while (i < nLength && !IsQueryBlank(strLower[i])) {
            if (strLower[i] == '"')
                bQuoted = !bQuoted;
            ++i;
        }
        if (nStart == i)
            break;
        const bool bOpensQuote = strLower[nStart] == '"';
        if (bQuoted || bOpensQuote)
            continue;
        if (nStart > 0 && IsOperatorWord(strLower.Mid(nStart, i - nStart))) {
            strQuery = strQuery.Left(nStart);
            strQuery.TrimRight();
            return;
        }
    }
}

IMPLEMENT_DYNAMIC(CSearchTabWin, CGenericTabWin)

BEGIN_MESSAGE_MAP(CSearchTabWin, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_LBUTTONDOWN()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_KEYDOWN()
    ON_WM_CLOSE()
    ON_COMMAND(IDC_SEARCH_GO, OnSearchButton)
    ON_COMMAND(IDC_SEARCH_TOPIC_MODE, OnModeButton)
    ON_COMMAND(IDC_SEARCH_WORD_MODE, OnModeButton)
    ON_COMMAND_RANGE(IDC_SEARCH_SCOPE_SENTENCE, IDC_SEARCH_WORDS_RADIO, OnScopeCommand)
    ON_COMMAND(IDC_SEARCH_WITHIN_RADIO, OnWithinRadio)
    ON_COMMAND_RANGE(IDC_SEARCH_FILTER_FIRST, IDC_SEARCH_FILTER_LAST, OnFilterBox)
    ON_NOTIFY(NM_CLICK, IDC_SEARCH_SCOPE_LIST, OnScopeListClicked)
    ON_NOTIFY(NM_CLICK, IDC_SEARCH_OPERATOR1, OnOperatorListClicked)
    ON_NOTIFY(NM_CLICK, IDC_SEARCH_OPERATOR2, OnOperatorListClicked)
    ON_MESSAGE(VLM_RESULT_CHOSEN, OnResultChosen)
    ON_MESSAGE(VLM_PRINT_RESULTS, OnPrintResults)
    ON_MESSAGE(VLM_HAS_RESULTS, OnHasResults)
END_MESSAGE_MAP()

CSearchTabWin::CSearchTabWin()
    : m_pEngine(GetAppSearchEngine()), m_pTopicResults(new CReferenceList), m_pWordResults(new CReferenceList)
{
}

CSearchTabWin::~CSearchTabWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    for (CRadioButton*& pBox : m_apFilter) {
        delete pBox;
        pBox = NULL;
    }
    delete m_pTopicResults;
    delete m_pWordResults;
}

BOOL CSearchTabWin::Create(POINT pt, CWnd* pParentWnd)
{
    return CGenericTabWin::Create(NULL, SEARCH_CAPTION_TOPIC, WS_BORDER, CRect(pt.x, pt.y, pt.x + 213, pt.y + 402),
                                  pParentWnd, IDW_SEARCHPANE);
}

// ---- creation and layout ----

int CSearchTabWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!CreateControls()) {
        AfxMessageBox("The Search Tab window could not be created.", MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    // The topic field takes the focus when the pane is shown (a focus taken now would activate
    // the frame before it is ready).
    LayOut();
    return 0;
}

BOOL CSearchTabWin::CreateControls()
{
    CClientDC screen(NULL);
    const int nHeight = -MulDiv(8, screen.GetDeviceCaps(LOGPIXELSY), 72);
    auto makeFont = [&](CFont& font, int nWeight) {
        return font.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    };
    if (!makeFont(m_fontBold, 700) || !makeFont(m_fontPlain, 400) || !makeFont(m_fontLabel, 700))
        return FALSE;
    if (!m_brushBackground.CreateSolidBrush(kGround))
        return FALSE;
    const CRect none(0, 0, 10, 10);
    auto makeButton = [&](CDibButton& button, LPCSTR lpszText, UINT nID, UINT nNormal, UINT nPressed) {
        return button.Create(lpszText, WS_CHILD | BS_OWNERDRAW, none, this, nID) &&
               button.LoadStateBitmaps(nNormal, nPressed) && (button.SizeToBitmap(), TRUE);
    };
    auto makeEdit = [&](CCustomComboEdit& edit, UINT nID, int nLimit) {
        if (!edit.Create(WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, none, this, nID))
            return FALSE;
        edit.SetLimitText(static_cast<UINT>(nLimit));
        edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontPlain.GetSafeHandle()), FALSE);
        return TRUE;
    };
    auto makeList = [&](CCustomComboBox& list, UINT nID, const char* const* ppszRows, int nRows) {
        if (!list.Create(0, CRect(0, 0, 60, 100), this, nID))
            return FALSE;
        for (int i = 0; i < nRows; ++i)
            list.GetList().AddString(ppszRows[i]);
        list.SetCurSel(0);
        list.ShowItemText(0);
        return TRUE;
    };
    auto makeRadio = [&](CRadioButton& radio, LPCSTR lpszCaption, DWORD dwIndent, UINT nID) {
        if (!radio.Create(lpszCaption, WS_CHILD | BS_RADIOBUTTON | dwIndent, none, this, nID) ||
            !radio.LoadStateBitmaps(kRadioPicture, kRadioChecked))
            return FALSE;
        radio.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontBold.GetSafeHandle()), FALSE);
        radio.SetBackgroundColor(kGround);
        return TRUE;
    };
    if (!m_wndTopic.Create(0, CRect(0, 0, 100, 100), this, IDC_SEARCH_TOPIC) ||
        !makeList(m_wndOperator1, IDC_SEARCH_OPERATOR1, kOperators, 3) ||
        !makeList(m_wndOperator2, IDC_SEARCH_OPERATOR2, kOperators, 3) ||
        !makeList(m_wndScope, IDC_SEARCH_SCOPE_LIST, kScopes, 4) ||
        !makeRadio(m_wndWithin, "", 0, IDC_SEARCH_WITHIN_RADIO) ||
        !makeRadio(m_wndWords, " WORDS", 0x80000000, IDC_SEARCH_WORDS_RADIO) ||
        !m_wndResults.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                             CRect(0, 0, 100, 100), this, IDC_SEARCH_RESULTS) ||
        !makeEdit(m_wndWord1, IDC_SEARCH_WORD1, 80) || !makeEdit(m_wndWord2, IDC_SEARCH_WORD2, 80) ||
        !makeEdit(m_wndWord3, IDC_SEARCH_WORD3, 80) || !makeEdit(m_wndDistance, IDC_SEARCH_DISTANCE, 3))
        return FALSE;
    m_wndDistance.SetWindowText("8");
    m_wndWithin.SetCheck(1);
    for (int i = 0; i < SEARCH_FILTER_COUNT; ++i) {
        if (kFilterBoxes[i].pszCaption == NULL)
            continue;
        m_apFilter[i] = new CRadioButton;
        if (!m_apFilter[i]->Create(kFilterBoxes[i].pszCaption, WS_CHILD | BS_CHECKBOX, none, this,
                                   static_cast<UINT>(IDC_SEARCH_FILTER_FIRST + i)))
            return FALSE;
        m_apFilter[i]->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontPlain.GetSafeHandle()), FALSE);
        m_apFilter[i]->SetBackgroundColor(kGround);
    }
    UpdateFilterBoxes();
    // The decorations: the two heading pictures (one shows per mode) and the etched rules.
    auto makeHeading = [&](CStatic& heading, CDib& picture, UINT nPicture, UINT nID) {
        if (!heading.Create(NULL, WS_CHILD | SS_OWNERDRAW, none, this, nID))
            return FALSE;
        // A missing picture leaves the heading empty: the pane works without it.
        try {
            picture.LoadFromResourceId(nPicture);
        } catch (CException* e) {
            e->Delete();
        }
        return TRUE;
    };
    if (!makeHeading(m_wndTopicHeading, m_dibTopicHeading, IDB_SEARCH_TOPIC_HEADING, IDC_SEARCH_TOPIC_HEADING) ||
        !makeHeading(m_wndWordHeading, m_dibWordHeading, IDB_SEARCH_WORD_HEADING, IDC_SEARCH_WORD_HEADING))
        return FALSE;
    for (int i = 0; i < SEARCH_RULE_COUNT; ++i)
        if (!m_awndRules[i].Create(NULL, WS_CHILD | SS_ETCHEDHORZ, none, this,
                                   static_cast<UINT>(IDC_SEARCH_RULE_FIRST + i)))
            return FALSE;
    return makeButton(m_btnSearch, "Search", IDC_SEARCH_GO, kSearchPicture, kSearchPressed) &&
           makeButton(m_btnWordMode, "Search by Word", IDC_SEARCH_WORD_MODE, kWordModePicture, kWordModePressed) &&
           makeButton(m_btnTopicMode, "Search by Topic", IDC_SEARCH_TOPIC_MODE, kTopicModePicture,
                      kTopicModePressed);
}

BOOL CSearchTabWin::IsNarrowScreen()
{
    const int nWidth = GetAppScreenWidth();
    return nWidth > 0 ? nWidth <= 640 : GetAppScreenClass() == 0;
}

void CSearchTabWin::LayOut()
{
    if (m_wndResults.GetSafeHwnd() == NULL)
        return;
    const Metrics& m = IsNarrowScreen() ? kNarrow : kWide;
    m_nMargin = m.nMargin;
    CRect client;
    GetClientRect(&client);
    const int cx = std::max(static_cast<int>(client.Width()), 160);
    const int nLeft = m.nMargin;
    const int nRight = cx - m.nMargin;
    const int nShowWord = m_bWordMode ? SW_SHOW : SW_HIDE;
    const int nShowTopic = m_bWordMode ? SW_HIDE : SW_SHOW;
    HideDropLists();

    // The mode's heading picture across the top, centred; the label under it.
    CStatic& heading = GetHeading(m_bWordMode);
    CStatic& otherHeading = GetHeading(!m_bWordMode);
    heading.MoveWindow(nLeft, m.nHeadingTop, nRight - nLeft, m.nHeadingHeight);
    heading.ShowWindow(SW_SHOW);
    otherHeading.ShowWindow(SW_HIDE);
    m_nLabelY = m.nHeadingTop + m.nHeadingHeight + m.nGap / 2;

    int y = m_nLabelY + m.nLabelHeight;
    // Topic mode: the topic field with its earlier texts hanging below it.
    m_wndTopic.MoveWindow(nLeft, y, nRight - nLeft, kFieldHeight);
    m_wndTopic.ShowWindow(nShowTopic);
    // Word mode: three word fields, the second and third after their operator lists.
    m_wndWord1.MoveWindow(nLeft, y, nRight - nLeft, kFieldHeight);
    const int nWordLeft = nLeft + kOperatorWidth + 4;
    // (A combo box is its 20-pixel field; its list hangs below it, sized to its rows.)
    m_wndOperator1.MoveWindow(nLeft, y + m.nRowStep, kOperatorWidth, kFieldHeight);
    m_wndWord2.MoveWindow(nWordLeft, y + m.nRowStep, nRight - nWordLeft, kFieldHeight);
    m_wndOperator2.MoveWindow(nLeft, y + 2 * m.nRowStep, kOperatorWidth, kFieldHeight);
    m_wndWord3.MoveWindow(nWordLeft, y + 2 * m.nRowStep, nRight - nWordLeft, kFieldHeight);
    const int nFieldsBottom = y + 2 * m.nRowStep + kFieldHeight;
    // A rule between the fields and the scope.
    m_awndRules[0].MoveWindow(nLeft, nFieldsBottom + m.nGap, nRight - nLeft, 2);
    // The scope: "find within" the scope list, or within so many words.
    m_nWithinY = nFieldsBottom + 2 * m.nGap + 2;
    const int nScopeLeft = nLeft + 88;
    m_wndWithin.MoveWindow(nLeft, m_nWithinY + 3, 14, 14);
    m_wndScope.MoveWindow(nScopeLeft, m_nWithinY, nRight - nScopeLeft, kFieldHeight);
    m_wndWords.MoveWindow(nLeft, m_nWithinY + m.nRowStep + 3, 120, 14);
    m_wndDistance.MoveWindow(nLeft + 18, m_nWithinY + m.nRowStep, 36, kFieldHeight);
    const int nScopeBottom = m_nWithinY + m.nRowStep + kFieldHeight;
    // A rule, then the kind filter: its caption and the shown boxes in two columns.
    m_awndRules[1].MoveWindow(nLeft, nScopeBottom + m.nGap, nRight - nLeft, 2);
    const int nFilterTop = nScopeBottom + 2 * m.nGap + 2;
    m_rectFilterCaption = CRect(nLeft - 3, nFilterTop, nLeft + 150, nFilterTop + m.nLabelHeight);
    int nShown = 0;
    // The left column is the wider: "BUBBLE VIEWS" ends in it.
    const int nLeftColumn = (cx - 2 * nLeft) / 2 + 12;
    for (int i = 0; i < SEARCH_FILTER_COUNT; ++i) {
        if (m_apFilter[i] == NULL)
            continue;
        if (kFilterBoxes[i].bShown) {
            const int x = nShown % 2 == 0 ? nLeft : nLeft + nLeftColumn;
            const int nWidth = nShown % 2 == 0 ? nLeftColumn - 2 : nRight - x;
            const int yBox = nFilterTop + m.nLabelHeight + (nShown / 2) * m.nBoxStep;
            m_apFilter[i]->MoveWindow(x, yBox, nWidth, m.nBoxHeight);
            ++nShown;
        }
        m_apFilter[i]->ShowWindow(kFilterBoxes[i].bShown ? nShowWord : SW_HIDE);
    }
    const int nFilterBottom = nFilterTop + m.nLabelHeight + ((nShown + 1) / 2) * m.nBoxStep;
    for (CWnd* pWnd : std::initializer_list<CWnd*>{&m_wndWord1, &m_wndWord2, &m_wndWord3, &m_wndOperator1,
                                                   &m_wndOperator2, &m_wndWithin, &m_wndScope, &m_wndWords,
                                                   &m_wndDistance, &m_awndRules[0], &m_awndRules[1]})
        pWnd->ShowWindow(nShowWord);

    // A rule, then the search button at the left, the other mode's button at the right, the
    // results below.
    const int nAboveButtons = m_bWordMode ? nFilterBottom : y + kFieldHeight;
    m_awndRules[2].MoveWindow(nLeft, nAboveButtons + m.nGap, nRight - nLeft, 2);
    m_awndRules[2].ShowWindow(SW_SHOW);
    const int nButtons = nAboveButtons + 2 * m.nGap + 2;
    CRect button;
    m_btnSearch.GetWindowRect(&button);
    m_btnSearch.MoveWindow(nLeft, nButtons, button.Width(), button.Height());
    m_btnSearch.ShowWindow(SW_SHOW);
    CDibButton& mode = m_bWordMode ? m_btnTopicMode : m_btnWordMode;
    CDibButton& other = m_bWordMode ? m_btnWordMode : m_btnTopicMode;
    CRect modeRect;
    mode.GetWindowRect(&modeRect);
    mode.MoveWindow(nRight - modeRect.Width(), nButtons, modeRect.Width(), modeRect.Height());
    mode.ShowWindow(SW_SHOW);
    other.ShowWindow(SW_HIDE);
    const int nListTop = nButtons + std::max(button.Height(), modeRect.Height()) + m.nGap;
    m_wndResults.MoveWindow(nLeft, nListTop, nRight - nLeft,
                            std::max(static_cast<int>(client.bottom) - m.nMargin - nListTop, 20));
    // The topic field's earlier texts stay above the results.
    RememberTopic(CString());
}

void CSearchTabWin::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    if (nType == SIZE_RESTORED || nType == SIZE_MAXIMIZED) {
        LayOut();
        Invalidate();
    }
}

void CSearchTabWin::HideDropLists()
{
    m_wndTopic.HideList();
    m_wndOperator1.HideDropList();
    m_wndOperator2.HideDropList();
    m_wndScope.HideDropList();
}

void CSearchTabWin::RememberTopic(const CString& strText)
{
    if (!strText.IsEmpty()) {
        bool bKnown = false;
        for (int i = 0; i < m_astrTopics.GetSize() && !bKnown; ++i)
            bKnown = m_astrTopics[i].CompareNoCase(strText) == 0;
        if (!bKnown) {
            m_astrTopics.Add(strText);
            m_wndTopic.AddString(strText);
        }
        m_wndTopic.SetEditText(strText);
    }
    // The drop list below the field, as tall as its rows (at most kTopicRowsShown, then it scrolls).
    CWnd* pList = m_wndTopic.GetListWnd();
    if (pList == NULL || pList->GetSafeHwnd() == NULL)
        return;
    CRect field;
    m_wndTopic.GetWindowRect(&field);
    ScreenToClient(&field);
    const int nRows = std::max(1, std::min(static_cast<int>(m_astrTopics.GetSize()), kTopicRowsShown));
    pList->MoveWindow(field.left, field.bottom, field.Width() - m_wndTopic.GetArrowWidth(),
                      nRows * m_wndTopic.LineHeight() + 4);
}

// ---- painting ----

BOOL CSearchTabWin::OnEraseBkgnd(CDC* pDC)
{
    CAppPaletteSelector palette(pDC);
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, kGround);
    return TRUE;
}

void CSearchTabWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CBrush frame(PALETTERGB(0, 0, 0));
    dc.FrameRect(&client, &frame);
    CFont* pOld = dc.SelectObject(&m_fontLabel);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(PALETTERGB(0, 0, 0));
    dc.TextOut(m_nMargin, m_nLabelY, "ENTER SEARCH WORDS");
    if (m_bWordMode) {
        dc.TextOut(m_nMargin + 18, m_nWithinY + 4, "FIND WITHIN:");
        dc.TextOut(m_rectFilterCaption.left + 3, m_rectFilterCaption.top, m_bFilterShown ? "SHOW ONLY:" : "SHOW:");
    }
    dc.SelectObject(pOld);
}

void CSearchTabWin::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (nIDCtl != IDC_SEARCH_TOPIC_HEADING && nIDCtl != IDC_SEARCH_WORD_HEADING) {
        CGenericTabWin::OnDrawItem(nIDCtl, lpDrawItemStruct);
        return;
    }
    // The heading picture centred on the pane's ground, through the application's palette.
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CAppPaletteSelector palette(pDC);
    const CRect box(lpDrawItemStruct->rcItem);
    pDC->FillSolidRect(&box, kGround);
    const CDib& picture = GetHeadingPicture(nIDCtl == IDC_SEARCH_WORD_HEADING);
    if (!picture.IsEmpty())
        picture.Draw(pDC, box.left + (box.Width() - picture.GetWidth()) / 2,
                     box.top + (box.Height() - picture.GetHeight()) / 2);
}

HBRUSH CSearchTabWin::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The pane's ground behind its buttons only: edits and lists keep their white.
    if (nCtlColor != CTLCOLOR_BTN && nCtlColor != CTLCOLOR_STATIC)
        return CGenericTabWin::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

// ---- showing, hiding, keys ----

CEdit& CSearchTabWin::FirstField()
{
    return m_bWordMode ? static_cast<CEdit&>(m_wndWord1) : static_cast<CEdit&>(m_wndTopic.GetEdit());
}

void CSearchTabWin::FocusFirstField()
{
    CEdit& field = FirstField();
    if (field.GetSafeHwnd() == NULL)
        return;
    field.SetFocus();
    field.SetSel(0, -1);
}

void CSearchTabWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CGenericTabWin::OnShowWindow(bShow, nStatus);
    if (bShow) {
        FocusFirstField();
        return;
    }
    HideDropLists();
    // A hidden pane keeps no hold on the mouse.
    if (HoldsMouseCapture())
        ::ReleaseCapture();
}

void CSearchTabWin::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Holding the capture, the pane sees clicks anywhere on the screen: one outside it hides
    // it (as Escape does), the click itself goes nowhere else.
    CRect client;
    GetClientRect(&client);
    if (HoldsMouseCapture() && !client.PtInRect(point)) {
        ::ReleaseCapture();
        OnClose();
        return;
    }
    CGenericTabWin::OnLButtonDown(nFlags, point);
    HideDropLists();
    FocusFirstField();
}

void CSearchTabWin::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_RETURN:
        OnSearch();
        break;
    case VK_ESCAPE:
        OnClose();
        break;
    case VK_F2:
        // From the result list back to typing.
        FocusFirstField();
        break;
    case VK_TAB: {
        // Through the mode's fields.
        if (!m_bWordMode)
            break;
        CWnd* pFocus = GetFocus();
        CEdit& next = pFocus == &m_wndWord1 ? static_cast<CEdit&>(m_wndWord2)
                      : pFocus == &m_wndWord2 ? static_cast<CEdit&>(m_wndWord3)
                                              : static_cast<CEdit&>(m_wndWord1);
        next.SetFocus();
        next.SetSel(0, -1);
        break;
    }
    default:
        CGenericTabWin::OnKeyDown(nChar, nRepCnt, nFlags);
        break;
    }
}

void CSearchTabWin::OnClose()
{
    HideDropLists();
    ShowWindow(SW_HIDE);
    if (CWnd* pMain = GetAppMainWnd())
        pMain->SendMessage(VLM_PANE_DOWN, 0, 1);
}

void CSearchTabWin::OnDestroy()
{
    m_wndResults.AddResults(NULL);
    CGenericTabWin::OnDestroy();
}

BOOL CSearchTabWin::IsOwnWindow(HWND hWnd) const
{
    if (hWnd == NULL)
        return FALSE;
    for (HWND h = hWnd; h != NULL; h = ::GetParent(h))
        if (h == m_hWnd)
            return TRUE;
    return FALSE;
}

// ---- searching ----

void CSearchTabWin::OnSearchButton()
{
    OnSearch();
}

void CSearchTabWin::OnSearch()
{
    CWaitCursor wait;
    HideDropLists();
    DoSearch(BuildQuery());
    FocusFirstField();
}

int CSearchTabWin::ScopeFromControls()
{
    if (m_wndWords.GetCheck())
        return QUERY_SCOPE_WORDS;
    if (m_wndWithin.GetCheck()) {
        const int nRow = m_wndScope.GetSelectedRow();
        if (nRow >= 0 && nRow < 4)
            return QUERY_SCOPE_SENTENCE + nRow;
    }
    return QUERY_SCOPE_SENTENCE;
}

CString CSearchTabWin::BuildQuery()
{
    CString strQuery;
    if (!m_bWordMode) {
        strQuery = m_wndTopic.GetEditText();
        strQuery.TrimLeft();
        strQuery.TrimRight();
        if (!strQuery.IsEmpty())
            RememberTopic(strQuery);
        return strQuery;
    }
    m_nPreviousScope = m_nScope;
    m_nScope = ScopeFromControls();
    SetDefaultScope(m_nScope);
    const CString strWord1 = Trimmed(m_wndWord1);
    if (strWord1.IsEmpty())
        return strQuery;
    // The distance counts only within so many words: its leading digits, 1 to 255.
    CString strDistance;
    if (m_nScope == QUERY_SCOPE_WORDS) {
        const CString strTyped = Trimmed(m_wndDistance);
        int nDistance = 0;
        for (int i = 0; i < strTyped.GetLength() && strTyped[i] >= '0' && strTyped[i] <= '9' && nDistance < 1000; ++i)
            nDistance = nDistance * 10 + (strTyped[i] - '0');
        if (nDistance > 0)
            strDistance.Format("%d", std::min(nDistance, 255));
    }
    strQuery = strWord1;
    const CString strWord2 = Trimmed(m_wndWord2);
    if (!strWord2.IsEmpty())
        strQuery += " " + m_wndOperator1.GetShownText() + strDistance + " " + strWord2;
    const CString strWord3 = Trimmed(m_wndWord3);
    if (!strWord3.IsEmpty())
        strQuery += " " + m_wndOperator2.GetShownText() + strDistance + " " + strWord3;
    return strQuery;
}

CPoint CSearchTabWin::PopupPoint()
{
    CRect pane, list;
    GetWindowRect(&pane);
    m_wndResults.GetWindowRect(&list);
    const int nHalf = list.Width() / 2;
    CPoint point;
    point.x = pane.right - list.left > nHalf ? list.left + nHalf : pane.right + 7;
    point.y = pane.top + TABWIN_CAPTION_HEIGHT + 2 * ::GetSystemMetrics(SM_CYBORDER);
    return point;
}

void CSearchTabWin::DoSearch(CString strQuery)
{
    if (m_bModeSwitch) {
        strQuery = m_strCarried;
        if (strQuery.FindOneOf("*?#") >= 0) {
            // A wildcard query would ask for its words again: the new mode starts empty.
            GetModeResults(m_bWordMode)->DeleteAll();
            m_wndResults.AddResults(NULL);
            return;
        }
    }
    if (strQuery.IsEmpty())
        return;
    // No engine (the disc's indexes never opened): nothing can be searched.
    if (m_pEngine == NULL)
        m_pEngine = GetAppSearchEngine();
    if (m_pEngine == NULL)
        return;

    CReferenceList* pModeResults = GetModeResults(m_bWordMode);
    pModeResults->DeleteAll();
    // The list box's rows borrow what it holds, not the mode's list: it may keep showing.
    {
        CPoint point = PopupPoint();
        m_wndResults.ScreenToClient(&point);
        CRect rectPopup(point, CSize(1, 1));
        CSpellCheckDlg spell(rectPopup, &m_wndResults);
        spell.CheckQuery(strQuery);
    }
    SetWildcardDialogAnchor(&m_wndResults);
    try {
        m_pEngine->Search(strQuery, pModeResults, !m_bWordMode);
    } catch (CException* e) {
        // Abandoned after its own message (the disc was not found, for one).
        e->Delete();
        SetWildcardDialogAnchor(NULL);
        return;
    }
    SetWildcardDialogAnchor(NULL);
    (m_bWordMode ? m_strWordQuery : m_strTopicQuery) = strQuery;

    auto* pShown = new CReferenceList;
    if (m_bWordMode && m_bFilterShown) {
        pModeResults->CloneKindWithHeadingsInto(pShown, m_nKindMask);
    } else {
        pModeResults->CloneInto(pShown);
    }
    // A query that the engine turned down (a syntax error, a word list cancelled) was told
    // already: no second box about its empty result.
    const BOOL bTold = pModeResults->GetCount() == 0 && (KeywordSearchAborted() || KeywordPrepassCancelled());
    if (bTold) {
        m_wndResults.AddResults(pShown);
        return;
    }
    ShowResults(pShown);
    OpenFirstArticle();
}

void CSearchTabWin::ShowResults(CReferenceList* pList)
{
    m_wndResults.AddResults(pList);
    if (pList == NULL || pList->GetCount() > 0)
        return;
    const CPoint point = PopupPoint();
    CPopupMessageBox box(m_bWordMode ? SEARCH_MSG_NO_MATCHES : SEARCH_MSG_NO_TOPICS,
                         m_bWordMode ? SEARCH_TITLE_WORD : SEARCH_TITLE_TOPIC, &point);
    box.RunTabDialog();
}

void CSearchTabWin::OpenFirstArticle()
{
    CReference* pReference = m_wndResults.SelectFirstArticle();
    if (pReference == NULL || pReference->GetNumber() == 0 || pReference->GetKind() != REFKIND_ARTICLE)
        return;
    CReference* pClone = pReference->Clone();
    if (pClone == NULL)
        return;
    m_wndResults.UpdateWindow();
    CWnd* pFrame = GetTopLevelParent();
    if (pFrame == NULL || !pFrame->PostMessage(VLM_OPEN_FOUND_ITEM, IDW_ARTICLE, reinterpret_cast<LPARAM>(pClone)))
        delete pClone;
}

void CSearchTabWin::OpenResult(CReference* pReference)
{
    if (pReference == NULL || pReference->GetNumber() == 0)
        return;
    CWnd* pFrame = GetTopLevelParent();
    if (pFrame == NULL)
        return;
    CReference* pClone = pReference->Clone();
    if (pClone == NULL)
        return;
    if (pClone->GetKind() & REFKIND_MAP) {
        if (!pFrame->PostMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(pClone)))
            delete pClone;
        return;
    }
    if (pClone->GetKind() & REFKIND_ARTICLE) {
        if (!pFrame->PostMessage(VLM_OPEN_FOUND_ITEM, IDW_ARTICLE, reinterpret_cast<LPARAM>(pClone)))
            delete pClone;
        return;
    }
    // Media open in the media view, with the mode's results as the viewer's list.
    CMediaDisplayRef* pDisplay = NULL;
    try {
        pDisplay = new CMediaDisplayRef(pClone, GetModeResults(m_bWordMode), 0);
    } catch (CException* e) {
        e->Delete();
        pDisplay = NULL;
    }
    delete pClone;
    if (pDisplay != NULL && !pFrame->PostMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(pDisplay)))
        delete pDisplay;
}

LRESULT CSearchTabWin::OnResultChosen(WPARAM, LPARAM lParam)
{
    OpenResult(reinterpret_cast<CReference*>(lParam));
    return 1;
}

LRESULT CSearchTabWin::OnPrintResults(WPARAM, LPARAM)
{
    m_wndResults.Print(GetLastQuery(m_bWordMode), m_bWordMode ? VLRL_WORD_SEARCH : VLRL_TOPIC_SEARCH);
    return 0;
}

LRESULT CSearchTabWin::OnHasResults(WPARAM, LPARAM)
{
    CReferenceList* pResults = m_wndResults.GetResults();
    return pResults != NULL && pResults->GetCount() > 0;
}

// ---- handing over a text, modes ----

void CSearchTabWin::SearchFor(CString* pText)
{
    if (pText == NULL)
        return;
    CWnd* pMain = GetAppMainWnd();
    if (!IsWindowVisible() && pMain != NULL)
        pMain->SendMessage(WM_COMMAND, ID_SHOW_SEARCH);
    if (pMain != NULL) {
        pMain->PostMessage(VLM_PANE_DOWN, 0, 2);
        pMain->PostMessage(VLM_PANE_UP, 0, 1);
    }
    if (m_bWordMode) {
        m_wndWord1.SetFocus();
        m_wndWord1.SetWindowText(*pText);
    } else {
        m_wndTopic.GetEdit().SetWindowText(*pText);
        m_wndTopic.SetEditSel(0, -1);
    }
    delete pText;
    OnSearch();
    if (!IsWindowVisible())
        ShowWindow(SW_SHOW);
}

void CSearchTabWin::SetMode(CString* pText, int nMode)
{
    const BOOL bWordMode = nMode != 0;
    if (bWordMode != m_bWordMode) {
        m_bWordMode = bWordMode;
        if (!m_bWordMode) {
            m_wndWord2.SetWindowText("");
            m_wndWord3.SetWindowText("");
        }
        SetWindowText(m_bWordMode ? SEARCH_CAPTION_WORD : SEARCH_CAPTION_TOPIC);
        LayOut();
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    SearchFor(pText);
}

void CSearchTabWin::OnModeButton()
{
    SwitchMode();
}

void CSearchTabWin::SwitchMode()
{
    m_bModeSwitch = TRUE;
    m_bWordMode = !m_bWordMode;
    // The other mode's last query, cut at its first operator, goes with the reader.
    m_strCarried = GetLastQuery(!m_bWordMode);
    TrimQueryAtOperator(m_strCarried);
    if (m_bWordMode) {
        SetWindowText(SEARCH_CAPTION_WORD);
    } else {
        m_wndWord2.SetWindowText("");
        m_wndWord3.SetWindowText("");
        SetWindowText(SEARCH_CAPTION_TOPIC);
    }
    LayOut();
    if (!m_strCarried.IsEmpty()) {
        if (m_bWordMode)
            m_wndWord1.SetWindowText(m_strCarried);
        else
            m_wndTopic.GetEdit().SetWindowText(m_strCarried);
    }
    FocusFirstField();
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    if (!m_strCarried.IsEmpty())
        OnSearch();
    m_bModeSwitch = FALSE;
}

// ---- scope ----

void CSearchTabWin::CheckScopeRadio(BOOL bWords)
{
    m_wndWords.SetCheck(bWords ? 1 : 0);
    m_wndWithin.SetCheck(bWords ? 0 : 1);
    m_wndWords.Invalidate();
    m_wndWithin.Invalidate();
}

void CSearchTabWin::OnScopeCommand(UINT nID)
{
    // 102 sentence, 103 paragraph, 104 article, 105 sub-heading: that row "find within"; 106
    // within so many words.
    int nRow = -1;
    switch (nID) {
    case IDC_SEARCH_SCOPE_SENTENCE: nRow = 0; break;
    case IDC_SEARCH_SCOPE_PARAGRAPH: nRow = 1; break;
    case IDC_SEARCH_SCOPE_SUBHEADING: nRow = 2; break;
    case IDC_SEARCH_SCOPE_ARTICLE: nRow = 3; break;
    default: break;
    }
    if (nRow >= 0) {
        m_wndScope.ShowItemText(nRow);
        CheckScopeRadio(FALSE);
        m_nScope = QUERY_SCOPE_SENTENCE + nRow;
    } else {
        CheckScopeRadio(TRUE);
        m_nScope = QUERY_SCOPE_WORDS;
    }
    m_wndScope.Invalidate();
}

void CSearchTabWin::OnWithinRadio()
{
    CheckScopeRadio(FALSE);
}

void CSearchTabWin::OnScopeListClicked(NMHDR*, LRESULT* pResult)
{
    CheckScopeRadio(FALSE);
    m_wndOperator1.HideDropList();
    m_wndOperator2.HideDropList();
    *pResult = 0;
}

void CSearchTabWin::OnOperatorListClicked(NMHDR* pNotify, LRESULT* pResult)
{
    // One drop list at a time.
    if (pNotify->idFrom != IDC_SEARCH_OPERATOR1)
        m_wndOperator1.HideDropList();
    if (pNotify->idFrom != IDC_SEARCH_OPERATOR2)
        m_wndOperator2.HideDropList();
    m_wndScope.HideDropList();
    *pResult = 0;
}

// ---- kind filter ----

UINT CSearchTabWin::FilterFlag(int nBox)
{
    return nBox >= 0 && nBox < SEARCH_FILTER_COUNT ? kFilterBoxes[nBox].nFlag : 0;
}

LONG CSearchTabWin::FilterKinds(int nBox)
{
    return nBox >= 0 && nBox < SEARCH_FILTER_COUNT ? kFilterBoxes[nBox].nKinds : 0;
}

LONG CSearchTabWin::KindMaskOf(UINT nFlags)
{
    LONG nMask = 0;
    for (const FilterBox& box : kFilterBoxes)
        if (box.nFlag != 0 && (nFlags & box.nFlag) != 0)
            nMask |= box.nKinds;
    return nMask;
}

void CSearchTabWin::UpdateFilterBoxes()
{
    for (int i = 0; i < SEARCH_FILTER_COUNT; ++i) {
        if (m_apFilter[i] == NULL)
            continue;
        m_apFilter[i]->SetCheck((m_nFilterFlags & kFilterBoxes[i].nFlag) != 0);
        m_apFilter[i]->Invalidate();
    }
}

void CSearchTabWin::SetFilterShown(BOOL bShown)
{
    if (bShown == m_bFilterShown)
        return;
    m_bFilterShown = bShown;
    InvalidateRect(&m_rectFilterCaption);
}

void CSearchTabWin::OnFilterBox(UINT nID)
{
    const int nBox = static_cast<int>(nID) - IDC_SEARCH_FILTER_FIRST;
    if (nBox < 0 || nBox >= SEARCH_FILTER_COUNT || m_apFilter[nBox] == NULL)
        return;
    UINT nFlags = 0;
    for (int i = 0; i < SEARCH_FILTER_COUNT; ++i)
        if (m_apFilter[i] != NULL && m_apFilter[i]->GetCheck())
            nFlags |= kFilterBoxes[i].nFlag;
    if (nFlags == 0 || nBox == 0) {
        // Nothing checked, or "ALL" pressed: every kind again.
        if (nFlags == 0)
            m_apFilter[0]->SetFocus();
        nFlags = SEARCH_FILTER_ALL;
    } else {
        nFlags &= ~static_cast<UINT>(SEARCH_FILTER_ALL);
    }
    m_nFilterFlags = nFlags;
    UpdateFilterBoxes();
    m_nKindMask = KindMaskOf(nFlags);
    SetFilterShown(m_nKindMask != SEARCH_ALL_KINDS);
}
