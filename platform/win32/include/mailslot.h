// Mailslots: a one-way channel of messages between processes of the user. One process holds the
// reader (CreateMailslot); others open "\\.\mailslot\<name>" with CreateFile (OPEN_EXISTING) and
// write whole messages with WriteFile; the reader takes them in order with ReadFile and asks
// about them with GetMailslotInfo. A slot lives while its reader's handle is open.
#pragma once

#include <windef.h>

#define MAILSLOT_NO_MESSAGE ((DWORD)-1)
#define MAILSLOT_WAIT_FOREVER ((DWORD)-1)

// Makes the reader of the slot `lpName` ("\\.\mailslot\..."; case does not matter): messages of
// up to nMaxMessageSize bytes (0: any size the slot holds); a read waits lReadTimeout ms for a
// message (MAILSLOT_WAIT_FOREVER: until one comes). INVALID_HANDLE_VALUE with
// ERROR_ALREADY_EXISTS when another reader holds the name, ERROR_INVALID_NAME for a name outside
// "\\.\mailslot\".
HANDLE WINAPI CreateMailslotA(LPCSTR lpName, DWORD nMaxMessageSize, DWORD lReadTimeout, LPSECURITY_ATTRIBUTES);
#define CreateMailslot CreateMailslotA

// The reader's maximum message size, the size of the next message (MAILSLOT_NO_MESSAGE when none),
// the number of messages waiting and the read time-out; any pointer may be null.
BOOL WINAPI GetMailslotInfo(HANDLE hMailslot, LPDWORD lpMaxMessageSize, LPDWORD lpNextSize, LPDWORD lpMessageCount,
                            LPDWORD lpReadTimeout);
