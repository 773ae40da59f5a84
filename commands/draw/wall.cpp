#include "commands/draw/wall.h"

#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "display/screen.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"

namespace drav {

WallNodeRec* cwbase = nullptr;
WallNodeRec* lastcw = nullptr;
WallNodeRec* cw = nullptr;
WallNodeRec* pw = nullptr;
ObjectRec cwinfo{};
ObjectRec btinfo{};
double origx = 0, origy = 0;
double pickx = 0, picky = 0;
std::int16_t cutindx = first_object_slot;
double cur_rot = 0;
double tx0 = 0, ty0 = 0, tx1 = 0, ty1 = 0, tx2 = 0, ty2 = 0;
std::uint16_t detachit = 0;
std::uint16_t erased = 0;
ObjOptsRec* wallopts = nullptr;

namespace {

constexpr int prompt_next = 33, prompt_first = 34;

std::int16_t oldindx = 0;
int pivot_seen = 1;

void start_blink() { loop_start_blink(blinkwall); }

bool chain() { return wallopts->mline_opt1 != 1; }

void set_all_points(WallNodeRec& n, double x, double y) {
    n.pivot_x = x;
    n.pivot_y = y;
    for (WallLine* l : {&n.centre, &n.left, &n.right}) *l = WallLine{x, y, x, y};
}

void save_corner_points() {
    tx0 = cw->centre.x1;
    ty0 = cw->centre.y1;
    tx1 = cw->left.x1;
    ty1 = cw->left.y1;
    tx2 = cw->right.x1;
    ty2 = cw->right.y1;
}

// Quit and escape end either kind of wall alike; true when the key was one.
bool quit_or_abort(int key) {
    if (key == key_quit) {
        quit = 1;
        addnum = tool_select_code;
        return true;
    }
    if (key == key_esc) {
        aborted = 1;
        return true;
    }
    return false;
}

void det_key_options(int key) {
    if (quit_or_abort(key) || key != key_undo) return;
    erased = 1;
    erasewall();
}

void lin_key_options(int key) {
    if (quit_or_abort(key) || key != key_undo) return;
    loop_blink_off();
    if (chain() && cw->prev && !(cw->prev->flags & wall_detached_bit)) {
        erasewall();
        erased = 1;
    } else {
        loop_stop_blink();
        if (!chain()) trimprevious();
        undeltrim(&cw->bcut_index, &cw->bcut_first, &cw->bcut_count);
        wall_detach_line();
    }
}

// The settings changed under the segment in hand: it takes them on and,
// for a new pivot line, starts again at its origin.
void rebuild() {
    WallNodeRec& n = *cw;
    loop_blink_off();
    n.flags = static_cast<std::uint16_t>((n.flags & ~wall_spacing_bit) | (mlin_spacing(users_defs) ? wall_spacing_bit : 0));
    n.count = static_cast<std::uint8_t>(mlin_count(users_defs));
    n.wall_w = wall_width_now();
    n.caps = static_cast<std::uint16_t>(wallopts->mline_opt2);
    if (wallopts->mline_opt4 != pivot_seen) {
        set_all_points(n, origx, origy);
        pivot_seen = wallopts->mline_opt4;
    }
    if (chain() && n.prev && !(n.prev->flags & wall_detached_bit)) {
        pw = n.prev;
        const std::uint16_t was = drawtoscreen;
        drawtoscreen = 1;
        showwall(mode_erase, pw, cw, btinfo);
        pw->centre.x2 = n.centre.x1 = tx0;
        pw->centre.y2 = n.centre.y1 = ty0;
        pw->left.x2 = n.left.x1 = tx1;
        pw->left.y2 = n.left.y1 = ty1;
        pw->right.x2 = n.right.x1 = tx2;
        pw->right.y2 = n.right.y1 = ty2;
        showwall(mode_draw, pw, cw, btinfo);
        drawtoscreen = was;
        set_the_pivot(n.pivot_x, n.pivot_y, pw);
    } else {
        set_the_pivot(n.pivot_x, n.pivot_y, cw);
    }
}

bool settings_as_node() {
    const WallNodeRec& n = *cw;
    return n.caps == wallopts->mline_opt2 && ((n.flags & wall_spacing_bit) != 0) == (mlin_spacing(users_defs) != 0) &&
           n.count == mlin_count(users_defs) && n.wall_w == wall_width_now() && wallopts->mline_opt4 == pivot_seen;
}

}  // namespace

void rot_of_lock(int lock) {
    switch (lock) {
    case 0:
    case 1: cur_rot = 0; break;
    case 2: cur_rot = half_pie; break;
    case 3: cur_rot = units_defs.rotation_step; break;
    default: break;
    }
}

void alternate_restraint(int after) {
    if (after == 1) {
        set_lock_mode(2);
        cw->lock = 2;
        cur_rot = half_pie;
    } else if (after == 2) {
        set_lock_mode(1);
        cw->lock = 1;
        cur_rot = 0;
    }
}

double wall_width_now() {
    return mlin_spacing(users_defs) ? users_defs.wall_width * (mlin_count(users_defs) - 1) : users_defs.wall_width;
}

int newwall() {
    auto* n = static_cast<WallNodeRec*>(getmemory(sizeof(WallNodeRec)));
    if (!n) return 0;
    if (lastcw) {
        std::memcpy(n, lastcw, sizeof *n);
        n->prev = lastcw;
        n->next = nullptr;
        lastcw->next = n;
    } else {
        std::memset(n, 0, sizeof *n);
        cwbase = n;
    }
    lastcw = cw = n;
    return 1;
}

void freewalls() {
    for (WallNodeRec* n = cwbase; n;) {
        WallNodeRec* next = n->next;
        xfree(&n);
        n = next;
    }
    cwbase = lastcw = cw = pw = nullptr;
}

void setpivot(double x, double y) {
    cw->pivot_x = x;
    cw->pivot_y = y;
}

void set_the_pivot(double x, double y, const WallNodeRec* node) {
    const int choice = wallopts->mline_opt4;
    const int lock = node->lock;
    if (choice < 0 || choice > 2) {
        if (lock < 0 || lock > 3) setpivot(x, y);
    } else {
        const WallLine& q = choice == 0 ? cw->centre : choice == 1 ? cw->right : cw->left;
        switch (lock) {
        case 1: setpivot(x, q.y1); break;
        case 2: setpivot(q.x1, y); break;
        case 0:
        case 3: setpivot(q.x1, q.y1); break;
        default: setpivot(x, y); break;
        }
    }
    update_ref(cw->pivot_x, cw->pivot_y);
}

void wall_detach_line() {
    cw->flags |= wall_detached_bit;
    detachit = 1;
    erased = 0;
    pr_addmsg(prompt_first);
    do {
        const int key = loop_get_point(&origx, &origy, 1);
        if (key) det_key_options(key);
        if (!aborted && !quit && !erased) setpivot(origx, origy);
    } while (!accepted && !aborted && !quit && !erased);
    if (accepted && !aborted && !quit && !erased) set_all_points(*cw, origx, origy);
    cwinfo = info;
    cw->flags = static_cast<std::uint16_t>((cw->flags & ~wall_spacing_bit) | (mlin_spacing(users_defs) ? wall_spacing_bit : 0));
    if (!aborted && !quit) {
        start_blink();
        if (!erased && mlin_cut(users_defs) && there_are_objects()) {
            std::uint16_t flag = 0;
            bcutwall(origx, origy, &flag);
        }
    }
    get_info(number_of_objects);
    info = cwinfo;
}

void calcwall(double x, double y) {
    loop_stop_blink();
    cw->flags = static_cast<std::uint16_t>((cw->flags & ~wall_detached_bit) | (chain() ? 0 : wall_detached_bit));
    std::uint16_t flag = 0;
    savewall(&flag);
    get_info(number_of_objects);
    info = cwinfo;
    if (quit) return;
    detachit = chain() ? 0 : 1;
    WallNodeRec& n = *cw;
    n.flags &= static_cast<std::uint16_t>(~wall_detached_bit);
    n.centre.x1 = n.centre.x2;
    n.centre.y1 = n.centre.y2;
    n.left.x1 = n.left.x2;
    n.left.y1 = n.left.y2;
    n.right.x1 = n.right.x2;
    n.right.y1 = n.right.y2;
    save_corner_points();
    n.bcut_index = n.bcut_first = n.bcut_count = 0;
    n.ecut_index = n.ecut_first = n.ecut_count = 0;
    if (flag || !chain()) {
        wall_detach_line();
    } else {
        set_the_pivot(x, y, cw);
        alternate_restraint(n.lock);
    }
    start_blink();
    update_ref(cw->pivot_x, cw->pivot_y);
}

void add_wall(ObjOptsRec& opts) {
    wallopts = &opts;
    begin_object(ok_line, opts, false);
    cwinfo = info;
    const std::uint16_t was_drawtoscreen = drawtoscreen;
    const std::int16_t entry_lock = opts.lock_mode;
    cwbase = lastcw = cw = pw = nullptr;
    if (!newwall()) {
        quit = 1;
        return;
    }
    WallNodeRec& first = *cw;
    first.flags = static_cast<std::uint16_t>((mlin_spacing(users_defs) ? wall_spacing_bit : 0) |
                                             (chain() ? 0 : wall_detached_bit) | (obj_colour(info) & wall_colour_mask));
    first.style = info.b[obj::style];
    first.width = info.b[obj::width];
    first.level = info.b[obj::level];
    first.count = static_cast<std::uint8_t>(mlin_count(users_defs));
    first.caps = static_cast<std::uint16_t>(opts.mline_opt2);
    first.wall_w = wall_width_now();
    first.lock = opts.lock_mode;
    cutindx = first_object_slot;
    oldindx = indx;
    pivot_seen = opts.mline_opt4;
    RestraintSeen seen;
    wall_detach_line();
    if (accepted) {
        start_blink();
        while (!aborted && !quit) {
            save_corner_points();
            detachit = 0;
            pr_addmsg(prompt_next);
            do {
                erased = 0;
                const int key = loop_get_point(&pickx, &picky, 1);
                WallNodeRec& n = *cw;
                // The handle line stays reachable from the pivot.
                if (opts.mline_opt4 != opts.mline_opt3 && distance(pickx - n.pivot_x, picky - n.pivot_y) < n.wall_w) {
                    pickx = n.pivot_x;
                    picky = n.pivot_y + (picky < n.pivot_y ? -n.wall_w : n.wall_w);
                }
                if (key) lin_key_options(key);
                if (quit) {
                    loop_blink_off();
                    trimprevious();
                    undeltrim(&cw->bcut_index, &cw->bcut_first, &cw->bcut_count);
                    continue;
                }
                if (erased || aborted || detachit) continue;
                if (seen.changed(opts)) {
                    loop_blink_off();
                    rot_of_lock(opts.lock_mode);
                    cw->lock = opts.lock_mode;
                }
                if (settings_as_node())
                    wall_lin_compute(pickx, picky);
                else
                    rebuild();
            } while (!erased && !aborted && !accepted && !quit && !detachit);
            if (accepted && !detachit) {
                origx = pickx;
                origy = picky;
            }
            loop_blink_off();
        }
    }
    loop_stop_blink();
    if (quit) {
        indx = static_cast<std::int16_t>(number_of_objects - 1);
    } else if (aborted) {
        eraseallwalls();
        indx = oldindx;
    }
    freewalls();
    set_lock_mode(entry_lock);
    drawtoscreen = was_drawtoscreen;
}

}  // namespace drav
