#include "host/midi_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "host/log_sink.h"

namespace {

// The General MIDI soundfonts of the distribution, first found is used.
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

// FluidSynth's own default gain (0.2) is quiet; this is the level music had when the mixer
// ran FluidSynth itself at full music volume.
constexpr double kGain = 1.2;

// The audio thread renders in slices of this many frames and lets go of the lock between
// them, so a music change on the program thread never waits for a whole device buffer.
constexpr int kSliceFrames = 256;
constexpr int kResetAllControllers = 121;

std::mutex lock;  // everything below; the audio thread holds it while it renders a slice
fluid_settings_t* settings = nullptr;
fluid_synth_t* synth = nullptr;  // set once the soundfont is loaded
fluid_player_t* player = nullptr;
std::vector<uint8_t> waiting_song;  // handed over before the soundfont was loaded
bool song_waits = false;
bool loading = false;  // the loader thread runs
bool loaded = false;   // the loader has finished, with or without success
std::condition_variable loader_done;
std::string chosen_soundfont;   // the player's soundfont, or the one that replaced it
bool soundfont_chosen = false;  // the player named one (then SDL_SOUNDFONTS is not asked)

void start_song(std::vector<uint8_t> smf) {
    if (player) {
        fluid_player_stop(player);
        delete_fluid_player(player);
        player = nullptr;
    }
    if (!synth) return;
    // The song before stops at once (only the reverb's echo dies away), and the next one
    // starts from the initial programs and controllers, as on a newly opened device. (A full
    // system reset would bring the silenced voices back into their release.)
    fluid_synth_all_sounds_off(synth, -1);
    for (int channel = 0; channel < fluid_synth_count_midi_channels(synth); ++channel)
        fluid_synth_cc(synth, channel, kResetAllControllers, 0);
    fluid_synth_program_reset(synth);
    if (smf.empty()) return;
    player = new_fluid_player(synth);
    if (!player) return;
    if (fluid_player_add_mem(player, smf.data(), smf.size()) != FLUID_OK ||
        fluid_player_play(player) != FLUID_OK) {
        delete_fluid_player(player);
        player = nullptr;
    }
}

void load(std::string path, int rate) {
    fluid_settings_t* s = new_fluid_settings();
    fluid_synth_t* made = nullptr;
    if (s) {
        fluid_settings_setnum(s, "synth.sample-rate", double(rate));
        fluid_settings_setnum(s, "synth.gain", kGain);
        // The player's clock is the synthesiser's output, so songs keep time with the audio.
        fluid_settings_setstr(s, "player.timing-source", "sample");
        // Only the samples of the instruments a song selects are read from the soundfont: the
        // GM soundfont is over 100 MB, a game's songs use a few of its instruments.
        fluid_settings_setint(s, "synth.dynamic-sample-loading", 1);
        made = new_fluid_synth(s);
        // A soundfont that cannot be loaded (a broken file) gives way to the best installed
        // one that loads. (This runs beside the program thread: the line goes to stderr only.)
        std::vector<std::string> candidates = {path};
        for (const std::string& other : InstalledSoundFonts())
            if (other != path) candidates.push_back(other);
        bool done = false;
        for (const std::string& candidate : candidates) {
            if (!made || fluid_synth_sfload(made, candidate.c_str(), 1) == FLUID_FAILED) continue;
            if (candidate != path)
                std::fprintf(stderr, "noma: cannot load the soundfont %s; using %s\n", path.c_str(),
                             candidate.c_str());
            done = true;
            break;
        }
        if (made && !done) {
            std::fprintf(stderr, "noma: cannot load the soundfont %s\n", path.c_str());
            delete_fluid_synth(made);
            made = nullptr;
        }
    }
    std::lock_guard<std::mutex> hold(lock);
    settings = s;
    synth = made;
    loaded = true;
    loading = false;
    if (song_waits) start_song(std::move(waiting_song));
    song_waits = false;
    waiting_song.clear();
    loader_done.notify_all();
}

bool tag(const std::vector<uint8_t>& bytes, size_t at, const char* text) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, text, 4) == 0;
}

bool readable(const char* path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return false;
    FILE* f = std::fopen(path, "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

uint32_t little_endian(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

}  // namespace

std::vector<std::string> InstalledSoundFonts() {
    std::vector<std::string> found;
    for (const char* font : kSoundFonts)
        if (readable(font)) found.push_back(font);
    // Any other soundfont of the distribution's folders, in name order.
    for (const char* folder :
         {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"}) {
        std::error_code error;
        std::vector<std::string> more;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            std::string name = entry.path().string();
            std::string ext = entry.path().extension().string();
            for (char& c : ext)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            if ((ext == ".sf2" || ext == ".sf3") && readable(name.c_str())) more.push_back(name);
        }
        std::sort(more.begin(), more.end());
        for (const std::string& name : more)
            if (std::find(found.begin(), found.end(), name) == found.end()) found.push_back(name);
    }
    return found;
}

std::string ChooseSoundFont(const std::string& wanted, const std::vector<std::string>& installed,
                            std::string* note) {
    note->clear();
    if (!wanted.empty() && readable(wanted.c_str())) return wanted;
    std::string best = installed.empty() ? "" : installed.front();
    if (wanted.empty()) return best;
    if (best.empty())
        *note = "noma: soundfont " + wanted +
                " not found and no other soundfont is installed: music stays silent "
                "(install fluid-soundfont-gm)";
    else
        *note = "noma: soundfont " + wanted + " not found; using " + best;
    return best;
}

void MidiChooseSoundFont(const std::string& wanted) {
    std::string note;
    std::string path = ChooseSoundFont(wanted, InstalledSoundFonts(), &note);
    if (!note.empty()) {
        std::fprintf(stderr, "%s\n", note.c_str());
        HostLog(note.c_str());
    }
    std::lock_guard<std::mutex> hold(lock);
    chosen_soundfont = path;
    soundfont_chosen = !wanted.empty();
}

const char* MidiSoundFontPath() {
    static std::string path;
    {
        std::lock_guard<std::mutex> hold(lock);
        if (soundfont_chosen) {
            path = chosen_soundfont;
            return path.c_str();
        }
    }
    path.clear();
    if (const char* list = std::getenv("SDL_SOUNDFONTS")) {
        path = list;
        path = path.substr(0, path.find(';'));
        if (!path.empty()) return path.c_str();
    }
    std::vector<std::string> installed = InstalledSoundFonts();
    path = installed.empty() ? "" : installed.front();
    return path.c_str();
}

bool MidiSynthOpen(int rate) {
    std::string path = MidiSoundFontPath();
    if (path.empty()) return false;
    std::lock_guard<std::mutex> hold(lock);
    if (loading || loaded) return true;
    // Detached: a process that ends while the soundfont loads need not wait for it.
    loading = true;
    std::thread(load, path, rate).detach();
    return true;
}

void MidiSynthPlay(std::vector<uint8_t> smf) {
    std::lock_guard<std::mutex> hold(lock);
    if (!loaded) {
        waiting_song = std::move(smf);
        song_waits = true;
        return;
    }
    start_song(std::move(smf));
}

bool MidiSynthReady() {
    std::lock_guard<std::mutex> hold(lock);
    return loaded;
}

bool MidiSynthSounding() {
    std::lock_guard<std::mutex> hold(lock);
    if (!synth) return false;
    return (player && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) ||
           fluid_synth_get_active_voice_count(synth) > 0;
}

void MidiSynthRender(int16_t* out, int frames, int channels) {
    int16_t stereo[2 * kSliceFrames];
    for (int done = 0; done < frames;) {
        int n = std::min(kSliceFrames, frames - done);
        std::lock_guard<std::mutex> hold(lock);
        // Nothing to play: the buffer keeps its silence, and an idle synthesiser costs nothing.
        if (!synth) return;
        bool playing = player && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING;
        if (!playing && fluid_synth_get_active_voice_count(synth) == 0) return;
        int16_t* at = out + size_t(done) * size_t(channels);
        if (channels >= 2) {
            fluid_synth_write_s16(synth, n, at, 0, channels, at, 1, channels);
        } else {
            fluid_synth_write_s16(synth, n, stereo, 0, 2, stereo, 1, 2);
            for (int i = 0; i < n; ++i)
                at[i] = int16_t((int(stereo[2 * i]) + int(stereo[2 * i + 1])) / 2);
        }
        done += n;
    }
}

void MidiSynthClose() {
    std::unique_lock<std::mutex> hold(lock);
    loader_done.wait(hold, [] { return !loading; });
    if (player) {
        fluid_player_stop(player);
        delete_fluid_player(player);
    }
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
    player = nullptr;
    synth = nullptr;
    settings = nullptr;
    loaded = false;
    song_waits = false;
    waiting_song.clear();
}

std::vector<uint8_t> StandardMidiFile(const std::vector<uint8_t>& bytes) {
    if (tag(bytes, 0, "MThd")) return bytes;
    if (!tag(bytes, 0, "RIFF") || !tag(bytes, 8, "RMID")) return {};
    // The chunks of the RIFF form, each an id, a little-endian length and its bytes, padded
    // to an even length.
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t length = little_endian(bytes, at + 4);
        size_t body = at + 8;
        if (length > bytes.size() - body) return {};
        if (tag(bytes, at, "data")) {
            std::vector<uint8_t> smf(bytes.begin() + long(body),
                                     bytes.begin() + long(body + length));
            return tag(smf, 0, "MThd") ? smf : std::vector<uint8_t>{};
        }
        at = body + length + (length & 1);
    }
    return {};
}
