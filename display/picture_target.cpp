#include "display/picture_target.h"

#include <cmath>

#include "display/direct_target.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"

namespace drav {

namespace {

bool right_angle(double a) { return a == r_zero || a == half_pie || a == pie || a == three_half_pie; }

// For the time of one recording: primitives go to the current port
// (`printing` 1) unclipped, and the screen's state comes back afterwards.
class PictTarget {
public:
    explicit PictTarget(plat::Port* port)
        : saver_(port), direct_(nullptr), printing_(printing), clip_it_(clip_it) {
        printing = 1;
        clip_it = 0;
    }
    ~PictTarget() {
        clip_it = clip_it_;
        printing = printing_;
    }
    PictTarget(const PictTarget&) = delete;
    PictTarget& operator=(const PictTarget&) = delete;

private:
    plat::PortSaver saver_;
    DirectTarget direct_;
    std::int16_t printing_;
    std::uint16_t clip_it_;
};

void draw_one(std::int16_t n) {
    const bool bracket = pict_bracketed(info) != 0;
    plat::Port* port = plat::current_port();
    if (bracket && port) port->comment(pic_group_begin);
    if (obj_kind(info) == ok_text) cumstgs(n);
    showgen(mode_draw, &info);
    if (bracket && port) port->comment(pic_group_end);
}

}  // namespace

std::int16_t emitPICTcomment(const ObjectRec& rec) {
    if (rec.b[obj::style] != solidstyle) return 1;
    const int kind = obj_kind(rec);
    if (kind == ok_point || kind == ok_line) return 0;
    const double rot = rec_f64(rec, obj::rotation);
    if (kind == ok_rect) return right_angle(rot) ? 0 : 1;
    if (kind == ok_ellipse) {
        const bool round = std::fabs(rec_f64(rec, ell::radius1) - rec_f64(rec, ell::radius2)) < small_tol;
        if (rec_f64(rec, ell::begin) == rec_f64(rec, ell::end)) {
            const bool polygon = (rec_u16(rec, ell::flags) & ell::polygon) != 0;
            return !polygon && (round || right_angle(rot)) ? 0 : 1;
        }
        return !round && !right_angle(rot) ? 1 : 0;
    }
    return 1;
}

std::int16_t pict_bracketed(const ObjectRec& rec) {
    return emitPICTcomment(rec) || (rec.b[obj::density_marks] & 0x0F) != 0 ? 1 : 0;
}

void pict_objects(const std::function<bool(std::int16_t)>& take) {
    for (std::int16_t n = first_object_slot; n < number_of_objects; ++n) {
        get_info(n);
        if (!is_live_object(info) || !take(n)) continue;
        draw_one(n);
    }
}

void cut_pict() {
    if (macgroup) {
        pict_objects([](std::int16_t n) { return get_in_group(n) != 0; });
        return;
    }
    std::int16_t n = indx;
    if (okindx(&n)) draw_one(n);
}

void draw_into_port(plat::Port& port, const std::function<void()>& draw) {
    const ObjectRec saved = info;
    const std::int16_t index = prev_index;
    const std::uint16_t was_modified = modified;
    const std::int16_t width = curlwidth;
    curlwidth = 0;
    nomore_info();
    {
        PictTarget target(&port);
        draw();
    }
    nomore_info();
    if (index != -1) get_info(index);
    info = saved;
    modified = was_modified;
    curlwidth = width;
}

plat::Picture record_picture(const std::function<void()>& draw, const plat::Rect& frame) {
    plat::Port recorder;
    recorder.open_picture(frame);
    draw_into_port(recorder, draw);
    return recorder.close_picture();
}

plat::Picture record_picture(const std::function<void()>& draw) { return record_picture(draw, offRect); }

plat::Picture selection_picture() { return record_picture(cut_pict); }

std::vector<std::uint8_t> selection_pict_bytes() { return plat::picture_bytes(selection_picture()); }

}  // namespace drav
