#include "platform/core/region.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/core/region_scan.h"

namespace plat {

namespace {

using Runs = std::vector<std::pair<int, int>>;  // [x0, x1) of one row, ordered

Runs intersect(const Runs& a, const Runs& b) {
    Runs out;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const int lo = std::max(a[i].first, b[j].first);
        const int hi = std::min(a[i].second, b[j].second);
        if (lo < hi) out.push_back({lo, hi});
        if (a[i].second < b[j].second)
            ++i;
        else
            ++j;
    }
    return out;
}

Runs subtract(const Runs& a, const Runs& b) {
    Runs out;
    std::size_t j = 0;
    for (auto [lo, hi] : a) {
        while (j < b.size() && b[j].second <= lo) ++j;
        for (std::size_t k = j; k < b.size() && b[k].first < hi; ++k) {
            if (b[k].first > lo) out.push_back({lo, b[k].first});
            lo = std::max(lo, b[k].second);
        }
        if (lo < hi) out.push_back({lo, hi});
    }
    return out;
}

// Symmetric difference of two ordered lists of distinct values.
std::vector<int> toggled(const std::vector<int>& a, const std::vector<int>& b) {
    std::vector<int> out;
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

void put16(std::vector<std::uint8_t>& out, int v) {
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

int get16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(d[at] << 8 | d[at + 1]));
}

constexpr int end_mark = 0x7FFF;

}  // namespace

// ---- Region ----

void Region::add_rect(const Rect& r) {
    if (r.empty()) return;
    const Point p[4] = {{r.top, r.left}, {r.top, r.right}, {r.bottom, r.right}, {r.bottom, r.left}};
    add_polygon(p);
}

void Region::add_polygon(std::span<const Point> points) {
    if (points.size() < 2) return;
    for (std::size_t i = 1; i < points.size(); ++i) add_edge(points[i - 1], points[i]);
    add_edge(points.back(), points.front());
}

void Region::add_oval(const Rect& r) {
    add_spans(oval_spans(r, r.top, r.bottom));
}

void Region::add_spans(std::span<const Span> spans) {
    for (const Span& s : spans) {
        if (s.x0 >= s.x1) continue;
        const std::int16_t y0 = clamp16(s.y), y1 = clamp16(s.y + 1LL);
        add_edge({y0, clamp16(s.x0)}, {y1, clamp16(s.x0)});
        add_edge({y1, clamp16(s.x1)}, {y0, clamp16(s.x1)});
    }
}

void Region::add_region(const Region& other) {
    edges_.insert(edges_.end(), other.edges_.begin(), other.edges_.end());
}

void Region::offset(int dh, int dv) {
    for (Edge& e : edges_) {
        e.a = {clamp16(e.a.v + static_cast<long long>(dv)),
               clamp16(e.a.h + static_cast<long long>(dh))};
        e.b = {clamp16(e.b.v + static_cast<long long>(dv)),
               clamp16(e.b.h + static_cast<long long>(dh))};
    }
}

std::vector<Span> Region::spans(int y_from, int y_to) const {
    std::vector<Span> out;
    spans(y_from, y_to, out);
    return out;
}

namespace {

// Kept between calls so that a scan allocates only while regions grow.
std::vector<scan::Edge>& scan_edges() {
    static std::vector<scan::Edge> s;
    return s;
}

// Rows from a scan into the lists of a Crossings.
struct ToCrossings {
    Region::Crossings& out;
    int first;
    int* xs = nullptr;
    std::uint32_t pos = 0;
    void start(std::uint32_t total) {
        if (out.xs.size() < total) out.xs.resize(total);
        xs = out.xs.data();
    }
    void two(int y, int k, const int* x0, const int* x1) {
        std::uint32_t* end = out.end.data() + (y - first);
        int* x = xs + pos;
        for (int i = 0; i < k; ++i) {
            x[2 * i] = std::min(x0[i], x1[i]);
            x[2 * i + 1] = std::max(x0[i], x1[i]);
            end[i] = pos + 2 * static_cast<std::uint32_t>(i + 1);
        }
        pos += 2 * static_cast<std::uint32_t>(k);
    }
    void row(int y, const int* x, int m) {
        std::copy(x, x + m, xs + pos);
        pos += static_cast<std::uint32_t>(m);
        out.end[static_cast<std::size_t>(y - first)] = pos;
    }
};

}  // namespace

void Region::crossings(int y_from, int y_to, Crossings& out) const {
    std::vector<std::uint32_t>& at = out.end;
    at.clear();
    std::vector<scan::Edge>& es = scan_edges();
    int lo, hi;
    scan::collect(edges_, es, lo, hi);
    const int first = std::max(y_from, lo), last = std::min(y_to, hi);
    out.first = first;
    if (first >= last) return;
    const int rows = last - first;
    if (es.size() <= scan::few_edges) {
        at.resize(static_cast<std::size_t>(rows));
        ToCrossings to{out, first};
        scan::scan_few(es, first, last, to);
        return;
    }
    // Each row's crossings get their own stretch of `xs`: counted first (as
    // differences, +1 at an edge's first row and -1 past its last, so that
    // the running sum is a row's count), then written an edge at a time.
    at.assign(static_cast<std::size_t>(rows) + 1, 0);
    for (const scan::Edge& c : es) {
        const int t = std::max(c.top, first), b = std::min(c.bottom, last);
        if (t >= b) continue;
        ++at[t - first];
        --at[b - first];
    }
    std::uint32_t total = 0, count = 0;
    for (int r = 0; r < rows; ++r) {
        count += at[r];
        at[r] = total;
        total += count;
    }
    at.pop_back();
    std::vector<int>& xs = out.xs;
    if (xs.size() < total) xs.resize(total);
    for (const scan::Edge& c : es) {
        const int t = std::max(c.top, first), b = std::min(c.bottom, last);
        if (t >= b) continue;
        scan::Stepper s = scan::stepper(c, t, b);
        for (int y = t - first; y < b - first; ++y) {
            xs[at[y]++] = s.x();
            s.step();
        }
    }
    // `at` now holds where each row's crossings end, which is where the
    // next row's start.
    std::uint32_t begin = 0;
    for (int row = 0; row < rows; ++row) {
        const std::uint32_t end = at[row];
        scan::sort_crossings(xs.data() + begin, static_cast<int>(end - begin));
        begin = end;
    }
}

void Region::spans(int y_from, int y_to, std::vector<Span>& out) const {
    out.clear();
    static Crossings c;
    crossings(y_from, y_to, c);
    std::uint32_t begin = 0;
    for (int row = 0; row < c.rows(); ++row) {
        const std::uint32_t end = c.end[row];
        const int* x = c.xs.data() + begin;
        const int m = static_cast<int>(end - begin);
        begin = end;
        const int y = c.first + row;
        const std::size_t row_start = out.size();
        for (int i = 0; i + 1 < m; i += 2) {
            if (x[i] == x[i + 1]) continue;
            if (out.size() > row_start && out.back().x1 == x[i])
                out.back().x1 = x[i + 1];
            else
                out.push_back({y, x[i], x[i + 1]});
        }
    }
}

Rect Region::bounds() const {
    int lo = INT_MAX, hi = INT_MIN;
    for (const Edge& e : edges_) {
        lo = std::min<int>({lo, e.a.v, e.b.v});
        hi = std::max<int>({hi, e.a.v, e.b.v});
    }
    if (lo >= hi) return {};
    const std::vector<Span> s = spans(lo, hi);
    if (s.empty()) return {};
    int left = INT_MAX, right = INT_MIN;
    for (const Span& sp : s) {
        left = std::min(left, sp.x0);
        right = std::max(right, sp.x1);
    }
    return {clamp16(s.front().y), clamp16(left), clamp16(s.back().y + 1LL), clamp16(right)};
}

bool Region::empty() const {
    return bounds().empty();
}

bool Region::contains(std::int16_t h, std::int16_t v) const {
    for (const Span& s : spans(v, v + 1))
        if (s.x0 <= h && h < s.x1) return true;
    return false;
}

bool Region::meets(const Rect& r) const {
    if (r.empty()) return false;
    for (const Span& s : spans(r.top, r.bottom))
        if (s.x0 < r.right && r.left < s.x1) return true;
    return false;
}

std::vector<Span> Region::frame_spans(int pw, int ph, int y_from, int y_to) const {
    std::vector<Span> out;
    if (pw < 1 || ph < 1 || y_from >= y_to) return out;
    const long long from = static_cast<long long>(y_from) - ph;
    const long long to = static_cast<long long>(y_to) + ph;
    const std::vector<Span> all = spans(static_cast<int>(std::max<long long>(from, INT_MIN)),
                                        static_cast<int>(std::min<long long>(to, INT_MAX)));
    if (all.empty()) return out;
    // Rows by number, eroded by the pen's width.
    const int top = all.front().y, bottom = all.back().y + 1;
    std::vector<Runs> rows(static_cast<std::size_t>(bottom - top));
    std::vector<Runs> narrowed(rows.size());
    for (const Span& s : all) {
        rows[s.y - top].push_back({s.x0, s.x1});
        if (s.x1 - s.x0 > 2 * pw) narrowed[s.y - top].push_back({s.x0 + pw, s.x1 - pw});
    }
    for (int y = std::max(y_from, top); y < std::min(y_to, bottom); ++y) {
        const Runs& here = rows[y - top];
        if (here.empty()) continue;
        Runs inside;
        if (static_cast<long long>(y) - ph >= top && static_cast<long long>(y) + ph < bottom) {
            inside = narrowed[y - ph - top];
            for (int k = y - ph + 1; k <= y + ph && !inside.empty(); ++k)
                inside = intersect(inside, narrowed[k - top]);
        }
        for (auto [x0, x1] : subtract(here, inside)) out.push_back({y, x0, x1});
    }
    return out;
}

// ---- Recording ----

void RegionRecorder::start_outline(Point from) {
    close_outline();
    open_ = true;
    start_ = from;
}

void RegionRecorder::add_closed(const Region& outline) {
    region_.add_region(outline);
}

void RegionRecorder::close_outline() {
    if (open_) region_.add_edge(end_, start_);
    open_ = false;
}

Region RegionRecorder::finish() {
    close_outline();
    return std::move(region_);
}

const Region& RegionRecorder::region() {
    close_outline();
    return region_;
}

void RegionRecorder::clear() {
    region_.clear();
    open_ = false;
}

// ---- Region data ----

std::vector<std::vector<std::uint8_t>> encode_region(const Region& rgn, std::size_t limit) {
    std::vector<std::vector<std::uint8_t>> out;
    const Rect bb = rgn.bounds();
    // 0x7FFF ends a list, so no coordinate may take that value: the last
    // row and column of the 16-bit plane are left out.
    const int bottom = std::min<int>(bb.bottom, end_mark - 1);
    if (bb.empty() || bottom <= bb.top) return out;
    const int rows = bottom - bb.top;
    std::vector<std::vector<int>> edges(static_cast<std::size_t>(rows) + 1);
    for (const Span& s : rgn.spans(bb.top, bottom)) {
        std::vector<int>& r = edges[s.y - bb.top];
        const int x0 = std::min(s.x0, end_mark - 1), x1 = std::min(s.x1, end_mark - 1);
        if (x0 >= x1) continue;
        if (!r.empty() && r.back() == x0)
            r.back() = x1;
        else {
            r.push_back(x0);
            r.push_back(x1);
        }
    }
    const auto piece = [&](int top, int left, int bottom, int right,
                           const std::vector<std::uint8_t>& body) {
        std::vector<std::uint8_t> d;
        put16(d, static_cast<int>(10 + body.size() + (body.empty() ? 0 : 2)));
        put16(d, top);
        put16(d, left);
        put16(d, bottom);
        put16(d, right);
        d.insert(d.end(), body.begin(), body.end());
        if (!body.empty()) put16(d, end_mark);
        out.push_back(std::move(d));
    };
    const bool rectangle =
        std::all_of(edges.begin(), edges.end() - 1,
                    [&](const std::vector<int>& r) { return r.size() == 2 && r == edges.front(); });
    if (rectangle) {
        piece(bb.top, edges.front()[0], bottom, edges.front()[1], {});
        return out;
    }
    const auto row_bytes = [](std::size_t n) -> std::size_t { return n ? 4 + 2 * n : 0; };
    std::vector<std::uint8_t> body;
    int top = 0, left = INT_MAX, right = INT_MIN;
    std::vector<int> prev;
    const auto add_row = [&](int y, const std::vector<int>& inv) {
        if (body.empty()) top = y;
        put16(body, y);
        for (int x : inv) {
            put16(body, x);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        put16(body, end_mark);
    };
    for (int i = 0; i <= rows; ++i) {
        const int y = bb.top + i;
        const std::vector<int>& cur = edges[i];
        std::vector<int> inv = toggled(cur, prev);
        if (inv.empty()) continue;
        if (!cur.empty() && !body.empty() &&
            10 + body.size() + row_bytes(inv.size()) + row_bytes(cur.size()) + 2 > limit) {
            // End this band here (every run closes) and start the next one.
            add_row(y, prev);
            piece(top, left, y, right, body);
            body.clear();
            left = INT_MAX;
            right = INT_MIN;
            inv = cur;
        }
        add_row(y, inv);
        prev = cur;
        if (cur.empty()) {
            // Every run closed: the band may end here.
            if (i == rows) piece(top, left, y, right, body);
        }
    }
    return out;
}

int decode_region(std::span<const std::uint8_t> data, Region& out) {
    out = Region{};
    if (data.size() < 10) return 0;
    const std::size_t size = static_cast<std::uint16_t>(get16(data, 0));
    if (size != data.size()) return 0;
    const Rect bb{
        static_cast<std::int16_t>(get16(data, 2)), static_cast<std::int16_t>(get16(data, 4)),
        static_cast<std::int16_t>(get16(data, 6)), static_cast<std::int16_t>(get16(data, 8))};
    if (size == 10) {
        out.add_rect(bb);
        return 1;
    }
    if (bb.empty()) return 0;
    // Inversion point (x, y) flips every pixel at or right of x, at or
    // below y: the edge from it down to the bottom of the box.
    Region r;
    std::size_t at = 10;
    int last_y = INT_MIN;
    for (;;) {
        if (at + 2 > size) return 0;
        const int y = get16(data, at);
        at += 2;
        if (y == end_mark) break;
        if (y <= last_y || y < bb.top || y > bb.bottom) return 0;
        last_y = y;
        int last_x = INT_MIN;
        for (;;) {
            if (at + 2 > size) return 0;
            const int x = get16(data, at);
            at += 2;
            if (x == end_mark) break;
            if (x <= last_x || x < bb.left || x > bb.right) return 0;
            last_x = x;
            r.add_edge({static_cast<std::int16_t>(y), static_cast<std::int16_t>(x)},
                       {bb.bottom, static_cast<std::int16_t>(x)});
        }
    }
    if (at != size) return 0;
    out = std::move(r);
    return 1;
}

}  // namespace plat
