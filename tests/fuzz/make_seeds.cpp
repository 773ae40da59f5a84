// Writes the seed corpus of the fuzz targets into tests/fuzz/corpus:
//   make_fuzz_seeds <corpus folder>
// Each reader seed is one option byte (see fuzz_entries.h) and a drawing file.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/pc_convert.h"
#include "store/records.h"
#include "tests/support/drawing_file.h"

using namespace drav;
using namespace drav::test;

namespace {

void put(const std::filesystem::path& p, std::uint8_t option, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.put(static_cast<char>(option));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

DrawingFile every_kind() {
    DrawingFile d;
    d.default_settings(3);
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
    const int ctrl = d.add_symbol("LIB", 3, {line_record(0, 0, 2, 0), line_record(0, 0, 0, 1)}, 3);
    // The reference's control record number is the file's own; it is known once the objects are in.
    d.objects.push_back(symbol_ref(0, 10, 10));
    for (ObjectRec& o : d.objects)
        if (is_live_object(o) && obj_kind(o) == ok_symbol) set_rec_i16(o, sym::ctrl, static_cast<std::int16_t>(ctrl + 1));
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "reader");
    std::filesystem::create_directories(root / "xtweak");
    DrawingFile empty;
    empty.default_settings(3);
    put(root / "reader" / "empty-native", 0, empty.bytes());
    empty.pc = true;
    put(root / "reader" / "empty-pc", 1, empty.bytes());
    DrawingFile all = every_kind();
    put(root / "reader" / "every-kind-native", 0, all.bytes());
    put(root / "reader" / "every-kind-merge-group", 4 | 8, all.bytes());
    all.pc = true;
    put(root / "reader" / "every-kind-pc", 1, all.bytes());
    put(root / "reader" / "every-kind-pc-merge", 2 | 1 | 8, all.bytes());
    all.pc = false;
    all.version = 54;
    put(root / "reader" / "every-kind-v54", 0, all.bytes());
    all.version = 52;
    put(root / "reader" / "every-kind-v52-merge", 2, all.bytes());

    // One PC record of each kind for the conversion target.
    const std::vector<std::uint8_t> pc_all = [] {
        DrawingFile d = every_kind();
        d.pc = true;
        return d.bytes();
    }();
    for (std::size_t i = 0; i * 128 < pc_all.size(); ++i) {
        std::ofstream f(root / "xtweak" / ("record-" + std::to_string(i)), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(pc_all.data() + i * 128), 128);
    }
    return 0;
}
