#include "online/VLPlusButton.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "online/Cloud.h"
#include "widgets/Dib.h"

namespace {

CVLPlusButton* s_pInstance = NULL;

// A picture from a resource id, or NULL when the resource cannot be made into one; a memory
// exception passes on.
CDib* LoadPicture(UINT nId)
{
    try {
        return new CDib(nId);
    } catch (CMemoryException*) {
        throw;
    } catch (CException* e) {
        e->Delete();
        return NULL;
    }
}

// A frame's size and its place in the button, per screen class.
struct FRAME_PLACE {
    int cx, cy, x, y;
};
const FRAME_PLACE kFramePlaces[3] = {{26, 28, 10, 11}, {29, 31, 8, 14}, {36, 39, 7, 18}};

const UINT s_nStateChange = CCloud::StateChangeMessage();

}  // namespace

IMPLEMENT_DYNAMIC(CVLPlusButton, CRollOverButton)

BEGIN_MESSAGE_MAP(CVLPlusButton, CRollOverButton)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(s_nStateChange, OnStateChange)
END_MESSAGE_MAP()

CVLPlusButton::CVLPlusButton()
{
    s_pInstance = this;
}

CVLPlusButton::~CVLPlusButton()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    FreeDibs();
    if (s_pInstance == this)
        s_pInstance = NULL;
}

CVLPlusButton* CVLPlusButton::GetInstance()
{
    return s_pInstance;
}

void CVLPlusButton::FreeDibs()
{
    delete m_pConnected;
    m_pConnected = NULL;
    delete m_pDownloading;
    m_pDownloading = NULL;
}

BOOL CVLPlusButton::SetBitmaps(UINT nConnectedId, UINT nDownloadingId)
{
    FreeDibs();
    m_pConnected = LoadPicture(nConnectedId);
    m_pDownloading = LoadPicture(nDownloadingId);
    return m_pConnected != NULL && m_pDownloading != NULL;
}

int CVLPlusButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CRollOverButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (CCloud* pCloud = CCloud::GetInstance())
        m_nState = pCloud->RegisterWindow(this);
    m_bTimerRunning = ::SetTimer(m_hWnd, animationTimer, animationPeriod, &CVLPlusButton::AnimationProc) != 0;
    return 0;
}

void CVLPlusButton::OnDestroy()
{
    if (m_bTimerRunning) {
        ::KillTimer(m_hWnd, animationTimer);
        m_bTimerRunning = FALSE;
    }
    CRollOverButton::OnDestroy();
}

LRESULT CVLPlusButton::OnStateChange(WPARAM wParam, LPARAM)
{
    m_nState = static_cast<int>(wParam);
    if (m_nState == CCloud::stateOnline || m_nState == CCloud::stateDownloading)
        m_nFrame = 0;
    Invalidate();
    return 0;
}

void CVLPlusButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    m_bPressed = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    CRollOverButton::DrawItem(lpDrawItemStruct);
}

void CALLBACK CVLPlusButton::AnimationProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_pInstance != NULL && s_pInstance->GetSafeHwnd() != NULL)
        s_pInstance->Tick();
}

void CVLPlusButton::Tick()
{
    const CDib* pStrip = NULL;
    int nFrames = 0;
    int nStep = 1;
    if (m_nState == CCloud::stateOnline) {
        pStrip = m_pConnected;
        nFrames = 3;
        nStep = 5;
    } else if (m_nState == CCloud::stateDownloading) {
        pStrip = m_pDownloading;
        nFrames = 12;
        nStep = 1;
    }
    if (pStrip != NULL && m_nTicks % nStep == 0) {
        int nClass = GetAppScreenClass();
        if (nClass < 0 || nClass > 2)
            nClass = 0;
        const FRAME_PLACE& place = kFramePlaces[nClass];
        int nRow = 0;
        if (m_bPressed)
            nRow = 2;
        else if ((GetState() & BST_PUSHED) != 0 || IsAlternate() || CRollOverButton::GetHoverButton() == this)
            nRow = 1;
        m_lastSource.SetRect(m_nFrame * place.cx, nRow * place.cy, (m_nFrame + 1) * place.cx, (nRow + 1) * place.cy);
        m_lastDestination.SetRect(place.x, place.y, place.x + place.cx, place.y + place.cy);
        CClientDC dc(this);
        CAppPaletteSelector palette(&dc);
        pStrip->DrawRect(&dc, &m_lastDestination, &m_lastSource);
        ++m_nFramesDrawn;
        m_nFrame = (m_nFrame + 1) % nFrames;
    }
    ++m_nTicks;
}
