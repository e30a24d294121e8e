// The program thread's share of a music change. HostPlayMidi reads and checks the file and
// hands it to the synthesiser, which keeps its soundfont loaded; the mixer's own per-song
// loading (a new synthesiser and the 148 MB soundfont for every song) is measured beside it
// for comparison.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/midi_synth.h"
#include "host/sound.h"

namespace {

void put(std::string& s, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        s += char(v >> 8 * i);
}

// A format-0 file: a chord of three notes held for two seconds, on instrument `program`.
std::string chord(int program) {
    std::string track = {0x00, char(0xC0), char(program)};
    for (int note : {60, 64, 67})
        track += std::string{0x00, char(0x90), char(note), 100};
    track += std::string{char(0x87), 0x40, char(0x80), 60, 0x40};  // 960 ticks on
    track += std::string{0x00, char(0x80), 64, 0x40, 0x00, char(0x80), 67, 0x40};
    track += std::string{0x00, char(0xFF), 0x2F, 0x00};
    std::string smf = "MThd";
    put(smf, 6, 4);
    smf += std::string{0x00, 0x00, 0x00, 0x01, 0x01, char(0xE0)};
    smf += "MTrk";
    put(smf, uint32_t(track.size()), 4);
    return smf + track;
}

struct Songs {
    std::string first, second;
    Songs() {
        if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string folder = "/tmp/noma-bench-sound-" + std::to_string(getpid());
        std::system(("mkdir -p " + folder).c_str());
        first = folder + "/first.mid";
        second = folder + "/second.mid";
        for (auto [path, program] : {std::pair{first, 0}, std::pair{second, 48}}) {
            FILE* f = std::fopen(path.c_str(), "wb");
            std::string bytes = chord(program);
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        // The first sound opens the device and starts the soundfont loading.
        HostPlayMidi(first.c_str());
        while (!HostMidiReady())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
};

const Songs& songs() {
    static Songs s;
    return s;
}

void BM_MusicChange(benchmark::State& state) {
    const Songs& s = songs();
    bool odd = false;
    for (auto _ : state) {
        int error = HostPlayMidi((odd ? s.second : s.first).c_str());
        if (error) state.SkipWithError("HostPlayMidi failed");
        odd = !odd;
    }
}
BENCHMARK(BM_MusicChange)->Unit(benchmark::kMillisecond);

// For comparison: what every music change cost when the mixer made a synthesiser per song.
void BM_MixerLoadsASongWithItsSoundFont(benchmark::State& state) {
    const Songs& s = songs();
    Mix_SetSoundFonts(MidiSoundFontPath());
    Mix_Init(MIX_INIT_MID);
    for (auto _ : state) {
        Mix_Music* music = Mix_LoadMUS(s.first.c_str());
        if (!music) {
            state.SkipWithError("the mixer cannot load MIDI here");
            break;
        }
        Mix_FreeMusic(music);
    }
}
BENCHMARK(BM_MixerLoadsASongWithItsSoundFont)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
