// EffectTask: the text effect player.
#pragma once

#include "core/pool.h"

void EffectTask(Handle task);
