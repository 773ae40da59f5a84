#include "tests/fuzz/fuzz_entries.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/screen.h"
#include "files/clipboard.h"
#include "files/drawing_reader.h"
#include "files/file_commands.h"
#include "platform/core/files.h"
#include "platform/core/process.h"
#include "platform/ui/answerer.h"
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

namespace drav::fuzz {

namespace {

class AnswerAll final : public plat::Answerer {
public:
    int answer(const plat::AlertRequest&) override { return 1; }
};

std::filesystem::path g_file;

std::vector<std::uint8_t> workfile_bytes() {
    nomore_info();
    std::vector<std::uint8_t> b(static_cast<std::size_t>(worksize) * 128);
    std::int64_t got = 0;
    plat::read_at(workfileRefNum, 0, b.data(), static_cast<std::int64_t>(b.size()), &got);
    return b;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

}  // namespace

void setup(const std::filesystem::path& folder) {
    static AnswerAll answer_all;
    plat::set_answerer(&answer_all);
    std::filesystem::create_directories(folder);
    UserAppSupportFSRef = FSRef{folder};
    g_file = folder / "fuzz.2d";
    if (!init_record_store()) fail("no record store");
    number_of_objects = first_object_slot;
    set_work_sizes(200, 100, 20);
    units_defs.units_code = 3;
    units_defs.real_unit = 3;
    units_defs.unit_size = 1;
    units_defs.increment = 1.0 / 64;
    users_defs.hatch_spacing = 0.25;
    cur_win = bse_win = {0, 30, 0, 20};
    remember_start_settings();
    if (!setup_workfile()) fail("no workfile");
    if (!init_selection_sets()) fail("no selection sets");
    // A screen, so that what was read is drawn too: placed symbols through their pieces.
    std::int16_t err = 0;
    if (!opengraphics(&err)) fail("no screen");
    initgunit();
    opencossin();
    init_poly();
    std::error_code ec;
    std::filesystem::copy_file(plat::bundle_dir() / line_styles_file, folder / line_styles_file,
                               std::filesystem::copy_options::overwrite_existing, ec);
    openlinstk();
    init_worldunits();
    change_window(0, 30, 0, aspectratio, 1);
    init_levels();
    init_symbols();
    static ObjOptsRec opts;
    objopts = &opts;
}

void read_drawing(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return;
    const int pc = data[0] & 1, merge = (data[0] >> 1) & 3, withplot = (data[0] >> 3) & 1;
    {
        std::ofstream f(g_file, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    zeroworkfile();
    const std::vector<std::uint8_t> before = workfile_bytes();
    const std::int16_t count_before = number_of_objects;
    const int ok = open_drawing(FSRef{g_file}, 1, 0, "fuzz.2d", merge == 3 ? 0 : merge, pc, withplot);
    if (number_of_objects < first_object_slot || number_of_objects >= static_cast<int>(worksize))
        fail("record count out of range");
    if (!ok && (number_of_objects != count_before || workfile_bytes() != before))
        fail("a refused file changed the drawing");
    // Every live object can be walked and every symbol's pieces read.
    for (std::int16_t n = first_object_slot; n < number_of_objects; ++n) {
        get_info(n);
        if (is_live_object(info) && obj_kind(info) == ok_symbol) {
            std::int16_t first = 0, count = 0;
            if (ctrl_run(rec_i16(info, sym::ctrl), &first, &count)) {
                for (std::int16_t i = 0; i < count; ++i) {
                    ObjectRec piece;
                    get_symbol(first, i, piece);
                }
            }
        }
    }
    nomore_info();
    closesegs();
}

void convert_record(const std::uint8_t* data, std::size_t size) {
    ObjectRec pc{};
    std::memcpy(pc.b, data, std::min<std::size_t>(size, 128));
    ObjectRec native{};
    const int ok = xtweak(native, pc);
    ObjectRec pc2{}, native2{};
    const int back = tweak(pc2, native);
    const int again = xtweak(native2, pc2);
    if (ok) {
        if (!back || !again) fail("a converted record did not convert back");
        // Bytes 62-63 of record kind 7 are written as a fixed tag.
        if (rec_kind(native) == rk_settings_last) {
            native.b[62] = native2.b[62];
            native.b[63] = native2.b[63];
        }
        if (std::memcmp(native.b, native2.b, 128) != 0) fail("a record changed on its way through the PC layout");
    }
}

void paste_block(const std::uint8_t* data, std::size_t size) {
    zeroworkfile();
    const std::vector<std::uint8_t> before = workfile_bytes();
    const std::int16_t count_before = number_of_objects;
    std::vector<ObjectRec> recs;
    const int sound = segs_sound(data, size, &recs);
    paste_segs(data, size);
    if (number_of_objects < first_object_slot || number_of_objects >= static_cast<int>(worksize))
        fail("record count out of range");
    if (!sound && (number_of_objects != count_before || workfile_bytes() != before))
        fail("a refused block changed the drawing");
    if (sound && number_of_objects - count_before > static_cast<int>(recs.size()))
        fail("a block stored more records than it holds");
    for (std::int16_t n = first_object_slot; n < number_of_objects; ++n) {
        get_info(n);
        if (is_live_object(info) && obj_kind(info) == ok_symbol) fail("a placed symbol was pasted");
    }
    nomore_info();
}

}  // namespace drav::fuzz
