#include "explore/TimeMachineWnd.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "explore/TFStateObj.h"
#include "explore/ThumbView.h"
#include "explore/TimeStatWnd.h"
#include "search/SearchEngine.h"
#include "widgets/Dib.h"

#include <algorithm>
#include <memory>

namespace {

// The panel's pictures (plain, pressed, disabled) and where its controls sit on the 152 by 200
// background.
struct ButtonPlace {
    UINT nID;
    RECT rect;
    UINT nNormal, nPressed, nDisabled;
};
const ButtonPlace s_aButtons[] = {
    {TM_ID_MILLENNIUM, {6, 26, 40, 44}, 6970, 6971, 0},
    {TM_ID_CENTURY, {41, 26, 75, 44}, 6972, 6973, 0},
    {TM_ID_DECADE, {76, 26, 110, 44}, 6974, 6975, 0},
    {TM_ID_YEAR, {111, 26, 145, 44}, 6976, 6977, 0},
    {TM_ID_ERA, {6, 48, 40, 66}, 6978, 6979, 0},
    {TM_ID_AD, {76, 48, 110, 66}, 6980, 6981, 6982},
    {TM_ID_BC, {111, 48, 145, 66}, 6983, 6984, 6985},
    {TM_ID_UP, {104, 72, 126, 85}, 6986, 6987, 0},
    {TM_ID_DOWN, {104, 86, 126, 99}, 6988, 6989, 0},
    {TM_ID_CATEGORY_BUTTON, {126, 110, 146, 140}, 6993, 6994, 0},
    {TM_ID_SEARCH, {36, 150, 116, 172}, 6990, 6991, 0},
    {TM_ID_PICTURE, {120, 150, 146, 172}, 6992, 0, 0},
};
const RECT s_rcDate = {30, 72, 100, 99};
const RECT s_rcCategoryFace = {6, 110, 126, 140};
const RECT s_rcEraFace = {6, 110, 146, 140};
// The drop lists hang below the faces, in the parent's coordinates from the panel's corner.
const RECT s_rcCategoryList = {6, 140, 186, 330};
const RECT s_rcEraList = {6, 140, 246, 360};
const CSize s_defaultSize(152, 200);

}  // namespace

IMPLEMENT_DYNAMIC(CTimeMachineWnd, CWnd)

BEGIN_MESSAGE_MAP(CTimeMachineWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

CTimeMachineWnd::CTimeMachineWnd()
    : m_nSpanIndex(2),
      m_pHits(NULL),
      m_bCategoryOpen(FALSE),
      m_bEraOpen(FALSE),
      m_bCategoryChanged(FALSE),
      m_bEraChanged(FALSE),
      m_bAutoRepeat(FALSE),
      m_nRepeatCount(0),
      m_nRepeatDirection(0),
      m_bFromHistory(FALSE),
      m_pThumbView(NULL),
      m_pStatWnd(NULL),
      m_size(s_defaultSize)
{
    // Decade mode, A.D., 0000, all categories, no era, nothing chosen yet.
    m_selection.nSpanMode = TF_MODE_DECADE;
    m_selection.nWildcards = 1;
    m_selection.nAD = 1;
    m_selection.strTitle = TM_START_TITLE;
}

CTimeMachineWnd::~CTimeMachineWnd()
{
    if (m_wndCategoryList.GetSafeHwnd() != NULL)
        m_wndCategoryList.DestroyWindow();
    if (m_wndEraList.GetSafeHwnd() != NULL)
        m_wndEraList.DestroyWindow();
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pHits;
}

BOOL CTimeMachineWnd::Create(LPCSTR lpszName, DWORD dwStyle, CPoint ptAt, CWnd* pParentWnd, UINT nID)
{
    TRY
    {
        CDib background(TM_BACKGROUND_BITMAP);
        m_size = CSize(static_cast<int>(background.GetWidth()), static_cast<int>(background.GetHeight()));
    }
    CATCH_ALL(e)
    {
        m_size = s_defaultSize;
    }
    END_CATCH_ALL
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClass, lpszName, dwStyle, CRect(ptAt, m_size), pParentWnd, nID);
}

void CTimeMachineWnd::SetViews(CThumbView* pThumbView, CTimeStatWnd* pStatWnd)
{
    m_pThumbView = pThumbView;
    m_pStatWnd = pStatWnd;
}

BOOL CTimeMachineWnd::CreateButton(CDibButton& button, UINT nID, const RECT& rect, UINT nNormal, UINT nPressed,
                                   UINT nDisabled)
{
    if (!button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, this, nID))
        return FALSE;
    // The alternate set is the latched look of the mode and era buttons.
    button.LoadStateBitmaps(nNormal, nPressed, 0, nDisabled, nPressed != 0 ? nPressed : nNormal,
                            nPressed, 0, nDisabled);
    return TRUE;
}

CDibButton* CTimeMachineWnd::GetButton(UINT nID)
{
    switch (nID) {
    case TM_ID_SEARCH: return &m_btnSearch;
    case TM_ID_MILLENNIUM: return &m_btnMillennium;
    case TM_ID_CENTURY: return &m_btnCentury;
    case TM_ID_DECADE: return &m_btnDecade;
    case TM_ID_YEAR: return &m_btnYear;
    case TM_ID_ERA: return &m_btnEra;
    case TM_ID_AD: return &m_btnAD;
    case TM_ID_BC: return &m_btnBC;
    case TM_ID_UP: return &m_btnUp;
    case TM_ID_DOWN: return &m_btnDown;
    case TM_ID_PICTURE: return &m_btnPicture;
    case TM_ID_CATEGORY_BUTTON: return &m_btnCategory;
    default: return NULL;
    }
}

int CTimeMachineWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    for (const ButtonPlace& place : s_aButtons)
        if (!CreateButton(*GetButton(place.nID), place.nID, place.rect, place.nNormal, place.nPressed, place.nDisabled))
            return -1;
    // The arrows are pressed and held on the panel itself.
    m_rcUp = s_aButtons[7].rect;
    m_rcDown = s_aButtons[8].rect;
    m_btnUp.SetForwardMouse(TRUE);
    m_btnDown.SetForwardMouse(TRUE);

    if (!m_wndDate.Create(WS_CHILD | WS_VISIBLE | ES_CENTER, s_rcDate, this, TM_ID_DATE))
        return -1;
    m_font.CreatePointFont(85, "Arial");
    m_wndDate.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    m_wndDate.SetLimit(4);

    if (!m_wndCategoryFace.Create(s_rcCategoryFace, this, TM_ID_CATEGORY_FACE) ||
        !m_wndEraFace.Create(s_rcEraFace, this, TM_ID_ERA_FACE))
        return -1;
    m_wndCategoryFace.SetText(TimeFrameCategoryName(0));
    m_wndEraFace.SetText(TM_NO_ERA);
    m_wndEraFace.ShowWindow(SW_HIDE);

    // The drop lists belong to the parent, below the panel; hidden until a face opens them.
    CWnd* pParent = GetParent();
    const CPoint corner(lpCreateStruct->x, lpCreateStruct->y);
    CRect rcCategory(s_rcCategoryList);
    rcCategory.OffsetRect(corner);
    CRect rcEra(s_rcEraList);
    rcEra.OffsetRect(corner);
    const DWORD dwListStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (pParent == NULL || !m_wndCategoryList.Create(dwListStyle, rcCategory, pParent, TM_ID_CATEGORY_LIST) ||
        !m_wndEraList.Create(dwListStyle, rcEra, pParent, TM_ID_ERA_LIST))
        return -1;
    m_wndCategoryList.SetRowFontSize(85);
    m_wndEraList.SetRowFontSize(85);
    for (int i = 0; i < TF_CATEGORY_COUNT; ++i)
        m_wndCategoryList.AddString(TimeFrameCategoryName(i));

    LoadEras();
    FillEraList();

    ShowMode(m_selection.nSpanMode);
    SetEra(m_selection.nAD != 0);
    m_wndDate.SetValue(0);
    NormaliseDigits();
    return 0;
}

void CTimeMachineWnd::LoadEras()
{
    m_eras.Load();
}

void CTimeMachineWnd::FillEraList()
{
    if (m_wndEraList.GetSafeHwnd() == NULL)
        return;
    m_wndEraList.ResetContent();
    m_wndEraList.AddString(TM_NO_ERA);
    for (int i = 1; i <= m_eras.GetEraCount(); ++i)
        m_wndEraList.AddString(m_eras.GetEra(i)->strTitle);
}

// ---- painting ----

BOOL CTimeMachineWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTimeMachineWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    TRY
    {
        CDib background(TM_BACKGROUND_BITMAP);
        background.Draw(&dc, 0, 0);
    }
    CATCH_ALL(e)
    {
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, PALETTERGB(231, 255, 255));
    }
    END_CATCH_ALL
    m_wndCategoryFace.Invalidate(FALSE);
    m_wndEraFace.Invalidate(FALSE);
}

// ---- modes ----

void CTimeMachineWnd::ShowMode(int nMode)
{
    m_selection.nSpanMode = nMode;
    static const UINT s_aModeButtons[] = {TM_ID_YEAR, TM_ID_DECADE, TM_ID_CENTURY, TM_ID_MILLENNIUM, TM_ID_ERA};
    for (int i = 0; i <= TF_MODE_ERA; ++i)
        if (CDibButton* pButton = GetButton(s_aModeButtons[i]); pButton->GetSafeHwnd() != NULL)
            pButton->SetDib(i == nMode);
    if (GetSafeHwnd() == NULL)
        return;
    const BOOL bEra = nMode == TF_MODE_ERA;
    m_wndCategoryFace.ShowWindow(bEra ? SW_HIDE : SW_SHOW);
    m_wndCategoryFace.EnableWindow(!bEra);
    m_btnCategory.ShowWindow(bEra ? SW_HIDE : SW_SHOW);
    m_wndEraFace.ShowWindow(bEra ? SW_SHOW : SW_HIDE);
    m_wndDate.ShowWindow(bEra ? SW_HIDE : SW_SHOW);
    m_btnUp.ShowWindow(bEra ? SW_HIDE : SW_SHOW);
    m_btnDown.ShowWindow(bEra ? SW_HIDE : SW_SHOW);
    m_btnAD.EnableWindow(!bEra);
    m_btnBC.EnableWindow(!bEra);
}

void CTimeMachineWnd::SetSpanMode(int nMode)
{
    CloseDropLists();
    ShowMode(nMode);
    m_nSpanIndex = 3 - nMode;
    m_selection.nWildcards = nMode;
    m_selection.nEraMode = 0;
    m_selection.ZeroBelowSpan();
    NormaliseDigits();
}

void CTimeMachineWnd::SetEraMode()
{
    CloseDropLists();
    ShowMode(TF_MODE_ERA);
    m_selection.nEraMode = 1;
}

void CTimeMachineWnd::SetEra(BOOL bAD)
{
    CloseDropLists();
    if (m_btnAD.GetSafeHwnd() != NULL) {
        m_btnAD.SetDib(bAD);
        m_btnBC.SetDib(!bAD);
    }
    m_selection.nAD = bAD ? 1 : 0;
}

void CTimeMachineWnd::NormaliseDigits()
{
    if (m_wndDate.GetSafeHwnd() == NULL)
        return;
    // The control shows the record's digits, four of them, those below the span cleared.
    CString strText;
    m_wndDate.GetText(strText);
    if (strText.GetLength() < 4) {
        int nValue = 0;
        for (int i = 0; i < strText.GetLength(); ++i)
            if (strText[i] >= '0' && strText[i] <= '9')
                nValue = nValue * 10 + (strText[i] - '0');
        m_wndDate.SetValue(static_cast<UINT>(nValue));
    }
    for (int i = 0; i < m_selection.nWildcards && i < 4; ++i)
        m_wndDate.SetDigit(0, 3 - i);
    for (int i = 0; i < 4; ++i)
        m_selection.nDigits[i] = m_wndDate.GetDigit(i);
}

// ---- arrows ----

void CTimeMachineWnd::StepDigit(int nDirection)
{
    NormaliseDigits();
    if (nDirection > 0)
        m_wndDate.IncrementDigit(m_nSpanIndex);
    else
        m_wndDate.DecrementDigit(m_nSpanIndex);
    for (int i = 0; i < 4; ++i)
        m_selection.nDigits[i] = m_wndDate.GetDigit(i);
}

void CTimeMachineWnd::OnLButtonDown(UINT, CPoint point)
{
    const BOOL bUp = m_rcUp.PtInRect(point);
    const BOOL bDown = m_rcDown.PtInRect(point);
    if (!(bUp || bDown) || m_selection.nSpanMode == TF_MODE_ERA) {
        CloseDropLists();
        return;
    }
    CloseDropLists();
    m_nRepeatDirection = bUp ? 1 : -1;
    m_bAutoRepeat = TRUE;
    m_nRepeatCount = 0;
    SetCapture();
    SetTimer(TM_REPEAT_TIMER, TM_REPEAT_MS, NULL);
    StepDigit(m_nRepeatDirection);
}

void CTimeMachineWnd::StopRepeat()
{
    m_bAutoRepeat = FALSE;
    m_nRepeatCount = 0;
    if (GetCapture() == this)
        ReleaseCapture();
}

void CTimeMachineWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_bAutoRepeat)
        StopRepeat();
}

void CTimeMachineWnd::OnMouseMove(UINT, CPoint point)
{
    if (m_bAutoRepeat && !m_rcUp.PtInRect(point) && !m_rcDown.PtInRect(point))
        StopRepeat();
}

void CTimeMachineWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TM_REPEAT_TIMER)
        return;
    if (!m_bAutoRepeat) {
        KillTimer(TM_REPEAT_TIMER);
        return;
    }
    if (++m_nRepeatCount > TM_REPEAT_DELAY)
        StepDigit(m_nRepeatDirection);
}

// ---- drop lists ----

void CTimeMachineWnd::ToggleCategoryList()
{
    if (m_wndCategoryList.GetSafeHwnd() == NULL)
        return;
    m_bCategoryOpen = !m_bCategoryOpen;
    if (m_bCategoryOpen) {
        m_wndCategoryList.SetCurSel(static_cast<int>(m_selection.nCategory));
        m_wndCategoryList.ShowWindow(SW_SHOW);
        m_wndCategoryList.BringWindowToTop();
    } else {
        m_wndCategoryList.ShowWindow(SW_HIDE);
    }
}

void CTimeMachineWnd::ToggleEraList()
{
    if (m_wndEraList.GetSafeHwnd() == NULL)
        return;
    m_bEraOpen = !m_bEraOpen;
    if (m_bEraOpen) {
        m_wndEraList.SetCurSel(static_cast<int>(m_selection.nEra));
        m_wndEraList.ShowWindow(SW_SHOW);
        m_wndEraList.BringWindowToTop();
    } else {
        m_wndEraList.ShowWindow(SW_HIDE);
    }
}

void CTimeMachineWnd::CloseDropLists()
{
    if (m_wndCategoryList.GetSafeHwnd() != NULL)
        m_wndCategoryList.ShowWindow(SW_HIDE);
    if (m_wndEraList.GetSafeHwnd() != NULL)
        m_wndEraList.ShowWindow(SW_HIDE);
    m_bCategoryOpen = FALSE;
    m_bEraOpen = FALSE;
}

void CTimeMachineWnd::ChooseCategory(int nCategory)
{
    if (m_wndCategoryList.GetSafeHwnd() != NULL)
        m_wndCategoryList.ShowWindow(SW_HIDE);
    m_bCategoryOpen = FALSE;
    if (nCategory < 0 || nCategory >= TF_CATEGORY_COUNT)
        return;
    m_bCategoryChanged = nCategory != m_selection.nCategory;
    if (m_bCategoryChanged) {
        m_selection.nCategory = nCategory;
        m_wndCategoryFace.SetText(TimeFrameCategoryShortName(nCategory));
    }
}

CString CTimeMachineWnd::EraFaceText() const
{
    return m_selection.nEra == 0 ? CString(TM_NO_ERA) : m_eras.GetTwoLineTitle(static_cast<int>(m_selection.nEra));
}

void CTimeMachineWnd::ChooseEra(int nEra)
{
    if (m_wndEraList.GetSafeHwnd() != NULL)
        m_wndEraList.ShowWindow(SW_HIDE);
    m_bEraOpen = FALSE;
    if (nEra < 0 || nEra > m_eras.GetEraCount())
        return;
    m_bEraChanged = nEra != m_selection.nEra;
    if (m_bEraChanged) {
        m_selection.nEra = nEra;
        m_wndEraFace.SetText(EraFaceText());
    }
}

// ---- commands ----

BOOL CTimeMachineWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const UINT nCode = HIWORD(wParam);
    switch (nID) {
    case TM_ID_SEARCH:  // the button, or Enter in the year digits (DATECTRL_ENTER)
        if (nCode != BN_CLICKED)
            break;
        Search();
        return TRUE;
    case TM_ID_MILLENNIUM: SetMillennium(); return TRUE;
    case TM_ID_CENTURY: SetCentury(); return TRUE;
    case TM_ID_DECADE: SetDecade(); return TRUE;
    case TM_ID_YEAR: SetYear(); return TRUE;
    case TM_ID_ERA: SetEraMode(); return TRUE;
    case TM_ID_AD: SetAD(); return TRUE;
    case TM_ID_BC: SetBC(); return TRUE;
    case TM_ID_STATUS: RefreshStatus(); return TRUE;
    case TM_ID_CATEGORY_FACE:
    case TM_ID_CATEGORY_BUTTON:
        if (m_bEraOpen)
            ToggleEraList();
        ToggleCategoryList();
        return TRUE;
    case TM_ID_ERA_FACE:
        if (m_bCategoryOpen)
            ToggleCategoryList();
        ToggleEraList();
        return TRUE;
    case TM_ID_CATEGORY_LIST:
        if (nCode == LBN_SELCHANGE)
            ChooseCategory(m_wndCategoryList.GetCurSel());
        return TRUE;
    case TM_ID_ERA_LIST:
        if (nCode == LBN_SELCHANGE)
            ChooseEra(m_wndEraList.GetCurSel());
        return TRUE;
    case TM_ID_PICTURE:
    case TM_ID_UP:
    case TM_ID_DOWN:
        return TRUE;
    default:
        break;
    }
    return CWnd::OnCommand(wParam, lParam);
}

// ---- the selection and the search ----

void CTimeMachineWnd::SyncFaces()
{
    if (GetSafeHwnd() == NULL)
        return;
    m_wndCategoryFace.SetText(TimeFrameCategoryShortName(static_cast<int>(m_selection.nCategory)));
    // An era's title; without one "None Selected", or "No ERAs" when the disc has none.
    const int nEra = static_cast<int>(m_selection.nEra);
    if (m_eras.GetEra(nEra) != NULL)
        m_wndEraFace.SetText(m_eras.GetTwoLineTitle(nEra));
    else
        m_wndEraFace.SetText(m_eras.GetEraCount() == 0 ? TM_NO_ERAS : TM_NO_ERA);
}

void CTimeMachineWnd::SetSelection(const TimeFrameSelection& selection)
{
    m_selection = selection;
    const int nMode = m_selection.nEraMode != 0 ? TF_MODE_ERA
                                                : static_cast<int>(std::clamp<LONG>(m_selection.nWildcards, 0, 3));
    m_nSpanIndex = 3 - std::clamp<int>(static_cast<int>(m_selection.nWildcards), 0, 3);
    if (GetSafeHwnd() != NULL) {
        ShowMode(nMode);
        SetEra(m_selection.nAD != 0);
        m_wndDate.SetValue(static_cast<UINT>(m_selection.GetYear()));
        SyncFaces();
    }
    m_selection.nSpanMode = nMode;
}

void CTimeMachineWnd::ReturnToWelcome()
{
    SetYear();
    if (m_wndDate.GetSafeHwnd() != NULL)
        m_wndDate.SetWindowText("");
    ComeBack();
    SetFocus();
}

BOOL CTimeMachineWnd::ApplyCode(LPCSTR lpszCode, UINT nOrigin)
{
    CString strCode = lpszCode != NULL ? lpszCode : "";
    if (!strCode.IsEmpty()) {
        TimeFrameSelection parsed = m_selection;
        if (!parsed.ReadCode(strCode))
            return FALSE;
        m_bFromHistory = nOrigin == VLM_RESTORE_STATE;
        parsed.nEraMode = 0;
        SetSelection(parsed);
    } else {
        m_bFromHistory = nOrigin == VLM_RESTORE_STATE;
        SetEraMode();
    }
    Search();
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
    return TRUE;
}

BOOL CTimeMachineWnd::RunWordSearch(LPCSTR lpszCode, CReferenceList* pHits)
{
    CSearchEngine* pEngine = GetAppSearchEngine();
    if (pEngine == NULL)
        return FALSE;
    if (!pEngine->IsInitialised() && !pEngine->Init())
        return FALSE;
    pEngine->WordSearch(lpszCode, pHits);
    return TRUE;
}

CReferenceList* CTimeMachineWnd::CollectResults()
{
    auto pShown = std::make_unique<CReferenceList>();
    if (m_selection.nSpanMode == TF_MODE_ERA) {
        if (m_selection.nEra != 0) {
            m_eras.AppendEraItems(static_cast<int>(m_selection.nEra), pShown.get());
            m_selection.strTitle = m_eras.GetEra(static_cast<int>(m_selection.nEra)) != NULL
                                       ? m_eras.GetEra(static_cast<int>(m_selection.nEra))->strTitle
                                       : CString();
        } else {
            m_selection.strTitle = TM_NO_ERA;
        }
        m_selection.strCode.Empty();
        return pShown.release();
    }
    NormaliseDigits();
    m_selection.BuildCode();
    if (m_pHits == NULL || m_selection.strCode != m_strLastQuery) {
        auto pHits = std::make_unique<CReferenceList>();
        BOOL bRan = FALSE;
        try {
            bRan = RunWordSearch(m_selection.strCode, pHits.get());
        } catch (CException* e) {
            // The engine's own failure, told once; the grid stays empty.
            if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
                e->ReportError();
            e->Delete();
            bRan = FALSE;
        }
        delete m_pHits;
        m_pHits = NULL;
        m_strLastQuery.Empty();
        if (!bRan)
            return pShown.release();
        m_pHits = pHits.release();
        m_strLastQuery = m_selection.strCode;
    }
    const LONG nMask = TimeFrameCategoryMask(static_cast<int>(m_selection.nCategory));
    if (nMask == 0)
        m_pHits->CloneInto(pShown.get());
    else
        m_pHits->CloneCategoryInto(pShown.get(), nMask);
    return pShown.release();
}

void CTimeMachineWnd::Search()
{
    CloseDropLists();
    m_selection.nNothingChosen = 0;
    CReferenceList* pShown = NULL;
    {
        CWaitCursor wait;
        if (m_selection.nSpanMode != TF_MODE_ERA) {
            m_selection.strCode.Empty();
            m_selection.strTitle.Empty();
        }
        pShown = CollectResults();
    }
    std::unique_ptr<CReferenceList> shown(pShown);

    // One history state per search; a restore keeps the forward list.
    if (CWnd* pFrame = GetTopLevelParent(); pFrame != NULL && pFrame != this) {
        auto* pState = new CTFStateObj(m_selection);
        if (!pFrame->PostMessage(VLM_PUSH_STATE, m_bFromHistory ? VLM_RESTORE_STATE : 0, reinterpret_cast<LPARAM>(pState)))
            delete pState;
    }
    m_bFromHistory = FALSE;

    if (m_pThumbView != NULL && m_pThumbView->GetSafeHwnd() != NULL) {
        m_pThumbView->SetList(shown.get());
        m_pThumbView->Layout();
        m_pThumbView->Realize(TRUE);
    }
    RefreshStatus();
    // The panel floats over the grid's first cells: it steps aside for the result, and the
    // strip's button brings it back.
    if (m_pThumbView != NULL)
        StepAside();
}

void CTimeMachineWnd::RefreshStatus()
{
    if (m_pStatWnd == NULL || m_pStatWnd->GetSafeHwnd() == NULL)
        return;
    const int nMode = static_cast<int>(m_selection.nSpanMode);
    const BOOL bEra = nMode == TF_MODE_ERA;
    m_pStatWnd->SetField(0, TimeFrameSpanName(nMode));
    m_pStatWnd->SetField(1, bEra && m_selection.nEra != 0 ? m_eras.GetTwoLineTitle(static_cast<int>(m_selection.nEra))
                                                          : m_selection.strTitle);
    m_pStatWnd->SetField(2, TimeFrameCategoryShortName(bEra ? 0 : static_cast<int>(m_selection.nCategory)));
    // The first search after the welcome page brings the strip and its fields back.
    m_pStatWnd->ShowWindow(SW_SHOW);
    m_pStatWnd->ShowFields(TRUE);
    m_pStatWnd->Invalidate(FALSE);
}

void CTimeMachineWnd::StepAside()
{
    if (m_pStatWnd == NULL || m_pStatWnd->GetSafeHwnd() == NULL || GetSafeHwnd() == NULL)
        return;
    CloseDropLists();
    ShowWindow(SW_HIDE);
    m_pStatWnd->GetShowButton().ShowWindow(SW_SHOW);
}

void CTimeMachineWnd::ComeBack()
{
    if (GetSafeHwnd() == NULL)
        return;
    ShowWindow(SW_SHOW);
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_pStatWnd != NULL && m_pStatWnd->GetSafeHwnd() != NULL)
        m_pStatWnd->GetShowButton().ShowWindow(SW_HIDE);
}
