// Opening a drawing of 30,000 objects (lines, rectangles, circles, arcs,
// texts, points and 300 placed symbols) into the workfile and showing it in
// a 1920 x 1080 window, from a native and from a PC file, and saving it in
// both forms. The workfile is
// made big enough for it, as an "ObjectSize" preference of 30006 would.
#include "bench/bench_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/screen.h"
#include "base/messages.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "store/current_drawing.h"
#include "platform/core/files.h"
#include "platform/core/process.h"
#include "platform/ui/answerer.h"
#include "platform/ui/events.h"
#include "shell/startup.h"
#include "shell/tool_options.h"
#include "store/geometry.h"
#include "store/levels.h"
#include "store/pc_convert.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/symbol_library.h"
#include "store/units.h"
#include "store/workfile.h"

namespace {

using namespace drav;

constexpr int object_count = 30000;
constexpr double view_width = 400;

class AnswerAll final : public plat::Answerer {
public:
    int answer(const plat::AlertRequest&) override { return 1; }
};

ObjectRec base(int kind, double x, double y, int colour) { return bench::bench_object(kind, x, y, colour); }

// Records of the file: header, settings (from the workfile), objects, one
// symbol of four pieces.
std::vector<ObjectRec> drawing_records() {
    std::mt19937 rng(4242);
    std::uniform_real_distribution<double> ux(0, view_width), uy(0, view_width * 1080 / 1920);
    std::uniform_real_distribution<double> len(-12, 12), size(0.3, 8), angle(0, two_pie);
    std::vector<ObjectRec> objects;
    const int symbols = 300;
    const int S = 7, K = 1, P = 4;
    const int ctrl = S + object_count;
    for (int i = 0; i < object_count; ++i) {
        const int pick = static_cast<int>(rng() % 100);
        const double x = ux(rng), y = uy(rng);
        ObjectRec r;
        if (i < symbols) {
            r = base(ok_symbol, x, y, 0);
            set_rec_str(r, sym::library, sym::library_size, "BENCH");
            set_rec_f64(r, sym::scale_x, 1);
            set_rec_f64(r, sym::scale_y, 1);
            set_rec_f64(r, sym::width, 3);
            set_rec_f64(r, sym::height, 2);
            set_rec_i16(r, sym::ctrl, static_cast<std::int16_t>(ctrl));
        } else if (pick < 45) {
            r = base(ok_line, x, y, 35);
            set_rec_f64(r, line::dx, len(rng));
            set_rec_f64(r, line::dy, len(rng));
        } else if (pick < 55) {
            r = base(ok_rect, x, y, 210);
            set_rec_f64(r, rect::width, len(rng));
            set_rec_f64(r, rect::height, len(rng));
        } else if (pick < 75) {
            r = base(ok_ellipse, x, y, 185);
            const double a = size(rng);
            set_rec_f64(r, ell::radius1, a);
            set_rec_f64(r, ell::radius2, a);
            if (pick >= 68) {
                set_rec_f64(r, ell::begin, angle(rng));
                set_rec_f64(r, ell::end, angle(rng));
            }
        } else if (pick < 88) {
            r = base(ok_text, x, y, 100);
            set_rec_f32(r, text::char_width, 0.8f);
            set_rec_f32(r, text::char_height, 1.2f);
            ObjectRec tail{};
            set_text_chars(r, tail, "Room 12 - 3.40 m");
        } else {
            r = base(ok_point, x, y, 1);
        }
        objects.push_back(r);
    }
    std::vector<ObjectRec> recs;
    ObjectRec head{};
    set_rec_kind(head, rk_header);
    set_rec_i16(head, hdr::version, twddbrel);
    set_rec_i16(head, hdr::first_slot, S);
    set_rec_i16(head, hdr::object_count, object_count);
    set_rec_i16(head, hdr::ctrl_count, K);
    set_rec_i16(head, hdr::piece_count, P);
    recs.push_back(head);
    write_sav_rec();
    for (std::int16_t n = 1; n <= 6; ++n) {
        get_info(n);
        recs.push_back(info);
    }
    recs.insert(recs.end(), objects.begin(), objects.end());
    ObjectRec c{};
    set_rec_kind(c, rk_symbol_ctrl);
    set_rec_str(c, sctl::library, sctl::name_size, "BENCH");
    set_rec_i16(c, sctl::number, 1);
    set_rec_i16(c, sctl::first_piece, static_cast<std::int16_t>(ctrl + 1));
    set_rec_i16(c, sctl::piece_count, P);
    set_rec_f64(c, sctl::width, 3);
    set_rec_f64(c, sctl::height, 2);
    set_rec_i16(c, sctl::units_code, units_defs.units_code);
    set_rec_i16(c, sctl::real_unit, units_defs.units_code);
    set_rec_f64(c, sctl::units_factor, 1);
    recs.push_back(c);
    const double piece[4][4] = {{0, 0, 3, 0}, {3, 0, 0, 2}, {3, 2, -3, 0}, {0, 2, 0, -2}};
    for (const auto& p : piece) {
        ObjectRec r = base(ok_line, p[0], p[1], 7);
        set_rec_f64(r, line::dx, p[2]);
        set_rec_f64(r, line::dy, p[3]);
        recs.push_back(r);
    }
    return recs;
}

void write_file(const std::filesystem::path& path, const std::vector<ObjectRec>& recs, bool pc) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    for (const ObjectRec& r : recs) {
        ObjectRec w = r;
        if (pc) {
            w = ObjectRec{};
            tweak(w, r);
        }
        f.write(reinterpret_cast<const char*>(w.b), 128);
    }
}

std::filesystem::path g_native, g_pc;

void setup() {
    static bool done = false;
    if (done) return;
    done = true;
    static AnswerAll answer_all;
    plat::set_answerer(&answer_all);
    objopts = new ObjOptsRec;
    std::int16_t err = 0;
    opengraphics(&err);
    initgunit();
    opencossin();
    init_poly();
    init_worldunits();
    init_levels();
    init_symbols();
    output_defs.plot_scale = 1;
    output_defs.width_factor = 1;
    units_defs.units_code = 3;
    units_defs.real_unit = 3;
    units_defs.unit_size = 1;
    units_defs.increment = 1.0 / 64;
    users_defs.hatch_spacing = 0.25;
    swaper = sw_symbols_expanded | sw_templates;
    cur_win = bse_win = {0, view_width, 0, view_width * 1080 / 1920};
    remember_start_settings();

    const auto folder = bench::prepare_scratch("reader");
    init_record_store();
    number_of_objects = first_object_slot;
    set_work_sizes(object_count + 6, 10000, 5000);
    setup_workfile();
    init_selection_sets();
    change_window(0, view_width, 0, aspectratio, 1);

    const std::vector<ObjectRec> recs = drawing_records();
    g_native = folder / "bench.drw";
    g_pc = folder / "bench.2d";
    write_file(g_native, recs, false);
    write_file(g_pc, recs, true);
}

void open_file(benchmark::State& state, bool pc, bool shown = true) {
    setup();
    const FSRef ref{pc ? g_pc : g_native};
    const std::uint16_t graphics = graphwasinit;
    if (!shown) graphwasinit = 0;  // the read alone, nothing drawn
    for (auto _ : state) {
        if (!open_drawing(ref, 1, 0, "bench", 0, pc ? 1 : 0, 0)) state.SkipWithError("the drawing was refused");
    }
    if (number_of_objects != first_object_slot + object_count) state.SkipWithError("objects missing");
    graphwasinit = graphics;
    closesegs();
    state.counters["objects_per_second"] =
        benchmark::Counter(object_count, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_OpenNative(benchmark::State& state) { open_file(state, false); }
BENCHMARK(BM_OpenNative)->Unit(benchmark::kMillisecond);
void BM_OpenPc(benchmark::State& state) { open_file(state, true); }
BENCHMARK(BM_OpenPc)->Unit(benchmark::kMillisecond);
void BM_ReadNativeUnshown(benchmark::State& state) { open_file(state, false, false); }
BENCHMARK(BM_ReadNativeUnshown)->Unit(benchmark::kMillisecond);
void BM_ReadPcUnshown(benchmark::State& state) { open_file(state, true, false); }
BENCHMARK(BM_ReadPcUnshown)->Unit(benchmark::kMillisecond);

// Saving the same drawing, opened once, in native and PC byte order: the
// whole atomic save (temporary file, flush to disk, rename).
void save_file(benchmark::State& state, bool pc) {
    setup();
    const std::uint16_t graphics = graphwasinit;
    graphwasinit = 0;
    if (!open_drawing(FSRef{g_native}, 1, 0, "bench", 0, 0, 0)) state.SkipWithError("the drawing was refused");
    graphwasinit = graphics;
    closesegs();
    GetMyLocalCString(current_drawing.name, tbl_names, 1);
    current_drawing.ref = FSRef{};
    const FSRef folder{g_native.parent_path()};
    for (auto _ : state) {
        dosfile = pc ? 1 : 0;
        FSRef file;
        if (!save(folder, pc ? "saved.2d" : "saved.drw", &file)) state.SkipWithError("the save failed");
        dosfile = 0;
    }
    if (validobjects < object_count) state.SkipWithError("objects missing");
    state.counters["objects_per_second"] =
        benchmark::Counter(object_count, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_SaveNative(benchmark::State& state) { save_file(state, false); }
BENCHMARK(BM_SaveNative)->Unit(benchmark::kMillisecond);
void BM_SavePc(benchmark::State& state) { save_file(state, true); }
BENCHMARK(BM_SavePc)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return drav::bench::run_benchmarks(argc, argv, "reader"); }
