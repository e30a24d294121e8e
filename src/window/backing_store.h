// Backing stores: the screen contents under a window, kept in a graphic of the window's outer
// size so that closing or moving it can put them back.
#pragma once

#include "core/pool.h"

// (Re)creates the window's backing store and sets WIN_BACKSTORE; logs when it cannot.
void BackingStore(Handle window);
// Copies the screen under the window into its backing store (nothing without one).
void SaveBackingStore(Handle window);
// Puts the saved screen back (nothing without one).
void RestoreBackingStore(Handle window);
