// Sound reaches the audio device: SDL's "disk" driver writes everything the mixer plays into a
// file, which must hold sound while a wave or a MIDI file plays and silence once it stops.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/midi_synth.h"
#include "host/sound.h"
#include "support/test_env.h"

namespace {

using namespace std::string_literals;

void put(std::string& s, uint32_t v, int bytes, bool big_endian = false) {
    for (int i = 0; i < bytes; ++i)
        s += char(v >> 8 * (big_endian ? bytes - 1 - i : i));
}

// Half a second of a 440 Hz square wave, 16-bit mono.
std::string square_wave() {
    const uint32_t rate = 22050, samples = rate / 2;
    std::string data;
    for (uint32_t i = 0; i < samples; ++i)
        put(data, (i / 25) % 2 ? 0x3000 : 0xD000, 2);
    std::string wav = "RIFF";
    put(wav, 36 + uint32_t(data.size()), 4);
    wav += "WAVEfmt ";
    put(wav, 16, 4), put(wav, 1, 2), put(wav, 1, 2);  // PCM, mono
    put(wav, rate, 4), put(wav, rate * 2, 4), put(wav, 2, 2), put(wav, 16, 2);
    wav += "data";
    put(wav, uint32_t(data.size()), 4);
    return wav + data;
}

// A format-0 standard MIDI file of one track, 480 ticks a quarter.
std::string smf0(const std::string& track) {
    std::string smf = "MThd";
    put(smf, 6, 4, true);
    smf += std::string{0x00, 0x00, 0x00, 0x01, 0x01, char(0xE0)};
    smf += "MTrk";
    put(smf, uint32_t(track.size()), 4, true);
    return smf + track;
}

// One piano note of four seconds (at the default tempo). The disk driver mixes faster than real
// time: a shorter note can be over before a slow build (a thread-checked one) looks at the output.
std::string one_note() {
    return smf0({0x00, char(0xC0), 0x00,                  // program 0
                 0x00, char(0x90), 60, 100,               // note on
                 char(0x9E), 0x00, char(0x80), 60, 0x40,  // 3840 ticks later: off
                 0x00, char(0xFF), 0x2F, 0x00});
}

// A MIDI file wrapped in a RIFF "RMID" file, with `before` (whole chunks) ahead of its data.
std::string rmid(const std::string& smf, const std::string& before = "") {
    std::string body = "RMID" + before + "data";
    put(body, uint32_t(smf.size()), 4);
    body += smf;
    if (smf.size() % 2) body += '\0';
    std::string riff = "RIFF";
    put(riff, uint32_t(body.size()), 4);
    return riff + body;
}

// One program change and a long rest: plays, but sounds nothing.
std::string short_silence() {
    return smf0({0x00, char(0xC0), 0x00, char(0x8F), 0x00, char(0xFF), 0x2F, 0x00});
}

class SoundTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        output_ = folder_ + "/audio.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "5", 1);
    }
    void TearDown() override {
        HostCloseSound();
        HostSetVolumes(100, 100);
        HostSetMuted(false);
        unsetenv("SDL_DISKAUDIOFILE");
        unsetenv("SDL_DISKAUDIODELAY");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        NomaTest::TearDown();
    }
    size_t OutputSize() {
        std::ifstream in(output_, std::ios::binary | std::ios::ate);
        return in ? size_t(in.tellg()) : 0;
    }
    // Waits until `bytes` more output than `from` exists; returns the 16-bit samples of those
    // bytes (only they are read: the file grows fast, and slow builds must keep up with it).
    std::vector<int16_t> OutputAfter(size_t from, size_t bytes) {
        for (int i = 0; i < 2000 && OutputSize() < from + bytes; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::ifstream in(output_, std::ios::binary);
        in.seekg(std::streamoff(from));
        std::string part(bytes, '\0');
        in.read(part.data(), std::streamsize(bytes));
        part.resize(size_t(in.gcount()));
        std::vector<int16_t> samples;
        for (size_t i = 0; i + 1 < part.size(); i += 2)
            samples.push_back(int16_t(uint8_t(part[i]) | uint8_t(part[i + 1]) << 8));
        return samples;
    }
    // The soundfont loads in the background once the audio device is open.
    static void WaitForSoundFont() {
        for (int i = 0; i < 3000 && !HostMidiReady(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_TRUE(HostMidiReady());
    }
    static int Loudest(const std::vector<int16_t>& samples) {
        int most = 0;
        for (int16_t s : samples)
            most = std::max(most, std::abs(int(s)));
        return most;
    }
    std::string output_;
};

TEST_F(SoundTest, WaveAndMidiPlayAndAnEmptyWaveNameStops) {
    WriteFile("BEEP.WAV", square_wave());
    HostPlayWave("beep.wav", 1);
    EXPECT_GT(Loudest(OutputAfter(OutputSize(), 64 * 1024)), 1000);
    HostPlayWave("", 0);
    size_t stopped = OutputSize() + 16 * 1024;  // past what the device had mixed already
    std::vector<int16_t> after = OutputAfter(stopped, 32 * 1024);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(Loudest(after), 0);
    // A missing file plays nothing and stops nothing.
    HostPlayWave("none.wav", 0);
    EXPECT_EQ(Loudest(OutputAfter(OutputSize(), 16 * 1024)), 0);

    WriteFile("song.mid", one_note());
    WriteFile("noise.mid", "this is no MIDI file");
    EXPECT_EQ(HostPlayMidi("absent.mid"), kMidiFileNotFound);
    EXPECT_EQ(HostPlayMidi("noise.mid"), kMidiCannotPlay);
    ASSERT_EQ(HostPlayMidi("SONG.MID"), 0);
    WaitForSoundFont();
    EXPECT_GT(Loudest(OutputAfter(OutputSize(), 128 * 1024)), 100);
}

TEST_F(SoundTest, TheSoundFontStaysLoadedFromSongToSong) {
    WriteFile("a.mid", one_note());
    WriteFile("c.mid", short_silence());
    ASSERT_EQ(HostPlayMidi("a.mid"), 0);
    WaitForSoundFont();
    int playing = Loudest(OutputAfter(OutputSize(), 64 * 1024));
    EXPECT_GT(playing, 1000);
    // A silent song replaces the sounding one at once: only the reverb's echo is left.
    ASSERT_EQ(HostPlayMidi("c.mid"), 0);
    EXPECT_TRUE(HostMidiReady()) << "the next song needs no second load";
    size_t switched = OutputSize() + 16 * 1024;
    std::vector<int16_t> quiet = OutputAfter(switched, 32 * 1024);
    ASSERT_FALSE(quiet.empty());
    EXPECT_LT(Loudest(quiet), playing / 8);
}

TEST_F(SoundTest, ThePlayersVolumesAndMuteReachTheMixerWhileSoundsPlay) {
    WriteFile("beep.wav", square_wave());
    WriteFile("song.mid", one_note());
    HostPlayWave("beep.wav", 1);
    // Past what the device had mixed before each change.
    auto loudest_from_now = [&] {
        return Loudest(OutputAfter(OutputSize() + 16 * 1024, 32 * 1024));
    };
    int full = loudest_from_now();
    ASSERT_GT(full, 1000);
    EXPECT_EQ(HostCurrentMixerLevels().wave, 128);

    HostSetVolumes(100, 25);
    EXPECT_EQ(HostCurrentMixerLevels().wave, 32);
    int quarter = loudest_from_now();
    EXPECT_NEAR(quarter, full / 4, full / 20);

    HostSetMuted(true);
    EXPECT_TRUE(HostSoundMuted());
    EXPECT_EQ(HostCurrentMixerLevels().wave, 0);
    EXPECT_EQ(HostCurrentMixerLevels().music, 0);
    EXPECT_EQ(loudest_from_now(), 0);
    HostSetMuted(false);
    EXPECT_EQ(HostCurrentMixerLevels().wave, 32) << "the volume is kept while muted";
    EXPECT_NEAR(loudest_from_now(), quarter, full / 20);

    // Music: its level is applied to the synthesiser's output.
    HostPlayWave("", 0);
    ASSERT_EQ(HostPlayMidi("song.mid"), 0);
    WaitForSoundFont();
    EXPECT_GT(loudest_from_now(), 1000);
    HostSetVolumes(0, 25);
    EXPECT_EQ(HostCurrentMixerLevels().music, 0);
    EXPECT_EQ(loudest_from_now(), 0);
}

TEST_F(SoundTest, ABrokenSoundFontGivesWayToAnInstalledOne) {
    ASSERT_FALSE(InstalledSoundFonts().empty()) << "fluid-soundfont-gm is a build dependency";
    WriteFile("broken.sf2", "RIFF\4\0\0\0sfbk");
    MidiChooseSoundFont(folder_ + "/broken.sf2");
    WriteFile("song.mid", one_note());
    ASSERT_EQ(HostPlayMidi("song.mid"), 0);
    WaitForSoundFont();
    EXPECT_GT(Loudest(OutputAfter(OutputSize(), 64 * 1024)), 1000) << "music plays";
    MidiChooseSoundFont("");
}

TEST(MidiFiles, StandardFilesBareOrWrappedInRiff) {
    std::string smf = one_note();
    auto bytes = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
    EXPECT_EQ(StandardMidiFile(bytes(smf)), bytes(smf));
    EXPECT_EQ(StandardMidiFile(bytes(rmid(smf))), bytes(smf));
    // A chunk before the data chunk, with an odd length and its pad byte, is skipped.
    EXPECT_EQ(StandardMidiFile(bytes(rmid(smf, "LIST\x03\0\0\0abc\0"s))), bytes(smf));
    std::string cut = rmid(smf);
    cut.resize(cut.size() - 1);  // the data chunk runs past the file's end
    const std::string bad[] = {
        "", "MTh", "RIFF\0\0\0\0RMID"s, rmid("MTrk...."), cut, "RIFF\0\0\0\0WAVEdata\4\0\0\0MThd"s};
    for (const std::string& b : bad)
        EXPECT_TRUE(StandardMidiFile(bytes(b)).empty()) << b;
}

}  // namespace
