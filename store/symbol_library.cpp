#include "store/symbol_library.h"

#include <algorithm>
#include <cstring>

#include "base/messages.h"
#include "store/current_drawing.h"
#include "store/geometry.h"
#include "store/library_file.h"
#include "store/hooks.h"
#include "store/pc_convert.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/rescale.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/units.h"
#include "store/workfile.h"

namespace drav {

std::uint16_t scan_symbols = 0;
std::int16_t recptr = 0;
std::int16_t cachemap[libcache_records] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                           -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
ObjectRec libcache[libcache_records] = {};
std::int16_t* symbusers = nullptr;
std::int32_t symbusers_count = 0;
std::int16_t currentlibRefNum = 0;
std::int16_t bad_pieces = 0;
std::uint16_t insymbsingle = 0;
std::uint16_t dirsymbol = 0;
char dirlibname[9] = {};
std::int16_t dirsymnum = 0;
FSRef dirFSRef;

namespace {

constexpr int err_delete_not_ctrl = 40;
constexpr int err_negative_users = 41;
constexpr int err_undelete_not_ctrl = 42;
constexpr int err_undelete_piece = 43;
constexpr int err_accept_piece = 44;
constexpr int err_delete_piece = 46;
constexpr int err_symbusers_memory = 47;
constexpr int err_library_open = 120;

int g_libmode = -1;  // the mode the current library was opened for
bool g_open_reported = false;  // the last open failure has been shown
LibWindowOpener g_opener = nullptr;

bool in_worklib(long n) { return n >= 0 && n < static_cast<long>(libsize); }

// Reads record n of an open file; 1 when all 128 bytes came, 0 otherwise.
int read_record(std::int16_t fork, long n, ObjectRec& rec) {
    if (n < 0 || plat::set_mark(fork, plat::SeekFrom::start, n * 128) != plat::noErr) {
        zero_info(rec);
        return 0;
    }
    return FSRef_convget(fork, rec) == conv_read ? 1 : 0;
}

int read_worklib(long n, ObjectRec& rec) {
    std::int64_t got = 0;
    if (!in_worklib(n) || plat::read_at(worklibRefNum, n * 128, rec.b, 128, &got) != plat::noErr || got != 128) {
        zero_info(rec);
        return 0;
    }
    return 1;
}

// The users of control record n change by one.
enum class Users { accept, undelete, remove };

int change_users(std::int16_t n, Users how) {
    ObjectRec ctrl;
    if (!read_worklib(n, ctrl)) return 0;
    if (rec_kind(ctrl) != rk_symbol_ctrl || n < first_ctrl_record) {
        // A record that is not a control record is never counted into.
        if (how == Users::remove) show_error(err_delete_not_ctrl, 0);
        if (how == Users::undelete) show_error(err_undelete_not_ctrl, 0);
        return 0;
    }
    const int users = rec_i16(ctrl, sctl::users) + (how == Users::remove ? -1 : 1);
    if (users < 0) {
        show_error(err_negative_users, 0);
        return 0;
    }
    set_rec_i16(ctrl, sctl::users, static_cast<std::int16_t>(users));
    const bool was_valid = rec_u16(ctrl, sctl::valid) != 0;
    bool pieces = false, live = true;
    if (how == Users::remove) {
        if (users == 0) {
            set_rec_u16(ctrl, sctl::valid, 0);
            pieces = true;
            live = false;
        }
    } else if (!was_valid) {
        set_rec_u16(ctrl, sctl::valid, 1);
        pieces = true;
    }
    if (!put_ctrlrec(n, ctrl)) return 0;
    if (!pieces) return 1;
    std::int16_t first = 0, count = 0;
    if (!ctrl_run(n, &first, &count)) return 1;
    for (int i = 0; i < count; ++i) {
        ObjectRec piece;
        if (!read_worklib(first + i, piece)) break;
        const int kind = rec_kind(piece);
        if (kind == rk_object) {
            set_rec_word0_bits(piece, w0_live, live);
            put_ctrlrec(static_cast<std::int16_t>(first + i), piece);
        } else if (kind == rk_text_tail) {
            if (how == Users::remove) put_ctrlrec(static_cast<std::int16_t>(first + i), piece);
        } else if (kind != rk_empty) {  // an emptied damaged piece is nothing to count
            show_error(how == Users::accept ? err_accept_piece
                       : how == Users::undelete ? err_undelete_piece
                                                : err_delete_piece,
                       0);
        }
    }
    return 1;
}

}  // namespace

// ---- Cache and reading ----

void init_symbols() {
    scan_symbols = 0;
    recptr = 0;
    for (std::int16_t& m : cachemap) m = -1;
}

void start_symbolscan() { scan_symbols = 1; }

void stop_symbolscan() {
    scan_symbols = 0;
    for (std::int16_t& m : cachemap) m = -1;
}

int scan_cache(std::int16_t n, ObjectRec& buf) {
    if (!scan_symbols) return 0;
    for (int i = 0; i < libcache_records; ++i)
        if (cachemap[i] == n) {
            buf = libcache[i];
            return 1;
        }
    return 0;
}

void insert_cache(std::int16_t n, const ObjectRec& buf) {
    if (!scan_symbols) return;
    if (recptr < 0 || recptr >= libcache_records) recptr = 0;
    libcache[recptr] = buf;
    cachemap[recptr] = n;
    recptr = static_cast<std::int16_t>((recptr + 1) % libcache_records);
}

int get_ctrlrec(std::int16_t n, ObjectRec& buf) {
    if (scan_cache(n, buf)) return 1;
    if (!read_worklib(n, buf)) return 0;
    insert_cache(n, buf);
    return 1;
}

int get_symbol(std::int16_t first, std::int16_t i, ObjectRec& buf) {
    const long n = long{first} + i;
    if (!in_worklib(n)) {
        zero_info(buf);
        return 0;
    }
    return get_ctrlrec(static_cast<std::int16_t>(n), buf);
}

int put_ctrlrec(std::int16_t n, const ObjectRec& buf) {
    std::int64_t done = 0;
    if (!in_worklib(n)) return 0;
    const bool ok =
        plat::write_at(worklibRefNum, std::int64_t{n} * 128, buf.b, 128, &done) == plat::noErr && done == 128;
    // The cache stays on while the program runs: a cached copy follows the
    // write, or is dropped when the record on disk is uncertain.
    for (int i = 0; i < libcache_records; ++i)
        if (cachemap[i] == n) {
            if (ok) libcache[i] = buf;
            else cachemap[i] = -1;
        }
    return ok ? 1 : 0;
}

void symb_cumstgs(std::int16_t first, std::int16_t i, const ObjectRec& piece) {
    if (text_continued(piece)) {
        ObjectRec next;
        get_symbol(first, static_cast<std::int16_t>(i + 1), next);
        if (rec_kind(next) == rk_text_tail) {
            strnncpy(textline, rec_str(next, tail::text), textline_size - 1);
            return;
        }
    }
    strnncpy(textline, rec_str(piece, text::chars), std::min(text_count(piece), text::chars_size - 1));
}

int find_symb_indx(const char* libname, std::int16_t number, std::int16_t* index) {
    ObjectRec head;
    if (!read_worklib(0, head)) return 0;
    const int last = std::min<int>(rec_i16(head, hdr::lib_lastctrl), ctrlsize + first_ctrl_record);
    for (int n = first_ctrl_record; n < last; ++n) {
        ObjectRec ctrl;
        if (!get_ctrlrec(static_cast<std::int16_t>(n), ctrl)) return 0;
        if (rec_kind(ctrl) == rk_symbol_ctrl && rec_i16(ctrl, sctl::number) == number &&
            std::strncmp(rec_str(ctrl, sctl::library), libname, sctl::name_size - 1) == 0) {
            *index = static_cast<std::int16_t>(n);
            return 1;
        }
    }
    return 0;
}

void get_symbol_name(std::int16_t n, char* text) {
    ObjectRec ctrl;
    get_ctrlrec(n, ctrl);
    strnncpy(text, rec_str(ctrl, sctl::symbol), sctl::name_size - 1);
}

int ctrl_run(std::int16_t n, std::int16_t* first, std::int16_t* count) {
    ObjectRec ctrl;
    if (n < first_ctrl_record || !get_ctrlrec(n, ctrl) || rec_kind(ctrl) != rk_symbol_ctrl) return 0;
    const long f = rec_i16(ctrl, sctl::first_piece), c = rec_i16(ctrl, sctl::piece_count);
    if (c < 0 || f < ctrlsize + first_ctrl_record || f + c > static_cast<long>(libsize)) return 0;
    *first = static_cast<std::int16_t>(f);
    *count = static_cast<std::int16_t>(c);
    return 1;
}

// ---- Placing and exploding ----

void symb_transform(const ObjectRec& symbol, ObjectRec& piece) {
    const double sx = rec_f64(symbol, sym::scale_x), sy = rec_f64(symbol, sym::scale_y);
    const double r = rec_f64(symbol, obj::rotation);
    double x = 0, y = 0;
    rotate_cr(rec_f64(piece, obj::ref_x) * sx, rec_f64(piece, obj::ref_y) * sy, &x, &y, r);
    set_rec_f64(piece, obj::ref_x, x);
    set_rec_f64(piece, obj::ref_y, y);
    const double angle = sy < 0 ? r - r_two * rec_f64(piece, obj::rotation) : r;
    change_object(sx, sy, angle, rec_f64(symbol, obj::ref_x), rec_f64(symbol, obj::ref_y), piece);
}

void change_symb_defaults(const ObjectRec& symbol, ObjectRec& piece) {
    if (symbol.b[obj::name]) set_rec_str(piece, obj::name, obj::name_size, rec_str(symbol, obj::name));
    if (is_template(symbol)) set_rec_word0_bits(piece, w0_template, true);
    if (obj_colour(symbol)) set_obj_kind_colour(piece, obj_kind(piece), obj_colour(symbol));
    for (int off : {obj::level, obj::pen, obj::width})
        if (symbol.b[off]) piece.b[off] = symbol.b[off];
    if (obj_density(symbol))
        piece.b[obj::density_marks] =
            static_cast<std::uint8_t>((piece.b[obj::density_marks] & 0x0F) | (symbol.b[obj::density_marks] & 0xF0));
    if (symbol.b[obj::style] && obj_kind(piece) != ok_text) piece.b[obj::style] = symbol.b[obj::style];
}

int symb_explode(std::int16_t* first, std::int16_t* count) {
    const ObjectRec symbol = info;
    const std::int16_t saved_index = prev_index;
    std::int16_t run = 0, pieces = 0;
    if (!ctrl_run(rec_i16(symbol, sym::ctrl), &run, &pieces)) return 0;
    *first = number_of_objects;
    *count = pieces;
    if (long{number_of_objects} + pieces > static_cast<long>(worksize) - 5) return 0;
    for (std::int16_t i = 0; i < pieces; ++i) {
        ObjectRec piece;
        get_symbol(run, i, piece);
        const bool object = rec_kind(piece) == rk_object;
        if (object) {
            set_rec_word0_bits(piece, w0_first_piece, false);
            symb_transform(symbol, piece);
            change_symb_defaults(symbol, piece);
        }
        const std::int16_t n = number_of_objects;
        get_info(n);
        info = piece;
        modified = 1;
        if (object && obj_kind(piece) == ok_text) {
            if (!text_continued(piece)) {
                cumstgs(n);
                show_record(1, &info);
            }
        } else if (object) {
            show_record(1, &info);
        } else if (rec_kind(piece) == rk_text_tail && n > first_object_slot) {
            get_info(static_cast<std::int16_t>(n - 1));
            if (is_live_object(info) && obj_kind(info) == ok_text) {
                cumstgs(static_cast<std::int16_t>(n - 1));
                show_record(1, &info);
            }
        }
        number_of_objects = static_cast<std::int16_t>(n + 1);
    }
    if (saved_index != -1) {
        get_info(saved_index);
        info = symbol;
    }
    return 1;
}

int symb_implode() { return 1; }

// ---- Users ----

int accept_symbol(std::int16_t n) { return change_users(n, Users::accept); }
int symb_delete(std::int16_t n, int) { return change_users(n, Users::remove); }
int symb_undelete(std::int16_t n) { return change_users(n, Users::undelete); }

// ---- Libraries ----

int makelibactive(const FSRef& ref, const char* name) {
    if (std::strncmp(current_lib.name, name, sizeof current_lib.name) == 0) return 0;
    if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
    currentlibRefNum = 0;
    strnncpy(current_lib.name, name, sizeof current_lib.name - 1);
    current_lib.ref = ref;
    return 1;
}

void get_activelib(FSRef* ref, std::int16_t* vol, std::int32_t* dir, char* name) {
    if (ref) *ref = current_lib.ref;
    if (vol) *vol = current_lib.vref;
    if (dir) *dir = current_lib.dirid;
    if (name) std::memcpy(name, current_lib.name, sizeof current_lib.name);
}

int check_lib_compatibility() {
    ObjectRec raw;
    if (!read_record(currentlibRefNum, 0, raw)) return 0;
    current_lib_version = rec_i16(raw, hdr::version);
    return read_lib_header(currentlibRefNum, nullptr);
}

void set_libwindow_opener(LibWindowOpener f) { g_opener = f; }

int open_default_library(int mode) {
    g_open_reported = false;
    if (currentlibRefNum <= 0) {
        if (!current_lib.name[0] || !current_lib.ref.valid()) return 0;
        if (FSRef_OpenMyFileWithPermission(current_lib.ref, fsRdWrPerm, &currentlibRefNum) != plat::noErr) {
            currentlibRefNum = 0;
            show_error(err_library_open, 0);
            g_open_reported = true;
            return 0;
        }
        if (!check_lib_compatibility()) {
            FSRef_CloseMyFile(&currentlibRefNum);
            currentlibRefNum = 0;
            show_error(err_library_open, 0);
            g_open_reported = true;
            return 0;
        }
    } else if (mode != g_libmode) {
        FSRef_CloseMyFile(&currentlibRefNum);
        if (FSRef_OpenMyFileWithPermission(current_lib.ref, fsRdWrPerm, &currentlibRefNum) != plat::noErr) {
            currentlibRefNum = 0;
            show_error(err_library_open, 0);
            g_open_reported = true;
            return 0;
        }
    }
    g_libmode = mode;
    return 1;
}

int open_library(const FSRef& ref, std::int16_t vol, std::int32_t dir, const char* name) {
    makelibactive(ref, name);
    current_lib.vref = vol;
    current_lib.dirid = dir;
    if (!open_default_library(0)) {
        if (!g_open_reported) show_error(err_library_open, 0);
        return 0;
    }
    LibHeader head;
    if (!read_lib_header(currentlibRefNum, &head)) return 0;
    if (head.rows == 0 || head.cols == 0) {
        set_libsize(current_lib.ref, 10, 10);
        head.rows = head.cols = 10;
        if (!open_default_library(0)) return 0;
    }
    if (g_opener) g_opener(head.maxctrls, head.rows, head.cols);
    return 1;
}

int valid_symbol(std::int16_t i) {
    ObjectRec head, ctrl;
    if (i < 0 || currentlibRefNum <= 0 || !read_record(currentlibRefNum, 0, head) ||
        i >= rec_i16(head, hdr::lib_maxctrls) || !read_record(currentlibRefNum, long{i} + first_ctrl_record, ctrl))
        return 0;
    return rec_u16(ctrl, sctl::valid) != 0 ? 1 : 0;
}

int room_for_symbol(std::int16_t n) {
    ObjectRec work, ctrl;
    if (!read_worklib(0, work) || currentlibRefNum <= 0 || !read_record(currentlibRefNum, n, ctrl)) return 0;
    return rec_i16(work, hdr::lib_lastctrl) < rec_i16(work, hdr::lib_maxctrls) + first_ctrl_record &&
                   long{rec_i16(work, hdr::lib_lastsymb)} + rec_i16(ctrl, sctl::piece_count) <=
                       static_cast<long>(libsize) - 5
               ? 1
               : 0;
}

void get_symb_name(std::int16_t n, char* text) {
    ObjectRec ctrl{};
    if (currentlibRefNum > 0) read_record(currentlibRefNum, long{n} + 3, ctrl);
    strnncpy(text, rec_str(ctrl, sctl::symbol), sctl::name_size - 1);
}

void symb_direct(const FSRef& ref, const char* libname, std::int16_t number) {
    dirsymbol = 1;
    strnncpy(dirlibname, libname, sizeof dirlibname - 1);
    dirsymnum = number;
    dirFSRef = ref;
}

int copy_symbol(std::int16_t fork, std::int16_t n, std::int16_t* newctrl, const char* libname, int convert) {
    ObjectRec head, ctrl;
    if (!read_worklib(0, head) || !read_record(fork, n, ctrl) || rec_kind(ctrl) != rk_symbol_ctrl) return 0;
    const std::int16_t lastctrl = rec_i16(head, hdr::lib_lastctrl), lastsymb = rec_i16(head, hdr::lib_lastsymb);
    const long from = rec_i16(ctrl, sctl::first_piece), count = rec_i16(ctrl, sctl::piece_count);
    if (count < 0 || from < 0 || lastctrl < first_ctrl_record || lastctrl >= ctrlsize + first_ctrl_record ||
        lastsymb < ctrlsize + first_ctrl_record || long{lastsymb} + count > static_cast<long>(libsize) - 5)
        return 0;

    // The control record.
    set_rec_i16(ctrl, sctl::users, 0);
    set_rec_u16(ctrl, sctl::valid, 0);
    set_rec_i16(ctrl, sctl::first_piece, lastsymb);
    char name[sctl::name_size];
    strnncpy(name, libname, sctl::name_size - 1);
    set_rec_str(ctrl, sctl::library, sctl::name_size, name);
    const double f = file_conv_factor(rec_i16(ctrl, sctl::units_code), rec_i16(ctrl, sctl::real_unit),
                                      rec_f64(ctrl, sctl::units_factor));
    convert_record(f, ctrl);

    // The pieces, read first so that a short file leaves the work library alone.
    for (long i = 0; i < count; ++i) {
        ObjectRec piece;
        if (!read_record(fork, from + i, piece)) return 0;
        if (rec_kind(piece) == rk_object) {
            set_rec_word0_bits(piece, w0_live, false);
            if (convert && obj_kind(piece) == ok_text) {
                if (dosfile) convert54text_pc(piece);
                else convert54text(piece);
            }
            if (!obj_sound(piece, 1)) {
                zero_info(piece);
                ++bad_pieces;
            }
        } else if (rec_kind(piece) == rk_text_tail) {
            piece.b[127] = 0;
        } else {
            zero_info(piece);
            ++bad_pieces;
        }
        convert_record(f, piece);
        if (!put_ctrlrec(static_cast<std::int16_t>(lastsymb + i), piece)) return 0;
    }
    if (!put_ctrlrec(lastctrl, ctrl)) return 0;
    set_rec_i16(head, hdr::lib_lastctrl, static_cast<std::int16_t>(lastctrl + 1));
    set_rec_i16(head, hdr::lib_lastsymb, static_cast<std::int16_t>(lastsymb + count));
    if (!put_ctrlrec(0, head)) return 0;
    *newctrl = lastctrl;
    return 1;
}

int drop_symbol_copy(std::int16_t n) {
    ObjectRec head, ctrl;
    std::int16_t first = 0, count = 0;
    if (!read_worklib(0, head) || !read_worklib(n, ctrl) || rec_kind(ctrl) != rk_symbol_ctrl ||
        rec_i16(ctrl, sctl::users) != 0 || !ctrl_run(n, &first, &count) ||
        rec_i16(head, hdr::lib_lastctrl) != n + 1 || rec_i16(head, hdr::lib_lastsymb) != first + count)
        return 0;
    const ObjectRec empty{};
    for (std::int16_t i = 0; i < count; ++i)
        if (!put_ctrlrec(static_cast<std::int16_t>(first + i), empty)) return 0;
    if (!put_ctrlrec(n, empty)) return 0;
    set_rec_i16(head, hdr::lib_lastctrl, n);
    set_rec_i16(head, hdr::lib_lastsymb, first);
    return put_ctrlrec(0, head);
}

void convert54text(ObjectRec& rec) {
    const double w = rec_f64(rec, text::char_width), h = rec_f64(rec, text::char_height);
    set_rec_f32(rec, text::char_width, static_cast<float>(w));
    set_rec_f32(rec, text::char_height, static_cast<float>(h));
}

void convert54text_pc(ObjectRec& rec) {
    for (int off : {text::char_width, text::char_height}) {
        std::uint8_t half[4];
        std::memcpy(half, rec.b + off, 4);
        std::memmove(rec.b + off, rec.b + off + 4, 4);
        std::memcpy(rec.b + off + 4, half, 4);
    }
    convert54text(rec);
}

// ---- User counts ----

int open_symbusers(std::int32_t count) {
    close_symbusers();
    if (count < 0) count = ctrlsize;
    symbusers = static_cast<std::int16_t*>(getmemory(std::max<std::int32_t>(count, 1) * 2));
    if (!symbusers) {
        show_error(err_symbusers_memory, 0);
        return 0;
    }
    symbusers_count = count;
    std::memset(symbusers, 0, static_cast<std::size_t>(count) * 2);
    return 1;
}

void close_symbusers() {
    if (symbusers) xfree(&symbusers);
    symbusers_count = 0;
}

namespace {
std::int16_t* users_entry(std::int16_t n) {
    const int i = n - first_ctrl_record;
    return symbusers && i >= 0 && i < symbusers_count ? symbusers + i : nullptr;
}
}  // namespace

void inc_symbusers(std::int16_t n) {
    if (std::int16_t* e = users_entry(n)) ++*e;
}
std::int16_t cnt_symbusers(std::int16_t n) {
    const std::int16_t* e = users_entry(n);
    return e ? *e : 0;
}
int bad_symbusers(std::int16_t n, std::int16_t count) { return cnt_symbusers(n) != count ? 1 : 0; }

}  // namespace drav
