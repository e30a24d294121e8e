// The window manager's status dump: the window tree with depths and states, in the log.
#pragma once

void LogWindowStatus();
