#include "window/draw.h"

#include <algorithm>

#include "core/log.h"
#include "host/raster.h"
#include "host/sjis_literal.h"
#include "window/current_task.h"
#include "window/gc.h"
#include "window/window.h"

namespace {

void refuse(const char* operation, int x, int y) {
    if (!LogLineActive()) return;
    if (const char* task = current_task_name())
        LogLinef("WIN ERROR %s %s:指定描画位置(%d/%d)がおかしい"_sj, task, operation, x, y);
    else
        LogLinef("WIN ERROR %s:指定描画位置(%d/%d)がおかしい"_sj, operation, x, y);
}

// The window when it may be drawn into and the start point is acceptable, else nullptr.
WindowRecord* checked(Handle window, const char* operation, int x, int y, bool no_negative) {
    WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_DRAWABLE)) return nullptr;
    if (x > w->width || y > w->height || (no_negative && (x < 0 || y < 0))) {
        refuse(operation, x, y);
        return nullptr;
    }
    return w;
}

uint32_t text_color(Handle gc) {
    GCRecord* g = gc_record(gc);
    return g ? g->text : 0;
}

int abs_x(const WindowRecord* w, int x) {
    return x + w->origin_x + w->x;
}
int abs_y(const WindowRecord* w, int y) {
    return y + w->origin_y + w->y;
}

}  // namespace

bool window_drawable(Handle window) {
    return test_window_mode(window, WIN_DRAWABLE);
}

uint32_t Point(Handle window, int x, int y) {
    WindowRecord* w = checked(window, "Point", x, y, false);
    if (!w || x < 0 || y < 0 || x >= w->width || y >= w->height) return 0xFFFFFFFF;
    return HostGetPixel(abs_x(w, x), abs_y(w, y));
}

void Point(Handle window, int x, int y, uint32_t color) {
    WindowRecord* w = checked(window, "Point", x, y, false);
    if (w) HostSetPixel(abs_x(w, x), abs_y(w, y), color);
}

void PointGC(Handle window, int x, int y, Handle gc) {
    Point(window, x, y, text_color(gc));
}

void Line(Handle window, int x1, int y1, int x2, int y2, uint32_t color) {
    WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_DRAWABLE) || !w->width || !w->height) return;
    int right = w->width - 1, bottom = w->height - 1;
    x1 = std::clamp(x1, 0, right);
    x2 = std::clamp(x2, 0, right);
    y1 = std::clamp(y1, 0, bottom);
    y2 = std::clamp(y2, 0, bottom);
    HostLine(abs_x(w, x1), abs_y(w, y1), abs_x(w, x2), abs_y(w, y2), color);
}

void LineGC(Handle window, int x1, int y1, int x2, int y2, Handle gc) {
    Line(window, x1, y1, x2, y2, text_color(gc));
}

void Rectangle(Handle window, int x, int y, uint16_t width, uint16_t height, uint32_t color) {
    WindowRecord* w = checked(window, "Rectangle", x, y, true);
    if (!w) return;
    int wd = width, ht = height;
    if (x + wd > w->width) wd = w->width - x;
    if (y + ht > w->height) ht = w->height - y;
    HostRectangle(abs_x(w, x), abs_y(w, y), wd, ht, color);
}

void RectangleGC(Handle window, int x, int y, uint16_t width, uint16_t height, Handle gc) {
    Rectangle(window, x, y, width, height, text_color(gc));
}

void FillRectangle(Handle window, int x, int y, uint16_t width, uint16_t height, uint32_t color) {
    WindowRecord* w = checked(window, "FillRectangle", x, y, false);
    if (!w) return;
    int wd = width, ht = height;
    if (x + wd > w->width) wd = w->width - x;
    if (y + ht > w->height) ht = w->height - y;
    if (x < 0) {
        wd += x;
        x = 0;
    }
    if (y < 0) {
        ht += y;
        y = 0;
    }
    if (wd < 1 || ht < 1) return;
    HostFillRect(abs_x(w, x), abs_y(w, y), wd, ht, color);
}

void FillRectangleGC(Handle window, int x, int y, uint16_t width, uint16_t height, Handle gc) {
    FillRectangle(window, x, y, width, height, text_color(gc));
}

void Circle(Handle window, int x, int y, uint16_t width, uint16_t height, uint32_t color) {
    WindowRecord* w = checked(window, "Circle", x, y, true);
    if (w) HostEllipse(abs_x(w, x), abs_y(w, y), width, height, color);
}

void CircleGC(Handle window, int x, int y, uint16_t width, uint16_t height, Handle gc) {
    Circle(window, x, y, width, height, text_color(gc));
}

void Circle(Handle window, int x, int y, uint16_t width, uint16_t height, int x3, int y3, int x4,
            int y4, uint32_t color) {
    WindowRecord* w = checked(window, "Circle", x, y, true);
    if (!w) return;
    HostArc(abs_x(w, x), abs_y(w, y), width, height, abs_x(w, x3), abs_y(w, y3), abs_x(w, x4),
            abs_y(w, y4), color);
}

void CircleGC(Handle window, int x, int y, uint16_t width, uint16_t height, int x3, int y3, int x4,
              int y4, Handle gc) {
    Circle(window, x, y, width, height, x3, y3, x4, y4, text_color(gc));
}

void WinSemitransRectangle(Handle window, int x, int y, uint16_t width, uint16_t height,
                           uint32_t color) {
    WindowRecord* w = checked(window, "WinSemitransRectangle", x, y, false);
    if (!w) return;
    int wd = width, ht = height;
    if (x + wd > w->width) wd = w->width - x;
    if (y + ht > w->height) ht = w->height - y;
    if (wd < 1 || ht < 1) return;
    HostDarken(abs_x(w, x), abs_y(w, y), wd, ht, int16_t(color));
}

void WinSemitransRectangleGC(Handle window, int x, int y, uint16_t width, uint16_t height,
                             Handle gc) {
    WinSemitransRectangle(window, x, y, width, height, text_color(gc));
}
