// A wall started or ended on a line, rectangle or polygon opens it: the
// object is taken apart into lines, and the side the wall meets keeps only
// its parts outside the wall.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/command_loop.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "commands/draw/wall.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/object_find.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/levels.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/undo.h"

namespace drav {

namespace {

// The sides of the object last traced by chklines.
std::vector<WallLine> sides;

// Only lines, rectangles and polygons are picked while it lasts.
class CuttablePick {
public:
    CuttablePick() {
        std::memcpy(kept_, objs_valid, sizeof kept_);
        clear_valid_objects();
        chge_valid_objects(ok_line);
        chge_valid_objects(ok_rect);
        chge_valid_objects(ok_ellipse);
    }
    ~CuttablePick() { std::memcpy(objs_valid, kept_, sizeof kept_); }
    CuttablePick(const CuttablePick&) = delete;
    CuttablePick& operator=(const CuttablePick&) = delete;

private:
    std::uint16_t kept_[10];
};

bool cuttable(const ObjectRec& r) {
    const int kind = obj_kind(r);
    if (kind == ok_line || kind == ok_rect) return true;
    return kind == ok_ellipse && (rec_u16(r, ell::flags) & ell::polygon);
}

// The object under (x, y), loaded into `info`, when it may be cut.
bool pick_cuttable(double x, double y) {
    CuttablePick only;
    if (!find_object(&cutindx, x, y, 0)) return false;
    get_info(cutindx);
    return !get_LevelLocked(info.b[obj::level]) && cuttable(info);
}

void take_apart(std::int16_t n, const ObjectRec& rec) {
    stop_show_go(mode_erase, &rec);
    get_info(n);
    delete_object(n, 0);
}

void no_room() {
    show_error(err_no_room, 0);
    quit = 1;
    addnum = tool_select_code;
}

}  // namespace

int chklines(double x, double y, const ObjectRec& rec, WallLine* s, int* segments) {
    const std::uint16_t was_screen = drawtoscreen, was_listing = listing;
    ObjectRec r = rec;
    r.b[obj::width] = 1;
    save_pts = 1;
    drawtoscreen = 0;
    clip_it = 0;
    listing = 0;
    num_pts = 0;
    show(mode_trace, &r);
    sides.clear();
    for (int i = 0; endpoints && i + 1 <= num_pts / 2; ++i)
        sides.push_back(WallLine{endpoints[2 * i], endpoints[2 * i + 1], endpoints[2 * i + 2], endpoints[2 * i + 3]});
    save_pts = 0;
    clip_it = 1;
    *segments = static_cast<int>(sides.size());
    const WindowRec saved = cur_win;
    double wx = 0, wy = 0;
    rel_screen_world(3.5, 3.5, &wx, &wy);
    int hit = -1;
    if (wx > 0 && wy > 0) {
        change_window(x - wx, x + wx, y - wy, wy / wx, 0);
        setdrawmode(mode_trace);
        for (int i = 0; i < *segments && hit < 0; ++i) {
            clipped = 0;
            move_abs(sides[i].x1, sides[i].y1);
            line_abs(sides[i].x2, sides[i].y2);
            if (clipped) hit = i;
        }
        change_window(saved.xl, saved.xr, saved.yb, aspectratio, 0);
        cur_win = saved;
    }
    drawtoscreen = was_screen;
    listing = was_listing;
    if (hit >= 0) *s = sides[hit];
    return hit;
}

void bcutwall(double x, double y, std::uint16_t* flag) {
    const std::uint16_t was = drawtoscreen;
    drawtoscreen = 1;
    WallLine s{};
    int segments = 0, k = -1;
    if (pick_cuttable(x, y)) {
        btinfo = info;
        k = chklines(x, y, btinfo, &s, &segments);
    }
    // Without a side near the point there is nothing to open.
    if (k >= 0) {
        const std::vector<WallLine> all = sides;
        WallNodeRec& n = *cw;
        n.bcut_seg = s;
        n.bcut_piece1 = WallLine{s.x1, s.y1, s.x1, s.y1};
        n.bcut_piece2 = WallLine{s.x2, s.y2, s.x2, s.y2};
        n.bcut_index = cutindx;
        n.bcut_first = number_of_objects;
        n.bcut_count = 0;
        take_apart(cutindx, btinfo);
        bool room = true;
        for (int i = 0; i < segments && room; ++i) {
            if (i == k) continue;
            room = makeline(all[i].x1, all[i].y1, all[i].x2, all[i].y2, btinfo) != 0;
            if (room) ++n.bcut_count;
        }
        if (room) {
            *flag = 1;
        } else {
            undeltrim(&n.bcut_index, &n.bcut_first, &n.bcut_count);
            no_room();
        }
    }
    drawtoscreen = was;
}

void adjbtrim(double* lx, double* ly, double* rx, double* ry, double dlx, double dly, double drx, double dry) {
    WallNodeRec& n = *cw;
    const WallLine& s = n.bcut_seg;
    const double sdx = s.x2 - s.x1, sdy = s.y2 - s.y1;
    double x = 0, y = 0;
    if (!intersect(*lx, *ly, dlx, dly, s.x1, s.y1, sdx, sdy, &x, &y, 0, 0)) return;
    *lx = x;
    *ly = y;
    if (!intersect(*rx, *ry, drx, dry, s.x1, s.y1, sdx, sdy, &x, &y, 0, 0)) return;
    *rx = x;
    *ry = y;
    kept_pieces(*lx, *ly, dlx, dly, *rx, *ry, drx, dry, s, &n.bcut_piece1, &n.bcut_piece2);
}

int ecutwall(double* lx, double* ly, double dlx, double dly, double* rx, double* ry, double drx, double dry,
             std::uint16_t* flag) {
    const std::uint16_t was = drawtoscreen;
    drawtoscreen = 1;
    int done = 1;
    WallLine s{};
    int segments = 0, k = -1;
    ObjectRec copy{};
    if (pick_cuttable(pickx, picky)) {
        copy = info;
        k = chklines(pickx, picky, copy, &s, &segments);
    }
    double x = 0, y = 0;
    const double sdx = s.x2 - s.x1, sdy = s.y2 - s.y1;
    if (k >= 0 && intersect(*lx, *ly, dlx, dly, s.x1, s.y1, sdx, sdy, &x, &y, 0, 0)) {
        *lx = x;
        *ly = y;
        if (intersect(*rx, *ry, drx, dry, s.x1, s.y1, sdx, sdy, &x, &y, 0, 0)) {
            *rx = x;
            *ry = y;
            const std::vector<WallLine> all = sides;
            WallLine piece[2];
            const int which = kept_pieces(*lx, *ly, dlx, dly, *rx, *ry, drx, dry, s, &piece[0], &piece[1]);
            WallNodeRec& n = *cw;
            n.ecut_index = cutindx;
            n.ecut_first = number_of_objects;
            n.ecut_count = 0;
            n.flags |= wall_detached_bit;
            take_apart(cutindx, copy);
            bool room = true;
            for (int i = 0; i < segments && room; ++i) {
                if (i == k) continue;
                room = makeline(all[i].x1, all[i].y1, all[i].x2, all[i].y2, copy) != 0;
                if (room) ++n.ecut_count;
            }
            for (int p = 0; p < 2 && room; ++p) {
                if (!(which & (1 << p))) continue;
                room = makeline(piece[p].x1, piece[p].y1, piece[p].x2, piece[p].y2, copy) != 0;
                if (room) ++n.ecut_count;
            }
            if (room) {
                *flag = 1;
            } else {
                undeltrim(&n.ecut_index, &n.ecut_first, &n.ecut_count);
                done = 0;
            }
        }
    }
    drawtoscreen = was;
    return done;
}

}  // namespace drav
