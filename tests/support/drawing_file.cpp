#include "tests/support/drawing_file.h"

#include <fstream>

#include "store/pc_convert.h"

namespace drav::test {

void DrawingFile::default_settings(int units_code, double unit_size) {
    for (int i = 0; i < 6; ++i) {
        settings[i] = ObjectRec{};
        set_rec_kind(settings[i], i + 2);
    }
    ObjectRec& win = settings[0];
    set_rec_f64(win, 2, 0);
    set_rec_f64(win, 10, 30);
    set_rec_f64(win, 18, 0);
    set_rec_f64(win, 26, 20);
    set_rec_f64(win, 34, 0);
    set_rec_f64(win, 42, 30);
    set_rec_f64(win, 50, 0);
    set_rec_f64(win, 58, 20);
    ObjectRec& units = settings[1];
    set_rec_f64(units, 2, 1);   // grid spacing
    set_rec_f64(units, 20, 1);
    set_rec_f64(units, 38, 1.0 / 64);  // increment
    set_rec_f64(units, 54, 1);  // symbol scales
    set_rec_f64(units, 62, 1);
    set_rec_i16(units, 74, static_cast<std::int16_t>(units_code));
    set_rec_i16(units, 76, static_cast<std::int16_t>(units_code));
    set_rec_f64(units, 78, unit_size);
    ObjectRec& out = settings[2];
    set_rec_u16(out, 2, 1 << 8);  // placed symbols drawn as their pieces
    set_rec_u16(out, 4, 0x0002);  // level 1 visible
    set_rec_f64(out, 36, 1);      // plot scale
    set_rec_f64(out, 80, 1);      // width factor
    ObjectRec& props = settings[3];
    set_rec_u16(props, 2, 1);     // level 1
    set_rec_u16(props, 4, 7);     // colour
    set_rec_f64(settings[4], 2, 0.25);  // hatch spacing
    set_rec_i16(settings[5], 2, 1);     // input mode
}

int DrawingFile::add_symbol(const char* library, int number, const std::vector<ObjectRec>& run, int units_code,
                            double width, double height) {
    ObjectRec c{};
    set_rec_kind(c, rk_symbol_ctrl);
    set_rec_str(c, sctl::library, sctl::name_size, library);
    set_rec_str(c, sctl::symbol, sctl::name_size, "SYM");
    set_rec_i16(c, sctl::number, static_cast<std::int16_t>(number));
    set_rec_i16(c, sctl::first_piece, static_cast<std::int16_t>(pieces.size()));  // made absolute on writing
    set_rec_i16(c, sctl::piece_count, static_cast<std::int16_t>(run.size()));
    set_rec_f64(c, sctl::width, width);
    set_rec_f64(c, sctl::height, height);
    set_rec_i16(c, sctl::users, 1);
    set_rec_u16(c, sctl::valid, 1);
    set_rec_i16(c, sctl::units_code, static_cast<std::int16_t>(units_code));
    set_rec_i16(c, sctl::real_unit, static_cast<std::int16_t>(units_code));
    set_rec_f64(c, sctl::units_factor, 1);
    for (std::size_t i = 0; i < run.size(); ++i) {
        ObjectRec p = run[i];
        if (i == 0) set_rec_word0_bits(p, w0_first_piece, true);
        pieces.push_back(p);
    }
    ctrls.push_back(c);
    return first_ctrl_record() + static_cast<int>(ctrls.size()) - 1;
}

int DrawingFile::first_ctrl_record() const { return 7 + static_cast<int>(views.size() + objects.size()); }

std::vector<std::uint8_t> DrawingFile::bytes() const {
    const int s = 7 + static_cast<int>(views.size());
    const int o = static_cast<int>(objects.size()), k = static_cast<int>(ctrls.size()),
              p = static_cast<int>(pieces.size());
    std::vector<ObjectRec> recs;
    ObjectRec head{};
    set_rec_kind(head, rk_header);
    set_rec_i16(head, hdr::version, static_cast<std::int16_t>(version));
    set_rec_i16(head, hdr::first_slot, static_cast<std::int16_t>(S != unset ? S : s));
    set_rec_i16(head, hdr::object_count, static_cast<std::int16_t>(O != unset ? O : o));
    set_rec_i16(head, hdr::ctrl_count, static_cast<std::int16_t>(K != unset ? K : k));
    set_rec_i16(head, hdr::piece_count, static_cast<std::int16_t>(P != unset ? P : p));
    set_rec_u32(head, hdr::dwg_time, time);
    recs.push_back(head);
    for (const ObjectRec& r : settings) recs.push_back(r);
    for (const ObjectRec& r : views) recs.push_back(r);
    for (const ObjectRec& r : objects) recs.push_back(r);
    for (ObjectRec c : ctrls) {
        set_rec_i16(c, sctl::first_piece, static_cast<std::int16_t>(rec_i16(c, sctl::first_piece) + s + o + k));
        recs.push_back(c);
    }
    for (const ObjectRec& r : pieces) recs.push_back(r);
    while (recs.size() % 4) recs.push_back(ObjectRec{});
    std::vector<std::uint8_t> out;
    out.reserve(recs.size() * 128);
    for (const ObjectRec& r : recs) {
        ObjectRec w = r;
        if (pc) {
            w = ObjectRec{};
            tweak(w, r);
        }
        out.insert(out.end(), w.b, w.b + 128);
    }
    return out;
}

void DrawingFile::write(const std::filesystem::path& path) const {
    const std::vector<std::uint8_t> b = bytes();
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

ObjectRec object_record(int kind, double x, double y, int colour) {
    ObjectRec r{};
    set_rec_u16(r, o_word0, live_object_word);
    set_obj_kind_colour(r, kind, colour);
    r.b[obj::level] = 1;
    r.b[obj::width] = 1;
    r.b[obj::style] = 1;
    set_rec_f64(r, obj::ref_x, x);
    set_rec_f64(r, obj::ref_y, y);
    return r;
}

ObjectRec line_record(double x, double y, double dx, double dy, int colour) {
    ObjectRec r = object_record(ok_line, x, y, colour);
    set_rec_f64(r, line::dx, dx);
    set_rec_f64(r, line::dy, dy);
    return r;
}

ObjectRec named_window(const char* name, double xl, double xr, double yb, double yt) {
    ObjectRec r{};
    set_rec_kind(r, rk_named_window);
    set_rec_f64(r, 2, xl);
    set_rec_f64(r, 10, xr);
    set_rec_f64(r, 18, yb);
    set_rec_f64(r, 26, yt);
    set_rec_str(r, nwin::name, 128 - nwin::name, name);
    return r;
}

ObjectRec plot_spec(const char* name, double xl, double xr, double yb, double yt) {
    ObjectRec r{};
    set_rec_kind(r, rk_plot_spec);
    set_rec_f64(r, 2, xl);
    set_rec_f64(r, 10, xr);
    set_rec_f64(r, 18, yb);
    set_rec_f64(r, 26, yt);
    set_rec_str(r, pspec::name, pspec::name_size, name);
    return r;
}

ObjectRec symbol_ref(int ctrl, double x, double y, double sx, double sy) {
    ObjectRec r = object_record(ok_symbol, x, y);
    set_rec_str(r, sym::library, sym::library_size, "LIB");
    set_rec_f64(r, sym::scale_x, sx);
    set_rec_f64(r, sym::scale_y, sy);
    set_rec_f64(r, sym::width, 2 * sx);
    set_rec_f64(r, sym::height, 1 * sy);
    set_rec_i16(r, sym::ctrl, static_cast<std::int16_t>(ctrl));
    return r;
}

DrawingFile every_kind_drawing(int units_code) {
    DrawingFile d;
    d.default_settings(units_code);
    d.views.push_back(named_window("Plan", 0, 10, 0, 5));
    d.views.push_back(plot_spec("A4", 0, 20, 0, 10));
    d.objects.push_back(line_record(1, 1, 3, 2));
    ObjectRec r = object_record(ok_rect, 2, 2);
    set_rec_f64(r, rect::width, 4);
    set_rec_f64(r, rect::height, 3);
    d.objects.push_back(r);
    r = object_record(ok_ellipse, 5, 5);
    set_rec_f64(r, ell::radius1, 2);
    set_rec_f64(r, ell::radius2, 2);
    set_rec_u16(r, ell::flags, ell::polygon);
    set_rec_i16(r, ell::sides, 6);
    d.objects.push_back(r);
    r = object_record(ok_text, 1, 8);
    set_rec_f32(r, text::char_width, 0.5f);
    set_rec_f32(r, text::char_height, 1);
    ObjectRec tail{};
    set_rec_kind(tail, rk_text_tail);
    set_text_chars(r, tail, "A text long enough to need its continuation record");
    set_rec_kind(tail, rk_text_tail);
    d.objects.push_back(r);
    d.objects.push_back(tail);
    d.objects.push_back(object_record(ok_point, 3, 3));
    r = object_record(ok_bezier, 0, 0);
    for (int k = 0; k < 6; ++k) set_rec_f64(r, bez::c1x + 8 * k, k + 1);
    d.objects.push_back(r);
    r = object_record(ok_lindim, 0, 0);
    set_rec_f64(r, ldim::second_x, 5);
    set_rec_f64(r, ldim::offset, 1);
    d.objects.push_back(r);
    r = object_record(ok_angdim, 0, 0);
    set_rec_f64(r, adim::second_x, 3);
    set_rec_f64(r, adim::second_y, 4);
    set_rec_f32(r, adim::angle, 1.2f);
    d.objects.push_back(r);
    d.objects.push_back(symbol_ref(0, 10, 10));
    const int ctrl = d.add_symbol("LIB", 3, {line_record(0, 0, 2, 0), line_record(0, 0, 0, 1)}, units_code);
    set_rec_i16(d.objects.back(), sym::ctrl, static_cast<std::int16_t>(ctrl));
    return d;
}

}  // namespace drav::test
