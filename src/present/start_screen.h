// StartScreenTEST: the start screen's task.
#pragma once

#include "core/pool.h"

void StartScreenTEST(Handle task);
