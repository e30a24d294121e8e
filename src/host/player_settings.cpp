#include "host/player_settings.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/file.h"

namespace {

std::string trim(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return "";
    size_t end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

bool parse_switch(const std::string& value, bool* out) {
    std::string v = lower(value);
    if (v == "on" || v == "yes" || v == "true" || v == "1") {
        *out = true;
        return true;
    }
    if (v == "off" || v == "no" || v == "false" || v == "0") {
        *out = false;
        return true;
    }
    return false;
}

bool parse_number(const std::string& value, long low, long high, int* out) {
    if (value.empty() || value.size() > 9) return false;
    char* end = nullptr;
    long n = std::strtol(value.c_str(), &end, 10);
    if (*end || n < low || n > high) return false;
    *out = int(n);
    return true;
}

// The key of a "key = value" line, lower case; empty for comments and other lines.
std::string key_of(const std::string& line) {
    std::string t = trim(line);
    if (t.empty() || t[0] == '#' || t[0] == ';' || t[0] == '[') return "";
    size_t equals = t.find('=');
    if (equals == std::string::npos) return "";
    return lower(trim(t.substr(0, equals)));
}

bool read_text(const char* path, std::string* text) {
    FILE* file = HostFileOpen(path, "rb");
    if (!file) return false;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text->append(buffer, n);
        if (text->size() > (1u << 20)) break;  // a settings file is small; the rest is junk
    }
    HostFileClose(file);
    return true;
}

}  // namespace

void ParsePlayerSettings(const std::string& text, PlayerSettings* s,
                         std::vector<std::string>* problems) {
    int number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = trim(text.substr(start, end - start));
        start = end + 1;
        ++number;
        auto problem = [&](const std::string& what) {
            problems->push_back("line " + std::to_string(number) + ": " + what);
        };
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos) {
            problem("no '=' in \"" + line + "\"");
            continue;
        }
        std::string key = lower(trim(line.substr(0, equals)));
        std::string value = trim(line.substr(equals + 1));
        bool ok = true;
        if (key == "music_volume") {
            ok = parse_number(value, 0, 100, &s->music_volume);
        } else if (key == "effect_volume") {
            ok = parse_number(value, 0, 100, &s->effect_volume);
        } else if (key == "mute") {
            ok = parse_switch(value, &s->mute);
        } else if (key == "fullscreen") {
            ok = parse_switch(value, &s->fullscreen);
        } else if (key == "integer_scaling") {
            ok = parse_switch(value, &s->integer_scaling);
        } else if (key == "scale") {
            ok = parse_number(value, 0, 16, &s->scale);
        } else if (key == "window_width") {
            ok = parse_number(value, 0, 16384, &s->window_width);
        } else if (key == "window_height") {
            ok = parse_number(value, 0, 16384, &s->window_height);
        } else if (key == "mincho_font") {
            s->mincho_font = value;
        } else if (key == "gothic_font") {
            s->gothic_font = value;
        } else if (key == "soundfont") {
            s->soundfont = value;
        } else {
            problem("unknown setting \"" + key + "\"");
            continue;
        }
        if (!ok) problem("bad value \"" + value + "\" for " + key);
    }
}

PlayerSettings LoadPlayerSettings(const char* path) {
    PlayerSettings settings;
    std::string text;
    if (!read_text(path, &text)) return settings;
    std::vector<std::string> problems;
    ParsePlayerSettings(text, &settings, &problems);
    for (const std::string& p : problems)
        std::fprintf(stderr, "noma: %s %s (ignored)\n", path, p.c_str());
    return settings;
}

PlayerSettings MergePlayerSettings(PlayerSettings s, const HostOptions& o) {
    if (o.scale > 0) {
        s.scale = o.scale;
        s.window_width = s.window_height = 0;
    }
    if (o.fullscreen) s.fullscreen = *o.fullscreen;
    if (o.integer_scaling) s.integer_scaling = *o.integer_scaling;
    if (o.mute) s.mute = *o.mute;
    if (o.music_volume) s.music_volume = *o.music_volume;
    if (o.effect_volume) s.effect_volume = *o.effect_volume;
    if (o.mincho_font) s.mincho_font = *o.mincho_font;
    if (o.gothic_font) s.gothic_font = *o.gothic_font;
    if (o.soundfont) s.soundfont = *o.soundfont;
    return s;
}

std::string WithWindowSize(const std::string& text, int width, int height) {
    std::string out;
    bool wrote_width = false, wrote_height = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        bool last = end == std::string::npos;
        if (last) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        std::string key = key_of(line);
        if (key == "window_width") {
            if (!wrote_width) out += "window_width = " + std::to_string(width) + "\n";
            wrote_width = true;
        } else if (key == "window_height") {
            if (!wrote_height) out += "window_height = " + std::to_string(height) + "\n";
            wrote_height = true;
        } else {
            out += line + "\n";
        }
    }
    if (!wrote_width) out += "window_width = " + std::to_string(width) + "\n";
    if (!wrote_height) out += "window_height = " + std::to_string(height) + "\n";
    return out;
}

bool SavePlayerWindowSize(const char* path, int width, int height) {
    std::string text;
    read_text(path, &text);
    std::string updated = WithWindowSize(text, width, height);
    if (updated == text) return true;
    std::string temporary = std::string(path) + ".~" + std::to_string(getpid()) + ".tmp";
    FILE* file = HostFileOpen(temporary.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(updated.data(), 1, updated.size(), file) == updated.size();
    ok = HostFileClose(file) == 0 && ok;
    if (ok) ok = std::rename(temporary.c_str(), path) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}
