// The redraw motion: over several cycles, every window marked WIN_REDRAW is drawn, its owner
// asked to draw the contents (ReqDrawEvent) and, after its answer (RetDrawEvent), its objects.
#pragma once

#include "core/pool.h"

// Starts a motion from the rearmost top-level window and runs its first step.
void start_redraw_motion();
// The owner of `window` answered with RetDrawEvent.
void continue_redraw_motion(Handle window);
// Marks every open top-level window and starts a motion (the host's later paints).
void RedrawAllWindows();
// The next window after `window` in the walk order of the motion.
Handle redraw_walk_next(Handle window);
