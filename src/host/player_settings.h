// The player's own settings: player.ini beside NOMA.ini in the game's folder. NOMA.ini belongs
// to the game's author and is read by the system's rules; these settings belong to the person
// playing, and the host writes one of them back (the window size). Lines are "key = value";
// blank lines and lines starting with '#' or ';' are comments, a "[...]" line is ignored.
//
//   music_volume = 0..100        effect_volume = 0..100       mute = on|off
//   scale = 0..16 (0: the largest whole factor that fits)    fullscreen = on|off
//   integer_scaling = on|off (off: the picture fills the window, filtered)
//   mincho_font = FAMILY         gothic_font = FAMILY         soundfont = FILE
//   window_width, window_height  (written by the host when the window was resized)
//
// The command line overrides every setting for one run.
#pragma once

#include <string>
#include <vector>

#include "host/options.h"

constexpr const char* kPlayerSettingsFile = "player.ini";

struct PlayerSettings {
    int music_volume = 100;
    int effect_volume = 100;
    bool mute = false;
    int scale = 0;  // 0: the largest whole factor that fits the display
    bool fullscreen = false;
    bool integer_scaling = false;
    std::string mincho_font;  // empty: the system's own choice (MS, then IPA)
    std::string gothic_font;
    std::string soundfont;  // empty: the distribution's General MIDI soundfont
    int window_width = 0;   // the window's size when the last run ended; 0 when not known
    int window_height = 0;
};

// Reads settings from the text of a player.ini into `settings` (keys not in the text keep
// their values). Every line that is not understood adds a message to `problems`
// ("line N: ...") and changes nothing.
void ParsePlayerSettings(const std::string& text, PlayerSettings* settings,
                         std::vector<std::string>* problems);

// Reads `path` (a missing file gives the defaults); problems go to stderr, one line each.
PlayerSettings LoadPlayerSettings(const char* path);

// The settings of one run: the file's, with everything the command line gives put over them.
// A --scale on the command line also wins over the remembered window size.
PlayerSettings MergePlayerSettings(PlayerSettings file, const HostOptions& options);

// Sets the remembered window size in the text of a player.ini: the window_width and
// window_height lines are replaced (or added at the end); every other line stays as it is.
std::string WithWindowSize(const std::string& text, int width, int height);

// Writes the window size into `path` (through a temporary file and a rename); false when it
// cannot be written.
bool SavePlayerWindowSize(const char* path, int width, int height);
