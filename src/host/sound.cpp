#include "host/sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "host/file.h"

namespace {

constexpr int kWaveChannel = 0;

// The General MIDI soundfonts of the distribution, first found is used.
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

std::mutex sound_lock;  // sounds are started from the program thread, closed from the main one
bool audio_open = false;
bool audio_failed = false;
Mix_Music* music = nullptr;
std::vector<unsigned char> music_bytes;  // the mixer reads the MIDI file from here
Mix_Chunk* wave = nullptr;

bool open_audio() {
    if (audio_open) return true;
    if (audio_failed) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "noma: no audio: %s\n", SDL_GetError());
        audio_failed = true;
        return false;
    }
    if (!std::getenv("SDL_SOUNDFONTS")) {
        for (const char* font : kSoundFonts) {
            if (FILE* f = std::fopen(font, "rb")) {
                std::fclose(f);
                Mix_SetSoundFonts(font);
                break;
            }
        }
    }
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        std::fprintf(stderr, "noma: no audio: %s\n", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audio_failed = true;
        return false;
    }
    Mix_AllocateChannels(4);
    audio_open = true;
    return true;
}

bool read_file(const char* name, std::vector<unsigned char>* bytes) {
    FILE* file = HostFileOpen(name, "rb");
    if (!file) return false;
    bytes->clear();
    unsigned char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes->insert(bytes->end(), buffer, buffer + n);
    std::fclose(file);
    return true;
}

// A standard MIDI file, bare or wrapped in a RIFF "RMID" file.
bool is_midi(const std::vector<unsigned char>& bytes) {
    auto tag = [&](size_t at, const char* text) {
        return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, text, 4) == 0;
    };
    return tag(0, "MThd") || (tag(0, "RIFF") && tag(8, "RMID"));
}

void stop_music() {
    if (!music) return;
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    music = nullptr;
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
    std::vector<unsigned char> bytes;
    if (!file || !read_file(file, &bytes)) return kMidiFileNotFound;
    if (!is_midi(bytes)) return kMidiCannotPlay;
    if (!open_audio()) return kMidiNoDevice;
    stop_music();
    music_bytes = std::move(bytes);
    SDL_RWops* rw = SDL_RWFromConstMem(music_bytes.data(), int(music_bytes.size()));
    music = rw ? Mix_LoadMUSType_RW(rw, MUS_MID, 1) : nullptr;
    if (!music) return kMidiCannotPlay;
    if (Mix_PlayMusic(music, 0) != 0) {
        stop_music();
        return kMidiCannotPlay;
    }
    return 0;
}

void HostPlayWave(const char* file, int loop) {
    std::lock_guard<std::mutex> hold(sound_lock);
    if (!file || !file[0]) {
        if (audio_open) stop_wave();
        return;
    }
    std::vector<unsigned char> bytes;
    if (!read_file(file, &bytes) || !open_audio()) return;
    stop_wave();
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    wave = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (wave) Mix_PlayChannel(kWaveChannel, wave, loop ? -1 : 0);
}

void HostCloseSound() {
    std::lock_guard<std::mutex> hold(sound_lock);
    if (!audio_open) return;
    stop_music();
    stop_wave();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audio_open = false;
    audio_failed = false;
}
