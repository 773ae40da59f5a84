// A full redraw of a mixed drawing into a 1920 x 1080 offscreen copy: every
// record loaded from the workfile, a text's string joined, then drawn.
#include "bench/bench_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/list_view.h"
#include "display/object_renderer.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "platform/core/files.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "shell/startup.h"
#include "shell/tool_options.h"
#include "store/geometry.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/units.h"
#include "store/workfile.h"

namespace {

using namespace drav;

constexpr double view_width = 400;  // drawing units across the screen

ObjectRec base(std::mt19937& rng, int kind, double x, double y) {
    static const int colours[] = {colour_black, 35, 210, 185, 100};
    static const std::uint8_t styles[] = {1, 1, 1, 3, 5, 8};
    // The style is drawn before the colour, as the drawing has always been made.
    const std::uint8_t style = styles[rng() % 6];
    ObjectRec r = bench::bench_object(kind, x, y, colours[rng() % 5]);
    r.b[obj::style] = style;
    return r;
}

// A drawing as a draftsman leaves it: mostly lines, then circles, arcs,
// rectangles, texts, points, curves and dimensions; a few wide objects and
// markers.
std::vector<ObjectRec> mixed_drawing(int n) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> ux(0, view_width), uy(0, view_width * 1080 / 1920);
    std::uniform_real_distribution<double> len(-12, 12), size(0.3, 8), angle(0, two_pie);
    std::vector<ObjectRec> v;
    v.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int pick = static_cast<int>(rng() % 100);
        const double x = ux(rng), y = uy(rng);
        ObjectRec r;
        if (pick < 38) {
            r = base(rng, ok_line, x, y);
            set_rec_f64(r, line::dx, len(rng));
            set_rec_f64(r, line::dy, len(rng));
        } else if (pick < 46) {
            r = base(rng, ok_rect, x, y);
            set_rec_f64(r, rect::width, len(rng));
            set_rec_f64(r, rect::height, len(rng));
            if (pick % 3 == 0) set_rec_f64(r, obj::rotation, angle(rng));
        } else if (pick < 64) {
            r = base(rng, ok_ellipse, x, y);
            const double a = size(rng);
            set_rec_f64(r, ell::radius1, a);
            set_rec_f64(r, ell::radius2, pick < 58 ? a : size(rng));
            if (pick >= 52 && pick < 58) {  // arcs
                set_rec_f64(r, ell::begin, angle(rng));
                set_rec_f64(r, ell::end, angle(rng));
            }
            if (pick >= 61) {  // polygons
                set_rec_u16(r, ell::flags, ell::polygon);
                set_rec_i16(r, ell::sides, static_cast<std::int16_t>(3 + rng() % 10));
            }
            if (pick >= 58) set_rec_f64(r, obj::rotation, angle(rng));
        } else if (pick < 74) {
            r = base(rng, ok_text, x, y);
            set_rec_f32(r, text::char_width, 0.8f);
            set_rec_f32(r, text::char_height, 1.2f);
            ObjectRec tail{};
            set_text_chars(r, tail, "Room 12 - 3.40 m");
        } else if (pick < 82) {
            r = base(rng, ok_point, x, y);
        } else if (pick < 88) {
            r = base(rng, ok_bezier, x, y);
            for (int k = 0; k < 6; ++k) set_rec_f64(r, bez::c1x + 8 * k, len(rng));
        } else if (pick < 94) {
            r = base(rng, ok_lindim, x, y);
            set_rec_f64(r, ldim::second_x, len(rng));
            set_rec_f64(r, ldim::offset, 2);
            set_rec_u16(r, ldim::mode, ldim::ext1 | ldim::ext2 | (1 << ldim::arrow_shift));
        } else if (pick < 96) {
            r = base(rng, ok_angdim, x, y);
            set_rec_f64(r, adim::second_x, -3);
            set_rec_f64(r, adim::second_y, 4);
            set_rec_f64(r, adim::arc_dist, 1);
            set_rec_f64(r, adim::vertex_dist, 5);
            set_rec_f32(r, adim::angle, 1.2f);
            set_rec_u16(r, adim::mode, adim::ext1 | adim::ext2 | (1 << adim::arrow_shift));
        } else {
            r = base(rng, ok_line, x, y);  // wide lines with arrows and markers
            set_rec_f64(r, line::dx, len(rng));
            set_rec_f64(r, line::dy, len(rng));
            r.b[obj::width] = static_cast<std::uint8_t>(3 + rng() % 4);
            set_obj_density_marks(r, 0, 1, 1);
        }
        v.push_back(r);
    }
    return v;
}

void open_screen() {
    static bool opened = false;
    if (opened) return;
    opened = true;
    objopts = new ObjOptsRec;
    vmlistinit();
    std::int16_t err = 0;
    opengraphics(&err);
    initgunit();
    opencossin();
    init_poly();
    init_levels();
    // As the start-up does: without the unit table a stroke's width is
    // nothing and wide lines would never be filled.
    init_worldunits();
    output_defs.plot_scale = 1;
    // A width step of half a unit (2.4 pixels at this view): the wide
    // objects (widths 3 to 6) are 5 to 12 strokes, drawn as filled outlines.
    output_defs.width_size = 0.5;
    output_defs.width_factor = 1;
    output_defs.arrow_length = 1;
    output_defs.arrow_half_angle = degrad(15);
    output_defs.marker_half_size = 0.5;
    output_defs.ext_line_gap = 0.3;
    units_defs.units_code = 1;
    swaper = sw_wide_strokes | sw_midmarks | sw_templates;

    bench::prepare_scratch("render");
    change_window(0, view_width, 0, aspectratio, 1);
}

// The drawing in a workfile of its own, as a redraw finds it.
void open_workfile(const std::vector<ObjectRec>& objects) {
    const auto path = bench::scratch_folder("render") / "workfile";
    const int records = (first_object_slot + static_cast<int>(objects.size()) + 11) / 12 * 12 + 12;
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        const ObjectRec empty{};
        for (int i = 0; i < first_object_slot; ++i) f.write(reinterpret_cast<const char*>(empty.b), 128);
        for (const ObjectRec& r : objects) f.write(reinterpret_cast<const char*>(r.b), 128);
        for (int i = first_object_slot + static_cast<int>(objects.size()); i < records; ++i)
            f.write(reinterpret_cast<const char*>(empty.b), 128);
    }
    if (workfileRefNum > 0) plat::close_file(workfileRefNum);
    free_record_store();
    plat::open_file({path}, plat::Perm::read_write, &workfileRefNum);
    plat::keep_in_memory(workfileRefNum, std::int64_t{max_work_records} * 128);
    worksize = static_cast<std::uint16_t>(records);
    init_record_store();
    init_selection_sets();
    number_of_objects = static_cast<std::int16_t>(first_object_slot + objects.size());
}

void redraw(benchmark::State& state, std::int16_t mode) {
    open_screen();
    const int n = static_cast<int>(state.range(0));
    open_workfile(mixed_drawing(n));
    // Today's direct drawing: the list is set aside.
    termlist();
    for (auto _ : state) {
        if (mode == mode_draw) cleargraphics();
        curlwidth = 0;
        for (std::int16_t i = first_object_slot; i < number_of_objects; ++i) {
            get_info(i);
            if (!is_live_object(info)) continue;
            if (obj_kind(info) == ok_text) cumstgs(i);
            show(mode, &info);
        }
    }
    benchmark::DoNotOptimize(myCGrafPtr->pixels().data());
    state.counters["objects_per_second"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}

// The offscreen copy cleared and every object drawn into it.
void BM_FullRedraw(benchmark::State& state) { redraw(state, mode_draw); }
BENCHMARK(BM_FullRedraw)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

// The same walk in trace mode: everything but the pixels.
void BM_TraceWalk(benchmark::State& state) { redraw(state, mode_trace); }
BENCHMARK(BM_TraceWalk)->Arg(30000)->Unit(benchmark::kMillisecond);

// The drawing recorded into the display list and shown from it.
void list_ready(benchmark::State& state) {
    open_screen();
    open_workfile(mixed_drawing(static_cast<int>(state.range(0))));
    initlist();
    change_window(0, view_width, 0, aspectratio, 1);
    changezoomlimits();
    reset_on_screen = 1;
    show_objects(1, 1, first_object_slot);
    if (!listavail()) state.SkipWithError("the display list is not available");
}

// Segments of the list with a filled piece (a line wide enough to be drawn
// as a filled outline), so a figure says what workload it measured.
double filled_segments() {
    int n = 0;
    for (int i = first_object_slot; i < number_of_objects; ++i) {
        const SegCtrlRec* e = seg_entry(i);
        if (!e || !(seg_word(e->b, 0) & 0x8000)) continue;
        int block = seg_word(e->b, 1), rec = seg_word(e->b, 2);
        for (int k = seg_word(e->b, 3); k > 0; --k) {
            const SegPrimRec* r = seg_record(block, rec);
            if (!r) break;
            if ((seg_word(r->b, 0) & 15) == seg_attr && (seg_word(r->b, 1) & 0xF000)) {
                ++n;
                break;
            }
            if (++rec == seg_recs_per_block) rec = 0, ++block;
        }
    }
    return n;
}

// Full redraw from the records: every object recorded into the list, then the list replayed.
void BM_ListFullRedraw(benchmark::State& state) {
    list_ready(state);
    for (auto _ : state) {
        reset_on_screen = 1;
        show_objects(1, 1, first_object_slot);
    }
    if (!listavail()) state.SkipWithError("the display list switched itself off");
    state.counters["filled_segments"] = filled_segments();
}
BENCHMARK(BM_ListFullRedraw)->Arg(30000)->Unit(benchmark::kMillisecond);

// The recording alone: every object recorded into the list, nothing replayed.
void BM_ListRecord(benchmark::State& state) {
    list_ready(state);
    for (auto _ : state) {
        freelist();
        curlwidth = 0;
        genlist = 1;
        for (std::int16_t i = first_object_slot; i < number_of_objects; ++i) {
            get_info(i);
            if (!is_live_object(info)) continue;
            if (obj_kind(info) == ok_text) cumstgs(i);
            show(mode_draw, &info);
            put_on_screen(i, clipped);
        }
        genlist = 0;
    }
    if (!listavail()) state.SkipWithError("the display list switched itself off");
}
BENCHMARK(BM_ListRecord)->Arg(30000)->Unit(benchmark::kMillisecond);

// The offscreen copy cleared and the list replayed into it.
void BM_ListReplay(benchmark::State& state) {
    list_ready(state);
    for (auto _ : state) {
        cleargraphics();
        sketchlist();
    }
}
BENCHMARK(BM_ListReplay)->Arg(30000)->Unit(benchmark::kMillisecond);

// The object under the cursor, at points spread over the view.
void BM_ListPick(benchmark::State& state) {
    list_ready(state);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> ux(0, view_width), uy(0, view_width * 1080 / 1920);
    std::int16_t n = first_object_slot;
    for (auto _ : state) {
        findseg(&n, ux(rng), uy(rng));
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_ListPick)->Arg(30000)->Unit(benchmark::kMicrosecond);

// A pan by a quarter of the view, right and back left by turns.
void BM_ListPanQuarter(benchmark::State& state) {
    list_ready(state);
    objopts->scroll_single = 0.25;
    bigpan = 0;
    int dir = 1;
    for (auto _ : state) {
        panlist(static_cast<std::int16_t>(dir), 0);
        dir = -dir;
    }
}
BENCHMARK(BM_ListPanQuarter)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return drav::bench::run_benchmarks(argc, argv, "render"); }
