// The row scan under a region's runs and a port's solid fills: where the
// edges of its outlines cross each row, the row sampled at its pixel
// centres (y + 1/2), even-odd. Inline so that a fill can take each row's
// crossings as they come instead of from a list.
#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/region.h"

namespace plat::scan {

// An edge crossing rows, top end first; a row samples it at y + 1/2, so an
// edge from y0 down to y1 crosses rows y0 .. y1 - 1.
struct Edge {
    int top, bottom;
    int x0, y0, dx, dy;
};

// The edges of `edges` that cross rows, into `es`; lo..hi - 1 the rows
// they cross (lo >= hi when none does).
inline void collect(const std::vector<Region::Edge>& edges, std::vector<Edge>& es, int& lo, int& hi) {
    es.clear();
    lo = INT_MAX;
    hi = INT_MIN;
    for (const Region::Edge& e : edges) {
        if (e.a.v == e.b.v) continue;
        const Point p = e.a.v < e.b.v ? e.a : e.b;
        const Point q = e.a.v < e.b.v ? e.b : e.a;
        es.push_back({p.v, q.v, p.h, p.v, q.h - p.h, q.v - p.v});
        lo = std::min<int>(lo, p.v);
        hi = std::max<int>(hi, q.v);
    }
}

// Drops every pair of edges between the same two points (such as the
// end of a band that a cap shares): the two cross each row at the same
// place, so together they change no pixel's count of crossings to its
// left, and no pixel. Few edges only: each is matched against the rest.
inline void drop_twins(std::vector<Edge>& es) {
    int n = static_cast<int>(es.size());
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const Edge &a = es[static_cast<std::size_t>(i)], &b = es[static_cast<std::size_t>(j)];
            if (a.top == b.top && a.bottom == b.bottom && a.x0 == b.x0 && a.dx == b.dx) {
                es[static_cast<std::size_t>(j)] = es[static_cast<std::size_t>(--n)];
                es[static_cast<std::size_t>(i)] = es[static_cast<std::size_t>(--n)];
                --i;
                break;
            }
        }
    es.resize(static_cast<std::size_t>(n));
}

// An edge's crossings down its rows: the first pixel whose centre lies at
// or right of the crossing is ceil(x - 1/2) with x = x0 + (y + 1/2 - y0)
// dx / dy, that is c = ceil(n / d) with n = (2 x0 - 1) dy + (2 y + 1 - 2 y0)
// dx and d = 2 dy. Each row adds 2 dx = sq d + sr (0 <= sr < d) to n, so c
// and what it overshoots, rr = c d - n (0 <= rr < d), step without a
// division: c grows by sq, or sq + 1 when sr exceeds rr. All but n fit 32
// bits.
struct Stepper {
    int top, bottom;  // rows top <= y < bottom
    int c, rr, sr, dsr, sq;  // dsr = d - sr
    int x() const { return c; }
    // By selection, not a branch (the carries come at random), with both
    // outcomes worked out from rr at once: a row costs rr two steps.
    void step() {
        const int t = rr - sr, u = rr + dsr;
        c += sq + (t < 0 ? 1 : 0);
        rr = t < 0 ? u : t;
    }
};

// Edge e from row t (its first row or later) to row b (exclusive).
inline Stepper stepper(const Edge& e, int t, int b) {
    const long long d = 2LL * e.dy;
    const long long n = (2LL * e.x0 - 1) * e.dy + (2LL * t + 1 - 2LL * e.y0) * e.dx;
    const long long q = floor_div(n, d), sq = floor_div(2LL * e.dx, d);
    const long long r = n - q * d;
    Stepper s;
    s.top = t;
    s.bottom = b;
    s.c = static_cast<int>(q + (r > 0 ? 1 : 0));
    s.rr = static_cast<int>(r > 0 ? d - r : 0);
    s.sr = static_cast<int>(2LL * e.dx - sq * d);
    s.dsr = static_cast<int>(d) - s.sr;
    s.sq = static_cast<int>(sq);
    return s;
}

// Sorts the crossings of a row; two or four in most rows, put in order
// by exchanges without branches (their order is random).
inline void order(int& a, int& b) {
    const int lo = std::min(a, b), hi = std::max(a, b);
    a = lo;
    b = hi;
}
inline void sort_crossings(int* x, int n) {
    if (n == 2) {
        order(x[0], x[1]);
        return;
    }
    if (n == 4) {
        order(x[0], x[1]);
        order(x[2], x[3]);
        order(x[0], x[2]);
        order(x[1], x[3]);
        order(x[1], x[2]);
        return;
    }
    if (n > 16) {
        std::sort(x, x + n);
        return;
    }
    for (int i = 1; i < n; ++i) {
        const int v = x[i];
        int j = i;
        for (; j > 0 && x[j - 1] > v; --j) x[j] = x[j - 1];
        x[j] = v;
    }
}

// Outlines of few edges (the bands and caps of a replay) are scanned a row
// at a time with the edges that cross it. Between rows where an edge
// starts or ends the same edges stay, so such a stretch runs without
// looking at the others, two edges (the common case) in registers.
constexpr std::size_t few_edges = 16;

// The crossings of rows y .. y + k - 1 into x, stepping s past them.
inline void walk(Stepper& s, int* x, int k) {
    Stepper e = s;
    for (int i = 0; i < k; ++i) {
        x[i] = e.x();
        e.step();
    }
    s = e;
}

// The same for two edges at once, whose steps overlap.
inline void walk(Stepper& s0, Stepper& s1, int* x0, int* x1, int k) {
    Stepper e0 = s0, e1 = s1;
    for (int i = 0; i < k; ++i) {
        x0[i] = e0.x();
        x1[i] = e1.x();
        e0.step();
        e1.step();
    }
    s0 = e0;
    s1 = e1;
}

// Rows first <= y < last, in order, of at most few_edges edges:
// sink.start(n) first with the number of crossings to come, then
// sink.two(y, k, x0, x1) for rows y .. y + k - 1 that two edges alone
// cross, x0[i] and x1[i] row y + i's crossings in no order, and
// sink.row(y, xs, m) for any other row, its m crossings in order.
template <class Sink>
void scan_few(const std::vector<Edge>& es, int first, int last, Sink& sink) {
    Stepper st[few_edges];
    int n = 0;
    std::uint32_t total = 0;
    for (const Edge& c : es) {
        const int t = std::max(c.top, first), b = std::min(c.bottom, last);
        if (t >= b) continue;
        // In order of their first row.
        const Stepper s = stepper(c, t, b);
        int k = n++;
        for (; k > 0 && st[k - 1].top > t; --k) st[k] = st[k - 1];
        st[k] = s;
        total += static_cast<std::uint32_t>(b - t);
    }
    sink.start(total);
    Stepper a[few_edges];
    int na = 0, next = 0;
    // Each edge's crossings of a stretch are worked out an edge at a time
    // (its few values stay in registers), at most `chunk` rows at once.
    constexpr int chunk = 64;
    int xs[few_edges][chunk];
    for (int y = first; y < last;) {
        for (int i = 0; i < na;) {
            if (a[i].bottom == y)
                a[i] = a[--na];
            else
                ++i;
        }
        while (next < n && st[next].top == y) a[na++] = st[next++];
        int stop = next < n ? st[next].top : last;
        for (int i = 0; i < na; ++i) stop = std::min(stop, a[i].bottom);
        while (y < stop) {
            const int k = std::min(stop - y, chunk);
            int i = 0;
            for (; i + 1 < na; i += 2) walk(a[i], a[i + 1], xs[i], xs[i + 1], k);
            if (i < na) walk(a[i], xs[i], k);
            if (na == 2) {
                sink.two(y, k, xs[0], xs[1]);
            } else {
                for (int j = 0; j < k; ++j) {
                    int row[few_edges];
                    for (int i = 0; i < na; ++i) row[i] = xs[i][j];
                    sort_crossings(row, na);
                    sink.row(y + j, row, na);
                }
            }
            y += k;
        }
    }
}

}  // namespace plat::scan
