// The host's audio device (SDL audio), opened at the first sound sent to it. One sound plays at
// a time, converted to the device's format.
#pragma once

#include <host/Sound.h>

namespace host::sound_device {

// Starts playing (stopping what played). False if the device cannot be opened or the format
// not converted; nothing plays then.
bool Start(const WaveFormat& format, const BYTE* data, std::uint32_t bytes, bool loop);
void Stop();
bool Playing();
// Returns when the current sound has played to its end (or was stopped).
void WaitUntilDone();

} // namespace host::sound_device
