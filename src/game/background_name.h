// Mode labels and background file names. A mode is a numeric player item whose values have
// names (MODENAME keys); a background format is a printf-like text whose %s places are filled
// with the current labels of the modes listed after it (BG_FORMAT keys).
#pragma once

#include <cstddef>

#include "game/game_data.h"

// The label of mode `name` for the player's current value; empty when the table has no such
// mode, the value is negative or has no label.
const char* mode_label(const IlvaneGame& game, const char* name);

// Fills the %s places of `format` with `labels` in order ("%%" is a percent sign; any other %
// is kept as written; a %s past the last label is left empty). Never writes past `size`.
void FormatWithLabels(const char* format, const char* const* labels, int count, char* out,
                      size_t size);

// The background file name from the current format (read from BG_FORMAT into the format and
// the graphic-system record's bg_format when the format is empty).
void bg_file_name(IlvaneGame& game, char* out, size_t size);
