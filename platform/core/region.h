// Regions: areas bounded by outlines in a port's local coordinates. A pixel
// belongs to a region when its centre is inside the outlines, even-odd, so a
// rectangle's outline holds exactly the pixels that painting it sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/raster.h"

namespace plat {

class Region {
public:
    struct Edge {
        Point a;
        Point b;
        friend bool operator==(const Edge&, const Edge&) = default;
    };

    // A replay adds an edge for every line of a filled piece: inline.
    void add_edge(Point a, Point b) {
        if (a != b) edges_.push_back({a, b});
    }
    void add_rect(const Rect& r);
    // The closed outline through the points.
    void add_polygon(std::span<const Point> points);
    // The outline of the pixels that paint_oval(r) sets.
    void add_oval(const Rect& r);
    // The outline of each span (spans of one row must not overlap).
    void add_spans(std::span<const Span> spans);
    void add_region(const Region& other);
    // Every edge moved by (dh, dv), saturating at the 16-bit range.
    void offset(int dh, int dv);

    const std::vector<Edge>& edges() const { return edges_; }
    // No edges; the memory stays for the next region.
    void clear() { edges_.clear(); }
    bool empty() const;
    // The smallest rectangle holding every pixel of the region.
    Rect bounds() const;
    // Whether pixel (h, v) belongs to the region.
    bool contains(std::int16_t h, std::int16_t v) const;
    // Whether any pixel of r belongs to the region.
    bool meets(const Rect& r) const;

    // The region's runs in rows y_from <= y < y_to, top row first, each
    // row's runs left to right, touching runs joined.
    std::vector<Span> spans(int y_from, int y_to) const;
    // The same into `out` (cleared first), whose memory a caller keeps.
    void spans(int y_from, int y_to, std::vector<Span>& out) const;
    // Where the outlines cross rows y_from <= y < y_to, each row's crossings
    // in order: the row's pixels run from the first to the second (x1
    // exclusive), the third to the fourth, and so on. What spans() and the
    // solid fills of a port read; an odd last crossing bounds nothing.
    struct Crossings {
        int first = 0;                   // the first row
        std::vector<std::uint32_t> end;  // per row, where its crossings end in xs: the next row's start
        std::vector<int> xs;
        int rows() const { return static_cast<int>(end.size()); }
    };
    // Into `out`, whose memory a caller keeps.
    void crossings(int y_from, int y_to, Crossings& out) const;
    // The runs of the frame drawn with a pen of pw x ph (both at least 1):
    // the region less the pixels whose whole (2 pw + 1) x (2 ph + 1)
    // neighbourhood lies inside.
    std::vector<Span> frame_spans(int pw, int ph, int y_from, int y_to) const;

private:
    std::vector<Edge> edges_;
};

// Collects what a port draws while a region records (used by Port).
class RegionRecorder {
public:
    // A line from the end of the open outline continues it; any other
    // starts a new outline and closes the previous one.
    void line(Point from, Point to) {
        if (!open_ || from != end_) start_outline(from);
        region_.add_edge(from, to);
        end_ = to;
    }
    void add_closed(const Region& outline);
    Region finish();
    // The region so far with the open outline closed, lent; clear() starts
    // afresh keeping the memory, for callers that collect many regions.
    const Region& region();
    void clear();

private:
    void close_outline();
    void start_outline(Point from);
    Region region_;
    bool open_ = false;
    Point start_;
    Point end_;
};

// The classic region data of pictures, big-endian: size, bounding box, then
// for each row where the region changes its y and the x of every inversion
// point, each list ended by 0x7FFF, and a final 0x7FFF; 10 bytes for a
// rectangle. The region is cut into bands of rows so that no piece exceeds
// `limit` bytes (a single row that does stays whole). An empty region gives
// no pieces.
std::vector<std::vector<std::uint8_t>> encode_region(const Region& rgn, std::size_t limit = 0x7FFF);
// Reads one piece of region data, which must fill `data` exactly; 0 when it
// is malformed (sizes, order and ranges are checked), 1 when out holds it.
int decode_region(std::span<const std::uint8_t> data, Region& out);

}  // namespace plat
