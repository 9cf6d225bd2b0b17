// Playing WAVE sounds: PlaySound and sndPlaySound. One sound plays at a time; a new one stops
// the one before. The data is RIFF WAVE with PCM samples of 8 or 16 bits, mono or stereo;
// anything else, or damaged data, is refused (FALSE) and plays nothing but the default sound.
//
// Where the sound goes is a matter of the host (host/Sound.h): through the audio device while
// the interactive presenter runs (or VL_SOUND=sdl is set), otherwise nowhere; either way the
// platform keeps a record of what was played for tests. A synchronous sound returns after its
// length has passed on the platform clock (at once on the test clock, which it moves on).
#pragma once

#include <windef.h>

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_PURGE 0x0040
#define SND_APPLICATION 0x0080
#define SND_NOWAIT 0x00002000L
#define SND_ALIAS 0x00010000L
#define SND_ALIAS_ID 0x00110000L
#define SND_FILENAME 0x00020000L
#define SND_RESOURCE 0x00040004L

// pszSound: a file name (SND_FILENAME, or a name that is no system sound alias), a system
// sound alias such as "SystemDefault" (SND_ALIAS), a resource of type "WAVE" in hmod
// (SND_RESOURCE; the name may be MAKEINTRESOURCE), or a WAVE image in memory (SND_MEMORY; it
// is copied, so the caller may free it at once). NULL or SND_PURGE stops the sound playing.
// A sound that cannot be found or read plays the default sound instead, unless SND_NODEFAULT
// is given; then the call fails. SND_LOOP (which implies SND_ASYNC) repeats until stopped;
// SND_NOSTOP fails while another sound plays. Returns TRUE if a sound was played.
BOOL WINAPI PlaySound(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);
// As PlaySound(lpszSound, NULL, fuSound).
BOOL WINAPI sndPlaySound(LPCSTR lpszSound, UINT fuSound);
