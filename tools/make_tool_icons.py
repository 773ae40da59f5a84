#!/usr/bin/env python3
"""Draws the palettes' icons as plain PBM files, 16 x 16 and 32 x 32: the
tool, construct and dimension palettes' squares and the extension-line and
marker pictures of the dimension settings; the drawing window's strip of
view buttons (76 x 16 and 152 x 32); and the library window's settings box
(14 x 14 and 28 x 28).

Each icon is a few strokes and fills in a 16-unit square; the 2x image is
the same drawing rasterised at twice the resolution, not a blown-up 1x.
Run from the source root: python3 tools/make_tool_icons.py
"""
import math
import os

OUT = os.path.join("data", "ui", "icons")


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0.0 if l2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / l2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def polyline(points, closed=False):
    segs = list(zip(points, points[1:]))
    if closed:
        segs.append((points[-1], points[0]))
    return [("seg",) + a + b for a, b in segs]


def rect(l, t, r, b):
    return polyline([(l, t), (r, t), (r, b), (l, b)], closed=True)


def ellipse(cx, cy, rx, ry, a0=0.0, a1=360.0, n=48):
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return polyline(pts)


def fill_poly(points):
    return [("fill", points)]


def inside(px, py, pts):
    c = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            c = not c
        j = i
    return c


def bezier(p0, p1, p2, p3, n=24):
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        pts.append((u**3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t**3 * p3[0],
                    u**3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t**3 * p3[1]))
    return polyline(pts)


def arrow_head(x, y, dx, dy, size=3.0):
    # A filled head pointing along (dx, dy) with its tip at (x, y).
    l = math.hypot(dx, dy)
    ux, uy = dx / l, dy / l
    bx, by = x - ux * size, y - uy * size
    return fill_poly([(x, y), (bx - uy * size * 0.6, by + ux * size * 0.6), (bx + uy * size * 0.6, by - ux * size * 0.6)])


ICONS = {
    2: fill_poly([(4, 2), (4, 13), (6.8, 10.4), (8.6, 14.2), (10.2, 13.4), (8.4, 9.8), (12, 9.6)]),
    3: rect(2.5, 2.5, 9.5, 9.5) + rect(6.5, 6.5, 13.5, 13.5) + fill_poly([(6.5, 6.5), (9.5, 6.5), (9.5, 9.5), (6.5, 9.5)]),
    4: polyline([(2.5, 13.5), (13.5, 2.5)]),
    5: polyline([(2, 11), (11, 2)]) + polyline([(5, 14), (14, 5)]),
    6: rect(2.5, 4.5, 13.5, 11.5),
    7: polyline([(2.5, 11.5), (5.5, 3.5), (11.5, 2.5), (13.5, 9.5), (8.5, 13.5)], closed=True),
    8: ellipse(8, 8, 5.5, 5.5),
    9: ellipse(8, 8, 6.5, 4),
    10: ellipse(8, 12, 6, 6, 0, 180),
    11: bezier((2, 12), (4, 0), (11, 17), (14, 4)),
    12: fill_poly([(6, 6), (9, 6), (9, 9), (6, 9)]) + polyline([(7.5, 2), (7.5, 5)]) + polyline([(7.5, 11), (7.5, 14)])
        + polyline([(2, 7.5), (5, 7.5)]) + polyline([(11, 7.5), (14, 7.5)]),
    13: polyline([(3.5, 3.5), (12.5, 3.5)]) + polyline([(7.5, 3.5), (7.5, 12.5)]) + polyline([(3.5, 3.5), (3.5, 5.5)])
        + polyline([(12.5, 3.5), (12.5, 5.5)]) + polyline([(5.5, 12.5), (9.5, 12.5)]),
    14: polyline([(7.5, 3), (7.5, 12)]) + polyline([(3, 7.5), (12, 7.5)]) + arrow_head(7.5, 0.8, 0, -1, 4)
        + arrow_head(7.5, 14.2, 0, 1, 4) + arrow_head(0.8, 7.5, -1, 0, 4) + arrow_head(14.2, 7.5, 1, 0, 4),
    15: rect(2.5, 2.5, 9.5, 9.5) + rect(6.5, 6.5, 13.5, 13.5),
    16: ellipse(8, 8, 5.5, 5.5, 100, 380) + arrow_head(6.5, 2.5, -1, 0.2),
    17: rect(2.5, 8.5, 7.5, 13.5) + rect(2.5, 2.5, 13.5, 13.5) + polyline([(7.5, 8.5), (12, 4)]) + arrow_head(12.8, 3.2, 1, -1, 2.5),
    18: fill_poly([(1.5, 13.5), (6, 13.5), (6, 4)]) + polyline([(9.5, 13.5), (13.5, 13.5), (9.5, 4.5)], closed=True)
        + polyline([(7.5, 1.5), (7.5, 3)]) + polyline([(7.5, 5), (7.5, 7)]) + polyline([(7.5, 9), (7.5, 11)]) + polyline([(7.5, 13), (7.5, 14.5)]),
    19: rect(6, 6, 10, 10) + polyline([(2, 2), (4.5, 4.5)]) + polyline([(14, 2), (11.5, 4.5)]) + polyline([(2, 14), (4.5, 11.5)])
        + polyline([(14, 14), (11.5, 11.5)]),
}


def dim_line(x0, x1, y):
    # A dimension line with its two arrows pointing out to the ends.
    return polyline([(x0, y), (x1, y)]) + arrow_head(x0, y, -1, 0, 3.5) + arrow_head(x1, y, 1, 0, 3.5)


CONSTRUCT = {
    2: polyline([(13.5, 1.5), (13.5, 14.5)]) + polyline([(1.5, 8), (6.5, 8)]) + polyline([(8, 8), (9.5, 8)])
        + arrow_head(12.5, 8, 1, 0),
    3: polyline([(1.5, 14.5), (6, 10)]) + polyline([(10, 6), (14.5, 1.5)]) + polyline([(5, 7), (9, 11)])
        + polyline([(7, 5), (11, 9)]),
    4: polyline([(2.5, 1.5), (2.5, 8)]) + ellipse(8, 8, 5.5, 5.5, 180, 270) + polyline([(8, 13.5), (14.5, 13.5)]),
    5: polyline([(2.5, 1.5), (2.5, 8), (8, 13.5), (14.5, 13.5)]),
    6: polyline([(1.5, 13.5), (14.5, 13.5)]) + polyline([(8, 2), (8, 13.5)]) + polyline([(8, 10.5), (11, 10.5), (11, 13.5)]),
    7: polyline([(1.5, 3.5), (14.5, 3.5)]) + polyline([(1.5, 12.5), (14.5, 12.5)]) + polyline([(8, 6), (8, 10)])
        + arrow_head(8, 4.5, 0, -1, 2.5) + arrow_head(8, 11.5, 0, 1, 2.5),
    8: ellipse(7, 9.5, 4.5, 4.5) + polyline([(1, 5), (15, 5)]),
    9: polyline([(8, 2), (13.6, 5.25), (13.6, 11.75), (8, 15), (2.4, 11.75), (2.4, 5.25)], closed=True)
        + polyline([(2.4, 5.25), (8, 8.5), (13.6, 5.25)]) + polyline([(8, 8.5), (8, 15)]),
}

DIMENSION = {
    2: polyline([(2.5, 3), (2.5, 14)]) + polyline([(13.5, 3), (13.5, 14)]) + dim_line(3.2, 12.8, 7.5),
    3: polyline([(2, 14), (14.5, 14)]) + polyline([(2, 14), (9, 2)]) + ellipse(2, 14, 9.5, 9.5, 2, 58)
        + arrow_head(11.5, 13.4, 0.05, 1, 2.5) + arrow_head(6.8, 5.6, -0.85, -0.5, 2.5),
    4: ellipse(7, 9, 5.5, 5.5) + polyline([(7, 9), (14, 2)]) + arrow_head(10.9, 5.1, 1, -1, 3),
    5: polyline([(2.5, 1.5), (2.5, 14.5)]) + polyline([(2.5, 4), (13, 4)]) + polyline([(2.5, 8.5), (9, 8.5)])
        + polyline([(2.5, 13), (14.5, 13)]) + polyline([(13, 2.5), (13, 5.5)]) + polyline([(9, 7), (9, 10)]),
}

# Extension-line types 0-3: none, the first, the second, both.
EXTENSION = {
    0: dim_line(2.2, 13.8, 9),
    1: dim_line(2.2, 13.8, 9) + polyline([(1.5, 3), (1.5, 14.5)]),
    2: dim_line(2.2, 13.8, 9) + polyline([(14.5, 3), (14.5, 14.5)]),
    3: dim_line(2.2, 13.8, 9) + polyline([(1.5, 3), (1.5, 14.5)]) + polyline([(14.5, 3), (14.5, 14.5)]),
}

# Marker types 0-5 at the end of a dimension line: closed arrow, open
# arrow, slash, dot, circle, nothing.
MARKER = {
    0: polyline([(1.5, 8), (13.5, 8)]) + arrow_head(14.5, 8, 1, 0, 5),
    1: polyline([(1.5, 8), (14.5, 8)]) + polyline([(10, 5), (14.5, 8), (10, 11)]),
    2: polyline([(1.5, 8), (14.5, 8)]) + polyline([(10.5, 12), (14.5, 4)]),
    3: polyline([(1.5, 8), (12, 8)]) + fill_poly([(x, y) for x, y in
        [(12 + 2.5 * math.cos(math.radians(a)), 8 + 2.5 * math.sin(math.radians(a))) for a in range(0, 360, 30)]]),
    4: polyline([(1.5, 8), (9.5, 8)]) + ellipse(12, 8, 2.5, 2.5),
    5: polyline([(1.5, 8), (14.5, 8)]) + polyline([(14.5, 4), (14.5, 12)]),
}


def render(shapes, scale, w=16, h=16, comment="Dravelin tool icon"):
    width = 1.15  # stroke width in icon units
    rows = []
    for y in range(h * scale):
        row = []
        for x in range(w * scale):
            px, py = (x + 0.5) / scale, (y + 0.5) / scale
            on = False
            for s in shapes:
                if s[0] == "seg" and seg_dist(px, py, *s[1:]) <= width / 2:
                    on = True
                elif s[0] == "fill" and inside(px, py, s[1]):
                    on = True
                if on:
                    break
            row.append("1" if on else "0")
        rows.append(" ".join(row))
    return "P1\n# %s\n%d %d\n%s\n" % (comment, w * scale, h * scale, "\n".join(rows))


def shifted(shapes, dx, dy):
    out = []
    for s in shapes:
        if s[0] == "seg":
            out.append(("seg", s[1] + dx, s[2] + dy, s[3] + dx, s[4] + dy))
        else:
            out.append(("fill", [(x + dx, y + dy) for x, y in s[1]]))
    return out


def magnifier(sign):
    shapes = ellipse(6.5, 6.5, 4, 4) + polyline([(9.6, 9.6), (12.5, 12.5)]) + polyline([(10.2, 9.4), (12.8, 12)])
    shapes += polyline([(4.5, 6.5), (8.5, 6.5)])
    if sign > 0:
        shapes += polyline([(6.5, 4.5), (6.5, 8.5)])
    return shapes


# The five view buttons in their 14-unit squares: base view (a house), zoom
# in, zoom out, full view (four corners), redraw (a turning arrow).
STRIP_BUTTONS = [
    polyline([(1.5, 7.5), (7, 2), (12.5, 7.5)]) + polyline([(3.5, 6), (3.5, 12.5), (10.5, 12.5), (10.5, 6)])
    + polyline([(6.5, 12.5), (6.5, 9.5), (7.5, 9.5), (7.5, 12.5)]),
    magnifier(1),
    magnifier(-1),
    polyline([(2.5, 5.5), (2.5, 2.5), (5.5, 2.5)]) + polyline([(8.5, 2.5), (11.5, 2.5), (11.5, 5.5)])
    + polyline([(11.5, 8.5), (11.5, 11.5), (8.5, 11.5)]) + polyline([(5.5, 11.5), (2.5, 11.5), (2.5, 8.5)]),
    ellipse(6.5, 7.5, 4.5, 4.5, 90, 360) + arrow_head(11, 10.5, 0, 1, 3),
]


def strip_shapes():
    # Frame and separators: the strip's left column and bottom row lie just
    # outside the window, the buttons' squares start at 2 + 15 (n - 1).
    shapes = rect(0.5, 0.5, 75.5, 15.5)
    for k in range(5):
        shapes += polyline([(15 * k + 1.5, 0.5), (15 * k + 1.5, 15.5)])
    for n, button in enumerate(STRIP_BUTTONS, 1):
        shapes += shifted(button, 15 * n - 13, 1)
    return shapes


# The library window's settings box: a frame holding two sliders.
SETTINGS_BOX = (rect(0.5, 0.5, 13.5, 13.5) + polyline([(3, 4.5), (11, 4.5)]) + polyline([(3, 9.5), (11, 9.5)])
                + fill_poly([(4.5, 2.5), (7, 2.5), (7, 6.5), (4.5, 6.5)])
                + fill_poly([(7.5, 7.5), (10, 7.5), (10, 11.5), (7.5, 11.5)]))


def main():
    os.makedirs(OUT, exist_ok=True)
    sets = (("tool", ICONS), ("construct", CONSTRUCT), ("dimension", DIMENSION), ("dimext", EXTENSION),
            ("dimmark", MARKER))
    for stem, icons in sets:
        for n, shapes in icons.items():
            for scale, suffix in ((1, ""), (2, "@2x")):
                with open(os.path.join(OUT, "%s%d%s.pbm" % (stem, n, suffix)), "w") as f:
                    f.write(render(shapes, scale))
    for scale, suffix in ((1, ""), (2, "@2x")):
        with open(os.path.join(OUT, "strip408%s.pbm" % suffix), "w") as f:
            f.write(render(strip_shapes(), scale, 76, 16, "Dravelin view buttons"))
        with open(os.path.join(OUT, "sprop424%s.pbm" % suffix), "w") as f:
            f.write(render(SETTINGS_BOX, scale, 14, 14, "Dravelin symbol placement settings"))


if __name__ == "__main__":
    main()
