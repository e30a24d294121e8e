// Replays host drawing operations from a text file on a fresh surface: the format of
// `nomatool gfx` and of the golden images in tests/golden.
//
// One operation a line, "#" starts a comment line, numbers are decimal or 0x hex and may be
// negative, colours are 0xBBGGRR, file names are relative to the operations file (UTF-8, given
// to the system as Shift-JIS). The first operation is "size W H" (a black surface). Then:
//
//   fill X Y W H C        rect X Y W H C        line X1 Y1 X2 Y2 C      pixel X Y C
//   ellipse X Y W H C     arc X Y W H X3 Y3 X4 Y4 C
//   focus X Y W H         (a focus rectangle; the same line twice erases it)
//   darken X Y W H V      (V a signed 16-bit darkening value)
//   bmp X Y FILE          stretch X Y W H FILE SX SY SW SH           magenta X Y FILE
//   tint X Y W H FILE C
//   text X Y SIZE FLAGS C TEXT...   (text output; the rest of the line, UTF-8)
//
// An operation that fails (a BMP that does not load) draws nothing and the run goes on.
#pragma once

#include <string>

// Runs the operations of `path`. False on an unreadable file or a malformed line, with a
// message ("FILE:LINE: ...") in `error`.
bool RunRasterScript(const std::string& path, std::string* error);
