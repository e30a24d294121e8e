// The view is a text line of the text task over the message log, made read-only; its top line
// and visible line count are the text line's own edit values, so drawing it is the text task's
// field drawing.
#include "game/backlog.h"

#include <cstring>

#include "kernel/event.h"
#include "text/text.h"
#include "window/object.h"
#include "window/text_task.h"
#include "window/window.h"

namespace {

constexpr int kBacklogX = 190;
constexpr int kBacklogY = 25;
constexpr int kBacklogWidth = 420;
constexpr int kBacklogHeight = 400;

Handle view(const IlvaneGame& game) {
    return ReqObject(game.backlog_window, kBacklogObject);
}

bool view_state(Handle object, TextLineState* state) {
    const ObjectRecord* o = object_record(object);
    if (!o) return false;
    std::memcpy(state, o->text, sizeof *state);
    return true;
}

void set_top(Handle object, int top) {
    ObjectRecord* o = object_record(object);
    if (!o) return;
    TextLineState state;
    std::memcpy(&state, o->text, sizeof state);
    state.top_line = uint32_t(top);
    std::memcpy(o->text, &state, sizeof state);
}

int log_lines(const IlvaneGame& game) {
    const TextHeader* h = text_header(game.message_log);
    return h ? int(h->lines) : 0;
}

}  // namespace

int backlog_open_top(int lines, int visible) {
    return visible > lines ? 1 : lines - visible;
}

int backlog_scroll(int code, int lines, int visible, int top) {
    const int end = lines - visible;
    switch (code) {
        case 4:
        case 6:
        case 34:
        case 35:
            if (end <= top - 1) return top;
            ++top;
            if (code == 34 || code == 35)
                if (end > top - 5) top += 4;
            if (code == 35)
                if (end > top - 5) top += 4;
            return top;
        case 3:
        case 5:
        case 32:
        case 33:
            if (top <= 1) return top;
            --top;
            if ((code == 32 || code == 33) && top > 4) top -= 3;
            if (code == 33 && top > 6) top -= 5;
            return top;
        default:
            return top;
    }
}

bool is_backlog_key(int code) {
    return (code >= 3 && code <= 6) || (code >= 32 && code <= 35);
}

void create_backlog(IlvaneGame& game, Handle task) {
    if (!game.message_log) game.message_log = CreateText(task, "ilvane_log", 0);
    if (game.backlog_window || !game.message_log) return;
    game.backlog_window = create_window(task, 0, kBacklogWidth, kBacklogHeight,
                                        WIN_FRAME | WIN_CONTROLBAR | WIN_TITLE);
    if (!game.backlog_window) return;
    set_window_name(game.backlog_window, "BackLog");
    Handle object = CreateTextLine(game.message_log, game.backlog_window, kBacklogObject, 0, 0,
                                   kBacklogWidth, kBacklogHeight);
    if (TextHeader* h = text_header(game.message_log)) h->flags |= TEXT_READ_ONLY;
    (void)object;
}

void open_backlog(IlvaneGame& game, Handle task) {
    Handle object = view(game);
    TextLineState state;
    if (!view_state(object, &state)) return;
    set_top(object, backlog_open_top(log_lines(game), state.visible_lines));
    SendWindowPointEvent(task, game.backlog_window, kBacklogX, kBacklogY);
}

void close_backlog(IlvaneGame& game, Handle task) {
    if (game.backlog_window) SendWindowEvent(task, game.backlog_window);
}

void scroll_backlog(IlvaneGame& game, int code) {
    Handle object = view(game);
    TextLineState state;
    if (!view_state(object, &state)) return;
    int top = int(state.top_line);
    int moved = backlog_scroll(code, log_lines(game), state.visible_lines, top);
    if (moved == top) return;
    set_top(object, moved);
    draw_backlog(game);
}

void draw_backlog(IlvaneGame& game) {
    if (Handle object = view(game)) DrawTextField(object);
}
