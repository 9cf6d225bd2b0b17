// CCloud: the online manager, the one object through which the program reaches the update
// server. The application object makes it at start-up, calls Initialize and deletes it first at
// exit; the other parts reach it through GetAppCloud.
//
// It owns the connection engine (CPortix), knows whether the reader is online and tells the
// registered windows when that changes, guards the download folder and binds the message-centre
// library "bulletin.dll" at run time.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

class CPortix;

class CCloud : public CObject {
    DECLARE_DYNAMIC(CCloud)
public:
    // Connection states: unknown, off line, on line, on line and downloading.
    enum { stateUnknown = 0, stateOffline = 1, stateOnline = 2, stateDownloading = 3 };
    // Initialize's results.
    enum { initReady = 1, initUnavailable = 2 };
    // DeleteDownloads' choices.
    enum { deleteThisSession = 1, deleteAll = 2 };

    // Thrown inside Initialize when online services cannot be made ready (code 2).
    class CInitializeException : public CException {
        DECLARE_DYNAMIC(CInitializeException)
    public:
        explicit CInitializeException(int nCode = initUnavailable) : m_nCode(nCode) {}
        int m_nCode;
    };

    CCloud();
    // At program end a connection this program made is offered to be ended.
    ~CCloud() override;
    CCloud(const CCloud&) = delete;
    CCloud& operator=(const CCloud&) = delete;

    // Reads the [Online] settings and makes the connection engine ready: 1 when online services
    // are ready, 2 when not (each failure told to the reader, a disabled service silently).
    // Ends with RefreshState.
    int Initialize();
    // Runs the engine's connection configuration again (not while a connection of ours is up).
    void Reconfigure();
    // Connects, offering the provider's configuration when it has none. Every give-up throws the
    // user exception after its message.
    void Connect();
    // Ends a connection this program made.
    void Disconnect();

    // [Online] "Disable" (default 0).
    BOOL IsDisabled() const;
    // Switching online services on and off is not offered by this product: both raise the
    // class library's not-supported exception, which the caller reports.
    void Enable();
    void Disable();
    // The connection engine exists.
    BOOL HasConnection() const { return m_pEngine != NULL; }
    CPortix* GetEngine() const { return m_pEngine; }
    BOOL IsOnline();
    BOOL IsDownloading() const { return m_nState == stateDownloading; }
    // Set by the server requests while one is in flight; the state follows at the next refresh.
    void SetDownloading(BOOL bDownloading) { m_bDownloading = bDownloading; }
    // Recomputes the state; broadcasts it when it changed. Returns it.
    int RefreshState();
    // Asks the engine: without engine or configuration the user's provider counts as not
    // connected and the state is off line.
    int GetConnectionState();
    // Stores the state; when it changed, posts "VLWM:CCloud:StateChange" (new state, 0) to every
    // registered window that still exists.
    void SetState(int nState);
    // Registers a window for the state-change message; returns the current state.
    int RegisterWindow(CWnd* pWnd);
    int GetState() const { return m_nState; }
    // The no-connection flag of the last state query (1: the user's provider is not connected).
    BOOL GetIspNotConnected() const { return m_bIspNotConnected; }
    // Set while Connect or Disconnect runs (both show boxes and pump messages).
    BOOL IsConnectBusy() const { return m_bConnectBusy; }
    BOOL IsDisconnectBusy() const { return m_bDisconnectBusy; }

    // The updates file was fetched since the program started (cleared by a provider change).
    BOOL HaveUpdatesBeenFetched() const { return m_bUpdatesFetched; }
    void SetUpdatesFetched(BOOL bFetched) { m_bUpdatesFetched = bFetched; }
    // The last updates request said that the message centre has news.
    BOOL HasMessagesWaiting() const { return m_bMessagesWaiting; }
    void SetMessagesWaiting(BOOL bWaiting) { m_bMessagesWaiting = bWaiting; }
    // Names (relative to the download folder) of the files downloaded since the program started.
    CStringArray& GetDownloadedFiles() { return m_downloadedFiles; }

    // The Delete Downloaded Files dialog and the deletion it asks for.
    void DeleteDownloads();
    // Removes downloaded files from the download folder: this session's (deleteThisSession) or
    // every file of the download names (deleteAll); nothing when the folder may not be used.
    void DeleteDownloadedFiles(int nChoice);
    // The online configuration dialog; on OK a changed download folder is prepared and taken.
    void RunConfigurationDialog();
    // The path, without a trailing backslash, exists and is a folder.
    static BOOL IsDownloadDirValid(CString strPath);
    // The folder may hold downloaded files: it exists and is neither a drive root, the user's
    // home folder, the system folder nor the program folder (pattern deletions run in it).
    static BOOL IsDownloadDirUsable(CString strPath);
    // Makes the program folder + "download\" the download folder, creating it when missing.
    BOOL PrepareDownloadDir();

    // The message centre (library "bulletin.dll" of the program folder).
    void RunMessageCenter();
    void ShowMessageCenter();
    int ParseMessageUpdates();
    // The server's address for objects: [Online] "Site" + [Online] "Get_Object". A missing
    // entry is told and throws the user exception.
    CString GetObjectUrl();

    // The one live instance (NULL when none).
    static CCloud* GetInstance();
    // The registered state-change message.
    static UINT StateChangeMessage();

private:
    // Initialize's steps; a failure throws CInitializeException.
    void InitializeEngine();
    // Ends the program's connection at exit when the reader agrees.
    void OfferDisconnectAtExit();
    // Loads the message-centre library and finds an export; NULL (and the library freed) when
    // either fails, with the missing-export text told.
    FARPROC BindMessageCenter(LPCSTR lpszExport, LPCSTR lpszMissingText, HMODULE& hLibrary);
    // Copies every file of the old folder to the new one; FALSE after the first failure told.
    BOOL CopyDownloadFolder(const CString& strOld, const CString& strNew);

    int m_bDownloading = 0;
    CPortix* m_pEngine = NULL;
    BOOL m_bUpdatesFetched = FALSE;
    BOOL m_bNotOurs = FALSE;
    BOOL m_bIspNotConnected = FALSE;
    BOOL m_bIspManaged = FALSE;
    BOOL m_bConnected = FALSE;
    BOOL m_bLastRequestEnded = FALSE;
    BOOL m_bMessagesWaiting = FALSE;
    BOOL m_bConfigured = FALSE;
    CPtrArray m_windows;  // window handles
    CStringArray m_downloadedFiles;
    int m_nState = stateUnknown;
    BOOL m_bConnectBusy = FALSE;
    BOOL m_bDisconnectBusy = FALSE;
};
