#include "window/window_status.h"

#include "core/log.h"
#include "host/sjis_literal.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

unsigned long address(Handle h) {
    HandleEntry* e = handle_entry(h);
    return e ? e->body : 0;
}

void log_window(Handle window) {
    WindowRecord* w = window_record(window);
    for (Handle c = w->first_child; c; c = window_record(c)->next)
        log_window(c);
    w = window_record(window);
    const char* format =
        w->mode & WIN_SUBWINDOW ? "\t%s(%s)\t\t\t Depth%2d:%8lx" : "%s(%s)\t\t\t Depth%2d:%8lx";
    LogLinef(format, w->name, window_owner_name(window), w->depth, address(window));
    if (w->mode & WIN_SHOW) LogLine("     ｳｲﾝﾄﾞｳ SHOW．"_sj);
    if (w->mode & WIN_OPEN) LogLine("     ｳｲﾝﾄﾞｳ OPEN．"_sj);
    if (w->mode & WIN_DRAWABLE) LogLine("     ｳｲﾝﾄﾞｳは描画可能です．"_sj);
    if (window == g_window_manager.active) LogLine("     アクティブ状態．"_sj);
}

}  // namespace

void LogWindowStatus() {
    Handle root = g_window_manager.root;
    WindowRecord* r = window_record(root);
    if (!r) return;
    LogLinef("SYSTEM ROOT\t\t Depth%2d:%8lx(next %8lx back %8lx Obj %8lx )", r->depth,
             address(root), (unsigned long)r->next, (unsigned long)r->back,
             (unsigned long)r->first_object);
    for (Handle c = r->first_child; c; c = window_record(c)->next)
        log_window(c);
}
