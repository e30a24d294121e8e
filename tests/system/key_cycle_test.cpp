// A key pressed in the window reaches the tasks as a key event in the cycle that follows: the
// system runs in this process, the cycles one at a time (LOOP_EXIT), and the key comes through
// the window procedure as the message loop would hand it over.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/window_proc.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "system/in_process.h"

namespace {

class KeyToEvent : public InProcessRun {
protected:
    // True when the chain holds a key event with these key bytes.
    bool HasKeyEvent(const std::string& bytes) {
        for (Handle h = g_event_head; h; h = event_record(h)->next) {
            const EventRecord* e = event_record(h);
            const char* key = reinterpret_cast<const char*>(&e->word_a);
            if (e->code == EVENT_KEY && std::string(key, strnlen(key, 3)) == bytes) return true;
        }
        return false;
    }
    void Press(SDL_Keycode key) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        HostWindowInput(e, PresentLayout{0, 0, 640, 480, 640, 480}, 1.0f);
    }
    void Type(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
        HostWindowInput(e, PresentLayout{0, 0, 640, 480, 640, 480}, 1.0f);
    }
};

TEST_F(KeyToEvent, AKeyBecomesEvent512InTheNextCycle) {
    // Each press a key of its own (A-Z, 0-9), so its event is told from the others.
    std::vector<std::pair<SDL_Keycode, char>> keys;
    for (char c = 'a'; c <= 'z'; ++c)
        keys.push_back({SDL_Keycode(c), char(c - 'a' + 'A')});
    for (char c = '0'; c <= '9'; ++c)
        keys.push_back({SDL_Keycode(c), c});
    int next_cycle = 0, later = 0;
    for (const auto& [key, code] : keys) {
        // Let the key task take its own key event (a broadcast) before the next press.
        for (int i = 0; i < 7; ++i)
            RunCycles();
        ASSERT_FALSE(HasKeyEvent(std::string(1, code)));
        Press(key);
        int cycles = 0;
        while (!HasKeyEvent(std::string(1, code)) && cycles < 10) {
            RunCycles();
            ++cycles;
        }
        ASSERT_LT(cycles, 10) << "key " << code << " never arrived";
        // The key task reads no key in a cycle in which it receives an event (a clock tick
        // every fourth cycle, the quarter and half seconds): then the key comes a cycle later.
        EXPECT_LE(cycles, 4) << "key " << code;
        (cycles == 1 ? next_cycle : later)++;
    }
    // The virtual clock makes the count exact: the clock's events fall on four of the presses.
    EXPECT_EQ(next_cycle, 32);
    EXPECT_EQ(later, 4);
    // A Shift-JIS character typed through the input method is one key event of two bytes.
    for (int i = 0; i < 7; ++i)
        RunCycles();
    Type("漢");
    for (int i = 0; i < 4 && !HasKeyEvent(Sj("漢")); ++i)
        RunCycles();
    EXPECT_TRUE(HasKeyEvent(Sj("漢")));

    // Keys typed faster than the cycles run all arrive, in order: 36 keystrokes, each a key
    // down and its character, before the next cycle (characters not typed above).
    std::vector<std::string> typed;
    for (char c : std::string("abcdefghijklmnopqrstuvwxyz,-.;=@!#$%")) {
        Press(SDL_Keycode(c));
        Type(std::string(1, c).c_str());
        typed.push_back(std::string(1, c));
    }
    std::vector<std::string> arrived;
    for (int cycle = 0; cycle < 200 && arrived.size() < typed.size(); ++cycle) {
        RunCycles();
        for (const EventRecord* e = event_record(g_event_head); e; e = event_record(e->next)) {
            const char* key = reinterpret_cast<const char*>(&e->word_a);
            std::string bytes(key, strnlen(key, 3));
            bool new_key = std::find(arrived.begin(), arrived.end(), bytes) == arrived.end();
            bool was_typed = std::find(typed.begin(), typed.end(), bytes) != typed.end();
            if (e->code == EVENT_KEY && new_key && was_typed) arrived.push_back(bytes);
        }
    }
    EXPECT_EQ(arrived, typed);
}

}  // namespace
