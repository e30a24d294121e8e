// AnimeTask: the animation script player (requests 1283, notice 1288; present/anime_data.h).
#pragma once

#include "core/pool.h"

void AnimeTask(Handle task);

// One tick of one animation: 0 go on, 1 the animation has ended (its script ran out, its
// sequence picture failed or its window is gone). The caller ends it.
int sync_anime(Handle task, Handle record);
