// Sound output of the platform and its record of played sounds. Not part of the platform's
// interface: the presenter and tests use it.
#pragma once

#include <windef.h>

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// The format of a PCM WAVE sound.
struct WaveFormat {
    WORD channels = 0;
    DWORD samplesPerSec = 0;
    WORD bitsPerSample = 0;
    WORD blockAlign = 0;
};

// One call that played a sound.
struct PlayedSound {
    std::string source;   // host path of the file, "memory", "resource:<name or #id>", or the alias
    bool isDefault;       // the default sound, played because the asked one failed (or its alias)
    WaveFormat format;
    std::uint32_t dataBytes;  // bytes of sample data
    std::uint32_t lengthMs;   // length of one pass
    bool async;
    bool loop;
};

// Where sounds go besides the record: nowhere (the default), or the host's audio device through
// SDL (the presenter switches to it when it starts; VL_SOUND=sdl in the environment does so at
// the first sound). If the device cannot be opened, sounds are only recorded.
enum class SoundOutput { RecordOnly, Device };
void SetSoundOutput(SoundOutput output);
SoundOutput GetSoundOutput();

// The sounds played, oldest first (the last 64 are kept), and clearing the record.
std::vector<PlayedSound> PlayedSounds();
void ClearPlayedSounds();
// Whether an asynchronous or looping sound is still playing (by the platform clock, or by the
// device when one plays it).
bool SoundPlaying();

// Parses a RIFF WAVE image: the PCM format and the sample data inside `bytes`. False (with
// nothing set) for data that is not PCM WAVE of 8 or 16 bits, 1 or 2 channels, or that is cut
// short or inconsistent.
bool ParseWave(const BYTE* bytes, std::size_t size, WaveFormat& format, const BYTE*& data,
               std::uint32_t& dataBytes);

} // namespace host
