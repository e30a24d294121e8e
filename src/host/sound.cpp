#include "host/sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "host/file.h"
#include "host/midi_synth.h"

namespace {

constexpr int kWaveChannel = 0;

std::mutex sound_lock;  // sounds are started from the program thread, closed from the main one
bool audio_open = false;
bool audio_failed = false;
int audio_channels = 2;
Mix_Chunk* wave = nullptr;

// The player's volumes (0..100) and mute. The music level is applied to the synthesiser's
// output in the mixer's hook (the mixer's own music volume does not reach hooked music); the
// effect level is the wave channel's mixer volume.
std::atomic<int> music_volume{100};
std::atomic<int> effect_volume{100};
std::atomic<bool> muted{false};

int music_level() {
    return muted.load() ? 0 : music_volume.load();
}

int effect_mixer_volume() {
    return muted.load() ? 0 : (effect_volume.load() * MIX_MAX_VOLUME + 50) / 100;
}

void apply_effect_volume() {
    if (audio_open) Mix_Volume(kWaveChannel, effect_mixer_volume());
}

// The mixer's music stream: the MIDI synthesiser's output (the buffer holds silence first).
void SDLCALL mix_music(void*, Uint8* stream, int length) {
    int frames = length / int(sizeof(int16_t)) / audio_channels;
    int level = music_level();
    if (level == 0) return;  // the buffer keeps its silence
    int16_t* samples = reinterpret_cast<int16_t*>(stream);
    MidiSynthRender(samples, frames, audio_channels);
    if (level == 100) return;
    for (int i = 0, n = frames * audio_channels; i < n; ++i)
        samples[i] = int16_t(samples[i] * level / 100);
}

bool open_audio() {
    if (audio_open) return true;
    if (audio_failed) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "noma: no audio: %s\n", SDL_GetError());
        audio_failed = true;
        return false;
    }
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        std::fprintf(stderr, "noma: no audio: %s\n", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audio_failed = true;
        return false;
    }
    int rate = 44100;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&rate, &format, &audio_channels);
    Mix_AllocateChannels(4);
    // The soundfont loads in the background from the first sound on, so the first song
    // usually finds it ready.
    MidiSynthOpen(rate);
    Mix_HookMusic(mix_music, nullptr);
    audio_open = true;
    apply_effect_volume();
    return true;
}

bool read_file(const char* name, std::vector<uint8_t>* bytes) {
    FILE* file = HostFileOpen(name, "rb");
    if (!file) return false;
    bytes->clear();
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes->insert(bytes->end(), buffer, buffer + n);
    HostFileClose(file);
    return true;
}

void stop_wave() {
    if (!wave) return;
    Mix_HaltChannel(kWaveChannel);
    Mix_FreeChunk(wave);
    wave = nullptr;
}

}  // namespace

int HostPlayMidi(const char* file) {
    std::lock_guard<std::mutex> hold(sound_lock);
    std::vector<uint8_t> bytes;
    if (!file || !read_file(file, &bytes)) return kMidiFileNotFound;
    std::vector<uint8_t> smf = StandardMidiFile(bytes);
    if (smf.empty()) return kMidiCannotPlay;
    if (!open_audio()) return kMidiNoDevice;
    if (!*MidiSoundFontPath()) return kMidiCannotPlay;
    MidiSynthPlay(std::move(smf));
    return 0;
}

bool HostMidiReady() {
    return MidiSynthReady();
}

void HostPlayWave(const char* file, int loop) {
    std::lock_guard<std::mutex> hold(sound_lock);
    if (!file || !file[0]) {
        if (audio_open) stop_wave();
        return;
    }
    std::vector<uint8_t> bytes;
    if (!read_file(file, &bytes) || !open_audio()) return;
    stop_wave();
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    wave = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (wave) Mix_PlayChannel(kWaveChannel, wave, loop ? -1 : 0);
}

void HostCloseSound() {
    std::lock_guard<std::mutex> hold(sound_lock);
    if (!audio_open) return;
    stop_wave();
    Mix_HookMusic(nullptr, nullptr);
    Mix_CloseAudio();
    MidiSynthClose();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audio_open = false;
    audio_failed = false;
}

void HostSetVolumes(int music, int effects) {
    std::lock_guard<std::mutex> hold(sound_lock);
    music_volume = std::clamp(music, 0, 100);
    effect_volume = std::clamp(effects, 0, 100);
    apply_effect_volume();
}

void HostSetMuted(bool on) {
    std::lock_guard<std::mutex> hold(sound_lock);
    muted = on;
    apply_effect_volume();
}

bool HostSoundMuted() {
    return muted.load();
}

HostMixerLevels HostCurrentMixerLevels() {
    std::lock_guard<std::mutex> hold(sound_lock);
    return {music_level(), audio_open ? Mix_Volume(kWaveChannel, -1) : effect_mixer_volume()};
}
