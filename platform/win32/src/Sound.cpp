// PlaySound and sndPlaySound: finding the WAVE image, parsing it, the one current sound, the
// record of played sounds, and the hand-over to the audio device (SoundDevice.cpp).
#include "SoundDevice.h"

#include <host/Clock.h>
#include <host/Paths.h>
#include <host/Sound.h>

#include <mmsound.h>
#include <libloaderapi.h>
#include <synchapi.h>
#include <winerror.h>
#include <errhandlingapi.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <strings.h>

namespace host {

namespace {

constexpr std::size_t kKeptSounds = 64;
constexpr std::size_t kLargestWave = std::size_t(1) << 30;

std::uint32_t Le32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

WORD Le16(const BYTE* p)
{
    return WORD(p[0] | (p[1] << 8));
}

struct Player {
    std::mutex mutex;
    std::deque<PlayedSound> played;
    SoundOutput output = SoundOutput::RecordOnly;
    bool outputChosen = false;
    // The current sound, on the record-only output.
    bool loop = false;
    std::uint64_t endTick = 0;
};

Player& ThePlayer()
{
    static Player* player = new Player; // outlives static destructors of async callers
    return *player;
}

// The default sound: a short 880 Hz tone, 16-bit mono.
const std::vector<BYTE>& DefaultSound()
{
    static const std::vector<BYTE> wave = [] {
        const DWORD rate = 22050, samples = rate * 150 / 1000;
        std::vector<BYTE> w(44 + samples * 2);
        auto put32 = [&](size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                w[at + i] = BYTE(v >> (8 * i));
        };
        auto put16 = [&](size_t at, WORD v) {
            w[at] = BYTE(v);
            w[at + 1] = BYTE(v >> 8);
        };
        std::memcpy(&w[0], "RIFF", 4);
        put32(4, std::uint32_t(w.size() - 8));
        std::memcpy(&w[8], "WAVEfmt ", 8);
        put32(16, 16);
        put16(20, 1);
        put16(22, 1);
        put32(24, rate);
        put32(28, rate * 2);
        put16(32, 2);
        put16(34, 16);
        std::memcpy(&w[36], "data", 4);
        put32(40, samples * 2);
        for (DWORD i = 0; i < samples; ++i) {
            double fade = 1.0 - double(i) / samples;
            auto v = static_cast<short>(8000 * fade * std::sin(2 * M_PI * 880 * i / rate));
            put16(44 + i * 2, WORD(v));
        }
        return w;
    }();
    return wave;
}

bool IsSystemAlias(const char* name)
{
    static const char* const aliases[] = {".Default",       "SystemDefault", "SystemAsterisk", "SystemExclamation",
                                          "SystemHand",     "SystemQuestion", "SystemStart",   "SystemExit",
                                          "SystemNotification", "MailBeep"};
    for (const char* alias : aliases)
        if (!strcasecmp(alias, name))
            return true;
    return false;
}

bool ReadHostFile(const std::string& path, std::vector<BYTE>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > kLargestWave)
        return false;
    in.seekg(0);
    bytes.resize(static_cast<size_t>(size));
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

// The size of a WAVE image in memory, from its RIFF header (memory images carry no length).
std::size_t MemoryImageSize(const BYTE* p)
{
    if (std::memcmp(p, "RIFF", 4) != 0)
        return 0;
    std::uint64_t size = std::uint64_t(Le32(p + 4)) + 8;
    return size > kLargestWave ? 0 : static_cast<std::size_t>(size);
}

std::string ResourceName(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    return name;
}

// Finds the image the call asks for. False if there is none (or it cannot be read).
bool FindImage(LPCSTR sound, HMODULE module, DWORD flags, std::vector<BYTE>& image, std::string& source,
               bool& isDefault)
{
    isDefault = false;
    if ((flags & SND_ALIAS_ID) == SND_ALIAS_ID) {
        // An alias by number: every system sound is the default sound here.
        image = DefaultSound();
        source = "SystemDefault";
        isDefault = true;
        return true;
    }
    if ((flags & SND_RESOURCE) == SND_RESOURCE) {
        source = "resource:" + ResourceName(sound);
        HRSRC info = FindResource(module, sound, "WAVE");
        HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
        auto* bytes = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
        if (!bytes)
            return false;
        image.assign(bytes, bytes + SizeofResource(module, info));
        return true;
    }
    if (flags & SND_MEMORY) {
        auto* bytes = reinterpret_cast<const BYTE*>(sound);
        std::size_t size = MemoryImageSize(bytes);
        if (size == 0)
            return false;
        image.assign(bytes, bytes + size);
        source = "memory";
        return true;
    }
    if (!(flags & SND_FILENAME) && IsSystemAlias(sound)) {
        image = DefaultSound();
        source = sound;
        isDefault = true;
        return true;
    }
    if (flags & SND_ALIAS)
        return false;
    auto path = ToHostPath(sound);
    if (!path)
        return false;
    source = *path;
    return ReadHostFile(*path, image);
}

void Record(Player& player, PlayedSound sound)
{
    player.played.push_back(std::move(sound));
    while (player.played.size() > kKeptSounds)
        player.played.pop_front();
}

void ChooseOutputLocked(Player& player)
{
    if (player.outputChosen)
        return;
    player.outputChosen = true;
    const char* choice = std::getenv("VL_SOUND");
    if (choice && !strcasecmp(choice, "sdl"))
        player.output = SoundOutput::Device;
}

bool PlayingLocked(Player& player)
{
    if (player.output == SoundOutput::Device)
        return sound_device::Playing();
    return player.loop || ClockMilliseconds() < player.endTick;
}

void StopLocked(Player& player)
{
    player.loop = false;
    player.endTick = 0;
    sound_device::Stop();
}

} // namespace

bool ParseWave(const BYTE* bytes, std::size_t size, WaveFormat& format, const BYTE*& data, std::uint32_t& dataBytes)
{
    if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    std::uint64_t end = std::min<std::uint64_t>(size, std::uint64_t(Le32(bytes + 4)) + 8);
    WaveFormat found;
    bool haveFormat = false;
    const BYTE* samples = nullptr;
    std::uint32_t sampleBytes = 0;
    std::uint64_t at = 12;
    while (at + 8 <= end) {
        const BYTE* chunk = bytes + at;
        std::uint64_t length = Le32(chunk + 4);
        if (at + 8 + length > end)
            return false; // cut short
        const BYTE* body = chunk + 8;
        if (!std::memcmp(chunk, "fmt ", 4)) {
            if (length < 16 || Le16(body) != 1 /* PCM */)
                return false;
            found.channels = Le16(body + 2);
            found.samplesPerSec = Le32(body + 4);
            found.blockAlign = Le16(body + 12);
            found.bitsPerSample = Le16(body + 14);
            if ((found.channels != 1 && found.channels != 2) ||
                (found.bitsPerSample != 8 && found.bitsPerSample != 16) || found.samplesPerSec < 1000 ||
                found.samplesPerSec > 192000 || found.blockAlign != found.channels * found.bitsPerSample / 8)
                return false;
            haveFormat = true;
        } else if (!std::memcmp(chunk, "data", 4) && !samples) {
            samples = body;
            sampleBytes = static_cast<std::uint32_t>(length);
        }
        at += 8 + length + (length & 1);
    }
    if (!haveFormat || !samples)
        return false;
    format = found;
    data = samples;
    dataBytes = sampleBytes - sampleBytes % found.blockAlign; // whole frames only
    return true;
}

void SetSoundOutput(SoundOutput output)
{
    Player& player = ThePlayer();
    std::lock_guard lock(player.mutex);
    if (player.output != output)
        StopLocked(player);
    player.output = output;
    player.outputChosen = true;
}

SoundOutput GetSoundOutput()
{
    Player& player = ThePlayer();
    std::lock_guard lock(player.mutex);
    ChooseOutputLocked(player);
    return player.output;
}

std::vector<PlayedSound> PlayedSounds()
{
    Player& player = ThePlayer();
    std::lock_guard lock(player.mutex);
    return {player.played.begin(), player.played.end()};
}

void ClearPlayedSounds()
{
    Player& player = ThePlayer();
    std::lock_guard lock(player.mutex);
    player.played.clear();
}

bool SoundPlaying()
{
    Player& player = ThePlayer();
    std::lock_guard lock(player.mutex);
    return PlayingLocked(player);
}

} // namespace host

BOOL WINAPI PlaySound(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound)
{
    host::Player& player = host::ThePlayer();
    std::unique_lock lock(player.mutex);
    host::ChooseOutputLocked(player);
    if (!pszSound || (fdwSound & SND_PURGE)) {
        host::StopLocked(player);
        return TRUE;
    }
    if ((fdwSound & SND_NOSTOP) && host::PlayingLocked(player))
        return FALSE;

    std::vector<BYTE> image;
    std::string source;
    bool isDefault = false;
    host::WaveFormat format;
    const BYTE* data = nullptr;
    std::uint32_t dataBytes = 0;
    bool found = host::FindImage(pszSound, hmod, fdwSound, image, source, isDefault) &&
                 host::ParseWave(image.data(), image.size(), format, data, dataBytes);
    if (!found) {
        if (fdwSound & SND_NODEFAULT) {
            host::StopLocked(player);
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
        image = host::DefaultSound();
        source = "SystemDefault";
        isDefault = true;
        host::ParseWave(image.data(), image.size(), format, data, dataBytes);
    }

    const bool loop = (fdwSound & SND_LOOP) != 0;
    const bool async = loop || (fdwSound & SND_ASYNC);
    const DWORD bytesPerSecond = format.samplesPerSec * format.blockAlign;
    const auto lengthMs = static_cast<std::uint32_t>((std::uint64_t(dataBytes) * 1000 + bytesPerSecond - 1) / bytesPerSecond);
    host::Record(player, host::PlayedSound{source, isDefault, format, dataBytes, lengthMs, async, loop});

    host::StopLocked(player);
    if (player.output == host::SoundOutput::Device &&
        host::sound_device::Start(format, data, dataBytes, loop)) {
        if (!async) {
            lock.unlock();
            host::sound_device::WaitUntilDone();
        }
        return TRUE;
    }
    player.loop = loop;
    player.endTick = host::ClockMilliseconds() + lengthMs;
    if (!async) {
        lock.unlock();
        Sleep(lengthMs); // the sound's length passes on the platform clock
    }
    return TRUE;
}

BOOL WINAPI sndPlaySound(LPCSTR lpszSound, UINT fuSound)
{
    return PlaySound(lpszSound, nullptr, fuSound);
}
