// libFuzzer target: arbitrary bytes as a player.ini. Parsing never fails hard, keeps every
// number within its range, and writing the window size into any text gives a text that reads
// back with that size and every other setting as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/player_settings.h"

namespace {

bool in_range(const PlayerSettings& s) {
    return s.music_volume >= 0 && s.music_volume <= 100 && s.effect_volume >= 0 &&
           s.effect_volume <= 100 && s.scale >= 0 && s.scale <= 16 && s.window_width >= 0 &&
           s.window_height >= 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    PlayerSettings read;
    std::vector<std::string> problems;
    ParsePlayerSettings(text, &read, &problems);
    if (!in_range(read)) __builtin_trap();

    PlayerSettings again;
    problems.clear();
    ParsePlayerSettings(WithWindowSize(text, 1234, 567), &again, &problems);
    if (!in_range(again) || again.window_width != 1234 || again.window_height != 567 ||
        again.music_volume != read.music_volume || again.effect_volume != read.effect_volume ||
        again.mute != read.mute || again.scale != read.scale ||
        again.fullscreen != read.fullscreen || again.integer_scaling != read.integer_scaling ||
        again.mincho_font != read.mincho_font || again.gothic_font != read.gothic_font ||
        again.soundfont != read.soundfont)
        __builtin_trap();
    return 0;
}
