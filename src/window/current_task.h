// The name of the task being served by the last receive (kept only while the TASK trace flag
// is on), for the drawing refusal lines.
#pragma once

// nullptr when no task is current.
const char* current_task_name();
