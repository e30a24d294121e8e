// Ilvane: the game's task, called while the application flag is on.
#pragma once

#include "core/pool.h"

void Ilvane(Handle task);
