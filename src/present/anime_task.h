// AnimeTask: the animation script player.
#pragma once

#include "core/pool.h"

void AnimeTask(Handle task);
