// PlaySound and sndPlaySound: where the sound comes from, its format, damaged data, and the
// asynchronous, looping and synchronous kinds on the test clock. No audio device is needed:
// the sounds are only recorded.
#include <windows.h>

#include <mmsystem.h>

#include <host/Clock.h>
#include <host/Paths.h>
#include <host/Sound.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Put16(std::string& s, unsigned v)
{
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}

void Put32(std::string& s, unsigned v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A PCM WAVE image with `frames` frames of silence-ish samples.
std::string Wave(unsigned channels, unsigned rate, unsigned bits, unsigned frames)
{
    std::string fmt, body;
    Put16(fmt, 1);
    Put16(fmt, channels);
    Put32(fmt, rate);
    Put32(fmt, rate * channels * bits / 8);
    Put16(fmt, channels * bits / 8);
    Put16(fmt, bits);
    body = "WAVEfmt ";
    Put32(body, 16);
    body += fmt;
    body += "data";
    unsigned bytes = frames * channels * bits / 8;
    Put32(body, bytes);
    body += std::string(bytes, char(bits == 8 ? 0x80 : 0));
    std::string riff = "RIFF";
    Put32(riff, unsigned(body.size()));
    return riff + body;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::SetSoundOutput(host::SoundOutput::RecordOnly);
        host::UseTestClock(0, 1000);
        PlaySound(nullptr, nullptr, 0);
        host::ClearPlayedSounds();
    }
    void TearDown() override
    {
        PlaySound(nullptr, nullptr, 0);
        host::UseRealClock();
    }
    static host::PlayedSound Last()
    {
        auto played = host::PlayedSounds();
        return played.empty() ? host::PlayedSound{} : played.back();
    }
};

TEST_F(SoundTest, PcmFormatsAreReadWithTheirLength)
{
    struct Case {
        unsigned channels, rate, bits, frames, lengthMs;
    } cases[] = {{1, 8000, 8, 4000, 500}, {2, 22050, 16, 22050, 1000}, {1, 44100, 16, 441, 10}, {2, 11025, 8, 1, 1}};
    for (const Case& c : cases) {
        std::string wave = Wave(c.channels, c.rate, c.bits, c.frames);
        EXPECT_TRUE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT));
        host::PlayedSound s = Last();
        EXPECT_EQ(s.source, "memory");
        EXPECT_FALSE(s.isDefault);
        EXPECT_EQ(s.format.channels, c.channels);
        EXPECT_EQ(s.format.samplesPerSec, c.rate);
        EXPECT_EQ(s.format.bitsPerSample, c.bits);
        EXPECT_EQ(s.dataBytes, c.frames * c.channels * c.bits / 8);
        EXPECT_EQ(s.lengthMs, c.lengthMs) << c.channels << "x" << c.bits << " at " << c.rate;
    }
}

TEST_F(SoundTest, DamagedDataFailsOrFallsBackToTheDefaultSound)
{
    const std::string good = Wave(1, 8000, 8, 100);
    auto patched = [&](size_t at, std::string bytes) {
        std::string w = good;
        w.replace(at, bytes.size(), bytes);
        return w;
    };
    auto riffSized = [](std::string w) { // keep the RIFF length true to the bytes
        unsigned n = unsigned(w.size() - 8);
        w[4] = char(n), w[5] = char(n >> 8), w[6] = char(n >> 16), w[7] = char(n >> 24);
        return w;
    };
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"not RIFF", patched(0, "RIFX")},
        {"not WAVE", patched(8, "AVI ")},
        {"compressed", patched(20, std::string("\x02\x00", 2))},
        {"three channels", patched(22, std::string("\x03\x00", 2))},
        {"12-bit samples", patched(34, std::string("\x0C\x00", 2))},
        {"block size wrong", patched(32, std::string("\x04\x00", 2))},
        {"data past the end", patched(40, std::string("\xFF\xFF\x00\x00", 4))},
        {"cut short", riffSized(good.substr(0, good.size() - 10))},
        {"fmt missing", riffSized(good.substr(0, 12) + good.substr(36))},
        {"data missing", riffSized(good.substr(0, 36))},
        {"header only", riffSized(good.substr(0, 12))},
    };
    for (const Case& c : cases) {
        host::WaveFormat format;
        const BYTE* data = nullptr;
        std::uint32_t bytes = 0;
        EXPECT_FALSE(host::ParseWave(reinterpret_cast<const BYTE*>(c.bytes.data()), c.bytes.size(), format, data, bytes))
            << c.what;
        host::ClearPlayedSounds();
        EXPECT_FALSE(PlaySound(c.bytes.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) << c.what;
        EXPECT_TRUE(host::PlayedSounds().empty()) << c.what;
        EXPECT_TRUE(PlaySound(c.bytes.data(), nullptr, SND_MEMORY | SND_ASYNC)) << c.what;
        EXPECT_TRUE(Last().isDefault) << c.what;
    }
    // A chunk after the data (a "LIST" of tags) and an odd-sized chunk before it are fine.
    std::string extra = good.substr(0, 36) + "note" + std::string("\x03\x00\x00\x00", 4) + "abc" + std::string(1, 0) +
                        good.substr(36) + "LIST" + std::string("\x04\x00\x00\x00", 4) + "INFO";
    EXPECT_TRUE(PlaySound(riffSized(extra).data(), nullptr, SND_MEMORY | SND_NODEFAULT | SND_ASYNC));
    EXPECT_EQ(Last().dataBytes, 100u);
}

TEST_F(SoundTest, FilesResourcesAndAliases)
{
    TempDir dir;
    auto path = dir.Write("Sounds/Click.wav", Wave(1, 11025, 16, 1103));
    auto platformPath = host::FromHostPath(path.string());
    ASSERT_TRUE(platformPath);
    EXPECT_TRUE(sndPlaySound(platformPath->c_str(), SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(Last().source, path.string());
    EXPECT_EQ(Last().lengthMs, 101u);

    HMODULE self = GetModuleHandle(nullptr);
    EXPECT_TRUE(PlaySound("CHIME", self, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(Last().source, "resource:CHIME");
    EXPECT_EQ(Last().format.samplesPerSec, 8000u);
    EXPECT_EQ(Last().lengthMs, 50u);
    EXPECT_TRUE(PlaySound(MAKEINTRESOURCE(7), self, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(Last().source, "resource:#7");

    EXPECT_TRUE(PlaySound("SystemAsterisk", nullptr, SND_ALIAS | SND_ASYNC));
    EXPECT_TRUE(Last().isDefault);
    host::ClearPlayedSounds();
    for (auto [name, flags] : {std::pair<const char*, DWORD>{"C:\\no\\such.wav", SND_FILENAME},
                               {"NoSuchAlias", SND_ALIAS},
                               {"NOSUCH", SND_RESOURCE}}) {
        EXPECT_FALSE(PlaySound(name, self, flags | SND_ASYNC | SND_NODEFAULT)) << name;
        EXPECT_TRUE(PlaySound(name, self, flags | SND_ASYNC)) << name; // the default instead
    }
    auto played = host::PlayedSounds();
    ASSERT_EQ(played.size(), 3u);
    for (const auto& s : played)
        EXPECT_TRUE(s.isDefault);
}

TEST_F(SoundTest, KindsOfPlayingOnTheTestClock)
{
    std::string wave = Wave(1, 8000, 8, 2000); // 250 ms
    // Synchronous: the sound's length passes on the clock before the call returns.
    EXPECT_TRUE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_SYNC));
    EXPECT_EQ(host::ClockMilliseconds(), 1250u);
    EXPECT_FALSE(host::SoundPlaying());

    // Asynchronous: plays until its length has passed; SND_NOSTOP fails meanwhile.
    EXPECT_TRUE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_ASYNC));
    EXPECT_EQ(host::ClockMilliseconds(), 1250u);
    EXPECT_TRUE(host::SoundPlaying());
    EXPECT_FALSE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NOSTOP));
    host::StepClock(249);
    EXPECT_TRUE(host::SoundPlaying());
    host::StepClock(1);
    EXPECT_FALSE(host::SoundPlaying());
    EXPECT_TRUE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NOSTOP));

    // Looping: until stopped, by NULL or by SND_PURGE.
    for (DWORD stop : {DWORD(0), DWORD(SND_PURGE)}) {
        EXPECT_TRUE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_LOOP));
        EXPECT_TRUE(Last().loop);
        host::StepClock(10000);
        EXPECT_TRUE(host::SoundPlaying());
        EXPECT_TRUE(PlaySound(stop ? "x" : nullptr, nullptr, stop));
        EXPECT_FALSE(host::SoundPlaying());
    }
}

TEST_F(SoundTest, TheDeviceOutputPlaysThroughSdl)
{
    // SDL's dummy audio driver consumes the samples at the real rate without any hardware.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    host::UseRealClock();
    host::SetSoundOutput(host::SoundOutput::Device);
    std::string wave = Wave(2, 22050, 16, 2205); // 100 ms
    EXPECT_TRUE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_SYNC | SND_NODEFAULT));
    EXPECT_FALSE(host::SoundPlaying());
    EXPECT_TRUE(PlaySound(wave.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_LOOP));
    EXPECT_TRUE(host::SoundPlaying());
    EXPECT_TRUE(PlaySound(nullptr, nullptr, 0));
    EXPECT_FALSE(host::SoundPlaying());
    EXPECT_EQ(host::PlayedSounds().size(), 2u);
    host::SetSoundOutput(host::SoundOutput::RecordOnly);
}

} // namespace
