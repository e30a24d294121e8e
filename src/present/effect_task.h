// EffectTask: the text effect player (typewriter text, wipes, fades, capture and reveal).
#pragma once

#include "core/pool.h"

void EffectTask(Handle task);

// Draws the text effect of a message object again: mode 0 shows the whole current page at
// once, mode 1 goes on with the next page when there is one (otherwise the owner gets 1285),
// mode 2 draws the current page again up to where it had got. Returns 1 when the parent of the
// object's window cannot be drawn, else 0. The window objects draw message objects through it.
int RedrawEffect(Handle task, Handle object, int mode);

// Forgets the player's globals (start-up and tests).
void ResetEffects();
