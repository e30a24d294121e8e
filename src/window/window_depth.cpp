// The depth pass and redraw marking: which windows are visible, how deep each covered one
// lies, and which windows must be repainted when an area is uncovered.
#include <algorithm>

#include "window/window.h"
#include "window/window_manager.h"

namespace {

bool shown(const WindowRecord* w) {
    return w->mode & (WIN_OPEN | WIN_SHOW);
}

// Every open or shown descendant loses WIN_DRAWABLE.
void undraw_descendants(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    for (Handle c = w->first_child; c;) {
        WindowRecord* child = window_record(c);
        if (!child) break;
        if (shown(child)) child->mode &= ~WIN_DRAWABLE;
        undraw_descendants(c);
        c = child->next;
    }
}

void depth_children(Handle parent);

void depth_one(Handle window) {
    WindowRecord* w = window_record(window);
    if (!shown(w)) {
        w->depth = 0;
        w->mode &= ~WIN_DRAWABLE;
        undraw_descendants(window);
        return;
    }
    if (!anyone_window(window)) {
        w->depth = 1;
        w->mode |= WIN_DRAWABLE;
        depth_children(window);
        return;
    }
    w->mode &= ~WIN_DRAWABLE;
    undraw_descendants(window);
    // Open siblings in front pass their depth on until the first that overlaps this one.
    int depth = 0;
    for (Handle s = w->next; s;) {
        WindowRecord* sibling = window_record(s);
        if (!sibling) break;
        if (sibling->mode & WIN_OPEN) {
            if (!windows_overlap(s, window)) {
                depth = sibling->depth;
            } else {
                depth = sibling->depth + 1;
                break;
            }
        }
        s = sibling->next;
    }
    window_record(window)->depth = int16_t(depth);
}

void depth_children(Handle parent) {
    WindowRecord* p = window_record(parent);
    if (!p) return;
    for (Handle c = p->last_child; c;) {
        depth_one(c);
        WindowRecord* w = window_record(c);
        c = w ? w->back : 0;
    }
}

// Sets WIN_REDRAW on every open descendant; returns how many were marked.
int mark_descendants(Handle window) {
    int n = 0;
    WindowRecord* w = window_record(window);
    for (Handle c = w ? w->first_child : 0; c;) {
        WindowRecord* child = window_record(c);
        if (!child) break;
        if ((child->mode & WIN_OPEN) && !(child->mode & WIN_REDRAW)) {
            child->mode |= WIN_REDRAW;
            ++n;
        }
        n += mark_descendants(c);
        c = child->next;
    }
    return n;
}

}  // namespace

bool windows_overlap(Handle a, Handle b) {
    int al = outer_left(a), at = outer_top(a), ar = al + outer_width(a), ab = at + outer_height(a);
    int bl = outer_left(b), bt = outer_top(b), br = bl + outer_width(b), bb = bt + outer_height(b);
    return std::max(al, bl) <= std::min(ar, br) && std::max(at, bt) <= std::min(ab, bb);
}

bool anyone_window(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return false;
    for (Handle s = w->next; s;) {
        WindowRecord* sibling = window_record(s);
        if (!sibling) break;
        bool counts = (sibling->mode & WIN_OPEN) &&
                      (!(sibling->mode & WIN_SUBWINDOW) || (sibling->mode & WIN_SHOW));
        if (counts && windows_overlap(s, window)) return true;
        s = sibling->next;
    }
    return false;
}

void window_depth() {
    depth_children(g_window_manager.root);
}

int mark_with_cover(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    int n = 0;
    if (!(w->mode & WIN_REDRAW)) {
        w->mode |= WIN_REDRAW;
        ++n;
    }
    if (w->depth == 1) return n;
    for (Handle t = w->next; t;) {
        WindowRecord* front = window_record(t);
        if (!front) break;
        if ((front->mode & WIN_OPEN) && !(front->mode & WIN_REDRAW) && windows_overlap(t, window)) {
            n += mark_with_cover(t);
            n += mark_descendants(t);
        }
        t = window_record(t)->next;
    }
    return n;
}

int mark_uncovered(Handle window) {
    WindowRecord* w = window_record(window);
    WindowRecord* p = w ? window_record(w->parent) : nullptr;
    if (!p) return 0;
    int deepest = 1;
    for (Handle s = p->first_child; s;) {
        WindowRecord* sibling = window_record(s);
        if ((sibling->mode & WIN_OPEN) && windows_overlap(s, window))
            deepest = std::max<int>(deepest, sibling->depth);
        s = sibling->next;
    }
    int n = 0;
    for (Handle s = p->first_child; s;) {
        WindowRecord* sibling = window_record(s);
        if ((sibling->mode & WIN_OPEN) && sibling->depth <= deepest && windows_overlap(s, window))
            n += mark_with_cover(s);
        s = window_record(s)->next;
    }
    return n;
}
