#include "media/AudioPlayer.h"

#include "base/AppServices.h"

#include <afxwin.h>

#include <cstring>

namespace {

const char kWaveType[] = "WAVE";
const DWORD kPreloaded[] = {9026, 9027, 9028, 9029, 9030};

DWORD ReadDword(const BYTE* p)
{
    return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
}

// Played from memory, a sound carries no size but its RIFF header's: the resource must begin
// "RIFF", length, "WAVE", with all that the length claims inside the resource.
BOOL IsWholeWave(const void* pData, DWORD nSize)
{
    const BYTE* p = static_cast<const BYTE*>(pData);
    if (p == NULL || nSize < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
        return FALSE;
    return static_cast<ULONGLONG>(ReadDword(p + 4)) + 8 <= nSize;
}

}  // namespace

CAudioPlayer::CAudioPlayer()
{
    for (DWORD nId : kPreloaded)
        FindOrLoad(nId);
}

CAudioPlayer::~CAudioPlayer()
{
    Stop();
    for (SOUND_ENTRY& entry : m_entries) {
        if (entry.hResource != NULL)
            ::FreeResource(entry.hResource);
        entry = SOUND_ENTRY();
    }
}

int CAudioPlayer::GetLoadedCount() const
{
    int n = 0;
    while (n < maxSounds && m_entries[n].hResource != NULL)
        ++n;
    return n;
}

CAudioPlayer::SOUND_ENTRY* CAudioPlayer::FindOrLoad(DWORD nId)
{
    for (SOUND_ENTRY& entry : m_entries) {
        if (entry.hResource == NULL) {
            // The first free entry: the sound is new. The library of the screen class comes
            // first, then the program's own module.
            HMODULE hModule = AppServices().env.hResourceLibrary;
            HRSRC hInfo = hModule != NULL ? ::FindResource(hModule, MAKEINTRESOURCE(nId), kWaveType) : NULL;
            if (hInfo == NULL) {
                hModule = AfxGetInstanceHandle();
                hInfo = ::FindResource(hModule, MAKEINTRESOURCE(nId), kWaveType);
            }
            if (hInfo == NULL)
                return NULL;
            HGLOBAL hResource = ::LoadResource(hModule, hInfo);
            if (hResource == NULL)
                return NULL;
            if (!IsWholeWave(::LockResource(hResource), ::SizeofResource(hModule, hInfo))) {
                ::FreeResource(hResource);
                return NULL;
            }
            entry.hResource = hResource;
            entry.nId = nId;
            entry.pData = NULL;
            return &entry;
        }
        if (entry.nId == nId)
            return &entry;
    }
    // Every entry holds another sound: the new one is refused.
    return NULL;
}

BOOL CAudioPlayer::Play(DWORD nId, DWORD bLoop)
{
    if (m_bPlaying) {
        ::sndPlaySound(NULL, 0);
        if (m_pPlaying != NULL)
            m_pPlaying->pData = NULL;
        m_pPlaying = NULL;
        m_bPlaying = FALSE;
    }
    SOUND_ENTRY* pEntry = FindOrLoad(nId);
    if (pEntry == NULL)
        return FALSE;
    pEntry->pData = ::LockResource(pEntry->hResource);
    if (pEntry->pData == NULL)
        return FALSE;
    UINT nFlags = SND_ASYNC | SND_MEMORY;
    if (bLoop)
        nFlags |= SND_LOOP;
    BOOL bStarted = ::sndPlaySound(static_cast<LPCSTR>(pEntry->pData), nFlags);
    if (bStarted) {
        m_bPlaying = TRUE;
        m_pPlaying = pEntry;
    } else {
        pEntry->pData = NULL;
    }
    return bStarted;
}

BOOL CAudioPlayer::Stop()
{
    if (!m_bPlaying)
        return FALSE;
    BOOL bResult = ::sndPlaySound(NULL, 0);
    if (m_pPlaying != NULL)
        m_pPlaying->pData = NULL;
    m_pPlaying = NULL;
    m_bPlaying = FALSE;
    return bResult;
}

BOOL PlayAppSound(DWORD nSound, DWORD bLoop)
{
    CAudioPlayer* pPlayer = AppServices().owned.pAudioPlayer;
    return pPlayer != NULL ? pPlayer->Play(nSound, bLoop) : FALSE;
}

BOOL StopAppSound(DWORD)
{
    CAudioPlayer* pPlayer = AppServices().owned.pAudioPlayer;
    return pPlayer != NULL ? pPlayer->Stop() : FALSE;
}
