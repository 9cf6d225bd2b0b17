#include "shell/VLApp.h"

#include "media/AudioPlayer.h"
#include "media/GrfDocument.h"
#include "media/QuickTime.h"
#include "online/Cloud.h"
#include "shell/Toolkit.h"
#include "online/OnlineUpdater.h"
#include "online/PrintSelectWnd.h"
#include "search/DictionarySearchEngine.h"
#include "search/PagingStore.h"
#include "search/SearchEngine.h"
#include "base/AppDatabase.h"
#include "base/AppServices.h"
#include "shell/BaseWindow.h"
#include "base/DataFolders.h"
#include "shell/LicenseAgreementDlg.h"
#include "shell/MainMenu.h"
#include "shell/NewEditionReminderDlg.h"
#include "shell/PreferencesDlg.h"
#include "base/PreferencesStore.h"
#include "base/ReferenceFactory.h"
#include "base/ResourceLibrary.h"
#include "base/StickyRecordSet.h"
#include "base/VLDatabase.h"
#include "base/VLMainWin.h"
#include "base/VLMessages.h"
#include "shell/VeltraApplication.h"
#include "widgets/RollOverButton.h"
#include "media/ThumbnailFactory.h"

#include "resource.h"

#include <afxdisp.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {


// The views that get idle time, in order.
const UINT kIdleViews[] = {IDW_ARTICLE, IDW_TABLE, IDW_MEDIA, IDW_JUSTLOOKING, IDW_ATLAS, IDW_TIMEFRAME, IDW_VLPLUS};

// Ends start-up after the message (when there is one).
[[noreturn]] void EndStartUp(LPCSTR lpszMessage, UINT nType = MB_OK)
{
    if (lpszMessage != NULL)
        AfxMessageBox(lpszMessage, nType);
    AfxThrowUserException();
}

[[noreturn]] void EndStartUp(UINT nIdPrompt, UINT nType)
{
    AfxMessageBox(nIdPrompt, nType);
    AfxThrowUserException();
}

template <class T>
T* Created(T* p)
{
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

CBaseWindow* FrameOf(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return NULL;
    return DYNAMIC_DOWNCAST(CBaseWindow, pWnd);
}

}  // namespace

const char CVLApp::s_szClsidText[] = "{DFFDEBC0-FBE9-11D0-8039-0060B01A74A3}";

CVLApp::CVLApp()
{
    // The CD-ROM drive list, the screen and the empty palettes live in AppServices(), made at
    // first use: here.
    SetAppHost(this);
}

CVLApp::~CVLApp()
{
    if (&GetAppHost() == this)
        SetAppHost(NULL);
}

int CVLApp::RunFirstRunAgreements(CWnd* pParent)
{
    return ::RunFirstRunAgreements(pParent);
}

int CVLApp::RunPreferencesDialog()
{
    CWnd* pMain = AfxGetMainWnd();
    CPreferencesDlg dialog(pMain != NULL && pMain->GetSafeHwnd() != NULL ? pMain : NULL);
    return static_cast<int>(dialog.DoModal());
}

void CVLApp::RefreshOnlineState()
{
    if (CCloud* pCloud = GetAppCloud())
        pCloud->RefreshState();
}

BOOL CVLApp::IsOffline()
{
    CCloud* pCloud = GetAppCloud();
    return pCloud != NULL && pCloud->GetIspNotConnected();
}

// The main frame's Tool Kit panel when it has a window, else NULL.
static CToolkit* FrameToolkit()
{
    if (auto* pFrame = dynamic_cast<CBaseWindow*>(GetAppMainWnd()))
        if (CToolkit* pToolkit = pFrame->GetToolkit())
            if (pToolkit->GetSafeHwnd() != NULL)
                return pToolkit;
    return NULL;
}

void CVLApp::CollapseToolkit()
{
    if (CToolkit* pToolkit = FrameToolkit())
        pToolkit->CollapseToolkit();
}

void CVLApp::EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember)
{
    if (CToolkit* pToolkit = FrameToolkit())
        pToolkit->EnableTools(bPrint, bSticky, bHighlighter, bWizard, bRemember);
}

void CVLApp::SetHighlighterState(BOOL bOn)
{
    if (auto* pFrame = dynamic_cast<CBaseWindow*>(GetAppMainWnd()))
        if (CToolkit* pToolkit = pFrame->GetToolkit())
            if (pToolkit->GetSafeHwnd() != NULL)
                pToolkit->SetHighlighterState(bOn);
}

UINT CVLApp::RunPrintSelection(CWnd*, UINT nDisabled)
{
    CPrintSelectWnd window;
    window.DisableChoices(nDisabled);
    const int nChoice = window.RunTabDialog();
    // A window that could not be made, or a loop ended some other way, prints nothing.
    return nChoice > 0 && nChoice != IDCANCEL ? static_cast<UINT>(nChoice) : 0;
}

int CVLApp::MonthsSinceUpdate()
{
    return COnlineUpdater::GetMonthsSinceUpdate();
}

// ---- start-up ----

BOOL CVLApp::ActivateRunningInstance()
{
    // The frame once the program runs; before that, while start-up waits in its main menu, the
    // menu window (titled "Main Menu " and the application name).
    HWND hWnd = ::FindWindow(NULL, AfxGetAppName());
    if (hWnd == NULL)
        hWnd = ::FindWindow(NULL, MainMenuTitle());
    if (hWnd == NULL)
        return FALSE;
    HWND hPopup = ::GetLastActivePopup(hWnd);
    if (::IsIconic(hWnd))
        ::ShowWindow(hWnd, SW_RESTORE);
    ::SetForegroundWindow(hPopup != NULL ? hPopup : hWnd);
    return TRUE;
}

void CVLApp::CheckDiskSpace()
{
    // The root of the program's drive: the first three characters of its full path. The free
    // bytes are counted in 64 bits, so a large drive never wraps into "cannot run".
    char szPath[MAX_PATH] = {};
    ::GetModuleFileName(NULL, szPath, MAX_PATH);
    CString strRoot = CString(szPath).Left(3);
    ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
    if (!::GetDiskFreeSpaceEx(strRoot, &freeToCaller, &total, &totalFree))
        EndStartUp("Disk access failure.");
    if (freeToCaller.QuadPart < kMinimumFreeBytes)
        EndStartUp("Your system cannot run Veltra. Please delete some \nfiles to free hard disk space and re-start Veltra.");
}

void CVLApp::CheckColours()
{
    HDC hdc = ::GetDC(NULL);
    int nColours = ::GetDeviceCaps(hdc, NUMCOLORS);
    ::ReleaseDC(NULL, hdc);
    // A palette display answers 20, a true-colour display -1.
    if (nColours < 20 && nColours != 0 && nColours != -1)
        EndStartUp("Veltra 2000 requires a minimum of 256 colours.\nPlease change the number of colours setting.");
}

void CVLApp::DeleteStalePagingFiles()
{
    // Earlier runs' paging files lie where the paging store makes them.
    CString strFolder = VmSwapFolder();
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] == '\\')
        strFolder = strFolder.Left(strFolder.GetLength() - 1);
    // With no folder at all: the root of the current drive.
    const CString strFolderPrefix = strFolder + "\\";
    WIN32_FIND_DATA data;
    HANDLE hFind = ::FindFirstFile(strFolderPrefix + "VM*.*", &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            ::DeleteFile(strFolderPrefix + data.cFileName);
    } while (::FindNextFile(hFind, &data));
    ::FindClose(hFind);
}

void CVLApp::RecordFirstUpdate()
{
    if (!GetAppProfileString(VL_PRODUCT_SECTION, "Last Update", NULL).IsEmpty())
        return;
    CString strNow;
    strNow.Format("%lld", static_cast<long long>(CTime::GetCurrentTime().GetTime()));
    WriteAppProfileString(VL_PRODUCT_SECTION, "Last Update", strNow);
}

void CVLApp::EndWaitCursors()
{
    while (m_nWaitCursors > 0) {
        EndWaitCursor();
        --m_nWaitCursors;
    }
}

BOOL CVLApp::InitInstance()
{
    VL_APP_SERVICES& services = AppServices();
    services.ui.bF1Help = TRUE;
    SetAppHost(this);
    if (ActivateRunningInstance())
        return FALSE;

    BOOL bStarted = FALSE;
    try {
        bStarted = RunStartUp();
    } catch (CUserException* e) {
        e->Delete();
        bStarted = FALSE;
        CloseMainMenu(TRUE);
    } catch (CNotSupportedException* e) {
        e->Delete();
        bStarted = FALSE;
        CloseMainMenu(TRUE);
    } catch (CMemoryException* e) {
        e->Delete();
        AfxMessageBox("Insufficient memory to run.");
        bStarted = FALSE;
        CloseMainMenu(TRUE);
    } catch (CException* e) {
        e->Delete();
        AfxMessageBox("An unknown or unexpected error occurred during initialization.");
        bStarted = FALSE;
        CloseMainMenu(TRUE);
    }
    EndWaitCursors();
    return bStarted;
}

BOOL CVLApp::RunStartUp()
{
    VL_APP_SERVICES& services = AppServices();
    services.env.strProgramDir = GetProgramDir();

    services.owned.pPreferences = Created(new PreferencesStore);
    CheckDiskSpace();
    CheckColours();
    if (!AfxOleInit())
        EndStartUp("OLE initialization failed.  Make sure that the OLE libraries are the correct version.");
    InstallAppProfilePath();
    if (!LoadAppPalettes())
        EndStartUp(IDS_BAD_PALETTE, MB_ICONEXCLAMATION);
    MeasureAppScreen();
    if (!LoadResourceLibrary())
        EndStartUp("Cannot find appropriate resource .dll for this screen resolution.");
    DeleteStalePagingFiles();
    RecordFirstUpdate();
    if (!LocateFirstDisc())
        EndStartUp("The Veltra CD #1 could not be located.");

    services.owned.pAudioPlayer = Created(new CAudioPlayer);
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    StartQuickTime();
    ShowMainMenu(15, FALSE);

    // The first run: the two agreements, from the program's own resources, over the menu.
    if (GetAppProfileInt("Runtime", "Previous Run", 0) == 0) {
        int nAnswer = IDOK;
        HINSTANCE hResource = AfxGetResourceHandle();
        AfxSetResourceHandle(AfxGetInstanceHandle());
        nAnswer = GetAppHost().RunFirstRunAgreements(MainMenuState().pMenu);
        AfxSetResourceHandle(hResource);
        if (nAnswer != IDOK) {
            DismissSplash(TRUE);
            return FALSE;
        }
    }

    BeginWaitCursor();
    ++m_nWaitCursors;
    CreateServices();
    {
        CNewEditionReminderDlg reminder(MainMenuState().pMenu);
        reminder.CheckAndShow();
    }
    if (CMainMenuWnd* pMenu = MainMenuState().pMenu)
        pMenu->SendMessage(WM_VL_MAINMENU_SERVICESUP);
    WriteAppProfileString("Runtime", "Previous Run", "1");

    CVLDatabase* pDatabase = Created(new CVLDatabase);
    SetAppDatabase(pDatabase);
    if (!pDatabase->OpenDatabase())
        EndStartUp(NULL);

    DismissSplash(FALSE);
    EndWaitCursors();

    int nChoice = 0;
    LPARAM lChoiceParam = 0;
    while (nChoice == 0) {
        CMainMenuWnd* pMenu = MainMenuState().pMenu;
        if (pMenu == NULL)
            EndStartUp(NULL);  // the menu went away without a choice
        nChoice = pMenu->WaitForChoice(&lChoiceParam);
    }
    if (nChoice == kChoiceExit) {
        CloseMainMenu(TRUE);
        AfxPostQuitMessage(0);
        return FALSE;
    }

    BeginWaitCursor();
    ++m_nWaitCursors;
    CBaseWindow* pFrame = new CBaseWindow;
    m_pMainWnd = pFrame;
    if (!pFrame->CreateMainFrame()) {
        // A frame whose window came and went has deleted itself.
        m_pMainWnd = NULL;
        EndStartUp(NULL);
    }
    RegisterAutomationObject();

    if (m_nCmdShow == SW_SHOWNORMAL && GetAppProfileInt("Screen", "max", 1) != 0)
        pFrame->ShowWindow(SW_SHOWMAXIMIZED);
    else
        pFrame->ShowWindow(m_nCmdShow);

    HandMenuChoiceToFrame(pFrame, nChoice, lChoiceParam);
    EndWaitCursors();
    return TRUE;
}

void CVLApp::CreateServices()
{
    VL_APP_SERVICES& services = AppServices();
    services.owned.pThumbnailFactory = Created(new CThumbnailFactory);
    CSearchEngine* pSearchEngine = Created(new CSearchEngine);
    services.owned.pSearchEngine = pSearchEngine;
    if (!pSearchEngine->Init())
        EndStartUp(IDS_SEARCH_INIT_FAILED, MB_ICONEXCLAMATION);
    services.owned.pReferenceFactory = Created(new CReferenceFactory);
    services.owned.pDictionaryEngine = Created(new CDictionarySearchEngine);
    services.owned.pStickyNotes = Created(new CStickyRecordSet);
    services.owned.pCloud = Created(new CCloud);
    services.owned.pCloud->Initialize();  // start-up goes on whatever it answers
}

void CVLApp::RegisterAutomationObject()
{
    m_pAutomation = new CVeltraApplication;
    CLSID clsid;
    OLECHAR szClsid[sizeof s_szClsidText];
    for (size_t i = 0; i < sizeof s_szClsidText; ++i)
        szClsid[i] = static_cast<OLECHAR>(s_szClsidText[i]);
    if (SUCCEEDED(::CLSIDFromString(szClsid, &clsid)))
        ::RegisterActiveObject(m_pAutomation->GetIDispatch(FALSE), clsid, ACTIVEOBJECT_STRONG, &m_dwRegister);
}

void CVLApp::RevokeAutomationObject()
{
    if (m_pAutomation == NULL)
        return;
    if (m_dwRegister != 0)
        ::RevokeActiveObject(m_dwRegister, NULL);
    m_dwRegister = 0;
    m_pAutomation->GetIDispatch(FALSE)->Release();
    delete m_pAutomation;
    m_pAutomation = NULL;
}

void CVLApp::LaunchSuiteMenu()
{
    if (m_strSuiteMenuCommand.IsEmpty()) {
        AfxMessageBox("The Family Tomeset Menu is not installed on this computer.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    STARTUPINFO si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWDEFAULT;
    PROCESS_INFORMATION pi;
    memset(&pi, 0, sizeof pi);
    // The process may write into the command line it is given: it gets a copy.
    CString strCommand = m_strSuiteMenuCommand;
    BOOL bStarted = ::CreateProcess(NULL, strCommand.GetBuffer(0), NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL,
                                    NULL, &si, &pi);
    DWORD dwError = ::GetLastError();
    strCommand.ReleaseBuffer();
    if (!bStarted) {
        CString strMessage;
        strMessage.Format("Unable to launch Family Tomeset Menu: (%ld).", static_cast<long>(dwError));
        AfxMessageBox(strMessage);
        return;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

// ---- idle and the message filter ----

BOOL CVLApp::OnIdle(LONG)
{
    if (m_nIdlePhase == 0) {
        m_nIdlePhase = 1;
        return TRUE;
    }
    ++m_nIdleCount;
    CBaseWindow* pFrame = FrameOf(m_pMainWnd);
    if (pFrame == NULL)
        return FALSE;
    BOOL bMore = FALSE;
    if (m_nIdlePhase == 1) {
        for (UINT nId : kIdleViews) {
            CVLMainWin* pView = dynamic_cast<CVLMainWin*>(pFrame->GetDlgItem(static_cast<int>(nId)));
            if (pView != NULL)
                bMore |= pView->OnIdle(m_nIdleCount);
        }
        if (!bMore && AppServices().owned.pThumbnailFactory != NULL)
            bMore = AppServices().owned.pThumbnailFactory->ReleaseRecordSets();
        if (!bMore)
            m_nIdlePhase = 2;
    } else {
        bMore = pFrame->OnIdle(m_nIdleCount);
        if (!bMore)
            m_nIdlePhase = 1;
    }
    // The temporary objects the framework made for handles go with each idle pass.
    CWinApp::OnIdle(1);
    return bMore;
}

BOOL CVLApp::PreTranslateMessage(MSG* pMsg)
{
    if (MainMenuPreTranslate(pMsg))
        return FALSE;
    if (CRollOverButton::CheckHoverExit(pMsg))
        return FALSE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && (pMsg->lParam & (1L << 30)) == 0) {
        if (AppServices().ui.bF1Help) {
            if (m_pMainWnd != NULL && m_pMainWnd->GetSafeHwnd() != NULL)
                m_pMainWnd->PostMessage(WM_COMMANDHELP, 0, 0);
            return FALSE;
        }
        // Help is off: the key is swallowed, with its key-up, and nothing else.
        m_bSwallowF1KeyUp = TRUE;
        return TRUE;
    }
    if (m_bSwallowF1KeyUp && pMsg->message == WM_KEYUP && pMsg->wParam == VK_F1) {
        m_bSwallowF1KeyUp = FALSE;
        return TRUE;
    }
    return CWinApp::PreTranslateMessage(pMsg);
}

// ---- exit ----

int CVLApp::ExitInstance()
{
    // What is still queued is handled first (bounded, so that a handler that keeps posting
    // cannot hold the exit up).
    MSG msg;
    for (int n = 0; n < 100000 && ::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE); ++n) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }

    VL_APP_SERVICES& services = AppServices();
    delete services.owned.pCloud;
    services.owned.pCloud = NULL;
    delete services.owned.pThumbnailFactory;
    services.owned.pThumbnailFactory = NULL;
    delete services.owned.pSearchEngine;
    services.owned.pSearchEngine = NULL;
    delete services.owned.pReferenceFactory;
    services.owned.pReferenceFactory = NULL;
    if (services.owned.pDictionaryEngine != NULL) {
        if (services.owned.pDictionaryEngine->IsIndexOpen())
            services.owned.pDictionaryEngine->Close();
        delete services.owned.pDictionaryEngine;
        services.owned.pDictionaryEngine = NULL;
    }
    delete services.owned.pAudioPlayer;
    services.owned.pAudioPlayer = NULL;
    delete services.owned.pStickyNotes;
    services.owned.pStickyNotes = NULL;
    delete SetAppDatabase(NULL);
    delete services.owned.pPreferences;
    services.owned.pPreferences = NULL;

    StopQuickTime();
    // The picture documents' shared data archive.
    CGrfDocument::CloseArchive();
    WriteAppProfileString("CLEAN UP", "NormalExit", "Y");
    RestoreFrameworkProfileName();
    RevokeAutomationObject();
    FreeResourceLibrary();
    return CWinApp::ExitInstance();
}
