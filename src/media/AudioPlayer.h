// The application's player of short interface sounds: WAVE resources of the screen-class
// resource library (or, failing that, of the program), played one at a time through the
// system's simple sound call. The application object owns the one player; every part of the
// program reaches it through PlayAppSound and StopAppSound.
#pragma once

#include <afx.h>

class CAudioPlayer : public CObject {
public:
    enum { maxSounds = 100 };

    // An empty table with nothing playing, then the interface sounds 9026 to 9030 preloaded.
    CAudioPlayer();
    // Frees every loaded sound (a sound still playing is stopped first).
    ~CAudioPlayer() override;
    CAudioPlayer(const CAudioPlayer&) = delete;
    CAudioPlayer& operator=(const CAudioPlayer&) = delete;

    // Stops the sound playing, finds the sound with that resource id (loading it into the next
    // free entry when it is new) and plays it asynchronously from memory, looping when bLoop.
    // Non-zero when playing started; 0 when the id has no WAVE resource, the resource is not a
    // whole RIFF WAVE image (at least 12 bytes, "RIFF", its length, "WAVE", and no more than
    // the resource holds), or the table is full.
    BOOL Play(DWORD nId, DWORD bLoop);
    // Stops the sound playing: 0 when nothing played, else the stop call's result.
    BOOL Stop();

    BOOL IsPlaying() const { return m_bPlaying; }
    // How many sounds are loaded.
    int GetLoadedCount() const;

private:
    struct SOUND_ENTRY {
        HGLOBAL hResource = NULL;  // NULL: a free entry (and the end of the used part)
        const void* pData = NULL;  // the locked data while it plays
        DWORD nId = 0;
    };
    // The entry holding the id, loading it into the first free entry when it is not there yet;
    // NULL when it cannot be loaded.
    SOUND_ENTRY* FindOrLoad(DWORD nId);

    SOUND_ENTRY m_entries[maxSounds];
    BOOL m_bPlaying = FALSE;
    SOUND_ENTRY* m_pPlaying = NULL;
};

// The application's sound player's Play (sound resource id, loop flag) and Stop; 0 without a player.
BOOL PlayAppSound(DWORD nSound, DWORD bLoop);
BOOL StopAppSound(DWORD nSound);
