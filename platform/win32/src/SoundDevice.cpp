// The audio device through SDL: a callback copies the current sound, converted once to the
// device format, and wraps around for a looping sound.
#include "SoundDevice.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace host::sound_device {

namespace {

struct Device {
    std::mutex mutex; // guards opening
    SDL_AudioDeviceID id = 0;
    SDL_AudioSpec spec{};
    bool failed = false;
    // Read by the callback under SDL's device lock.
    std::vector<Uint8> samples;
    std::size_t position = 0;
    std::atomic<bool> loop{false};
    std::atomic<bool> playing{false};
};

Device& TheDevice()
{
    static Device* device = new Device; // the callback thread may outlive static destructors
    return *device;
}

void Callback(void* user, Uint8* stream, int length)
{
    auto& device = *static_cast<Device*>(user);
    std::size_t want = static_cast<std::size_t>(length), done = 0;
    while (done < want && device.playing) {
        std::size_t left = device.samples.size() - device.position;
        std::size_t n = std::min(left, want - done);
        std::memcpy(stream + done, device.samples.data() + device.position, n);
        done += n;
        device.position += n;
        if (device.position >= device.samples.size()) {
            if (device.loop && !device.samples.empty())
                device.position = 0;
            else
                device.playing = false;
        }
    }
    std::memset(stream + done, device.spec.silence, want - done);
}

bool Open(Device& device)
{
    std::lock_guard lock(device.mutex);
    if (device.id)
        return true;
    if (device.failed)
        return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        device.failed = true;
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = Callback;
    want.userdata = &device;
    device.id = SDL_OpenAudioDevice(nullptr, 0, &want, &device.spec, 0);
    if (!device.id) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device.failed = true;
        return false;
    }
    SDL_PauseAudioDevice(device.id, 0);
    return true;
}

} // namespace

bool Start(const WaveFormat& format, const BYTE* data, std::uint32_t bytes, bool loop)
{
    Device& device = TheDevice();
    if (!Open(device))
        return false;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB, Uint8(format.channels),
                          int(format.samplesPerSec), device.spec.format, device.spec.channels, device.spec.freq) < 0)
        return false;
    std::vector<Uint8> converted(std::size_t(bytes) * std::max(cvt.len_mult, 1));
    std::memcpy(converted.data(), data, bytes);
    cvt.len = int(bytes);
    cvt.buf = converted.data();
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0)
        return false;
    converted.resize(cvt.needed ? std::size_t(cvt.len_cvt) : bytes);
    SDL_LockAudioDevice(device.id);
    device.samples = std::move(converted);
    device.position = 0;
    device.loop = loop;
    device.playing = !device.samples.empty();
    SDL_UnlockAudioDevice(device.id);
    return true;
}

void Stop()
{
    Device& device = TheDevice();
    if (!device.id)
        return;
    SDL_LockAudioDevice(device.id);
    device.playing = false;
    device.loop = false;
    SDL_UnlockAudioDevice(device.id);
}

bool Playing()
{
    return TheDevice().playing;
}

void WaitUntilDone()
{
    Device& device = TheDevice();
    while (device.playing && !device.loop)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace host::sound_device
