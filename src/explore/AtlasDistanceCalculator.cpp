#include "explore/AtlasDistanceCalculator.h"

#include "base/AppServices.h"
#include "base/HitList.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/VLMessages.h"
#include "explore/AtlasDistance.h"
#include "explore/AtlasTreeControl.h"
#include "explore/AtlasVirtualList.h"
#include "media/GrfDocument.h"
#include "widgets/Dib.h"
#include "widgets/DibButton.h"
#include "widgets/PaletteMainWin.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

const COLORREF kGround = 0x02C0C0C0;
const COLORREF kRed = 0x020000FF;
const COLORREF kPlaceColour[2] = {0x0200FF00, 0x02FFFF00};
const char kDefaultLatitude[] = "0.0";
const char kDefaultLongitude[] = "-45.0";
const UINT kAtlasDistanceButton = 11047;

const CRect kEditRect[2] = {CRect(8, 32, 178, 50), CRect(8, 159, 178, 177)};
const CPoint kListAt[2] = {CPoint(6, 50), CPoint(6, 177)};
const CSize kListSize(187, 78);
const CRect kCoordRect[2] = {CRect(6, 59, 141, 79), CRect(6, 186, 141, 206)};
const CRect kMilesRect(6, 288, 73, 303);
const CRect kKilometresRect(100, 288, 160, 303);

struct ButtonDef {
    UINT nId;
    const char* pszText;
    CPoint at;
    CSize size;
};
const ButtonDef kButtons[6] = {
    {IDC_DISTCALC_CLEAR1, "Clear", CPoint(142, 57), CSize(40, 20)},
    {IDC_DISTCALC_CLEAR2, "Clear", CPoint(142, 184), CSize(40, 20)},
    {IDC_DISTCALC_SHOW1, "Show on map", CPoint(38, 102), CSize(100, 20)},
    {IDC_DISTCALC_SHOW2, "Show on map", CPoint(38, 228), CSize(100, 20)},
    {IDC_DISTCALC_LISTBTN1, "v", CPoint(178, 38), CSize(16, 12)},
    {IDC_DISTCALC_LISTBTN2, "v", CPoint(178, 164), CSize(16, 12)},
};

}  // namespace

IMPLEMENT_DYNAMIC(CAtlasDistanceCalculator, CGenericTabWin)

BEGIN_MESSAGE_MAP(CAtlasDistanceCalculator, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_KEYDOWN()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(IDC_DISTCALC_CLEAR1, OnClear1)
    ON_COMMAND(IDC_DISTCALC_CLEAR2, OnClear2)
    ON_COMMAND(IDC_DISTCALC_SHOW1, OnShow1)
    ON_COMMAND(IDC_DISTCALC_SHOW2, OnShow2)
    ON_COMMAND(IDC_DISTCALC_LISTBTN1, OnListButton1)
    ON_COMMAND(IDC_DISTCALC_LISTBTN2, OnListButton2)
    ON_COMMAND(IDC_DISTCALC_CLOSE, OnCloseButton)
    ON_BN_DOUBLECLICKED(IDC_DISTCALC_CLOSE, OnCloseButton)
    ON_CONTROL(LBN_DBLCLK, IDC_DISTCALC_LIST1, OnList1Chosen)
    ON_CONTROL(LBN_DBLCLK, IDC_DISTCALC_LIST2, OnList2Chosen)
    ON_MESSAGE(VLM_DISTCALC_KEY, OnEditKey)
    ON_MESSAGE(VLM_DISTCALC_FOCUS, OnEditFocus)
    ON_MESSAGE(VLM_STOP, OnStopMessage)
END_MESSAGE_MAP()

CAtlasDistanceCalculator::CAtlasDistanceCalculator()
{
    m_pData[0] = new CAtlasDistCalcVirtualList;  // throws when the place files cannot be had
    try {
        m_pData[1] = new CAtlasDistCalcVirtualList;
    } catch (...) {
        delete m_pData[0];
        m_pData[0] = NULL;
        throw;
    }
    m_nTilt = CAtlasDistance::DegreesFromText(kDefaultLatitude);
    m_nTurn = CAtlasDistance::DegreesFromText(kDefaultLongitude);
}

CAtlasDistanceCalculator::~CAtlasDistanceCalculator()
{
    m_bRunning = FALSE;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    for (CButton*& pButton : m_pButtons) {
        delete pButton;
        pButton = NULL;
    }
    for (int i = 0; i < 2; ++i) {
        delete m_pLists[i];  // the windows first: they draw from the data
        m_pLists[i] = NULL;
    }
    for (int i = 0; i < 2; ++i) {
        delete m_pData[i];
        m_pData[i] = NULL;
    }
}

CSize CAtlasDistanceCalculator::PanelSize(int nClass)
{
    static const CSize kSizes[3] = {CSize(440, 340), CSize(550, 436), CSize(596, 480)};
    return kSizes[std::clamp(nClass, 0, 2)];
}

BOOL CAtlasDistanceCalculator::Create(const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CGenericTabWin::Create(NULL, "Distance Calculator", 0, rect, pParentWnd, nID, IDB_DISTCALC_CAPTION);
}

int CAtlasDistanceCalculator::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    for (int i = 0; i < 2; ++i) {
        CAtlasDistCalcEditBox& edit = GetEdit(i + 1);
        if (!edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, kEditRect[i], this,
                         i == 0 ? IDC_DISTCALC_EDIT1 : IDC_DISTCALC_EDIT2)) {
            AfxMessageBox("Unable to create Distance Calculator edit box.", MB_OK | MB_ICONEXCLAMATION);
            return -1;
        }
        edit.LimitText(kMaxLookUp);
    }
    for (int i = 0; i < 6; ++i) {
        m_pButtons[i] = new CButton;
        const ButtonDef& def = kButtons[i];
        if (!m_pButtons[i]->Create(def.pszText, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(def.at, def.size), this,
                                   def.nId)) {
            AfxMessageBox("Unable to create Distance Calculator button.", MB_OK | MB_ICONEXCLAMATION);
            return -1;
        }
    }
    for (int i = 0; i < 2; ++i) {
        m_pLists[i] = new CAtlasTreeControl(m_pData[i]);
        if (!m_pLists[i]->Create(WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL, 0, CRect(kListAt[i], kListSize),
                                 this, i == 0 ? IDC_DISTCALC_LIST1 : IDC_DISTCALC_LIST2)) {
            delete m_pLists[i];
            m_pLists[i] = NULL;
            AfxMessageBox("Unable to create tree control.", MB_OK | MB_ICONEXCLAMATION);
            return -1;
        }
        m_pLists[i]->ShowWindow(SW_HIDE);
    }
    if (auto* pAtlas = dynamic_cast<CPaletteMainWin*>(GetParent()); pAtlas != NULL)
        m_pPalette = pAtlas->GetOwnPalette();
    m_globe.SetPalette(m_pPalette);
    m_globe.LoadMap(IDB_DISTCALC_GLOBE_MAP);
    try {
        m_inset.LoadFromResourceId(IDB_DISTCALC_INSET);
        m_sizeInset = CSize(m_inset.GetWidth() + 1, m_inset.GetHeight());
    } catch (CException* e) {
        e->Delete();  // no inset: the panel works on without it
    }
    m_globe.SetRotation(m_nTilt, m_nTurn);
    // Created hidden: the spinning starts when the atlas shows the panel.
    return 0;
}

// ---- timers ----

BOOL CAtlasDistanceCalculator::IsTimerSet(UINT nTimer) const
{
    return nTimer >= IDT_DISTCALC_RING && nTimer <= IDT_DISTCALC_BLINK && (m_nTimersSet & (1u << (nTimer - IDT_DISTCALC_RING))) != 0;
}

void CAtlasDistanceCalculator::SetPanelTimer(UINT nTimer, UINT nDelay, const char* pszFailure)
{
    if (GetSafeHwnd() == NULL)
        return;
    if (SetTimer(nTimer, nDelay, NULL) == 0) {
        // The panel works on without this timer.
        AfxMessageBox(pszFailure, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_nTimersSet |= 1u << (nTimer - IDT_DISTCALC_RING);
}

void CAtlasDistanceCalculator::KillPanelTimer(UINT nTimer)
{
    if (IsTimerSet(nTimer) && GetSafeHwnd() != NULL)
        KillTimer(nTimer);
    m_nTimersSet &= ~(1u << (nTimer - IDT_DISTCALC_RING));
}

void CAtlasDistanceCalculator::StopSpinning()
{
    m_bSpinning = FALSE;
    KillPanelTimer(IDT_DISTCALC_SPIN);
}

void CAtlasDistanceCalculator::StartSpinning()
{
    if (m_places[0].bMarker || m_places[1].bMarker || IsTimerSet(IDT_DISTCALC_SPIN))
        return;
    m_bSpinning = TRUE;
    SetPanelTimer(IDT_DISTCALC_SPIN, kTimerDelay, "CAtlasDistanceCalculator::OnCreate() failed to SetTimer() ");
}

void CAtlasDistanceCalculator::StopAnimations()
{
    StopSpinning();
    for (UINT nTimer : {IDT_DISTCALC_RING, IDT_DISTCALC_TYPING1, IDT_DISTCALC_TYPING2, IDT_DISTCALC_BLINK})
        KillPanelTimer(nTimer);
    m_bRunning = FALSE;
}

LRESULT CAtlasDistanceCalculator::OnStopMessage(WPARAM, LPARAM)
{
    StopAnimations();
    return 0;
}

void CAtlasDistanceCalculator::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case IDT_DISTCALC_SPIN:
        if (!IsWindowVisible()) {
            StopSpinning();  // a hidden panel runs no timer
            return;
        }
        m_nTurn = CAtlasDistance::WrapLongitude(m_nTurn - kSpinStep);
        RenderGlobe();
        InvalidateRect(&m_rcGlobe, FALSE);
        return;
    case IDT_DISTCALC_TYPING1:
    case IDT_DISTCALC_TYPING2:
        LookUp(nIDEvent == IDT_DISTCALC_TYPING1 ? 1 : 2);
        StopSpinning();
        return;
    case IDT_DISTCALC_RING:
        KillPanelTimer(IDT_DISTCALC_RING);
        PostMessage(WM_MOUSEMOVE, 0, 0);
        return;
    case IDT_DISTCALC_BLINK:
        KillPanelTimer(IDT_DISTCALC_BLINK);
        if (!IsWindowVisible())
            return;
        InvalidateRect(&m_rcGlobe, FALSE);
        return;
    default:
        CGenericTabWin::OnTimer(nIDEvent);
    }
}

// ---- places ----

long CAtlasDistanceCalculator::LookUp(int nPlace)
{
    KillPanelTimer(nPlace == 2 ? IDT_DISTCALC_TYPING2 : IDT_DISTCALC_TYPING1);
    CAtlasDistCalcVirtualList* pData = GetData(nPlace);
    CAtlasTreeControl* pList = GetList(nPlace);
    if (pData == NULL || pList == NULL)
        return 0;
    CString strText;
    GetEdit(nPlace).GetWindowText(strText);
    if (strText.GetLength() > kMaxLookUp)
        strText = strText.Left(kMaxLookUp);
    const long nRow = pData->FindTitle(strText);
    if (nRow > 0)
        pList->ScrollToIndex(nRow);
    return nRow;
}

BOOL CAtlasDistanceCalculator::ChoosePlace(int nPlace)
{
    CAtlasDistCalcVirtualList* pData = GetData(nPlace);
    CAtlasTreeControl* pList = GetList(nPlace);
    if (pData == NULL || pList == NULL)
        return FALSE;
    StopSpinning();
    Place& place = PlaceOf(nPlace);
    place.bMarker = TRUE;
    m_ForLocationNumber = nPlace;
    long nRow = pList->GetCurrentItemData();
    if (nRow < 1)
        nRow = LookUp(nPlace);
    if (nRow < 1 || nRow > pData->GetCount()) {
        place.bMarker = !place.strName.IsEmpty();
        return FALSE;
    }
    CVLVirtualData::VLTREEENTRY entry;
    const long nMap = pData->GetTreeEntry(nRow, entry);
    if (nMap == 0) {
        place.bMarker = !place.strName.IsEmpty();
        return FALSE;
    }
    place.strName = entry.strTitle;
    place.nMap = nMap;
    for (int i = 0; i < 3; ++i)
        place.nHit[i] = entry.nValues[i];
    place.dLatitude = std::atof(entry.strSecond);
    place.dLongitude = std::atof(entry.strThird);
    place.strCoordinates = CAtlasDistance::PlaceText(entry.strSecond, entry.strThird);
    GetEdit(nPlace).SetWindowText(place.strName);
    pList->ShowWindow(SW_HIDE);
    GetEdit(nPlace == 1 ? 2 : 1).SetFocus();
    ComputeDistance();
    TurnGlobe();
    Invalidate(FALSE);
    return TRUE;
}

void CAtlasDistanceCalculator::ComputeDistance()
{
    CString str1, str2;
    m_wndEdit1.GetWindowText(str1);
    m_wndEdit2.GetWindowText(str2);
    m_bBothChosen = !str1.IsEmpty() && !str2.IsEmpty();
    if (m_bBothChosen)
        CAtlasDistance::Compute(m_places[0].dLatitude, m_places[0].dLongitude, m_places[1].dLatitude,
                                m_places[1].dLongitude, m_nMiles, m_nKilometres);
    else
        m_nMiles = m_nKilometres = 0;
    if (GetSafeHwnd() != NULL) {
        InvalidateRect(&kMilesRect, FALSE);
        InvalidateRect(&kKilometresRect, FALSE);
    }
}

CString CAtlasDistanceCalculator::GetMilesText() const
{
    return CAtlasDistance::ResultText(m_nMiles, m_bBothChosen);
}

CString CAtlasDistanceCalculator::GetKilometresText() const
{
    return CAtlasDistance::ResultText(m_nKilometres, m_bBothChosen);
}

void CAtlasDistanceCalculator::ClearPlace(int nPlace)
{
    StopSpinning();
    m_bBothChosen = FALSE;
    Place& place = PlaceOf(nPlace);
    place = Place();
    m_nMiles = m_nKilometres = 0;
    GetEdit(nPlace).SetWindowText("");
    Invalidate(FALSE);
}

BOOL CAtlasDistanceCalculator::ShowPlaceOnMap(int nPlace)
{
    if (GetEdit(nPlace).GetWindowTextLength() == 0)
        return FALSE;
    const Place& place = GetPlace(nPlace);
    if (place.nMap == 0)
        return FALSE;
    auto pHits = std::make_unique<CHitList>();
    pHits->AddHit(CHitPosition(static_cast<UINT>(place.nHit[0]), static_cast<UINT>(place.nHit[1]),
                               static_cast<UINT>(place.nHit[2])));
    std::unique_ptr<CReference> pRef(CreateItemReference(place.nMap, ""));
    if (pRef == NULL)
        return FALSE;
    pRef->SetData(pHits.release());
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL || !pTop->PostMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(pRef.get())))
        return FALSE;
    pRef.release();  // the receiver owns it now
    return TRUE;
}

void CAtlasDistanceCalculator::ToggleList(int nPlace)
{
    m_ForLocationNumber = nPlace;
    CAtlasTreeControl* pList = GetList(nPlace);
    if (pList == NULL)
        return;
    if (pList->IsWindowVisible()) {
        pList->ShowWindow(SW_HIDE);
    } else {
        pList->ShowWindow(SW_SHOW);
        pList->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    Invalidate(FALSE);
}

void CAtlasDistanceCalculator::Restore(const CString& strName1, const CString&, const CString& strName2, const CString&)
{
    const CString* names[2] = {&strName1, &strName2};
    for (int n = 1; n <= 2; ++n) {
        if (names[n - 1]->IsEmpty())
            continue;
        GetEdit(n).SetWindowText(*names[n - 1]);
        LookUp(n);
        ChoosePlace(n);
    }
    if (GetSafeHwnd() != NULL) {
        CRect client;
        GetClientRect(&client);
        m_sizeLast = CSize(0, 0);
        LayOut(client.Width(), client.Height());
        Invalidate(FALSE);
    }
}

void CAtlasDistanceCalculator::Restart()
{
    for (CAtlasDistCalcVirtualList* pData : m_pData)
        if (pData != NULL)
            pData->Reopen();
}

void CAtlasDistanceCalculator::Stop()
{
    for (CAtlasDistCalcVirtualList* pData : m_pData)
        if (pData != NULL)
            pData->Close();
}

// ---- the globe ----

void CAtlasDistanceCalculator::RenderGlobe()
{
    m_globe.SetRotation(m_nTilt, m_nTurn);
    m_globe.Render();
}

void CAtlasDistanceCalculator::TurnGlobe()
{
    const Place& p1 = m_places[0];
    const Place& p2 = m_places[1];
    if (p1.strName == p2.strName) {
        m_nTilt = CAtlasDistance::DegreesFromText(kDefaultLatitude);
        m_nTurn = CAtlasDistance::DegreesFromText(kDefaultLongitude);
    } else if (m_bBothChosen) {
        const int lat1 = static_cast<int>(p1.dLatitude), lat2 = static_cast<int>(p2.dLatitude);
        const int lon1 = static_cast<int>(p1.dLongitude), lon2 = static_cast<int>(p2.dLongitude);
        m_nTilt = (lat1 == lat2) ? lat1 : CAtlasDistance::Middle(lat1, lat2, FALSE).nMiddle;
        if (lon1 == lon2) {
            m_nTurn = lon1;
        } else {
            const CAtlasDistance::Turn turn = CAtlasDistance::Middle(lon1, lon2, TRUE);
            if (!turn.bAcross)
                m_nTurn = turn.nMiddle;
            else  // across the 180th meridian: from the eastern place, further east
                m_nTurn = CAtlasDistance::WrapLongitude(std::max(lon1, lon2) + turn.nCount);
        }
    } else {
        const Place& one = (m_ForLocationNumber == 2) ? p2 : p1;
        m_nTilt = static_cast<int>(one.dLatitude);
        m_nTurn = static_cast<int>(one.dLongitude);
    }
    m_nTilt = std::clamp(m_nTilt, -90, 90);
    RenderGlobe();
    if (GetSafeHwnd() != NULL)
        InvalidateRect(&m_rcGlobe, FALSE);
}

// ---- layout and painting ----

void CAtlasDistanceCalculator::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CGenericTabWin::OnGetMinMaxInfo(lpMMI);
    lpMMI->ptMinTrackSize.x = kMinWidth;
    lpMMI->ptMinTrackSize.y = kMinHeight;
}

void CAtlasDistanceCalculator::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    LayOut(cx, cy);
}

void CAtlasDistanceCalculator::LayOut(int cx, int cy)
{
    if (CSize(cx, cy) == m_sizeLast || cx <= 0 || cy <= 0)
        return;
    m_sizeLast = CSize(cx, cy);
    int d = (cx - 200) * 100 / 130;
    const int dByHeight = cy - 20 - m_sizeInset.cy - d * 15 / 100;
    d = std::clamp(std::min(d, dByHeight), 50, 400);
    m_nRing = d * 15 / 100;
    const int outer = d + 2 * m_nRing;
    m_rcOuter.SetRect(cx - outer, 0, cx, outer);
    m_rcGlobe = m_rcOuter;
    m_rcGlobe.DeflateRect(m_nRing, m_nRing);
    if (m_rcGlobe.Width() % 2 != 0) {
        m_rcGlobe.left -= 1;
        m_rcGlobe.top -= 1;
    }
    // The inset: 20 pixels from the right and bottom, its centre not right of the globe's.
    const int nInsetWidth = m_sizeInset.cx - 1;
    CRect inset(cx - 20 - nInsetWidth, cy - 20 - m_sizeInset.cy, cx - 20, cy - 20);
    const int dx = inset.CenterPoint().x - m_rcGlobe.CenterPoint().x;
    if (dx > 0)
        inset.OffsetRect(-dx, 0);
    m_rcInset = inset;
    CClientDC dc(this);
    CAppPaletteSelector palette(&dc);
    m_globe.CreateViewBitmap(&dc, m_rcGlobe, kGround);
    RenderGlobe();
    Invalidate(FALSE);
}

BOOL CAtlasDistanceCalculator::OnEraseBkgnd(CDC*)
{
    return TRUE;  // the paint covers the whole client
}

void CAtlasDistanceCalculator::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CDC dc;
    dc.CreateCompatibleDC(&paint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, std::max(1, client.Width()), std::max(1, client.Height()));
    CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
    {
        CAppPaletteSelector palette(&dc);
        CBrush ground(kGround);
        dc.FillRect(&client, &ground);
        m_globe.Draw(&dc);
        DrawMarkers(&dc);

        CFont font;
        font.CreatePointFont(110, "Arial", &dc);
        CFont* pOldFont = dc.SelectObject(&font);
        const int nOldMode = dc.SetBkMode(TRANSPARENT);
        const COLORREF crOld = dc.SetTextColor(0x02000000);
        for (int i = 0; i < 2; ++i) {
            if (m_pLists[i] != NULL && m_pLists[i]->IsWindowVisible())
                continue;
            CRect rc = kCoordRect[i];
            dc.DrawText(m_places[i].strCoordinates, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        dc.SetTextColor(kRed);
        CRect rcMiles = kMilesRect, rcKm = kKilometresRect;
        dc.DrawText(GetMilesText(), &rcMiles, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.DrawText(GetKilometresText(), &rcKm, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SetTextColor(0x02000000);
        dc.TextOut(kMilesRect.right + 2, kMilesRect.top, "mi");
        dc.TextOut(kKilometresRect.right + 2, kKilometresRect.top, "km");
        dc.SetTextColor(crOld);
        dc.SetBkMode(nOldMode);
        dc.SelectObject(pOldFont);
        DrawInset(&dc);
    }
    paint.BitBlt(0, 0, client.Width(), client.Height(), &dc, 0, 0, SRCCOPY);
    dc.SelectObject(pOldBitmap);
}

void CAtlasDistanceCalculator::DrawMarkers(CDC* pDC)
{
    BOOL bDrawn = FALSE;
    const CPoint centre = m_rcGlobe.CenterPoint();
    for (int i = 0; i < 2; ++i) {
        const Place& place = m_places[i];
        if (!place.bMarker)
            continue;
        CPoint offset;
        if (!m_globe.LatLongToPoint(static_cast<int>(place.dLatitude), static_cast<int>(place.dLongitude), offset))
            continue;
        bDrawn = TRUE;
        m_bBlinkOn[i] = !m_bBlinkOn[i];
        const CPoint at = centre + offset;
        CRect rc(at.x - 3, at.y - 3, at.x + 3, at.y + 3);
        if (m_bBlinkOn[i]) {
            CBrush brush(kPlaceColour[i]);
            CBrush* pOld = pDC->SelectObject(&brush);
            for (int n = 0; n < 3; ++n) {
                pDC->Ellipse(&rc);
                rc.InflateRect(3, 3);
            }
            pDC->SelectObject(pOld);
        }
        CFont font;
        font.CreatePointFont(110, "Arial", pDC);
        CFont* pOldFont = pDC->SelectObject(&font);
        const CSize size = pDC->GetTextExtent(place.strName);
        CRect label(at.x - size.cx / 2, at.y - 9 - size.cy, at.x - size.cx / 2 + size.cx, at.y - 9);
        if (label.right > m_rcGlobe.right)
            label.OffsetRect(m_rcGlobe.right - label.right, 0);
        if (label.left < m_rcGlobe.left)
            label.OffsetRect(m_rcGlobe.left - label.left, 0);
        if (label.top < m_rcGlobe.top)
            label.OffsetRect(0, size.cy + 18);
        const COLORREF crOldBk = pDC->SetBkColor(kPlaceColour[i]);
        const int nOldMode = pDC->SetBkMode(OPAQUE);
        const COLORREF crOld = pDC->SetTextColor(0x02000000);
        pDC->TextOut(label.left, label.top, place.strName);
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nOldMode);
        pDC->SetBkColor(crOldBk);
        pDC->SelectObject(pOldFont);
    }
    if (bDrawn && !IsTimerSet(IDT_DISTCALC_BLINK) && IsWindowVisible())
        SetPanelTimer(IDT_DISTCALC_BLINK, kBlinkDelay, "CAtlasDistanceCalculator::displayCartographicSym() failed to SetTimer().\n");
}

void CAtlasDistanceCalculator::DrawInset(CDC* pDC)
{
    if (m_inset.IsEmpty())
        return;
    const int w = m_sizeInset.cx - 1, h = m_sizeInset.cy;
    const CRect& rc = m_rcInset;
    const BOOL bRoute = m_bBothChosen && m_nMiles != 0;
    int x1 = CAtlasDistance::InsetX(m_places[0].dLongitude, w), x2 = CAtlasDistance::InsetX(m_places[1].dLongitude, w);
    const int y1 = CAtlasDistance::InsetY(m_places[0].dLatitude, h), y2 = CAtlasDistance::InsetY(m_places[1].dLatitude, h);
    m_nInsetRoll = 0;
    if (!bRoute) {
        m_inset.Draw(pDC, rc.left, rc.top);
    } else {
        const int q = (w + 1) / 4;
        m_nInsetRoll = CAtlasDistance::InsetRoll(x1, x2, w);
        for (int n = 0; n < 4; ++n) {
            const int nStrip = (m_nInsetRoll + n) % 4;
            const CRect dst(rc.left + n * q, rc.top, rc.left + (n + 1) * q, rc.top + h);
            const CRect src(nStrip * q, 0, (nStrip + 1) * q, h);
            m_inset.DrawRect(pDC, &dst, &src);
        }
        x1 = CAtlasDistance::RolledX(x1, m_nInsetRoll, w);
        x2 = CAtlasDistance::RolledX(x2, m_nInsetRoll, w);
        if (!m_bSpinning && (x1 != x2 || y1 != y2)) {
            CPen pen(PS_SOLID, 1, kRed);
            CPen* pOldPen = pDC->SelectObject(&pen);
            pDC->MoveTo(rc.left + x1, rc.top + y1);
            pDC->LineTo(rc.left + x2, rc.top + y2);
            pDC->SelectObject(pOldPen);
        }
    }
}

// ---- input ----

LRESULT CAtlasDistanceCalculator::OnEditKey(WPARAM wParam, LPARAM lParam)
{
    m_ForLocationNumber = (HIWORD(lParam) == 2) ? 2 : 1;
    PostMessage(WM_KEYDOWN, wParam, LOWORD(lParam));
    return 0;
}

LRESULT CAtlasDistanceCalculator::OnEditFocus(WPARAM, LPARAM lParam)
{
    m_ForLocationNumber = (HIWORD(lParam) == 2) ? 2 : 1;
    return 0;
}

void CAtlasDistanceCalculator::OnKeyDown(UINT nChar, UINT, UINT)
{
    const int nPlace = m_ForLocationNumber;
    const UINT nTimer = nPlace == 2 ? IDT_DISTCALC_TYPING2 : IDT_DISTCALC_TYPING1;
    CAtlasTreeControl* pList = GetList(nPlace);
    if (nChar == VK_RETURN) {
        PlaceOf(nPlace).bMarker = TRUE;
        if (pList != NULL)
            pList->ShowWindow(SW_HIDE);
        if (IsTimerSet(nTimer))
            LookUp(nPlace);
        ChoosePlace(nPlace);
        return;
    }
    if (pList != NULL && !pList->IsWindowVisible()) {
        pList->ShowWindow(SW_SHOW);
        pList->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    KillPanelTimer(nTimer);
    SetPanelTimer(nTimer, kTimerDelay, "CAtlasDistanceCalculator::OnKeyDown() failed to SetTimer().\n");
}

void CAtlasDistanceCalculator::OnMouseMove(UINT nFlags, CPoint point)
{
    CGenericTabWin::OnMouseMove(nFlags, point);
    const CPoint centre = m_rcGlobe.CenterPoint();
    const int r = m_rcGlobe.Width() / 2;
    const int dx = point.x - centre.x, dy = point.y - centre.y;
    if (r > 0 && dx * dx + dy * dy <= r * r) {
        StopSpinning();
        const int nEmpty = (m_wndEdit1.GetWindowTextLength() == 0) + (m_wndEdit2.GetWindowTextLength() == 0);
        if (nEmpty == 0)
            return;
        const double dLat = m_globe.PointToLatitude(dx, dy);
        const double dLon = m_globe.PointToLongitude(dx, dy);
        const int nShown = (m_ForLocationNumber == 2) ? 2 : 1;
        PlaceOf(nShown).strCoordinates = CAtlasDistance::PointText(dLat, dLon);
        if (nEmpty == 1) {
            Place& empty = PlaceOf(m_wndEdit1.GetWindowTextLength() == 0 ? 1 : 2);
            empty.dLatitude = dLat;
            empty.dLongitude = dLon;
            CAtlasDistance::Compute(m_places[0].dLatitude, m_places[0].dLongitude, m_places[1].dLatitude,
                                    m_places[1].dLongitude, m_nMiles, m_nKilometres);
        }
        Invalidate(FALSE);
    }
}

// ---- commands ----

void CAtlasDistanceCalculator::OnClear1() { ClearPlace(1); }
void CAtlasDistanceCalculator::OnClear2() { ClearPlace(2); }
void CAtlasDistanceCalculator::OnShow1() { ShowPlaceOnMap(1); }
void CAtlasDistanceCalculator::OnShow2() { ShowPlaceOnMap(2); }
void CAtlasDistanceCalculator::OnListButton1() { ToggleList(1); }
void CAtlasDistanceCalculator::OnListButton2() { ToggleList(2); }
void CAtlasDistanceCalculator::OnList1Chosen() { ChoosePlace(1); }
void CAtlasDistanceCalculator::OnList2Chosen() { ChoosePlace(2); }
void CAtlasDistanceCalculator::OnCloseButton() { OnClose(); }

void CAtlasDistanceCalculator::OnClose()
{
    StopAnimations();
    ShowWindow(SW_HIDE);
    if (CWnd* pAtlas = GetParent(); pAtlas != NULL) {
        pAtlas->Invalidate();
        pAtlas->UpdateWindow();
        pAtlas->SetFocus();
        if (auto* pButton = dynamic_cast<CDibButton*>(
                CWnd::FromHandlePermanent(::GetDlgItem(pAtlas->GetSafeHwnd(), kAtlasDistanceButton))))
            pButton->SetDib(FALSE);
    }
}

void CAtlasDistanceCalculator::OnDestroy()
{
    StopAnimations();
    CGenericTabWin::OnDestroy();
}
