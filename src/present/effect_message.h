// How the effect player reads a message object of the window system: the sub-window its text is
// drawn in, its GC and its text.
#pragma once

#include "present/effect_data.h"

// Fills `out` for a message object; false for any other handle.
bool ReadMessageObject(Handle object, EffectMessage* out);
