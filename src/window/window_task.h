// WindowTask: the window manager's task.
#pragma once

#include "core/pool.h"

void WindowTask(Handle task);
