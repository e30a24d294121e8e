// The backlog: every page shown is added to the message log text (show_message); the backlog
// window at (190, 25) shows it in a read-only view (object 120) that the arrow keys and the
// wheel scroll.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// The view's top line when the backlog opens: 1 when the whole log fits, else the log's lines
// less the visible lines, so that its end shows.
int backlog_open_top(int lines, int visible);
// The top line after a scroll key (3, 5, 32, 33 up; 4, 6, 34, 35 down); `top` unchanged when
// the view is at its end already.
int backlog_scroll(int code, int lines, int visible, int top);
// True for the keys that scroll the backlog.
bool is_backlog_key(int code);

// The message log text and the backlog window with its view, once.
void create_backlog(IlvaneGame& game, Handle task);
// Opens the window at (190, 25) with the end of the log in view.
void open_backlog(IlvaneGame& game, Handle task);
void close_backlog(IlvaneGame& game, Handle task);
// A scroll key while the backlog is open.
void scroll_backlog(IlvaneGame& game, int code);
// Draws the view (a draw request for the backlog window).
void draw_backlog(IlvaneGame& game);
