#include "files/drawing_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/restraint_hook.h"
#include "base/window_areas.h"
#include "display/graphics_unit.h"
#include "display/selection_display.h"
#include "display/list_view.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "extension/api/custom_event.h"
#include "files/file_commands.h"
#include "files/picture_import.h"
#include "platform/core/forks.h"
#include "platform/core/text.h"
#include "platform/ui/events.h"
#include "store/current_drawing.h"
#include "store/levels.h"
#include "store/object_walk.h"
#include "store/pc_convert.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/rescale.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/symbol_library.h"
#include "store/undo.h"
#include "store/units.h"
#include "store/workfile.h"

namespace drav {

std::uint16_t merging = 0;
std::uint16_t convert52 = 0;
std::uint16_t convert54 = 0;
double objectscale = 1;
ReadCounts last_read;

namespace {

constexpr int err_open_drawing = 119;
constexpr int err_damaged_drawing = 145;
constexpr int alert_bad_version = 63;
constexpr int str_room = 3;  // 410/3, then 410/4, 410/5 or 410/6
constexpr int str_unconverted = 7;
constexpr int str_skipped = 8;
constexpr int why_short_header = 10, why_counts = 11, why_short_file = 12, why_settings = 13, why_units = 14;

// The file being read and what its check found.
struct Candidate {
    std::int16_t fork = 0;
    std::string name;  // Mac Roman
    int version = 0;
    long S = 0, O = 0, K = 0, P = 0;
    std::int16_t units_code = 0, real_unit = 0;
    double unit_size = 1;
    std::vector<ObjectRec> ctrls;  // the control section
    std::vector<char> ctrl_ok;     // its records that can be used
};
Candidate g_file;

MapEntry* ctrlmap = nullptr;
std::int16_t ctrlmapptr = 0;

bool is_version(int v) { return v == 52 || v == 54 || v == 60 || v == twddbrel; }

int read_record(long n, ObjectRec& rec) {
    if (plat::set_mark(g_file.fork, plat::SeekFrom::start, n * 128) != plat::noErr) {
        zero_info(rec);
        return conv_short;
    }
    return FSRef_convget(g_file.fork, rec);
}

void damaged(int why) {
    char reason[256];
    GetMyLocalCString(reason, tbl_names, why);
    show_insert_error(err_damaged_drawing, 0, g_file.name.c_str(), reason, "", "");
}

void size_error(int n, long value) {
    char head[256], tail[256], text[600];
    GetMyLocalCString(head, tbl_names, str_room);
    GetMyLocalCString(tail, tbl_names, n);
    std::snprintf(text, sizeof text, "%s%ld%s", head, value, tail);
    plat::PortSaver saver(plat::current_port());
    ShowCAlert(text);
}

void count_alert(int str, int count) {
    char text[256];
    GetMyLocalCString(text, tbl_names, str);
    char number[16];
    std::snprintf(number, sizeof number, "%d", count);
    strreplace(text, "^0", number, static_cast<int>(sizeof text) - 1);
    ShowCAlert(text);
}

bool finite64(const ObjectRec& r, std::initializer_list<int> offs) {
    for (int off : offs)
        if (!std::isfinite(rec_f64(r, off))) return false;
    return true;
}
// A string field ends inside itself.
void end_field(ObjectRec& r, int off, int size) { r.b[off + size - 1] = 0; }

// ---- Checking the file ----

int check_version() {
    std::int64_t eof = 0;
    ObjectRec head;
    if (plat::get_eof(g_file.fork, &eof) != plat::noErr || eof < 128 || read_record(0, head) != conv_read ||
        rec_kind(head) != rk_header) {
        // A header that is not there says nothing about the version.
        if (eof >= 4) {
            std::uint8_t b[4] = {};
            std::int64_t got = 0;
            plat::read_at(g_file.fork, 0, b, 4, &got);
            const int v = dosfile ? (b[2] | b[3] << 8) : (b[2] << 8 | b[3]);
            if (got == 4 && !is_version(static_cast<std::int16_t>(v))) {
                pr_alert(alert_bad_version, alert_standard);
                return 0;
            }
        }
        damaged(why_short_header);
        return 0;
    }
    g_file.version = rec_i16(head, hdr::version);
    if (!is_version(g_file.version)) {
        pr_alert(alert_bad_version, alert_standard);
        return 0;
    }
    convert52 = g_file.version == 52;
    convert54 = g_file.version == 52 || g_file.version == 54;
    g_file.S = rec_i16(head, hdr::first_slot);
    g_file.O = rec_i16(head, hdr::object_count);
    g_file.K = rec_i16(head, hdr::ctrl_count);
    g_file.P = rec_i16(head, hdr::piece_count);
    if (g_file.S < first_view_slot || g_file.S > first_object_slot || g_file.O < 0 || g_file.K < 0 ||
        g_file.P < 0) {
        damaged(why_counts);
        return 0;
    }
    const long records = g_file.S + g_file.O + g_file.K + g_file.P;
    if (records * 128 > eof) {
        damaged(why_short_file);
        return 0;
    }
    // The settings an open takes over must be what they say they are.
    for (long n = 1; n <= last_settings_slot; ++n) {
        ObjectRec r;
        if (read_record(n, r) != conv_read || (rec_kind(r) != n + 1 && (merging == 0 || n == 2))) {
            damaged(n == 2 ? why_units : why_settings);
            return 0;
        }
        if (n != 2) continue;
        g_file.units_code = rec_i16(r, 74);
        g_file.real_unit = rec_i16(r, 76);
        g_file.unit_size = rec_f64(r, 78);
    }
    if (g_file.units_code < 0 || g_file.units_code >= unit_codes || g_file.real_unit < 0 ||
        g_file.real_unit >= unit_codes || !std::isfinite(g_file.unit_size) || !(g_file.unit_size > 0)) {
        damaged(why_units);
        return 0;
    }
    objectscale = merging ? file_conv_factor(g_file.units_code, g_file.real_unit, g_file.unit_size) : 1;
    if (!std::isfinite(objectscale) || !(objectscale > 0)) objectscale = 1;
    return 1;
}

int check_objects() {
    const long need = (merging ? long{number_of_objects} : long{first_object_slot}) + g_file.O + 5;
    if (static_cast<long>(worksize) > need) return 1;
    size_error(6, need - first_object_slot);
    return 0;
}

int check_symbols() {
    const long pieces_first = g_file.S + g_file.O + g_file.K, records = pieces_first + g_file.P;
    g_file.ctrls.assign(static_cast<std::size_t>(g_file.K), ObjectRec{});
    g_file.ctrl_ok.assign(static_cast<std::size_t>(g_file.K), 0);
    for (long i = 0; i < g_file.K; ++i) {
        ObjectRec& c = g_file.ctrls[static_cast<std::size_t>(i)];
        if (read_record(g_file.S + g_file.O + i, c) != conv_read || rec_kind(c) != rk_symbol_ctrl) continue;
        const long first = rec_i16(c, sctl::first_piece), count = rec_i16(c, sctl::piece_count);
        if (count < 0 || first < pieces_first || first + count > records) continue;
        end_field(c, sctl::library, sctl::name_size);
        end_field(c, sctl::symbol, sctl::name_size);
        g_file.ctrl_ok[static_cast<std::size_t>(i)] = 1;
    }
    ObjectRec head;
    std::int64_t got = 0;
    if (plat::read_at(worklibRefNum, 0, head.b, 128, &got) != plat::noErr || got != 128) return 0;
    long controls, pieces;
    if (!merging) {
        controls = g_file.K + first_ctrl_record;
        pieces = g_file.P + ctrlsize + first_ctrl_record;
    } else {
        long missing = 0, missing_pieces = 0;
        for (long i = 0; i < g_file.K; ++i) {
            if (!g_file.ctrl_ok[static_cast<std::size_t>(i)]) continue;
            const ObjectRec& c = g_file.ctrls[static_cast<std::size_t>(i)];
            std::int16_t at = 0;
            if (find_symb_indx(rec_str(c, sctl::library), rec_i16(c, sctl::number), &at)) continue;
            ++missing;
            missing_pieces += rec_i16(c, sctl::piece_count);
        }
        controls = missing + rec_i16(head, hdr::lib_lastctrl);
        pieces = missing_pieces + rec_i16(head, hdr::lib_lastsymb);
    }
    if (controls > ctrlsize + first_ctrl_record) {
        size_error(4, controls - first_ctrl_record);
        return 0;
    }
    if (pieces <= static_cast<long>(libsize) - 5) return 1;
    size_error(5, pieces - ctrlsize + 1);
    return 0;
}

int checkfile() { return check_version() && check_objects() && check_symbols(); }

// ---- Transfers ----

void xfersymbols() {
    bad_pieces = 0;
    for (long i = 0; i < g_file.K; ++i) {
        if (!g_file.ctrl_ok[static_cast<std::size_t>(i)]) continue;
        const ObjectRec& c = g_file.ctrls[static_cast<std::size_t>(i)];
        const auto from = static_cast<std::int16_t>(g_file.S + g_file.O + i);
        std::int16_t to = 0;
        if (!find_symb_indx(rec_str(c, sctl::library), rec_i16(c, sctl::number), &to) &&
            !copy_symbol(g_file.fork, from, &to, rec_str(c, sctl::library), convert54))
            continue;
        updatemap(ctrlmap, &ctrlmapptr, from, to);
    }
    last_read.skipped += bad_pieces;
}

// The records read last, as they went into the workfile from `g_first` on:
// the redraw after the read takes them from here.
std::vector<ObjectRec> g_read;
std::int16_t g_first = first_object_slot;

// The text `t` promised a continuation that is not there: it keeps what it holds inline.
void end_text_here(ObjectRec& t) {
    set_text_info(t, text_font(t), static_cast<int>(strnlen(rec_str(t, text::chars), text::max_inline)), false);
}

// The object section, record by record, into the workfile from `number_of_objects` on.
void xferobjects(int group, int rescale) {
    const long count = g_file.O;
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(count) * 128);
    std::int64_t got = 0;
    if (count > 0) plat::read_at(g_file.fork, g_file.S * 128, raw.data(), count * 128, &got);
    const long have = static_cast<long>(got / 128);
    nomore_info();
    g_first = number_of_objects;
    std::vector<ObjectRec>& out = g_read;
    out.clear();
    out.reserve(static_cast<std::size_t>(count));

    bool tail_due = false;  // the record stored last is a text that continues
    for (long i = 0; i < count; ++i) {
        ObjectRec rec{};
        if (i >= have) {
            ++last_read.skipped;
            continue;
        }
        if (dosfile) {
            ObjectRec pc;
            std::memcpy(pc.b, raw.data() + i * 128, 128);
            if (!xtweak(rec, pc)) {
                ++bad_seg_count;
                continue;
            }
        } else {
            std::memcpy(rec.b, raw.data() + i * 128, 128);
        }
        const auto n = static_cast<std::int16_t>(g_first + out.size());
        if (rec_kind(rec) == rk_text_tail) {
            if (!tail_due) {
                ++last_read.skipped;
                continue;
            }
            tail_due = false;
            end_field(rec, tail::text, tail::text_size);
            out.push_back(rec);
            continue;
        }
        if (tail_due) {
            end_text_here(out.back());
            tail_due = false;
        }
        if (rec_kind(rec) > rk_max) {
            ++last_read.skipped;
            continue;
        }
        if (!is_live_object(rec)) continue;
        if (convert54 && obj_kind(rec) == ok_text) {
            if (dosfile) convert54text_pc(rec);
            else convert54text(rec);
        }
        if (!obj_sound(rec)) {
            ++last_read.skipped;
            continue;
        }
        if (rescale) convert_record(objectscale, rec);
        if (obj_kind(rec) == ok_symbol) {
            std::int16_t to = 0;
            if (mapping(rec_i16(rec, sym::ctrl), ctrlmap, ctrlmapptr, &to)) {
                set_rec_i16(rec, sym::ctrl, to);
                accept_symbol(to);
                ObjectRec ctrl;
                if (rescale && get_ctrlrec(to, ctrl)) {
                    set_handle(rec_f64(ctrl, sctl::handle_x), rec_f64(ctrl, sctl::handle_y), rec);
                    set_rec_f64(rec, sym::width, rec_f64(ctrl, sctl::width) * rec_f64(rec, sym::scale_x));
                    set_rec_f64(rec, sym::height, rec_f64(ctrl, sctl::height) * rec_f64(rec, sym::scale_y));
                    rec.b[sym::number_hi] = static_cast<std::uint8_t>((rec.b[sym::number_hi] & 0x7F) |
                                                                      ((rec_u16(ctrl, sctl::scaling) & 1) << 7));
                }
            } else {
                // Never an index into the work library.
                ++last_read.bad_symbols;
                set_rec_i16(rec, sym::ctrl, -1);
            }
        }
        put_on_screen(n, 1);
        if (group) {
            put_in_group(n, 1);
            ++objs_in_grp;
        }
        out.push_back(rec);
        tail_due = obj_kind(rec) == ok_text && text_continued(rec);
    }
    if (tail_due) end_text_here(out.back());

    // One write for the whole section; the caches forget what they held.
    std::int64_t done = 0;
    if (!out.empty())
        plat::write_at(workfileRefNum, std::int64_t{g_first} * 128, out.data(),
                       static_cast<std::int64_t>(out.size()) * 128, &done);
    cur_buff_num = -1;
    tbuf_num = -1;
    prev_index = -1;
    modified = 0;
    needtosave = 1;
    number_of_objects = static_cast<std::int16_t>(g_first + out.size());
    write_sav_rec();
    nomore_info();
    if (last_read.bad_symbols) {
        char text[64];
        std::snprintf(text, sizeof text, "%d bad symbols", last_read.bad_symbols);
        ShowCAlert(text);
    }
}

void convert52drawing() {
    get_info(header_slot);
    set_rec_i16(info, hdr::version, twddbrel);
    modified = 1;
    get_info(3);
    set_rec_u16(info, 2, static_cast<std::uint16_t>(rec_u16(info, 2) | sw_wide_strokes));
    modified = 1;
    get_info(5);
    set_rec_u16(info, 120, static_cast<std::uint16_t>(rec_u16(info, 120) & ~0x0021));
    set_rec_u16(info, 122, static_cast<std::uint16_t>(rec_u16(info, 122) & ~0x0047));
    modified = 1;
    get_info(6);
    set_rec_u16(info, 62, 0x2E00);
    modified = 1;
}

void fix_inputmode() {
    get_info(6);
    const std::int16_t m = rec_i16(info, 2);
    if (m < 1 || m > 3) {
        set_rec_i16(info, 2, 1);
        modified = 1;
    }
}

// A named window or plot specification with usable numbers; its name ends in its field.
bool view_record_sound(ObjectRec& r) {
    if (rec_kind(r) == rk_named_window) {
        end_field(r, nwin::name, 128 - nwin::name);
        return finite64(r, {2, 10, 18, 26});
    }
    if (rec_kind(r) == rk_plot_spec) {
        end_field(r, pspec::name, pspec::name_size);
        return finite64(r, {2, 10, 18, 26, 34, 42, 50, 58});
    }
    return false;
}

void xfersavdata() {
    for (long n = 0; n < first_object_slot; ++n) {
        ObjectRec r{};
        if (n < g_file.S && read_record(n, r) == conv_read) {
            if (n == 3) {
                std::uint16_t set[level_set_words];
                for (int i = 0; i < level_set_words; ++i) set[i] = rec_u16(r, 4 + 2 * i);
                fix_AllLevels_In(set);
                for (int i = 0; i < level_set_words; ++i) set_rec_u16(r, 4 + 2 * i, set[i]);
            }
            if (n >= first_view_slot && !view_record_sound(r)) {
                if (rec_kind(r) != rk_empty) ++last_read.skipped;
                zero_info(r);
            }
        } else if (n < g_file.S) {
            zero_info(r);
        }
        get_info(static_cast<std::int16_t>(n));
        if (n < g_file.S) info = r;
        else set_rec_kind(info, rk_empty);
        modified = 1;
    }
    // The workfile's header counts, whatever the file's said.
    put_header_counts();
    modified = 1;
    if (convert52) convert52drawing();
    fix_inputmode();
    nomore_info();
}

// Offers the file's named windows (and plot specifications) to slots 7-35.
void xferwinsspecs(int withplot) {
    for (long n = first_view_slot; n < g_file.S; ++n) {
        ObjectRec r;
        if (read_record(n, r) != conv_read) continue;
        const int kind = rec_kind(r);
        if (kind != rk_named_window && !(kind == rk_plot_spec && withplot)) continue;
        if (!view_record_sound(r)) {
            ++last_read.skipped;
            continue;
        }
        const int name_off = kind == rk_named_window ? nwin::name : pspec::name;
        int free_slot = -1;
        bool taken = false;
        for (int s = first_view_slot; s <= last_view_slot && !taken; ++s) {
            get_info(static_cast<std::int16_t>(s));
            if (rec_kind(info) == rk_empty) {
                if (free_slot < 0) free_slot = s;
            } else if (rec_kind(info) == kind &&
                       std::strncmp(rec_str(info, name_off), rec_str(r, name_off), 128 - name_off) == 0) {
                taken = true;
            }
        }
        if (taken || free_slot < 0) continue;
        convert_record(objectscale, r);
        get_info(static_cast<std::int16_t>(free_slot));
        info = r;
        modified = 1;
    }
    nomore_info();
}

// Draws the objects just read into the view and shows them.
void draw_objects() {
    if (!graphwasinit || !drawCWindow) return;
    {
        plat::PortSaver saver(drawCWindow);
        if (g_first == first_object_slot) cleargraphics();
        curlwidth = 0;
        const ObjectRec none{};
        for (std::size_t i = 0; i < g_read.size(); ++i) {
            const ObjectRec& r = g_read[i];
            if (!is_live_object(r)) continue;
            if (obj_kind(r) == ok_text) text_chars(r, i + 1 < g_read.size() ? g_read[i + 1] : none, textline);
            show(mode_draw, &r);
            put_on_screen(static_cast<int>(g_first + i), clipped);
        }
    }
    // The window shows what was read at the next update.
    drawing_area_valid(0);
}

void report_counts() {
    if (dosfile && bad_seg_count) count_alert(str_unconverted, bad_seg_count);
    last_read.unconverted = bad_seg_count;
    if (last_read.skipped) count_alert(str_skipped, last_read.skipped);
}

void do_get(const FSRef& ref) {
    // TODO(ShowLocalAsyncMessageWindow) progress message 2005/2 for converted files
    watch_on();
    stop_symbolscan();
    zeroworkfile();
    units_defs.units_code = g_file.units_code;
    units_defs.real_unit = g_file.real_unit;
    units_defs.unit_size = g_file.unit_size;
    bad_seg_count = 0;
    xfersymbols();
    xferobjects(0, 0);
    xfersavdata();
    watch_off();
    report_counts();
    start_symbolscan();
    read_sav_rec();
    // A PC file has no companion: its levels get their default names.
    FSRef_get_levelinfo(ref);
    FSRef_put_levelinfo(workfileFSRef);
    changezoomlimits();
    draw_objects();
}

void do_merge(int mode, int withplot) {
    stop_symbolscan();
    if (mode == 2) clear_group();
    bad_seg_count = 0;
    xferwinsspecs(withplot);
    xfersymbols();
    xferobjects(mode == 2, 1);
    report_counts();
    start_symbolscan();
    draw_objects();
}

std::string roman_name(const FSRef& ref, const char* name) {
    if (name && name[0]) return name;
    std::string roman;
    plat::utf8_to_macroman(ref.path.filename().string(), roman);
    return roman;
}

}  // namespace

// ---- Index maps ----

void updatemap(MapEntry* table, std::int16_t* count, std::int16_t from, std::int16_t to) {
    if (!table) return;
    table[*count] = {static_cast<std::uint16_t>(to), static_cast<std::uint16_t>(from)};
    ++*count;
}

int mapping(std::int16_t from, const MapEntry* table, std::int16_t count, std::int16_t* to) {
    if (!table) return 0;
    for (int i = 0; i < count; ++i)
        if (table[i].from == static_cast<std::uint16_t>(from)) {
            *to = static_cast<std::int16_t>(table[i].to);
            return 1;
        }
    return 0;
}

// ---- Formats ----

int FSRefIsDravPcFile(const FSRef& ref) {
    const std::string ext = plat::lower_extension(ref);
    if (ext != ".2d") return 0;
    std::uint32_t type = 0, creator = 0;
    plat::get_type_creator(ref, &type, &creator);
    return creator != four_cc("DRAV") && type != four_cc("2D  ") ? 1 : 0;
}

int drawing_file_format(const FSRef& ref) {
    // A picture file: typed so, or named so where files carry no type.
    const std::string ext = plat::lower_extension(ref);
    std::uint32_t type = 0, creator = 0;
    plat::get_type_creator(ref, &type, &creator);
    if (type == four_cc("PICT") || (type == 0 && (ext == ".pict" || ext == ".pct"))) return format_picture;
    if (!FSRefIsDravPcFile(ref)) return format_native;
    std::int16_t fork = 0;
    if (plat::open_file(ref, plat::Perm::read, &fork) != plat::noErr) return format_pc;
    std::uint8_t b[4] = {};
    std::int64_t got = 0;
    plat::read_at(fork, 0, b, 4, &got);
    plat::close_file(fork);
    const auto pc = static_cast<std::int16_t>(b[2] | b[3] << 8), native = static_cast<std::int16_t>(b[2] << 8 | b[3]);
    return got == 4 && !is_version(pc) && is_version(native) ? format_native : format_pc;
}

// ---- Opening ----

int opensegs(const FSRef& ref, std::int16_t, std::int32_t, const char* name) {
    char untitled[256];
    GetMyLocalCString(untitled, tbl_names, 1);
    if (name && std::strcmp(name, untitled) == 0) return 1;
    if (FSRef_OpenMyFileWithPermission(ref, fsRdWrPerm, &currentdrawingRefNum) != plat::noErr) {
        currentdrawingRefNum = 0;
        show_error(err_open_drawing, 0);
        return 0;
    }
    return 1;
}

void closesegs() {
    if (currentdrawingRefNum > 0) FSRef_CloseMyFile(&currentdrawingRefNum);
    currentdrawingRefNum = 0;
}

int open_drawing(const FSRef& ref, std::int16_t, std::int32_t, const char* name, int merge, int pc, int withplot) {
    dosfile = pc ? 1 : 0;
    last_read = {};
    ctrlmap = static_cast<MapEntry*>(getmemory(std::int32_t{ctrlsize} * 4 + 4));
    if (!ctrlmap) {
        dosfile = 0;
        return 0;
    }
    ctrlmapptr = 0;
    merging = static_cast<std::uint16_t>(merge);
    g_file = Candidate{};
    g_file.name = roman_name(ref, name);
    const auto finish = [](int result) {
        xfree(&ctrlmap);
        g_file.ctrls.clear();
        g_read.clear();
        dosfile = 0;
        return result;
    };

    // The candidate is checked through a fork of its own: a refused file
    // leaves the current drawing's file open as it was.
    if (FSRef_OpenMyFileWithPermission(ref, fsRdWrPerm, &g_file.fork) != plat::noErr &&
        FSRef_OpenMyFileWithPermission(ref, fsRdPerm, &g_file.fork) != plat::noErr) {
        g_file.fork = 0;
        show_error(err_open_drawing, 0);
        return finish(0);
    }
    watch_on();
    const int ok = checkfile();
    watch_off();
    if (!ok) {
        FSRef_CloseMyFile(&g_file.fork);
        return finish(0);
    }
    if (!macgroup) showonoff(indx, 0);
    custom_event(9, 0, static_cast<std::int16_t>(merge), 0, g_file.name.c_str(), nullptr);
    if (merge == 0) do_get(ref);
    else do_merge(merge, withplot);
    if (merge || convert54 || dosfile) didsomething = 1;
    nomore_info();
    custom_event(10, 0, static_cast<std::int16_t>(merge), 0, g_file.name.c_str(), nullptr);
    // The file just read is the one held open from now on.
    closesegs();
    currentdrawingRefNum = g_file.fork;
    g_file.fork = 0;

    curlwidth = -1;
    if (macgroup) loop_tool_click(3);  // group mode: the group tool again
    loop_mark_restraints();
    nullohp();
    nullghp();
    if (there_are_objects()) indx = static_cast<std::int16_t>(last_valid_indx());
    plat::EventRecord opened;
    opened.what = plat::kHighLevelEvent;
    opened.message = drawing_opened_event;
    plat::post_event(std::move(opened));
    return finish(1);
}

int open_or_merge_drawing(const FSRef& ref, std::int16_t vref, std::int32_t dir, const char* name, int format,
                          int merge, int withplot) {
    if (merge == 0 && there_are_objects()) {
        char answer = 'Y';
        want_exit(&answer);
        if (answer != 'Y') return 0;
    }
    if (format != format_native && format != format_pc && format != format_picture) return 0;
    const int ok = format == format_picture ? open_pict(ref, vref, dir, name, merge)
                                            : open_drawing(ref, vref, dir, name, merge, format == format_pc, withplot);
    if (ok && merge == 0) document_exist = 1;
    // An opened picture is a new, untitled drawing: its file is not the drawing's.
    if (ok && merge == 0 && format != format_picture) {
        current_format = static_cast<std::uint16_t>(format);
        current_drawing.vref = vref;
        current_drawing.dirid = dir;
        strnncpy(current_drawing.name, roman_name(ref, name).c_str(), static_cast<int>(sizeof current_drawing.name) - 1);
        current_drawing.ref = ref;
    }
    if (whichdrawWindow())
        plat::set_window_title(whichdrawWindow(), plat::macroman_to_utf8(current_drawing.name));
    return ok;
}

}  // namespace drav
