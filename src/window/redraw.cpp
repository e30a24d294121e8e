#include "window/redraw.h"

#include "core/log.h"
#include "host/sjis_literal.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_manager.h"
#include "window/window_objects.h"

namespace {

void undraw_all(Handle window) {
    WindowRecord* w = window_record(window);
    for (Handle c = w ? w->first_child : 0; c;) {
        WindowRecord* child = window_record(c);
        child->mode &= ~WIN_DRAWABLE;
        undraw_all(c);
        c = child->next;
    }
}

void clear_flag() {
    WindowRecord* root = window_record(g_window_manager.root);
    for (Handle c = root ? root->first_child : 0; c;) {
        WindowRecord* w = window_record(c);
        if (w->mode & WIN_REDRAW) {
            LogLinef("clear_flag()で描画要求フラグが下りていないウインドウがあります %s(%s)\n"_sj,
                     w->name, window_owner_name(c));
            window_record(c)->mode &= ~WIN_REDRAW;
        }
        c = window_record(c)->next;
    }
}

void end_redraw_motion() {
    LogLine("redraw motion end");
    ClearSystemFlag(FLAG_REDRAW_MOTION);
    g_window_manager.redraw_cursor = 0;
    window_depth();
    clear_flag();
}

// Draws the next marked window from the redraw cursor, or ends the motion.
void redraw_step() {
    WindowManager& m = g_window_manager;
    // The walk only descends, so it ends; the bound guards against a damaged tree.
    int guard = 1 << 20;
    for (Handle w = m.redraw_cursor; w && guard--; w = redraw_walk_next(w)) {
        WindowRecord* r = window_record(w);
        if (!r) break;
        if (!(r->mode & WIN_REDRAW)) continue;
        LogLinef("\t redraw request %s %s", r->name, window_owner_name(w));
        draw_window(w);
        request_draw(w);
        clear_window_mode(w, WIN_REDRAW);
        m.redraw_cursor = redraw_walk_next(w);
        return;
    }
    end_redraw_motion();
}

}  // namespace

Handle redraw_walk_next(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    if (w->next) return w->next;
    if (w->first_child) return w->first_child;
    WindowRecord* p = window_record(w->parent);
    return p ? p->next : 0;
}

void start_redraw_motion() {
    WindowManager& m = g_window_manager;
    SetSystemFlag(FLAG_REDRAW_MOTION);
    if (m.open_count > 1) undraw_all(m.root);
    WindowRecord* root = window_record(m.root);
    m.redraw_cursor = root ? root->first_child : 0;
    redraw_step();
}

void continue_redraw_motion(Handle window) {
    WindowManager& m = g_window_manager;
    if (m.object_cursor) {
        Handle cursor = m.object_cursor;
        m.object_cursor = DrawWindowObjects(ObjectParentWindow(cursor), cursor);
        if (m.object_cursor) return;
    } else if (test_window_mode(window, WIN_OBJECTS)) {
        set_window_mode(window, WIN_OBJDRAWING);
        m.object_cursor = DrawWindowObjects(window, 0);
        if (m.object_cursor) return;
    }
    if (TestSystemFlag(FLAG_REDRAW_MOTION)) redraw_step();
}

void RedrawAllWindows() {
    WindowRecord* root = window_record(g_window_manager.root);
    for (Handle s = root ? root->last_child : 0; s;) {
        WindowRecord* w = window_record(s);
        if (w->mode & WIN_OPEN) mark_with_cover(s);
        s = window_record(s)->back;
    }
    start_redraw_motion();
}
