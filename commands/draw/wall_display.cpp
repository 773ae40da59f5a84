// The wall in hand is no record: its bands are drawn line by line straight
// to the screen, in XOR while rubber-banding.
#include "commands/draw/wall.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/line_styles.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/settings.h"

namespace drav {

void dline(double x1, double y1, double x2, double y2, int marker, int style, int colour, std::int16_t mode,
           int width) {
    int k = (width - 1) % thick_codes + 1;
    if (k <= 0) k = 1;
    int t = 1;
    if (swaper & sw_wide_strokes) t = screen_thick_table[k < thick_codes ? k : thick_codes - 1];
    setdrawmode(mode);
    setlstyle(static_cast<std::int16_t>(style));
    setscreencolor(static_cast<std::int16_t>(colour));
    if (t > 1) {
        // The outline of a band t pixels wide, the same at every call so
        // that XOR takes it off again.
        double ox = 0, oy = 0;
        rotate_cr(0, (t - 1) / r_two * dotwidth, &ox, &oy, get_radangle(x2 - x1, y2 - y1));
        move_abs(x1 - ox, y1 - oy);
        line_abs(x2 - ox, y2 - oy);
        line_abs(x2 + ox, y2 + oy);
        line_abs(x1 + ox, y1 + oy);
        line_abs(x1 - ox, y1 - oy);
    } else {
        move_abs(x1, y1);
        line_abs(x2, y2);
    }
    if (marker) center_marker((x1 + x2) / r_two, (y1 + y2) / r_two, mode);
}

void showwall(std::int16_t mode, const WallNodeRec* node, const WallNodeRec* current, const ObjectRec& rec) {
    if (!node) return;
    if (mode == mode_draw || mode == mode_erase) cur_stop();
    setdrawmode(mode);
    const WallNodeRec& n = *node;
    if (n.bcut_index != 0 && node == current) {
        for (const WallLine& p : {n.bcut_piece1, n.bcut_piece2})
            dline(p.x1, p.y1, p.x2, p.y2, obj_midmark(rec), rec.b[obj::style], obj_colour(rec), mode, 1);
    }
    const int marker = (n.flags & 0x8000) ? 1 : 0;
    const int colour = n.flags & wall_colour_mask;
    const bool start_line = n.caps == 1 || n.caps == 3, end_line = n.caps == 2 || n.caps == 3;
    if (start_line) dline(n.left.x1, n.left.y1, n.right.x1, n.right.y1, marker, n.style, colour, mode, 1);
    dline(n.left.x1, n.left.y1, n.left.x2, n.left.y2, marker, n.style, colour, mode, n.width);
    for (int i = 1; i <= n.count - 2; ++i) {
        const WallLine l = inner_line(n, i);
        dline(l.x1, l.y1, l.x2, l.y2, marker, n.style, colour, mode, n.width);
    }
    dline(n.right.x1, n.right.y1, n.right.x2, n.right.y2, marker, n.style, colour, mode, n.width);
    if (end_line) dline(n.left.x2, n.left.y2, n.right.x2, n.right.y2, marker, n.style, colour, mode, 1);
    if (mode == mode_xor) center_marker(n.pivot_x, n.pivot_y, mode_xor);
    if (mode == mode_draw || mode == mode_erase) cur_go();
}

int blinkwall() {
    showwall(mode_xor, cw, cw, btinfo);
    return 1;
}

}  // namespace drav
