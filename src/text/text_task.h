// TextTask: editing of input lines from the keyboard.
#pragma once

#include "core/pool.h"

void TextTask(Handle task);
