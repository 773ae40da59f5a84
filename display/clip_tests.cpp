#include "display/clip_tests.h"

#include <algorithm>

#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "store/geometry.h"
#include "store/records.h"
#include "store/settings.h"

namespace drav {

std::uint16_t drawourrgn = 0;
double rgnlx = 0, rgnly = 0, rgnhx = 0, rgnhy = 0;
plat::Rect rgnRect{};
plat::Rect origrgnRect{};

namespace {

std::int16_t clamp16(std::int32_t v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

plat::Rect intersect(const plat::Rect& a, const plat::Rect& b) {
    return {std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
            std::min(a.right, b.right)};
}

}  // namespace

std::int16_t fast_clip(double xa, double xb, double ya, double yb) {
    if (!clip_it || listing) return 1;
    return std::min(xa, xb) <= cur_win.xr && std::max(xa, xb) >= cur_win.xl &&
           std::min(ya, yb) <= cur_win.yt && std::max(ya, yb) >= cur_win.yb;
}

void limits(double dx, double dy, double* box, double ox, double oy) {
    const double x = rec_f64(sinfo, obj::ref_x) + ox + dx;
    const double y = rec_f64(sinfo, obj::ref_y) + oy + dy;
    if (x < box[box_xl]) box[box_xl] = x;
    if (x > box[box_xh]) box[box_xh] = x;
    if (y < box[box_yl]) box[box_yl] = y;
    if (y > box[box_yh]) box[box_yh] = y;
}

std::int16_t clip_area(std::int16_t corner, double w, double h) {
    if (!clip_it || listing) return 1;
    const double t = rec_f64(sinfo, obj::rotation);
    double r1x, r1y, r2x, r2y;
    rotate_cr(w, h, &r1x, &r1y, t);
    rotate_cr(w, -h, &r2x, &r2y, t);
    const double ox = corner ? r1x : 0, oy = corner ? r1y : 0;
    double box[4] = {large_limit, -large_limit, large_limit, -large_limit};
    limits(r1x, r1y, box, ox, oy);
    limits(-r1x, -r1y, box, ox, oy);
    limits(r2x, r2y, box, ox, oy);
    limits(-r2x, -r2y, box, ox, oy);
    return fast_clip(box[box_xl], box[box_xh], box[box_yl], box[box_yh]);
}

void ournewrgn() {
    if (myrgnGrafPtr) myrgnGrafPtr->erase_rect(offrgnRect);
    double x = 0, y = 0;
    get_oghandle(&x, &y);
    rgnlx = rgnhx = x;
    rgnly = rgnhy = y;
}

void ouropenrgn() { drawourrgn = 1; }

void ourclosergn() {
    drawourrgn = 0;
    const double h = qdviewport.height;
    rgnRect.left = clamp16(trunc_i32(wvxm * rgnlx + wvxa));
    rgnRect.right = clamp16(trunc_i32(wvxm * rgnhx + wvxa + 2));
    rgnRect.top = clamp16(trunc_i32(h - (wvym * rgnhy + wvya)));
    rgnRect.bottom = clamp16(trunc_i32(h - (wvym * rgnly + wvya) + 2));
    rgnRect = intersect(rgnRect, drawRect);
    origrgnRect = rgnRect;
}

void ouroffsetrgn(std::int16_t dx, std::int16_t dy) {
    rgnRect.left = clamp16(rgnRect.left + dx);
    rgnRect.right = clamp16(rgnRect.right + dx);
    rgnRect.top = clamp16(rgnRect.top + dy);
    rgnRect.bottom = clamp16(rgnRect.bottom + dy);
}

void ourframergn() {
    if (!myrgnGrafPtr || !drawCWindow) return;
    const plat::Rect dst = intersect(rgnRect, drawRect);
    if (dst.empty()) return;
    // Cut at an edge of the drawing area, the image shows its part on the
    // inner side of that edge.
    plat::Rect src = origrgnRect;
    const int w = dst.right - dst.left, hgt = dst.bottom - dst.top;
    if (dst.right >= drawRect.right) src.right = clamp16(src.left + w);
    if (dst.left <= drawRect.left) src.left = clamp16(src.right - w);
    if (dst.bottom >= drawRect.bottom) src.bottom = clamp16(src.top + hgt);
    if (dst.top <= drawRect.top) src.top = clamp16(src.bottom - hgt);

    plat::Port& window = *drawCWindow;
    const plat::RGBColor fore = window.fore_color(), back = window.back_color();
    plat::RGBColor black, white;
    make_RGBBlack(&black);
    make_RGBWhite(&white);
    for (plat::Port* p : {myrgnGrafPtr, drawCWindow}) {
        p->set_fore_color(black);
        p->set_back_color(white);
    }
    plat::copy_bits(*myrgnGrafPtr, window, src, dst, plat::srcXor);
    // The window keeps the colours the drawing set.
    window.set_fore_color(fore);
    window.set_back_color(back);
}

}  // namespace drav
