// CMediaResourceMainWin: the "Browse Media" main view (id 8005, "Main Media Resource Window"). It
// shows one media item at a time (a picture, a movie, an animation, a panorama, a sound, a photo
// bubble or a simulation) in a framed media rectangle with its title above, and hosts the media
// panels: the media list "BROWSE MEDIA", the overlays "OVERLAYS", the caption "CAPTION", the
// instructions "INSTRUCTIONS" and the sliding selector of picture groups. A row of owner-drawn
// buttons along the top switches the panels and acts on the item.
//
// Items arrive only through the frame: a media display reference (CMediaDisplayRef) with
// VLM_POST_TO_WINDOW (or VLM_RESTORE_STATE for a history step), which the view keeps and of which
// it hands the frame's history a copy; a reference with VLM_OPEN_WINDOW, which it displays and
// deletes.
#pragma once

#include "media/MediaSlidingSelector.h"
#include "widgets/PaletteMainWin.h"

class CEmbeddedSimHolder;
class CGrfDocument;
class CGrfPictureWin;
class CGrfQTWin;
class CInstructionWnd;
class CMediaCaptionWin;
class CMediaDisplayRef;
class CMediaListTabWin;
class CMediaOverlayWin;
class CPhotoWin;
class CQTAudioWin;
class CReference;
class CReferenceList;
class CRollOverButton;
class CStickyNoteWnd;

// The view's buttons and panels.
enum : UINT {
    MR_ID_BROWSE = 15000,
    MR_ID_GOTO_ARTICLE = 15001,
    MR_ID_CAPTION = 15002,
    MR_ID_OVERLAY = 15003,
    MR_ID_STICKY_ICON = 15004,
    MR_ID_CAPTION_PANEL = 15006,
    MR_ID_LIST_PANEL = 15007,
    MR_ID_OVERLAY_PANEL = 15008,
    MR_ID_INSTRUCTIONS_PANEL = 15009,
    MR_ID_INSTRUCTIONS = 15010,
    MR_ID_ENLARGE = 15011,
    MR_ID_REDUCE = 15012,
    MR_ID_STICKY_COMMAND = 15013,
};

// What the view shows.
enum MediaDisplayKind { mediaNone, mediaPicture, mediaMovie, mediaSimulation, mediaBubble, mediaSound };

class CMediaResourceMainWin : public CPaletteMainWin, public CMediaGroupChooser {
    DECLARE_DYNAMIC(CMediaResourceMainWin)
public:
    // The per-class layout (screen class 0, 1, 2).
    struct ScreenLayout {
        int labelHeight, buttonHeight, buttonGap, captionHeight, captionWidth, panelWidth, panelHeight, mediaLeft;
        int PanelTop() const { return labelHeight + buttonHeight + buttonGap; }
        int MediaTop() const { return PanelTop() + 4; }
    };
    static const ScreenLayout& LayoutOf(int nScreenClass);
    // A button's rectangle in a screen class (empty when the class has none).
    static CRect ButtonRect(UINT nID, int nScreenClass);

    CMediaResourceMainWin();
    ~CMediaResourceMainWin() override;

    BOOL Create(CWnd* pParent, const RECT& rect);

    // ---- CVLMainWin ----
    void OnFilePrint() override;
    BOOL CanPrint() override;
    void OnEditCopy() override;
    void OnUpdateEditCopy(CCmdUI* pCmdUI) override;
    void OnActivateMainWin(BOOL bActive) override;
    BOOL OnIdle(LONG lCount) override;

    // ---- what others ask ----
    // Stops a movie (1) or ends a playing sound (0).
    int StopMedia();
    // The selector's choice: picture nIndex of the group.
    void ShowGroupItem(int nIndex) override;
    // Displays a reference (the view takes it over); TRUE when shown.
    BOOL DisplayReference(CReference* pReference);
    // The data location of a reference kind (VLM_DATA_LOCATION's high word), -1 for none.
    static int DataKindOf(LONG nKind);

    // ---- parts, for the frame and tests ----
    CGrfDocument* GetDocument() const { return m_pDocument; }
    CMediaDisplayRef* GetDisplayRef() const { return m_pDisplayRef; }
    CGrfPictureWin* GetPictureWin() const { return m_pPictureWin; }
    CGrfQTWin* GetMovieWin() const { return m_pMovieWin; }
    CQTAudioWin* GetSoundWin() const { return m_pSoundWin; }
    CEmbeddedSimHolder* GetSimHolder() const { return m_pSimHolder; }
    CPhotoWin* GetPhotoWin() const { return m_pPhotoWin; }
    CMediaListTabWin* GetListTab() const { return m_pListTab; }
    CMediaOverlayWin* GetOverlayPanel() const { return m_pOverlayPanel; }
    CMediaCaptionWin* GetCaptionPanel() const { return m_pCaptionPanel; }
    CInstructionWnd* GetInstructions() const { return m_pInstructions; }
    CMediaSlidingSelector* GetSelector() const { return m_pSelector; }
    CRollOverButton* GetButton(UINT nID) const;
    // The caption shows: its line under the media, or its panel.
    BOOL IsCaptionShown() const { return m_bCaptionShown; }
    CReferenceList* GetGroupList() const { return m_pGroupList; }
    CReferenceList* GetOverlayList() const { return m_pOverlayList; }
    MediaDisplayKind GetDisplayKind() const { return m_nDisplay; }
    const CRect& GetMediaRect() const { return m_rcMedia; }
    const CString& GetTitle() const { return m_strTitle; }
    const CString& GetSoundPath() const { return m_strSoundPath; }
    int GetTitleTenths() const { return m_nTitleTenths; }
    int GetTitleMode() const { return m_nTitleMode; }
    BOOL IsFirstView() const { return m_bFirstView; }
    BOOL IsListShown() const { return m_bListShown; }
    BOOL IsEnlarged() const { return m_bEnlarged; }
    // Fits a title into the width (the title's fit of Algorithms: point size in tenths and
    // mode 0 one line, 1 one line from x = 10, 2 word-wrapped).
    static int FitTitle(CDC* pDC, const CString& strTitle, const CRect& rcAvailable, int nHeight, int& nMode);

    // The frame closes it on Back and Forward.
    CWnd* m_pPopupWnd = NULL;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMciNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenReference(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTakeDisplayRef(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRestoreState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDataLocation(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDiscPrompt(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStickyCommand(WPARAM wParam, LPARAM lParam);
    afx_msg void OnStickyIcon();
    afx_msg LRESULT OnRefreshTools(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStopMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNothing(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseMovie(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStickyPresent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnBrowseMedia();
    afx_msg void OnGotoArticle();
    // Go to Article is offered: the shown item's record names its article.
    BOOL CanGoToArticle() const;
    afx_msg void OnCaption();
    afx_msg void OnOverlay();
    afx_msg void OnInstructions();
    afx_msg void OnEnlarge();
    afx_msg void OnReduce();
    DECLARE_MESSAGE_MAP()

private:
    LRESULT TakeDisplayRef(WPARAM wParam, CMediaDisplayRef* pState, BOOL bHistory);
    void FirstView();
    void TearDown();
    // Shows another document of the same kind in the picture window (the old one is deleted).
    void ReplaceDocument(CGrfDocument* pDocument);
    // A new document loaded for a clone of the reference; NULL when it cannot be read.
    static CGrfDocument* LoadDocument(CReference* pReference);
    void Layout(int cx, int cy);
    void PlaceButtons();
    void PlacePanelsForHeight(int cy, BOOL bGrew, BOOL bShrank);
    void PlaceMedia(int cx, int cy);
    void FitTitle();
    void HideAllPanels();
    void ShowCaption();
    void ShortenPanelsAboveCaption();
    void TogglePanel(CWnd* pPanel, CRollOverButton* pButton, BOOL& bShown);
    void RefreshTools();
    void RefreshSticky();
    BOOL CreateMovie(BOOL bLarge);
    // Enlarge and Reduce: the movie made again in the large or small rectangle.
    void RemakeMovie(BOOL bLarge);
    void DestroyMovie();
    void PlaySoundPath(const CString& strPath);
    void EndSound();
    void BuildPaletteFromShown();
    // Builds the view's palette from the bubble's colours once the viewer has given them, and
    // again only when they changed. TRUE when the palette was built anew.
    BOOL BuildPaletteFromBubble();
    void PushHistory(CMediaDisplayRef* pState, BOOL bRestored);
    void PaintWelcome(CDC* pDC, const CRect& rect);
    CRect PanelRect() const;
    CRect CaptionRect() const;
    CRect TitleRect() const;
    void SetNoteRect();
    void UpdateCaption();

    int m_nScreenClass = 0;
    CGrfDocument* m_pDocument = NULL;
    CString m_strTitle;
    CString m_strSoundPath;
    CString m_strNote;
    CMediaDisplayRef* m_pDisplayRef = NULL;
    CReferenceList* m_pOverlayList = NULL;
    CReferenceList* m_pGroupList = NULL;
    CSize m_sizeArea{0, 0};
    CInstructionWnd* m_pInstructions = NULL;
    CMediaListTabWin* m_pListTab = NULL;
    CMediaOverlayWin* m_pOverlayPanel = NULL;
    CMediaCaptionWin* m_pCaptionPanel = NULL;
    CGrfPictureWin* m_pPictureWin = NULL;
    CGrfQTWin* m_pMovieWin = NULL;
    CEmbeddedSimHolder* m_pSimHolder = NULL;
    CPhotoWin* m_pPhotoWin = NULL;
    CQTAudioWin* m_pSoundWin = NULL;
    CStickyNoteWnd* m_pStickyWnd = NULL;
    CStatic* m_pStickyIcon = NULL;
    CMediaSlidingSelector* m_pSelector = NULL;
    CRollOverButton* m_pButtons[7] = {};
    CRect m_rcMedia;
    CRect m_rcNote;
    CRect m_rcStickyMarker;
    MediaDisplayKind m_nDisplay = mediaNone;
    BOOL m_bCaptionShown = FALSE;
    BOOL m_bCaptionWanted = TRUE;
    BOOL m_bOverlayShown = FALSE;
    BOOL m_bInstructionsShown = FALSE;
    BOOL m_bListShown = FALSE;
    BOOL m_bFirstView = FALSE;
    BOOL m_bHasStickyNote = FALSE;
    BOOL m_bSoundPlaying = FALSE;
    BOOL m_bEnlarged = FALSE;
    BOOL m_bMoviePaused = FALSE;
    BOOL m_bPrintable = FALSE;
    BOOL m_bButtonsCreated = FALSE;
    BOOL m_bButtonsPlaced = FALSE;
    BOOL m_bMovieStarted = FALSE;
    BOOL m_bPlaySoundOnIdle = FALSE;
    BOOL m_bShownSomething = FALSE;
    int m_nTitleTenths = 0;
    int m_nTitleMode = 0;
    CSize m_sizeLast{-1, -1};
    int m_nRemembered[4] = {0, 0, 0, 0};
    // The bubble colours the view's palette was last built from (none yet: m_bBubbleColours FALSE).
    PALETTEENTRY m_bubbleColours[256] = {};
    BOOL m_bBubbleColours = FALSE;
};
