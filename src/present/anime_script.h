// The animation script language: one command a line, the first word the command and the
// following words its parameters, words separated by blanks, ';' or ','. A line whose first
// word is no command does nothing (comments, empty lines).
#pragma once

#include <cstddef>
#include <cstdint>

enum AnimeCommandKind {
    ANIME_CMD_NONE,
    ANIME_CMD_PIC,         // text: the picture
    ANIME_CMD_WAIT,        // a: ticks
    ANIME_CMD_JUMP,        // a: line
    ANIME_CMD_PRESS_JUMP,  // a: line
    ANIME_CMD_ADD_LOOP,    // a: start, b: end, text: format
    ANIME_CMD_SUB_LOOP,    // the same counting down
    ANIME_CMD_ENDMOTION,   // flags: the record flags the words name
};

constexpr size_t kAnimeWordSize = 80;  // words are cut to 79 bytes

struct AnimeCommand {
    AnimeCommandKind kind = ANIME_CMD_NONE;
    int32_t a = 0;
    int32_t b = 0;
    uint32_t flags = 0;
    char text[kAnimeWordSize] = {};
};

// Reads one script line (NUL-terminated). Missing numbers are 0, a missing name is empty.
AnimeCommand ParseAnimeLine(const char* line);

// The file name of a picture sequence: `format` with its first %d (optionally with a width and
// a 0 flag, as in "%03d") replaced by `counter`; "%%" is one '%', any other '%' is kept as it
// is. Cut to `size` - 1 bytes.
void FormatSequenceName(const char* format, int32_t counter, char* out, size_t size);
