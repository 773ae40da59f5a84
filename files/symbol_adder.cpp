#include "files/symbol_adder.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "base/idle.h"
#include "base/messages.h"
#include "base/questions.h"
#include "display/object_find.h"
#include "files/drawing_reader.h"
#include "files/file_dialogs.h"
#include "platform/core/text.h"
#include "store/current_drawing.h"
#include "store/geometry.h"
#include "store/library_file.h"
#include "store/strings.h"
#include "store/symbol_library.h"

namespace drav {

namespace {

constexpr int prompt_choose_drawing = 3;  // table 430
constexpr int tbl_symbol_prompts = 430;
constexpr int err_drawing_open = 119;
constexpr int ask_replace = 22;
constexpr int alert_not_70 = 40, alert_no_room = 41, alert_empty = 42, alert_has_symbols = 43,
              alert_in_worklib = 44;
constexpr std::uint16_t w0_piece_detail = 0x0100;  // drawn also without the symbols' details

// Drawing file record 2: the units of the grid and units settings.
constexpr int units_code_at = 74, real_unit_at = 76, factor_at = 78;

bool read_at(std::int16_t fork, long n, ObjectRec& r) {
    std::int64_t got = 0;
    return n >= 0 && plat::read_at(fork, std::int64_t{n} * 128, r.b, 128, &got) == plat::noErr && got == 128;
}

bool write_at(std::int16_t fork, long n, const ObjectRec& r) {
    std::int64_t done = 0;
    return n >= 0 && plat::write_at(fork, std::int64_t{n} * 128, r.b, 128, &done) == plat::noErr && done == 128;
}

// The older text form of libraries of versions 52 and 54: doubles at 80 and 88.
void convert_text(ObjectRec& r) {
    const double w = rec_f32(r, text::char_width), h = rec_f32(r, text::char_height);
    set_rec_f64(r, text::char_width, w);
    set_rec_f64(r, text::char_height, h);
}

// The file is long enough for every piece: its last record is written.
bool enough_room(std::int16_t lib, long start, long length) {
    if (start + length > lib_max_records) return false;
    return length <= 0 || write_at(lib, start + length - 1, ObjectRec{});
}

void cut_name(char* out, const char* in) {
    strnncpy(out, in, sctl::name_size - 1);
    out[sctl::name_size - 1] = '\0';
}

}  // namespace

int check_unprop(const std::vector<ObjectRec>& pieces) {
    for (const ObjectRec& r : pieces) {
        if (rec_kind(r) != rk_object) continue;
        const int kind = obj_kind(r);
        if (kind == ok_point || kind == ok_line || kind == ok_bezier) continue;
        if (!(std::fabs(rec_f64(r, obj::rotation)) < small_tol)) return 0;
    }
    return 1;
}

PutSymbol lib_put_symbol(std::int16_t lib, std::int16_t slot, const std::vector<ObjectRec>& pieces, double lx,
                         double ly, double hx, double hy, const char* libname, const char* symbname,
                         const SymbolUnits& units) {
    LibHeader h;
    if (!read_lib_header(lib, &h) || slot < 0 || slot >= h.maxctrls || pieces.empty()) return PutSymbol::unsound;
    const long start = h.lastsymb, length = static_cast<long>(pieces.size());
    if (!enough_room(lib, start, length)) return PutSymbol::no_room;

    bool first = true;
    for (long i = 0; i < length; ++i) {
        ObjectRec r = pieces[static_cast<std::size_t>(i)];
        if (first) {
            set_rec_u16(r, o_word0, static_cast<std::uint16_t>(rec_word0(r) | w0_first_piece));
            first = false;
        }
        if (rec_kind(r) == rk_object) {
            set_rec_u16(r, o_word0, static_cast<std::uint16_t>(rec_word0(r) | w0_piece_detail));
            set_rec_f64(r, obj::ref_x, rec_f64(r, obj::ref_x) - lx);
            set_rec_f64(r, obj::ref_y, rec_f64(r, obj::ref_y) - ly);
            if (obj_kind(r) == ok_text && (h.version == 52 || h.version == 54)) convert_text(r);
        }
        if (!write_at(lib, start + i, r)) return PutSymbol::unsound;
    }

    // The handle is the first piece as written.
    ObjectRec head;
    ObjectRec firstpiece;
    if (!read_at(lib, 0, head) || !read_at(lib, start, firstpiece)) return PutSymbol::unsound;
    ObjectRec ctrl = head;
    set_rec_u16(ctrl, o_word0, rk_symbol_ctrl);
    char name[sctl::name_size];
    cut_name(name, libname);
    set_rec_str(ctrl, sctl::library, sctl::name_size, name);
    cut_name(name, symbname);
    set_rec_str(ctrl, sctl::symbol, sctl::name_size, name);
    set_rec_i16(ctrl, sctl::number, slot);
    set_rec_i16(ctrl, sctl::first_piece, static_cast<std::int16_t>(start));
    set_rec_i16(ctrl, sctl::piece_count, static_cast<std::int16_t>(length));
    set_rec_f64(ctrl, sctl::width, hx - lx);
    set_rec_f64(ctrl, sctl::height, hy - ly);
    set_rec_f64(ctrl, sctl::handle_x, rec_f64(firstpiece, obj::ref_x));
    set_rec_f64(ctrl, sctl::handle_y, rec_f64(firstpiece, obj::ref_y));
    set_rec_i16(ctrl, sctl::users, 0);
    set_rec_u16(ctrl, sctl::valid, 1);
    set_rec_u16(ctrl, sctl::scaling, static_cast<std::uint16_t>(check_unprop(pieces)));
    set_rec_i16(ctrl, sctl::units_code, units.code);
    set_rec_i16(ctrl, sctl::real_unit, units.real_unit);
    set_rec_f64(ctrl, sctl::units_factor, units.factor);
    if (!write_at(lib, long{slot} + first_ctrl_record, ctrl)) return PutSymbol::unsound;

    if (slot + 5 > h.lastctrl) set_rec_i16(head, hdr::lib_lastctrl, static_cast<std::int16_t>(slot + 5));
    set_rec_i16(head, hdr::lib_lastsymb, static_cast<std::int16_t>(start + length));
    return write_at(lib, 0, head) ? PutSymbol::written : PutSymbol::unsound;
}

int add_entry(std::int16_t file, std::int16_t slot, const char* name) {
    ObjectRec drawing, units_rec;
    if (!read_at(file, 0, drawing) || rec_i16(drawing, hdr::version) != twddbrel) {
        pr_alert(alert_not_70, 506);
        return 0;
    }
    read_at(file, 2, units_rec);
    const long firstobj = rec_i16(drawing, hdr::first_slot), count = rec_i16(drawing, hdr::object_count);
    if (count <= 0) {
        pr_alert(alert_empty, 506);
        return 0;
    }
    if (rec_i16(drawing, hdr::ctrl_count) != 0 || rec_i16(drawing, hdr::piece_count) != 0) {
        pr_alert(alert_has_symbols, 506);
        return 0;
    }
    // The live objects with their continuations, until the count is reached
    // or the file ends, whatever its header claimed.
    std::vector<ObjectRec> pieces;
    double lx = DBL_MAX, ly = DBL_MAX, hx = -DBL_MAX, hy = -DBL_MAX;
    ObjectRec r;
    for (long n = firstobj; static_cast<long>(pieces.size()) < count && read_at(file, n, r); ++n) {
        if (!is_live_object(r)) continue;
        pieces.push_back(r);
        find_limits(r, &lx, &ly, &hx, &hy, 1);
        if (obj_kind(r) == ok_text && text_continued(r) && static_cast<long>(pieces.size()) < count) {
            ObjectRec tail;
            if (!read_at(file, ++n, tail)) break;
            pieces.push_back(tail);
        }
    }
    if (pieces.empty()) {
        pr_alert(alert_empty, 506);
        return 0;
    }
    if (hx < lx || hy < ly) {  // nothing had extents: a symbol of no size at the first piece
        lx = hx = rec_f64(pieces.front(), obj::ref_x);
        ly = hy = rec_f64(pieces.front(), obj::ref_y);
    }
    SymbolUnits units;
    units.code = rec_i16(units_rec, units_code_at);
    units.real_unit = rec_i16(units_rec, real_unit_at);
    units.factor = rec_f64(units_rec, factor_at);
    const PutSymbol put = lib_put_symbol(currentlibRefNum, slot, pieces, lx, ly, hx, hy, current_lib.name, name, units);
    if (put != PutSymbol::written) {
        if (put == PutSymbol::no_room) pr_alert(alert_no_room, 506);
        return 0;
    }
    std::int16_t in_work = 0;
    if (find_symb_indx(current_lib.name, slot, &in_work)) pr_alert(alert_in_worklib, 506);
    return 1;
}

void symbadd(std::int16_t slot) {
    char prompt[256];
    GetMyLocalCString(prompt, tbl_symbol_prompts, prompt_choose_drawing);
    std::int16_t vref = 0;
    std::int32_t dir = 0;
    char name[file_name_bytes] = {};
    if (!openanyfile_dialog(four_cc("2D  "), &vref, &dir, name, prompt)) return;
    if (!open_default_library(2)) return;

    // The open drawing is recognised by the file itself, not by its name.
    const std::filesystem::path chosen = plat::folder_path(vref, dir) / plat::macroman_to_utf8(name);
    std::error_code ec;
    const bool is_open_drawing = currentdrawingRefNum > 0 && current_drawing.ref.valid() &&
                                 std::filesystem::equivalent(chosen, current_drawing.ref.path, ec);
    if (is_open_drawing) closesegs();

    std::int16_t file = 0;
    if (OpenMyFile(vref, dir, name, &file) != plat::noErr || file <= 0) {
        show_error(err_drawing_open, 0);
    } else {
        if (valid_lib_symbol(slot)) {
            std::int16_t start = 0, len = 0;
            get_startlen(slot, &start, &len);
            clear_watch();
            if (ask_yes_cancel(tbl_alerts, ask_replace) == reply_yes && add_entry(file, slot, name))
                mark_symbol_invalid(start, len);
        } else {
            add_entry(file, slot, name);
        }
        CloseMyFile(&file);
    }
    if (is_open_drawing)
        opensegs(current_drawing.ref, current_drawing.vref, current_drawing.dirid, current_drawing.name);
}

}  // namespace drav
