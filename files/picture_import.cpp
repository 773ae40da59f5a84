#include "files/picture_import.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/messages.h"
#include "base/idle.h"
#include "display/graphics_unit.h"
#include "display/redraw.h"
#include "display/view_commands.h"
#include "files/file_commands.h"
#include "platform/core/files.h"
#include "platform/core/process.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"
#include "store/units.h"

namespace drav {

std::int16_t pictmerge = 0;
std::int16_t PICTRef = 0;
std::uint8_t textopt[6] = {};
std::int32_t textcenter[2] = {};
std::uint16_t centertext = 0;

namespace {

constexpr int err_bad_picture = 170;      // table 406
constexpr long long max_picture_bytes = 64LL << 20;
constexpr int default_text_size = 12;
constexpr int comment_text_begin = 150, comment_text_end = 151, comment_string_end = 153,
              comment_text_center = 154;
constexpr int face_bold = 1, face_italic = 2;

// What the picture's port would hold while it plays.
struct Play {
    plat::Point pen;  // pen location, picture points
    plat::Point text_at;
    int pen_h = 1;
    bool patterned = false;
    int font = 0, face = 0, size = 0;
    plat::Point oval_size{1, 1};  // v, h
    plat::Rect last_rect, last_rrect, last_oval, last_arc;
    // The picture's frame onto the destination.
    plat::Rect from, to;
    double sx = 1, sy = 1;
    double H = 0;
};
Play g;
double g_x = 0, g_y = 0;  // the reference point of the object being built

void reset_textopt() {
    textopt[0] = 0;
    textopt[1] = 0;
    textopt[2] = textopt[3] = 0;
    textopt[4] = 1;
    textopt[5] = 0;
    centertext = 0;
}

std::int16_t textopt_angle() { return static_cast<std::int16_t>(textopt[2] << 8 | textopt[3]); }

double px(double h) { return g.to.left + (h - g.from.left) * g.sx; }
double py(double v) { return g.H - (g.to.top + (v - g.from.top) * g.sy); }

std::int16_t w16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::int16_t>(d[at] << 8 | d[at + 1]);
}
plat::Point point_at(const std::vector<std::uint8_t>& d, std::size_t at) { return {w16(d, at), w16(d, at + 2)}; }
plat::Rect rect_at(const std::vector<std::uint8_t>& d, std::size_t at) {
    return {w16(d, at), w16(d, at + 2), w16(d, at + 4), w16(d, at + 6)};
}

double deg(double d) { return d * pie / 180.0; }

void start(double x, double y) {
    startobj(x, y, props_defs.level & 0xFF, props_defs.colour, props_defs.style);
}

void line_obj(double x1, double y1, double x2, double y2) {
    start(x1, y1);
    makeline(x2 - x1, y2 - y1);
    finishobj();
}

void ell_obj(double cx, double cy, double r1, double r2, double b, double e, int dir) {
    start(cx, cy);
    makeell(r1, r2, deg(b), deg(e), dir, 0);
    finishobj();
}

void do_line(plat::Point to) {
    line_obj(px(g.pen.h), py(g.pen.v), px(to.h), py(to.v));
    g.pen = to;
}

void do_rect(const plat::Rect& r) {
    start(px(r.left), py(r.top));
    make2rect(px(r.right) - px(r.left), py(r.bottom) - py(r.top));
    finishobj();
}

void do_rrect(const plat::Rect& r) {
    if (g.oval_size.h == 1 && g.oval_size.v == 1) {
        do_rect(r);
        return;
    }
    const double l = px(r.left), rt = px(r.right), t = py(r.top), b = py(r.bottom);
    const double W = rt - l, Hh = t - b;
    if (W >= 25 && Hh >= 25) {
        const double rx = g.oval_size.h * g.sx / 2, ry = g.oval_size.v * g.sy / 2;
        line_obj(l + rx, t, rt - rx, t);
        line_obj(l + rx, b, rt - rx, b);
        line_obj(l, b + ry, l, t - ry);
        line_obj(rt, b + ry, rt, t - ry);
        ell_obj(l + rx, t - ry, rx, ry, 90, 180, 0);
        ell_obj(rt - rx, t - ry, rx, ry, 0, 90, 0);
        ell_obj(l + rx, b + ry, rx, ry, 180, 270, 0);
        ell_obj(rt - rx, b + ry, rx, ry, 270, 0, 0);
    } else if (W < 25 && Hh >= 25) {
        const double r2 = W / 2;
        line_obj(l, b + r2, l, b + r2 + (Hh - W));
        line_obj(rt, b + r2, rt, b + r2 + (Hh - W));
        ell_obj(l + r2, t - r2, r2, r2, 180, 0, 1);
        ell_obj(l + r2, b + r2, r2, r2, 0, 180, 1);
    } else if (W >= 25 && Hh < 25) {
        const double r2 = Hh / 2;
        line_obj(l + r2, t, l + r2 + (W - Hh), t);
        line_obj(l + r2, b, l + r2 + (W - Hh), b);
        ell_obj(l + r2, b + r2, r2, r2, 270, 90, 1);
        ell_obj(rt - r2, b + r2, r2, r2, 90, 270, 1);
    } else {
        ell_obj((l + rt) / 2, (t + b) / 2, W / 2, Hh / 2, 0, 0, 1);
    }
}

void do_oval(const plat::Rect& r) {
    const double l = px(r.left), rt = px(r.right), t = py(r.top), b = py(r.bottom);
    ell_obj((l + rt) / 2, (t + b) / 2, (rt - l) / 2, (t - b) / 2, 0, 0, 1);
}

void do_arc(const plat::Rect& r, int start_angle, int arc_angle) {
    if (start_angle < 0) start_angle += 360;
    const double l = px(r.left), rt = px(r.right), t = py(r.top), b = py(r.bottom);
    ell_obj((l + rt) / 2, (t + b) / 2, (rt - l) / 2, (t - b) / 2, 90.0 - start_angle,
            90.0 - start_angle - arc_angle, arc_angle > 0 ? 1 : 0);
}

double dist2(plat::Point a, plat::Point b) {
    const double dh = a.h - b.h, dv = a.v - b.v;
    return dh * dh + dv * dv;
}

void do_poly(const std::vector<std::uint8_t>& d) {
    std::vector<plat::Point> p;
    for (std::size_t at = 10; at + 4 <= d.size(); at += 4) p.push_back(point_at(d, at));
    if (p.size() == 5 && p[4] == p[0] && dist2(p[0], p[1]) == dist2(p[2], p[3]) &&
        dist2(p[1], p[2]) == dist2(p[3], p[0])) {
        const double ah = p[0].h - p[1].h, av = p[0].v - p[1].v, bh = p[2].h - p[1].h, bv = p[2].v - p[1].v;
        if (ah * bh + av * bv == 0) {
            plat::Rect box{32767, 32767, -32768, -32768};
            for (int i = 0; i < 4; ++i)
                box = {std::min(box.top, p[i].v), std::min(box.left, p[i].h), std::max(box.bottom, p[i].v),
                       std::max(box.right, p[i].h)};
            do_rect(box);
            return;
        }
    }
    for (std::size_t i = 1; i < p.size(); ++i)
        line_obj(px(p[i - 1].h), py(p[i - 1].v), px(p[i].h), py(p[i].v));
}

void do_text(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    if (s.empty()) return;
    std::replace(s.begin(), s.end(), '\0', ' ');
    const int count = static_cast<int>(s.size());
    const int size = g.size > 0 ? g.size : default_text_size;
    const double run = pict_text_width(count, size);
    const double cw = run / (count + (count - 1) / 2.0);
    const int ascent = pict_text_ascent(size);
    const int font = pict_text_font(g.font, g.face);
    double h = g.text_at.h;
    for (std::size_t at = 0; at < s.size(); at += 72) {
        const std::string piece = s.substr(at, 72);
        start(px(h), py(g.text_at.v));
        maketext(cw * g.sx, ascent * g.sy, font, piece.c_str());
        h += std::trunc(pict_text_width(static_cast<int>(piece.size()), size) + cw / 2);
    }
}

void do_comment(const std::vector<std::uint8_t>& d, bool with_data) {
    const int kind = w16(d, 0);
    const std::size_t n = with_data ? d.size() - 4 : 0;
    const std::uint8_t* data = with_data ? d.data() + 4 : nullptr;
    switch (kind) {
        case comment_text_begin:
            if (n >= 6) std::memcpy(textopt, data, 6);
            break;
        case comment_text_end: reset_textopt(); break;
        case comment_string_end: centertext = 0; break;
        case comment_text_center:
            if (n >= 8) {
                for (int i = 0; i < 2; ++i)
                    textcenter[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(data[4 * i]) << 24 |
                                                              data[4 * i + 1] << 16 | data[4 * i + 2] << 8 |
                                                              data[4 * i + 3]);
                centertext = 1;
            }
            break;
        default: break;
    }
}

// One operation; the reader checked its length, the sizes here follow from it.
void play_op(const plat::PictOp& op) {
    namespace pict = plat::pict;
    const std::vector<std::uint8_t>& d = op.data;
    const std::uint16_t c = op.opcode;
    // Only framed shapes make objects; an empty rectangle frames nothing.
    const bool same = (c & 8) != 0;
    const auto framed = [&](const plat::Rect& r) { return (c & 7) == pict::frame && !r.empty(); };
    if (c >= pict::op_rect && c < pict::op_rrect) {
        if (!same && d.size() >= 8) g.last_rect = rect_at(d, 0);
        if (framed(g.last_rect)) do_rect(g.last_rect);
        return;
    }
    if (c >= pict::op_rrect && c < pict::op_oval) {
        if (!same && d.size() >= 8) g.last_rrect = rect_at(d, 0);
        if (framed(g.last_rrect)) do_rrect(g.last_rrect);
        return;
    }
    if (c >= pict::op_oval && c < pict::op_arc) {
        if (!same && d.size() >= 8) g.last_oval = rect_at(d, 0);
        if (framed(g.last_oval)) do_oval(g.last_oval);
        return;
    }
    if (c >= pict::op_arc && c < pict::op_poly) {
        const std::size_t at = same ? 0 : 8;
        if (d.size() < at + 4) return;
        if (!same) g.last_arc = rect_at(d, 0);
        if (framed(g.last_arc)) do_arc(g.last_arc, w16(d, at), w16(d, at + 2));
        return;
    }
    if (c >= pict::op_poly && c < pict::op_poly + 8) {
        if ((c & 7) == pict::frame && d.size() >= 10) do_poly(d);
        return;
    }
    switch (c) {
        case pict::op_pen_size:
            if (d.size() == 4) g.pen_h = point_at(d, 0).h;
            break;
        case pict::op_pen_pattern:
            if (d.size() == 8) g.patterned = std::any_of(d.begin(), d.end(), [](std::uint8_t b) { return b != 0xFF; });
            break;
        case pict::op_text_font:
            if (d.size() == 2) g.font = w16(d, 0);
            break;
        case pict::op_text_face:
            if (d.size() == 1) g.face = d[0];
            break;
        case pict::op_text_size:
            if (d.size() == 2) g.size = w16(d, 0);
            break;
        case pict::op_oval_size:
            if (d.size() == 4) g.oval_size = point_at(d, 0);
            break;
        case pict::op_line:
            if (d.size() == 8) {
                g.pen = point_at(d, 0);
                do_line(point_at(d, 4));
            }
            break;
        case pict::op_line_from:
            if (d.size() == 4) do_line(point_at(d, 0));
            break;
        case pict::op_short_line:
            if (d.size() == 6) {
                g.pen = point_at(d, 0);
                do_line({static_cast<std::int16_t>(g.pen.v + static_cast<std::int8_t>(d[5])),
                         static_cast<std::int16_t>(g.pen.h + static_cast<std::int8_t>(d[4]))});
            }
            break;
        case pict::op_short_line_from:
            if (d.size() == 2)
                do_line({static_cast<std::int16_t>(g.pen.v + static_cast<std::int8_t>(d[1])),
                         static_cast<std::int16_t>(g.pen.h + static_cast<std::int8_t>(d[0]))});
            break;
        case pict::op_long_text:
            if (d.size() >= 5) {
                g.text_at = point_at(d, 0);
                do_text(std::string(d.begin() + 5, d.end()));
            }
            break;
        case pict::op_dh_text:
        case pict::op_dv_text:
            if (d.size() >= 2) {
                if (c == pict::op_dh_text)
                    g.text_at.h = static_cast<std::int16_t>(g.text_at.h + d[0]);
                else
                    g.text_at.v = static_cast<std::int16_t>(g.text_at.v + d[0]);
                do_text(std::string(d.begin() + 2, d.end()));
            }
            break;
        case pict::op_dhdv_text:
            if (d.size() >= 3) {
                g.text_at.h = static_cast<std::int16_t>(g.text_at.h + d[0]);
                g.text_at.v = static_cast<std::int16_t>(g.text_at.v + d[1]);
                do_text(std::string(d.begin() + 3, d.end()));
            }
            break;
        case pict::op_short_comment:
            if (d.size() == 2) do_comment(d, false);
            break;
        case pict::op_long_comment:
            if (d.size() >= 4) do_comment(d, true);
            break;
        default: break;  // regions, bitmaps, colours and the rest make nothing
    }
}

struct FontKey {
    int font, face;
    bool operator<(const FontKey& o) const { return font != o.font ? font < o.font : face < o.face; }
};

// The font map, read once; a line that does not read is passed over.
const std::pair<std::map<FontKey, int>, int>& font_map() {
    static const std::pair<std::map<FontKey, int>, int> map = [] {
        std::pair<std::map<FontKey, int>, int> m{{}, 1};
        std::ifstream in(plat::bundle_dir() / "pictures" / "import_fonts.txt");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream ls(line);
            std::string font, face;
            int number = 0;
            if (!(ls >> font)) continue;
            if (font == "*") {
                if (ls >> number && number > 0 && number < 256) m.second = number;
                continue;
            }
            if (!(ls >> face >> number) || number <= 0 || number > 255) continue;
            int f = 0;
            try {
                f = std::stoi(font);
            } catch (...) {
                continue;
            }
            const int bits = face == "plain" ? 0 : face == "bold" ? face_bold : face == "italic" ? face_italic
                           : face == "bold-italic" ? face_bold | face_italic : -1;
            if (bits >= 0) m.first[{f, bits}] = number;
        }
        return m;
    }();
    return map;
}

}  // namespace

int pict_text_font(int font, int face) {
    const auto& [map, other] = font_map();
    for (int f : {face & (face_bold | face_italic), face & face_bold, 0}) {
        const auto it = map.find({font, f});
        if (it != map.end()) return it->second;
    }
    return other;
}

// A fixed pitch of 0.6 of the size and an ascent of 0.75: the picture's own
// fonts are not at hand.
int pict_text_width(int n, int size) {
    if (size <= 0) size = default_text_size;
    return static_cast<int>(std::lround(n * size * 0.6));
}

int pict_text_ascent(int size) {
    if (size <= 0) size = default_text_size;
    return static_cast<int>(std::lround(size * 0.75));
}

void startobj(double x, double y, int level, int colour, int style) {
    nomore_info();
    zero_info(info);
    g_x = x;
    g_y = y;
    set_rec_f64(info, obj::ref_x, x);
    set_rec_f64(info, obj::ref_y, y);
    info.b[obj::level] = static_cast<std::uint8_t>(level);
    info.b[obj::style] = static_cast<std::uint8_t>(style);
    set_rec_u16(info, obj::kind_colour, static_cast<std::uint16_t>(colour & 0x0FFF));
}

namespace {
void set_kind(int kind) {
    set_rec_u16(info, obj::kind_colour,
                static_cast<std::uint16_t>((rec_u16(info, obj::kind_colour) & 0x0FFF) | kind << 12));
}
}  // namespace

void makeline(double dx, double dy) {
    set_kind(ok_line);
    set_rec_f64(info, line::dx, dx);
    set_rec_f64(info, line::dy, dy);
}

void make2rect(double width, double height) {
    set_kind(ok_rect);
    set_rec_f64(info, rect::width, width);
    set_rec_f64(info, rect::height, height);
}

void makeell(double r1, double r2, double begin, double end, int direction, int sides) {
    set_kind(ok_ellipse);
    set_rec_f64(info, ell::radius1, r1);
    set_rec_f64(info, ell::radius2, r2);
    set_rec_f64(info, ell::begin, adjust_rotation(begin));
    set_rec_f64(info, ell::end, adjust_rotation(end));
    set_rec_i16(info, ell::sides, static_cast<std::int16_t>(sides));
    set_rec_u16(info, ell::flags,
                static_cast<std::uint16_t>((sides > 0 ? ell::polygon : 0) | (direction ? ell::clockwise : 0)));
}

void maketext(double char_width, double height, int font, const char* text) {
    const double rot = adjust_rotation(two_pie - deg(textopt_angle()));
    set_kind(ok_text);
    set_rec_f32(info, text::char_width, static_cast<float>(char_width));
    set_rec_f32(info, text::char_height, static_cast<float>(height));
    info.b[obj::style] = 1;
    set_text_info(info, font, 0, false);
    double x = g_x, y = g_y;
    if (centertext && rot != 0) {
        const double cx = x + textcenter[1] / 65536.0, cy = y - textcenter[0] / 65536.0;
        double nx = 0, ny = 0;
        rotate_cr(x - cx, y - cy, &nx, &ny, rot);
        x = cx + nx;
        y = cy + ny;
        set_rec_f64(info, obj::rotation, rot);
    }
    int flip = textopt[1];
    if (flip && rot != 0) flip = flip == 1 ? 2 : flip == 2 ? 1 : flip;
    const double piece_width = std::strlen(text) > 0 ? pict_text_width(static_cast<int>(std::strlen(text)),
                                                                          g.size) * g.sx
                                                      : 0;
    if (flip == 1) {
        x += std::cos(rot) * (piece_width + 3 * char_width / 2);
        y += std::sin(rot) * (piece_width + 3 * char_width / 2);
        set_rec_f32(info, text::char_width, static_cast<float>(-char_width));
    } else if (flip == 2) {
        x += std::fabs(std::sin(rot)) * height;
        y += std::fabs(std::cos(rot)) * height;
        set_rec_f32(info, text::char_height, static_cast<float>(-height));
    }
    g_x = x;
    g_y = y;
    set_rec_f64(info, obj::ref_x, x);
    set_rec_f64(info, obj::ref_y, y);
    std::memset(textline, 0, sizeof textline);
    std::strncpy(textline, text, sizeof textline - 1);
    finishobj();
}

std::int16_t finishobj() {
    const std::int16_t n = number_of_objects;
    if (n + 1 >= static_cast<int>(worksize) - 5 || !obj_valid()) return 0;
    const double factor = file_conv_factor(0, 1, 1.0 / 72);
    if (obj_kind(info) == ok_text && textopt[1]) {
        set_rec_f32(info, text::char_width, static_cast<float>(rec_f32(info, text::char_width) * factor));
        set_rec_f32(info, text::char_height, static_cast<float>(rec_f32(info, text::char_height) * factor));
    } else {
        change_object(factor, factor, 0, 0, 0, info);
    }
    set_init(rec_f64(info, obj::ref_x) * factor, rec_f64(info, obj::ref_y) * factor, info);
    if (!obj_save()) return 0;
    if (pictmerge == 2) put_in_group(n, 1);
    info.b[obj::width] = static_cast<std::uint8_t>(g.pen_h & 0xFF);
    if (g.patterned) info.b[obj::style] = 2;
    modified = 1;
    return n;
}

int play_picture(const plat::Picture& picture, const plat::Rect& dst) {
    g = Play{};
    reset_textopt();
    g.from = picture.frame;
    g.to = dst;
    const int fw = picture.frame.right - picture.frame.left, fh = picture.frame.bottom - picture.frame.top;
    if (fw > 0 && dst.right > dst.left) g.sx = static_cast<double>(dst.right - dst.left) / fw;
    if (fh > 0 && dst.bottom > dst.top) g.sy = static_cast<double>(dst.bottom - dst.top) / fh;
    g.H = viewport.height;
    const std::int16_t first = number_of_objects;
    for (const plat::PictOp& op : picture.ops) play_op(op);
    nomore_info();
    return number_of_objects - first;
}

void paste_pict(const plat::Picture& picture, const plat::Rect& frame) {
    const ObjectRec kept = info;
    watch_on();
    pictmerge = 1;
    const std::int16_t first = number_of_objects;
    play_picture(picture, frame);
    get_info(number_of_objects);
    info = kept;
    show_objects(0, 1, first);
    watch_off();
}

int open_pict(const FSRef& ref, std::int16_t, std::int32_t, const char*, int merge) {
    std::vector<std::uint8_t> bytes;
    const std::int16_t err = plat::open_file(ref, plat::Perm::read, &PICTRef);
    if (err == plat::noErr) {
        std::int64_t size = 0;
        plat::get_eof(PICTRef, &size);
        if (size > static_cast<std::int64_t>(plat::pict_file_header_bytes) && size <= max_picture_bytes) {
            bytes.resize(static_cast<std::size_t>(size) - plat::pict_file_header_bytes);
            std::int64_t got = 0;
            plat::read_at(PICTRef, static_cast<std::int64_t>(plat::pict_file_header_bytes), bytes.data(),
                          static_cast<std::int64_t>(bytes.size()), &got);
            if (got != static_cast<std::int64_t>(bytes.size())) bytes.clear();
        }
        plat::close_file(PICTRef);
        PICTRef = 0;
    }
    plat::Picture picture;
    if (err != plat::noErr || !plat::read_picture(bytes, &picture)) {
        show_error(err_bad_picture, 0);
        return 0;
    }
    watch_on();
    pictmerge = static_cast<std::int16_t>(merge);
    const std::int16_t first = number_of_objects;
    if (merge == 2) clear_group();
    if (merge == 0) new_workfile();
    play_picture(picture, picture.frame);
    if (merge == 0) {
        full_window();
        // TODO(PlotDefault) the plot record's window becomes cur_win and the plot defaults are set
    } else {
        show_objects(0, 1, first);
        didsomething = 1;
    }
    watch_off();
    return 1;
}

}  // namespace drav
