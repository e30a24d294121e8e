// MenuTask: the menus' task.
#pragma once

#include "core/pool.h"

void MenuTask(Handle task);
