// CQTWin: a child window that shows one movie file with its movie controller; CQTAudioWin (its
// own header) plays a sound file in a hidden window. Every operation first checks that the
// movie library is ready (QuickTimeReadyFlag() == 2): without it nothing is created or played.
#pragma once

#include <afxwin.h>

#include <Movies.h>

class CQTWin : public CWnd {
    DECLARE_DYNAMIC(CQTWin)
public:
    CQTWin();
    ~CQTWin() override;

    // Creates the child window "QT" (style and rectangle as given) and loads the movie at path.
    // 1 on success; 0 when the library is not ready, the window cannot be made or the movie does
    // not load (the window is then hidden).
    BOOL Create(CWnd* pParent, const RECT& rect, DWORD dwStyle, const char* pszPath, BOOL bPanorama);
    // Creates the window in the stored rectangle under the stored parent. 0 when not ready.
    virtual BOOL CreateDefault();
    // Stores the parent and rectangle that CreateDefault uses.
    void SetCreateDefaults(CWnd* pParent, const RECT& rect)
    {
        m_pCreateParent = pParent;
        m_rcCreate = rect;
    }
    // Opens the movie file and makes its controller; pRect, when given, is where it goes.
    // 1 on success, 0 on failure.
    BOOL LoadMovie(const char* pszPath, const RECT* pRect);
    // Starts and stops playback at normal speed (nothing for a panorama or without a controller).
    void Play();
    void Stop();
    // Loads the kept path again.
    void Reload();
    // Stops and frees the movie and its controller.
    void Close();
    // Frees the movie and destroys the window.
    void Destroy();

    const CString& GetPath() const { return m_strPath; }
    BOOL IsPanorama() const { return m_bPanorama; }
    BOOL HasController() const { return m_hController != NULL; }
    Movie GetMovie() const { return m_hMovie; }
    MovieController GetController() const { return m_hController; }
    // The box the movie file gives its movie, then the window's outer rectangle.
    const CRect& GetMovieRect() const { return m_rcMovie; }

protected:
    // Every message first goes to the movie controller as an event; what it does not take
    // reports the playing state to the main window (0x4EF) before the default handling.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CRect m_rcCreate;
    CWnd* m_pCreateParent = NULL;
    BOOL m_bPaletteAllowed = TRUE;
    short m_nFileRef = 0;
    CRect m_rcMovie;
    Movie m_hMovie = NULL;
    CObject* m_pOwned = NULL;
    CString m_strPath;
    MovieController m_hController = NULL;
    BOOL m_bPanorama = FALSE;
    BOOL m_bAudio = FALSE;
    BOOL m_bPlayingReported = FALSE;
};
