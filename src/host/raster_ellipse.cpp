// Ellipses and arcs as the platform rasterises them with a 1-pixel pen: the outline is a
// polygon through the points of an integer ellipse walk (one quadrant, mirrored), the interior
// a region of one span per row built by the same walk.
#include <algorithm>
#include <cstdlib>

#include "host/raster_core.h"

namespace {

// Shapes beyond this size are never asked for by the system (its coordinates are 16-bit);
// refusing them bounds the work and the memory of a call.
constexpr int64_t kMaxShapeSize = 65536;

struct Box {
    int left, top, right, bottom;
};

// The rectangle with left <= right and top <= bottom; false when it is empty or too large.
bool OrderBox(int left, int top, int right, int bottom, Box* box) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return false;
    if (int64_t(right) - left > kMaxShapeSize || int64_t(bottom) - top > kMaxShapeSize)
        return false;
    *box = Box{left, top, right, bottom};
    return true;
}

// One quadrant of the ellipse of width x height, from (width - 1, height / 2) to the middle
// column: x falls and y rises (an integer midpoint walk with exact error terms).
std::vector<RasterPoint> QuadrantPoints(int width, int height) {
    const int64_t a = width - 1, b = height - 1;
    const int64_t asq = 8 * a * a, bsq = 8 * b * b;
    int64_t dx = 4 * b * b * (1 - a);
    int64_t dy = 4 * a * a * (1 + (b % 2));
    int64_t err = dx + dy + a * a * (b % 2);
    int x = int(a), y = height / 2;
    std::vector<RasterPoint> points;
    points.reserve(size_t(width + height) / 2 + 2);
    for (int64_t guard = int64_t(width) + height + 4; x >= width / 2 && guard > 0; --guard) {
        const int64_t e2 = 2 * err;
        points.push_back({x, y});
        if (e2 >= dx) {
            --x;
            dx += bsq;
            err += dx;
        }
        if (e2 <= dy) {
            ++y;
            dy += asq;
            err += dy;
        }
    }
    // The walk stops early for very narrow ellipses (3 or 4 pixels wide): finish the tip in
    // the middle column, so that the outline reaches the top and bottom of its box.
    if (!points.empty())
        for (int tip = points.back().y + 1; tip <= b; ++tip)
            points.push_back({width / 2, tip});
    return points;
}

// Position of the direction (x, y) (y pointing up, centre-relative) along the four mirrored
// quadrants of `q`, counted counter-clockwise from the positive x axis.
int64_t FindIntersection(const std::vector<RasterPoint>& q, int64_t x, int64_t y) {
    const int64_t count = int64_t(q.size());
    int64_t i = 0;
    if (y >= 0) {
        if (x >= 0) {
            while (i < count && !(q[i].x * y <= q[i].y * x))
                ++i;
            return i;
        }
        while (i < count && !(q[i].x * y < q[i].y * -x))
            ++i;
        return 2 * count - i;
    }
    if (x >= 0) {
        while (i < count && !(q[i].x * -y <= q[i].y * x))
            ++i;
        return 4 * count - i;
    }
    while (i < count && !(q[i].x * -y < q[i].y * -x))
        ++i;
    return 2 * count + i;
}

// The interior region of the ellipse in `box`: one span per row, filled.
void FillEllipseInterior(const RasterTarget& t, const Box& box, uint32_t colour) {
    const int width = box.right - box.left, height = box.bottom - box.top;
    const int64_t a = width - 1, b = height - 1;
    const int64_t asq = 8 * a * a, bsq = 8 * b * b;
    int64_t dx = 4 * b * b * (1 - a);
    int64_t dy = 4 * a * a * (1 + (b % 2));
    int64_t err = dx + dy + a * a * (b % 2);

    struct Span {
        int left = 0, right = 0;
    };
    std::vector<Span> rows(static_cast<size_t>(height));
    int x = 0, y = height / 2;
    rows[size_t(y)] = Span{box.left, box.right};
    for (int64_t guard = int64_t(width) + height + 4; x <= width / 2 && guard > 0; --guard) {
        const int64_t e2 = 2 * err;
        if (e2 >= dx) {
            ++x;
            dx += bsq;
            err += dx;
        }
        if (e2 <= dy) {
            ++y;
            dy += asq;
            err += dy;
            if (y < height) rows[size_t(y)] = Span{box.left + x, box.right - x};
        }
    }
    // The upper half mirrors the lower one; the middle span also covers the row between them.
    for (int i = 0; i < height / 2; ++i) {
        const Span& s = rows[size_t(b - i)];
        RasterFill(t, s.left, box.top + i, s.right, box.top + i + 1, colour);
    }
    for (int i = height / 2; i < height; ++i) {
        const Span& s = rows[size_t(i)];
        const int row = box.bottom - height + i;
        const int first = i == height / 2 ? box.top + height / 2 : row;
        RasterFill(t, s.left, first, s.right, row + 1, colour);
    }
}

// Rectangle(left, top, right, bottom) with pen and brush of one colour.
void FilledRectangle(const RasterTarget& t, const Box& box, uint32_t colour) {
    const int right = box.right - 1, bottom = box.bottom - 1;
    const RasterPoint outline[4] = {
        {right, box.top}, {box.left, box.top}, {box.left, bottom}, {right, bottom}};
    RasterPolyline(t, outline, 4, true, colour);
    RasterFill(t, box.left + 1, box.top + 1, right, bottom, colour);
}

}  // namespace

void RasterEllipse(const RasterTarget& t, int left, int top, int right, int bottom,
                   uint32_t colour) {
    Box box;
    if (!t.pixels || !OrderBox(left, top, right, bottom, &box)) return;
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (width <= 2 || height <= 2) {
        FilledRectangle(t, box, colour);
        return;
    }
    FillEllipseInterior(t, box, colour);

    // The outline: the upper right quadrant walked from the right end of the middle row up to
    // the top, mirrored to the left and then downwards; the polygon closes on itself.
    std::vector<RasterPoint> q = QuadrantPoints(width, height);
    const size_t count = q.size();
    std::vector<RasterPoint> points(count * 4 + 4);
    for (size_t i = 0; i < count; ++i)
        points[i] = {box.right - width + q[i].x, box.top + height - 1 - q[i].y};
    size_t end = 2 * count - 1;
    if (width % 2) --end;  // the middle column is not doubled
    for (size_t i = 0; i < count; ++i)
        points[end - i] = {box.left + box.right - 1 - points[i].x, points[i].y};
    const size_t half = end + 1;
    end = 2 * half - 1;
    if (height % 2) --end;  // nor is the middle row
    for (size_t i = 0; i < half; ++i)
        points[end - i] = {points[i].x, box.top + box.bottom - 1 - points[i].y};
    RasterPolyline(t, points.data(), end + 1, true, colour);
}

std::vector<RasterPoint> RasterArcPoints(int left, int top, int right, int bottom, int start_x,
                                         int start_y, int end_x, int end_y) {
    Box box;
    if (!OrderBox(left, top, right, bottom, &box)) return {};
    const int width = box.right - box.left, height = box.bottom - box.top;
    std::vector<RasterPoint> q = QuadrantPoints(width, height);
    const int64_t count = int64_t(q.size());
    if (count == 0) return {};
    for (RasterPoint& p : q) {
        p.x -= width / 2;
        p.y -= height / 2;
    }
    // Counter-clockwise on the screen is clockwise with y pointing down: flip the directions.
    const int64_t start = FindIntersection(q, start_x, -int64_t(start_y));
    int64_t stop = FindIntersection(q, end_x, -int64_t(end_y));
    if (stop <= start) stop += 4 * count;

    std::vector<RasterPoint> points;
    points.reserve(size_t(stop - start));
    for (int64_t i = start; i < stop; ++i) {
        const int64_t k = i % count;
        const RasterPoint& p = q[size_t(k)];
        const RasterPoint& r = q[size_t(count - 1 - k)];
        switch ((i / count) % 4) {
            case 0:
                points.push_back({box.left + width / 2 + p.x, box.bottom - 1 - height / 2 - p.y});
                break;
            case 1:
                points.push_back(
                    {box.right - 1 - width / 2 - r.x, box.bottom - 1 - height / 2 - r.y});
                break;
            case 2:
                points.push_back({box.right - 1 - width / 2 - p.x, box.top + height / 2 + p.y});
                break;
            default:
                points.push_back({box.left + width / 2 + r.x, box.top + height / 2 + r.y});
                break;
        }
    }
    return points;
}

void RasterArc(const RasterTarget& t, int left, int top, int right, int bottom, int x3, int y3,
               int x4, int y4, uint32_t colour) {
    Box box;
    if (!t.pixels || !OrderBox(left, top, right, bottom, &box)) return;
    // The directions are taken from the centre of the ordered rectangle.
    const int cx = box.left + (box.right - box.left) / 2;
    const int cy = box.top + (box.bottom - box.top) / 2;
    std::vector<RasterPoint> points =
        RasterArcPoints(box.left, box.top, box.right, box.bottom, int(int64_t(x3) - cx),
                        int(int64_t(y3) - cy), int(int64_t(x4) - cx), int(int64_t(y4) - cy));
    RasterPolyline(t, points.data(), points.size(), false, colour);
}
