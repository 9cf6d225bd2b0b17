// The movie library's client interface on this platform: starting and ending the library, the
// association of a native window with a graphics port, and the translation of native window
// messages into the library's event records.
//
// The client interface is linked into the program; it loads the movie library itself
// ("QuickTime.qts", found like any code library: the program's folder first) when it starts and
// forwards every call to it. Until InitializeQTML has succeeded every call fails
// (qtmlUninitialized) or does nothing.
#pragma once

#include "QTMLTypes.h"

// Loads and starts the movie library; noErr on success (flags: 0).
OSErr InitializeQTML(long flags);
// Ends the movie library and unloads it.
void TerminateQTML();

// Associates the native window with a new port; the port (NULL on failure).
GrafPtr CreatePortAssociation(void* nativeWindow, Ptr storage, long flags);
// Ends the association (stopping what plays in the port).
void DestroyPortAssociation(CGrafPtr port);
// The port associated with the native window; NULL when it has none.
GrafPtr GetNativeWindowPort(void* nativeWindow);
// Makes the port the current one: movies opened from now on show in it.
void SetGWorld(CGrafPtr port, GDHandle device);

// Converts a zero-ended string in place to a length-prefixed one (at most 255 characters).
StringPtr c2pstr(char* text);

// Makes an event record from a native message (a MSG).
void WinEventToMacEvent(void* nativeMessage, EventRecord* event);
