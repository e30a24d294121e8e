// The events WindowTask sends, filled as their receivers read them.
#pragma once

#include <cstdint>

#include "core/pool.h"

// `code` from WindowTask to task `destination`, the window in the value field.
void SendWindowManagerEvent(uint32_t destination, uint16_t code, Handle window);
// ReqDrawEvent for `window` to task `destination`.
void SendReqDraw(uint32_t destination, Handle window);
// Mouse press or release: the button state in the upper half of long A, x and y in word A
// and word B.
void SendMouseEvent(uint32_t destination, uint16_t code, Handle window, uint16_t buttons, int x,
                    int y);
// Enter or leave notices: the window in the value field, the object in the first data word.
void SendObjectEvent(uint32_t destination, uint16_t code, Handle window, Handle object);

// The owner's answer to a draw request: it has drawn `window`. During a redraw motion the owner
// stops drawing into the window until the motion ends (the window loses WIN_DRAWABLE).
// 0 when sent, 1 when the event could not be made.
int RetDrawEvent(Handle task, Handle window);
