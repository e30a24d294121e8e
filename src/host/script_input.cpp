#include "host/script_input.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/clock.h"
#include "host/input.h"
#include "host/keymap.h"
#include "host/screen.h"
#include "host/surface.h"

namespace {

std::vector<ScriptEvent> script;
size_t next_event = 0;
bool loaded = false;

bool parse_number(const std::string& word, long long low, long long high, long long* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    long long v = std::strtoll(word.c_str(), &end, 0);
    if (*end || v < low || v > high) return false;
    *value = v;
    return true;
}

const struct {
    const char* name;
    ScriptKind kind;
    size_t arguments;  // least number of words after the name
} kKinds[] = {
    {"key", ScriptKind::Key, 1},   {"char", ScriptKind::Char, 1},   {"down", ScriptKind::Down, 2},
    {"up", ScriptKind::Up, 0},     {"move", ScriptKind::Move, 2},   {"mod", ScriptKind::Mod, 1},
    {"shot", ScriptKind::Shot, 1}, {"close", ScriptKind::Close, 0},
};

bool parse_line(const std::string& line, ScriptEvent* event, std::string* problem) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    long long n;
    if (!parse_number(words[0], 0, UINT32_MAX, &n)) {
        *problem = "bad time \"" + words[0] + "\"";
        return false;
    }
    event->time = uint32_t(n);
    if (words.size() < 2) {
        *problem = "missing event";
        return false;
    }
    const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [&](const auto& k) { return words[1] == k.name; });
    if (kind == std::end(kKinds)) {
        *problem = "unknown event \"" + words[1] + "\"";
        return false;
    }
    event->kind = kind->kind;
    size_t given = words.size() - 2;
    size_t most = kind->kind == ScriptKind::Down ? 3 : kind->arguments;
    if (given < kind->arguments || (kind->kind != ScriptKind::Shot && given > most)) {
        *problem = "wrong number of values for \"" + words[1] + "\"";
        return false;
    }
    switch (kind->kind) {
        case ScriptKind::Key:
        case ScriptKind::Mod:
            if (!parse_number(words[2], 0, 0xFFFF, &n)) break;
            event->value = uint32_t(n);
            return true;
        case ScriptKind::Char:
            if (!parse_number(words[2], 1, 0xFF, &n)) break;
            event->value = uint32_t(n);
            return true;
        case ScriptKind::Down:
        case ScriptKind::Move: {
            long long y;
            if (!parse_number(words[2], -32768, 32767, &n) ||
                !parse_number(words[3], -32768, 32767, &y))
                break;
            event->x = int(n);
            event->y = int(y);
            if (kind->kind == ScriptKind::Move) return true;
            if (given == 2 || words[4] == "left") {
                event->value = MOUSE_LEFT;
            } else if (words[4] == "right") {
                event->value = MOUSE_RIGHT;
            } else {
                *problem = "unknown button \"" + words[4] + "\"";
                return false;
            }
            return true;
        }
        case ScriptKind::Shot: {
            // The file name is the rest of the line, blanks included.
            size_t at = line.find("shot") + 4;
            at = line.find_first_not_of(" \t", at);
            size_t end = line.find_last_not_of(" \t\r");
            event->file = line.substr(at, end + 1 - at);
            return true;
        }
        case ScriptKind::Up:
        case ScriptKind::Close:
            return true;
    }
    *problem = "bad value for \"" + words[1] + "\"";
    return false;
}

void take_shot(const std::string& file) {
    if (!HostSaveSurfacePng(file.c_str())) {
        std::fprintf(stderr, "noma: cannot write the screenshot %s\n", file.c_str());
        return;
    }
    std::error_code ignored;
    std::filesystem::path path = std::filesystem::weakly_canonical(file, ignored);
    std::printf("noma: screenshot %s\n", path.c_str());
    std::fflush(stdout);
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error) {
    events->clear();
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        ScriptEvent event{};
        std::string problem;
        if (!parse_line(line, &event, &problem)) {
            *error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        events->push_back(event);
    }
    std::stable_sort(events->begin(), events->end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.time < b.time; });
    return true;
}

bool HostLoadScript(const char* path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = std::string("cannot read ") + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<ScriptEvent> events;
    if (!ParseScript(text.str(), &events, error)) {
        *error = std::string(path) + ": " + *error;
        return false;
    }
    script = std::move(events);
    next_event = 0;
    loaded = true;
    return true;
}

bool HostScriptLoaded() {
    return loaded;
}

void HostClearScript() {
    script.clear();
    next_event = 0;
    loaded = false;
}

void ApplyScriptInput(const ScriptEvent& event) {
    switch (event.kind) {
        case ScriptKind::Key:
            HostStoreKey(uint16_t(event.value));
            break;
        case ScriptKind::Char:
            HostStoreChar(uint16_t(CharacterCode(uint8_t(event.value))));
            break;
        case ScriptKind::Down:
            HostSetCursor(event.x, event.y);
            HostSetMouseButtons(uint16_t(event.value));
            break;
        case ScriptKind::Up:
            HostSetMouseButtons(MOUSE_NONE);
            break;
        case ScriptKind::Move:
            HostSetCursor(event.x, event.y);
            break;
        case ScriptKind::Mod:
            HostSetModifierState(event.value, true);
            break;
        case ScriptKind::Shot:
        case ScriptKind::Close:
            break;
    }
}

ScriptRequest HostApplyScript(bool at_cycle_end) {
    uint32_t now = HostTickCount();
    while (next_event < script.size() && script[next_event].time <= now) {
        const ScriptEvent& event = script[next_event];
        if (event.kind == ScriptKind::Close) {
            if (!at_cycle_end) {
                HostSetCloseWaiting(true);
                return ScriptRequest::None;
            }
            ++next_event;
            return ScriptRequest::Close;
        }
        if (event.kind == ScriptKind::Shot)
            take_shot(event.file);
        else
            ApplyScriptInput(event);
        ++next_event;
    }
    return ScriptRequest::None;
}
