// Placeholder: the resource layer is being written.
#include "resource/resource.h"

SystemResources g_resources;
void ResetResources() { g_resources = {}; }
