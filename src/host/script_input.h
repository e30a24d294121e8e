// Scripted input: a file of timed events that stand in for the user (tests, CI, demos). One
// event a line, "#" comment lines, times in milliseconds of the clock since start-up:
//   <t> key <code>   <t> char <byte>   <t> down <x> <y> [left|right]   <t> up
//   <t> move <x> <y>   <t> mod <bits>   <t> shot <file.png>   <t> close
// Numbers are decimal or 0x hex. The program thread applies the events that are due at its
// poll points, so a headless run on the virtual clock sees them at the same cycle every time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ScriptKind : uint8_t { Key, Char, Down, Up, Move, Mod, Shot, Close };

struct ScriptEvent {
    uint32_t time;
    ScriptKind kind;
    int x = 0, y = 0;
    uint32_t value = 0;  // key code, byte, button state or modifier bits
    std::string file;    // shot
};

// Parses the text of an input file into events ordered by time (lines of the same time keep
// their order). False with "line N: ..." in `error` on the first bad line.
bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error);

// Loads an input file (a path of the command line) as the script of this run.
bool HostLoadScript(const char* path, std::string* error);
bool HostScriptLoaded();
void HostClearScript();

// What the program thread has to do after applying the due events.
enum class ScriptRequest { None, Close };

// Applies the events due by the clock's current time, in order. A close is applied only at a
// cycle end: at a wait inside a cycle it stops the walk and waits, with everything behind it.
ScriptRequest HostApplyScript(bool at_cycle_end);

// Stores one input event as the window procedure would (not shot or close).
void ApplyScriptInput(const ScriptEvent& event);
