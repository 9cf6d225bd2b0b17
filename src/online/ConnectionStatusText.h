// The sentences the program shows for the connection family's status codes (16385 + n, see
// <portix/Status.h>), and the fixed texts of the online operations that several of them share.
#pragma once

#include <afx.h>

// The sentence for any status code; a code without one gives "An unknown or undocumented error
// has occurred." (16422, whose meaning the caller handles itself, has none; 16391 and 16483
// share one).
CString GetConnectionStatusText(int nCode);

// The sentence for a failed server request: the online-specific ones for a library that could
// not be loaded or started, a configuration that names none, a failed request (1) and no
// provider chosen; every other code gives GetConnectionStatusText's sentence.
CString GetOnlineErrorText(int nCode);

// The provider cannot be connected from within the program.
extern const char g_szProviderCannotConnect[];
// The provider is not connected.
extern const char g_szProviderNotConnected[];
// The provider cannot be disconnected by the program.
extern const char g_szProviderCannotDisconnect[];
// The provider failed to initialise: online services stay off until the system restarts.
extern const char g_szProviderInitFailed[];
// A download was interrupted (offers "Retry").
extern const char g_szTransferInterrupted[];
