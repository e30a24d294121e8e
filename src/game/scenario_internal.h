// Shared pieces of the interpreter's files: the parameter rule of tags, the effect request, the
// debug display, and the tag families' handlers that the tag table dispatches to.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// The separators of tag parameters (blanks are gone before parameters are read).
inline bool IsParamSeparator(char c) {
    return c == ';' || c == ',' || c == '=' || c == '+' || c == '-' || c == '/' || c == '*' ||
           c == ' ' || c == '\t';
}

// Parameter n (from 1) of a parameter text: each parameter starts after one leading separator
// and runs to the next separator or the end, so "-5" reads as 5. Cut to fit `out` (size bytes,
// NUL included); empty when the text has fewer parameters.
char* TagParam(const char* parameters, int n, char* out, size_t size);
// The leading decimal digits of parameter n; 0 when it has none.
int TagNumber(const char* parameters, int n);

// Copies a Compare or Compute text stored in a record into `work` (size bytes) with its ".gsys"
// references resolved, and writes the resolved text back into the record when it fits there.
void ResolveStoredExpression(char* stored, char* work, size_t size);

// An effect request (event 1283) of `type` for the main window from `task` to the effect task.
void SendEffectRequest(Handle task, uint16_t type, Handle object, uint32_t mode, uint32_t color);

// Debug mode: fills the area of the main window with `fill`, writes the text's first 20 bytes
// (".." added when it is longer) at (tx, ty) in `color` and logs that text.
void ShowDebugText(int x, int y, int width, int height, uint32_t fill, int tx, int ty,
                   const char* text, uint32_t color);

using TagHandler = int (*)(Handle task, const char* parameters);

// Sound, pictures and backgrounds (scenario_tag_media.cpp).
int TagPlayMidi(Handle task, const char* parameters);
int TagPlayWave(Handle task, const char* parameters);
int TagStopWave(Handle task, const char* parameters);
int TagPutPicture(Handle task, const char* parameters);
int TagBgFormat1(Handle task, const char* parameters);
int TagBgFormat2(Handle task, const char* parameters);
int TagBgFormat3(Handle task, const char* parameters);
int TagBackGraphic(Handle task, const char* parameters);
int TagBg(Handle task, const char* parameters);
int TagCutGraphic(Handle task, const char* parameters);
int TagCloseGraphic(Handle task, const char* parameters);
int TagSetMenuGraphic(Handle task, const char* parameters);
int TagOffMenuGraphic(Handle task, const char* parameters);

// Windows, status sheets, fades and the title (scenario_tag_screen.cpp).
int TagOpenTitle(Handle task, const char* parameters);
int TagCloseMessage(Handle task, const char* parameters);
int TagOpenMessage(Handle task, const char* parameters);
int TagOpenSts(Handle task, const char* parameters);
int TagCloseSts(Handle task, const char* parameters);
int TagSheets(Handle task, const char* parameters);
int TagCloseSelect(Handle task, const char* parameters);
int TagWhiteOut(Handle task, const char* parameters);
int TagBlackOut(Handle task, const char* parameters);

// The story's flow: choices, page breaks, expressions, players and saves
// (scenario_tag_flow.cpp).
int TagGetPlayer(Handle task, const char* parameters);
int TagResult(Handle task, const char* parameters);
int TagSelect(Handle task, const char* parameters);
int TagInput(Handle task, const char* parameters);
int TagNoText(Handle task, const char* parameters);
int TagCompute(Handle task, const char* parameters);
int TagAutoSave(Handle task, const char* parameters);
int TagRestoreSave(Handle task, const char* parameters);
int TagDrawing(Handle task, const char* parameters);
