#include "media/QTWin.h"

#include "base/VLMessages.h"
#include "media/QuickTime.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CQTWin, CWnd)

namespace {

// The number in the last ten characters of a path ("...AM000061.mov" gives 61).
long FileNumber(const CString& strPath)
{
    CString strTail = strPath.GetLength() > 10 ? strPath.Right(10) : strPath;
    const char* p = strTail;
    while (*p != '\0' && (*p < '0' || *p > '9'))
        ++p;
    return std::strtol(p, NULL, 10);
}

void PostToMain(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(VLM_STOP_OFF, wParam, lParam);
}

}  // namespace

CQTWin::CQTWin() = default;

CQTWin::~CQTWin()
{
    delete m_pOwned;
    // Also when the window went with its parent already: the movie and controller are given
    // back either way.
    Destroy();
}

BOOL CQTWin::Create(CWnd* pParent, const RECT& rect, DWORD dwStyle, const char* pszPath, BOOL bPanorama)
{
    m_bPanorama = bPanorama;
    if (QuickTimeReadyFlag() != 2)
        return FALSE;
    if (!CWnd::Create(NULL, "QT", dwStyle, rect, pParent, 0))
        return FALSE;
    CreatePortAssociation(m_hWnd, NULL, 0);
    if (!LoadMovie(pszPath, &rect)) {
        ShowWindow(SW_HIDE);
        UpdateWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CQTWin::CreateDefault()
{
    if (QuickTimeReadyFlag() != 2)
        return FALSE;
    if (!CWnd::Create(NULL, "QT", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, m_rcCreate, m_pCreateParent, 0))
        return FALSE;
    CreatePortAssociation(m_hWnd, NULL, 0);
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

BOOL CQTWin::LoadMovie(const char* pszPath, const RECT* pRect)
{
    m_strPath = pszPath != NULL ? pszPath : "";
    // The path as a length-prefixed name: at most 255 characters and the length byte.
    char szName[257];
    std::strncpy(szName, m_strPath, 255);
    szName[255] = '\0';
    c2pstr(szName);
    FSSpec spec;
    if (FSMakeFSSpec(0, 0, reinterpret_cast<ConstStr255Param>(szName), &spec) != noErr)
        return FALSE;

    if (GrafPtr port = GetNativeWindowPort(m_hWnd))
        SetGWorld(port, NULL);

    short nFileRef = 0;
    if (OpenMovieFile(&spec, &nFileRef, fsRdPerm) != noErr)
        return FALSE;
    m_nFileRef = nFileRef;
    Movie hMovie = NULL;
    OSErr nNew = NewMovieFromFile(&hMovie, m_nFileRef, NULL, NULL, 0, NULL);
    OSErr nClose = CloseMovieFile(m_nFileRef);
    if (nNew != noErr || nClose != noErr) {
        if (hMovie != NULL)
            DisposeMovie(hMovie);
        return FALSE;
    }

    Rect box;
    GetMovieBox(hMovie, &box);
    if (GetMoviesError() != noErr) {
        DisposeMovie(hMovie);
        return FALSE;
    }
    // A movie loaded again replaces the one before; its controller stays with the old movie,
    // so both go and the new movie gets a controller of its own.
    if (m_hController != NULL) {
        DisposeMovieController(m_hController);
        m_hController = NULL;
    }
    if (m_hMovie != NULL)
        DisposeMovie(m_hMovie);
    m_hMovie = hMovie;
    m_rcMovie.SetRect(box.left, box.top, box.right, box.bottom);

    CRect rcController = pRect != NULL ? CRect(*pRect) : m_rcMovie;
    rcController.OffsetRect(-rcController.left, -rcController.top);
    Rect controllerBox = {static_cast<short>(rcController.top), static_cast<short>(rcController.left),
                          static_cast<short>(rcController.bottom), static_cast<short>(rcController.right)};
    if (m_hController == NULL)
        m_hController = NewMovieController(m_hMovie, &controllerBox, mcTopLeftMovie | mcScaleMovieToFit);
    if (m_hController == NULL)
        return FALSE;

    MCDoAction(m_hController, mcActionPlay, reinterpret_cast<void*>(0));

    // The window palette serves movies; of the panoramas only the four made for it.
    const long nFile = FileNumber(m_strPath);
    BOOL bUsePalette = !m_bAudio && m_bPaletteAllowed && (!m_bPanorama || (nFile >= 61 && nFile <= 64));
    if (bUsePalette) {
        long nFlags = 0;
        MCDoAction(m_hController, mcActionGetFlags, &nFlags);
        nFlags |= mcFlagsUseWindowPalette;
        MCDoAction(m_hController, mcActionSetFlags, reinterpret_cast<void*>(nFlags));
    }

    m_rcMovie.SetRectEmpty();
    Rect grow = {0, 0, 0, 0};
    MCDoAction(m_hController, mcActionSetGrowBoxBounds, &grow);
    Rect bounds;
    MCGetControllerBoundsRect(m_hController, &bounds);
    m_rcMovie.SetRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
    ::AdjustWindowRect(&m_rcMovie, WS_CHILD | WS_CLIPSIBLINGS, FALSE);
    m_rcMovie.OffsetRect(-m_rcMovie.left, -m_rcMovie.top);
    SetWindowPos(&wndTop, 0, 0, m_rcMovie.Width(), m_rcMovie.Height(), SWP_NOMOVE);

    SetMovieActive(m_hMovie, 1);
    return TRUE;
}

void CQTWin::Play()
{
    if (m_bPanorama || QuickTimeReadyFlag() != 2 || m_hController == NULL)
        return;
    MCDoAction(m_hController, mcActionPlay, reinterpret_cast<void*>(0x10000));
}

void CQTWin::Stop()
{
    if (m_bPanorama || QuickTimeReadyFlag() != 2)
        return;
    if (m_hController != NULL)
        MCDoAction(m_hController, mcActionPlay, reinterpret_cast<void*>(0));
}

void CQTWin::Reload()
{
    if (QuickTimeReadyFlag() == 2)
        LoadMovie(m_strPath, NULL);
}

void CQTWin::Close()
{
    if (m_hController == NULL)
        return;
    Stop();
    DisposeMovieController(m_hController);
    DisposeMovie(m_hMovie);
    m_hController = NULL;
    m_hMovie = NULL;
}

void CQTWin::Destroy()
{
    if (m_hController != NULL) {
        DisposeMovieController(m_hController);
        DisposeMovie(m_hMovie);
        m_hController = NULL;
        m_hMovie = NULL;
    }
    if (m_hWnd == NULL)
        return;
    DestroyPortAssociation(GetNativeWindowPort(m_hWnd));
    DestroyWindow();
}

LRESULT CQTWin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    ::GetCursorPos(&msg.pt);
    EventRecord event;
    WinEventToMacEvent(&msg, &event);
    if (m_hController != NULL) {
        if (MCIsPlayerEvent(m_hController, &event) != 0)
            return DefWindowProc(message, wParam, lParam);
        long nInfo = 0;
        MCGetControllerInfo(m_hController, &nInfo);
        if ((nInfo & mcInfoIsPlaying) != 0 && !m_bPlayingReported) {
            m_bPlayingReported = TRUE;
            PostToMain(0, 1);
        } else if ((nInfo & mcInfoIsPlaying) == 0 && m_bPlayingReported) {
            m_bPlayingReported = FALSE;
            PostToMain(0, 0);
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
