// Status sentences of the connection family.
#include "online/ConnectionStatusText.h"

#include <portix/Status.h>

namespace {

struct StatusText {
    int nCode;
    const char* pszText;
};

const StatusText s_statusTexts[] = {
    {PTX_NOT_CONFIGURED, "Portix is not configured."},
    {PTX_NOT_INITIALIZED, "Portix is not initialized"},
    {PTX_FILE_ERROR, "A file error occurred."},
    {PTX_REMOTE_ERROR, "A remote error has occurred."},
    {PTX_MEMORY_ERROR, "A memory error has occurred."},
    {PTX_SERVER_ERROR, "A server error has occurred."},
    {PTX_UNKNOWN_ERROR, "An unknown error has occurred."},
    {PTX_SUCCESS, "The operation was completed successfully."},
    {PTX_CONFIG_CHANGED, "The configuration has been changed."},
    {PTX_CONFIG_UNCHANGED, "The configuration has not been changed"},
    {PTX_LIBRARY_NOT_NAMED, "A required DLL is not defined."},
    {PTX_LIBRARY_NOT_LOADED, "A required DLL could not be loaded."},
    {PTX_NO_REQUEST_ENTRY, "Could not load RequestUrl()'s entry point from a DLL."},
    {PTX_NO_CONNECT_ENTRY, "Could not load dlrConnect()'s entry point from a DLL."},
    {PTX_NO_DISCONNECT_ENTRY, "Could not load dlrDisconnect()'s entry point from a DLL."},
    {PTX_NO_ISCONNECTED_ENTRY, "Could not load dlrIsConnected()'s entry point from a DLL."},
    {PTX_NO_ISP_INITIALIZE, "Could not load ispInitialize()'s entry point from a DLL."},
    {PTX_SUPPORT_NOT_INITIALIZED, "The support DLL did not initialize."},
    {PTX_NO_LAUNCHBROWSER_ENTRY, "Could not load dlrLaunchBrowser()'s entry point from a DLL."},
    {PTX_NO_SETUPWINSOCK_ENTRY, "Could not load dlrSetupWinsock()'s entry point from a DLL."},
    {PTX_NO_HOSTAVAILABLE_ENTRY, "Could not load ispIsHostAvailable()'s entry point from a DLL."},
    {PTX_NO_CANCEL_ENTRY, "Could not load ispCancel()'s entry point from a DLL."},
    {PTX_PROVIDER_CONNECTED, "The user's ISP is connected."},
    {PTX_PROVIDER_NOT_CONNECTED, "The user's ISP is not connected."},
    {PTX_ESTABLISHED, "The connection is established."},
    {PTX_NOT_ESTABLISHED, "The connection is not established."},
    {PTX_ALWAYS_ESTABLISHED, "The connection is always established."},
    {PTX_NOT_SUPPORTED, "The operation is not supported."},
    {PTX_DEST_FILE_ERROR, "A destination file error has occurred."},
    {PTX_FILE_NOT_FOUND, "The specified file was not found."},
    {PTX_PATH_NOT_FOUND, "The specified path was not found."},
    {PTX_INVALID_EXECUTABLE, "The specified executable was invalid."},
    {PTX_URL_PARSE_ERROR, "An Internet URL parse error has occurred."},
    {PTX_URL_UNSUPPORTED_SERVICE, "A URL requested an unsupported service"},
    {PTX_URL_UNKNOWN_SERVICE, "A URL requested an unknown service"},
    {PTX_XFER_PENDING, "The URL transfer is pending."},
    {PTX_XFER_REQUESTING_ATTACHMENT, "The URL transfer is requesting attachment."},
    {PTX_XFER_ATTACHMENT_RECEIVED, "The URL transfer attachment has been received."},
    {PTX_XFER_BEGUN, "The URL transfer has begun."},
    {PTX_XFER_IN_PROCESS, "The URL transfer is in process."},
    {PTX_XFER_ENDED, "The URL transfer has ended."},
    {PTX_XFER_CANCELLED, "The URL transfer has been cancelled."},
    {PTX_UNKNOWN_ERROR_2, "An unknown error has occurred."},
    {PTX_SOCKETS_FAILED, "Winsock has failed to load."},
    {PTX_HOST_CONNECTION_LOST, "The connection to host has been lost."},
    {PTX_NO_VALID_HEADER, "The host has broken connection without a valid HTTP response header."},
    {PTX_REMOTE_OK, "The remote operation was successful."},
    {PTX_REMOTE_FAILURE, "General failure occurred with remote connection."},
    {PTX_NO_ROUTE, "No route to host."},
    {PTX_REMOTE_RESET, "Remote connection was reset."},
    {PTX_ABORTED_LOCALLY, "Transfer aborted by local system."},
    {PTX_NO_RESOURCES, "Not enough resources for remote connection."},
    {PTX_REMOTE_CLOSED, "Remote connection was closed."},
    {PTX_NO_ACCESS, "Remote connection has no access."},
    {PTX_HOST_NOT_FOUND, "Remote connection to host was not found."},
    {PTX_HOST_NAME_REQUIRED, "A Hostname is required"},
};

const char s_szUnknownStatus[] = "An unknown or undocumented error has occurred.";

const char s_szProgramFilesError[] =
    "An error occurred attempting to load the Veltra Online program files. Files may have been corrupted. "
    "Please re-configure and try again. If the problem persists, you may need to re-install Veltra.";
const char s_szConfigFilesError[] =
    "An error occurred attempting to load the Veltra Online configuration files. Please re-configure and try again.";
const char s_szSiteError[] =
    "An error occurred requesting information from the Veltra Online site. Please try again. If the problem "
    "persists, you may need to re-install Veltra.";
const char s_szNoProvider[] =
    "You have not configured Veltra online connection by selecting an Internet Service Provider.";

}  // namespace

const char g_szProviderCannotConnect[] =
    "The Internet Service Provider that you are configured for cannot be connected to from within Veltra.  "
    "To connect you must use software provided by your Internet Service Provider.";
const char g_szProviderNotConnected[] =
    "Your Internet Service Provider is not connected. To connect, exit Veltra and start your Internet Service "
    "Provider. Open Veltra, and retry this operation.";
const char g_szProviderCannotDisconnect[] =
    "The Internet Service Provider that you are configured for cannot be disconnected by Veltra.  "
    "To disconnect you must use software provided by your Internet Service Provider.";
const char g_szProviderInitFailed[] =
    "A problem has occurred initializing your Internet service provider.  Online services will be disabled "
    "until Windows is restarted.";
const char g_szTransferInterrupted[] =
    "The file transfer process has been interrupted.  Your Internet service provider may be experiencing "
    "network problems.  To attempt to download again, click \"Retry\".  Downloading may be more successful "
    "during off-peak hours.  If this problem persists, you may want to contact your Internet service "
    "provider.  (16498)";

CString GetConnectionStatusText(int nCode)
{
    for (const StatusText& entry : s_statusTexts)
        if (entry.nCode == nCode)
            return CString(entry.pszText);
    return CString(s_szUnknownStatus);
}

CString GetOnlineErrorText(int nCode)
{
    switch (nCode) {
    case PTX_LIBRARY_NOT_LOADED:
    case PTX_NO_REQUEST_ENTRY:
    case PTX_NO_ISP_INITIALIZE:
    case PTX_SUPPORT_NOT_INITIALIZED:
        return CString(s_szProgramFilesError);
    case PTX_LIBRARY_NOT_NAMED:
        return CString(s_szConfigFilesError);
    case 1:
        return CString(s_szSiteError);
    case PTX_NOT_CONFIGURED:
        return CString(s_szNoProvider);
    default:
        return GetConnectionStatusText(nCode);
    }
}
