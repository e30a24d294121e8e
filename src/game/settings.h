// The game's settings file (system\ilvane.res): typed reads of its keys, the word lists some
// keys hold, and the tables read from it at each start (status entries, mode names, calendar).
#pragma once

#include <cstddef>

#include "game/game_data.h"

// The value of `key` cut to `size` - 1 bytes; false (and `out` empty) when the key is missing.
bool ReadSetting(const char* key, char* out, size_t size);
// The first decimal number of the value; -1 when missing.
int SettingNumber(const char* key);
// True only when the value says on or yes.
bool SettingSwitch(const char* key);

// Splits a list value into words at blanks, ';' and ','. Each word is cut to `word_size` - 1
// bytes and stored at words + i * word_size; at most `max_words` are stored. The list ends at
// the end of the text or at a line break. Returns the number of words stored.
int SplitList(const char* text, char* words, int max_words, int word_size);

// Reads DISPLAY1 .. DISPLAY60 up to the first missing or empty one, counts the status sheets
// with the game's entries-per-sheet count and logs the count.
void ReadDisplayEntries(IlvaneGame& game);
// Reads MODENAME1 .. MODENAME19 up to the first missing one.
void ReadModeNames(ModeNameTable& table);
// Reads MONTH, DAY and WEEK; a missing key keeps 1.
Calendar ReadCalendar();
