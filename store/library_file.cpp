#include "store/library_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/idle.h"
#include "base/messages.h"
#include "platform/core/forks.h"
#include "store/current_drawing.h"
#include "store/records.h"
#include "store/symbol_library.h"
#include "store/workfile.h"

namespace drav {

namespace {
constexpr int err_library_open = 120;
constexpr int err_users_repaired = 48;
constexpr int err_piece_kind = 45;
constexpr int err_crunch_memory = 49;
constexpr OSType pict_type = 0x50494354;  // 'PICT'

bool read_at(std::int16_t fork, long n, ObjectRec& r) {
    std::int64_t got = 0;
    return n >= 0 && plat::read_at(fork, std::int64_t{n} * 128, r.b, 128, &got) == plat::noErr && got == 128;
}

bool write_at(std::int16_t fork, long n, const ObjectRec& r) {
    std::int64_t done = 0;
    return n >= 0 && plat::write_at(fork, std::int64_t{n} * 128, r.b, 128, &done) == plat::noErr && done == 128;
}

// The current library's file is closed so that the file can be opened by itself.
void close_current_library() {
    if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
    currentlibRefNum = 0;
}

}  // namespace

int lib_header_sound(const ObjectRec& head, std::int64_t file_records, LibHeader* out) {
    LibHeader h;
    h.version = rec_i16(head, hdr::version);
    h.rows = rec_i16(head, hdr::lib_rows);
    h.cols = rec_i16(head, hdr::lib_columns);
    h.lastctrl = rec_i16(head, hdr::lib_lastctrl);
    h.lastsymb = rec_i16(head, hdr::lib_lastsymb);
    h.maxctrls = rec_i16(head, hdr::lib_maxctrls);
    const int first = first_ctrl_record;
    const bool ok = rec_kind(head) == rk_header && (h.version == 52 || h.version == 54 || h.version == twddbrel) &&
                    h.maxctrls >= 0 && h.lastctrl >= first && h.lastctrl <= h.maxctrls + first &&
                    h.maxctrls + first <= h.lastsymb && h.lastsymb <= lib_max_records && h.rows >= 0 &&
                    h.rows <= lib_max_grid && h.cols >= 0 && h.cols <= lib_max_grid && file_records >= h.lastsymb;
    if (!ok) return 0;
    if (out) *out = h;
    return 1;
}

int lib_ctrl_sound(const ObjectRec& ctrl, const LibHeader& head) {
    if (rec_kind(ctrl) != rk_symbol_ctrl) return 0;
    const long start = rec_i16(ctrl, sctl::first_piece), len = rec_i16(ctrl, sctl::piece_count);
    return len > 0 && start >= head.maxctrls + first_ctrl_record && start + len <= head.lastsymb ? 1 : 0;
}

int read_lib_header(std::int16_t fork, LibHeader* out) {
    std::int64_t eof = 0;
    ObjectRec head;
    if (fork <= 0 || plat::get_eof(fork, &eof) != plat::noErr || !read_at(fork, 0, head)) return 0;
    return lib_header_sound(head, eof / 128, out);
}

int make_library(const FSRef& folder, const char* name, std::int16_t count, FSRef* newref) {
    watch_on();
    close_current_library();
    const std::int64_t size = std::int64_t{(count + 7) / 4} * block_bytes;
    const int made = FSRef_CreateMyFile(folder, name, size, four_cc("DRAV"), four_cc("2DL "), newref);
    if (made) {
        FSRef_init_library(*newref, 0, count, 1);
        plat::ResourceFork fork;
        if (fork.load(*newref) == plat::noErr && fork.find(pict_type, 1)) {
            fork.remove(pict_type, 1);
            fork.save(*newref);
        }
    }
    watch_off();
    return made;
}

void set_libsize(const FSRef& ref, std::int16_t rows, std::int16_t cols) {
    close_current_library();
    std::int16_t fork = 0;
    if (FSRef_OpenMyFileWithPermission(ref, fsRdWrPerm, &fork) != plat::noErr) {
        show_error(err_library_open, 0);
        return;
    }
    ObjectRec head;
    if (read_at(fork, 0, head)) {
        set_rec_i16(head, hdr::lib_rows, rows);
        set_rec_i16(head, hdr::lib_columns, cols);
        write_at(fork, 0, head);
    }
    FSRef_CloseMyFile(&fork);
}

int get_libsize(const FSRef& ref, std::int16_t* maxctrls, std::int16_t* rows, std::int16_t* cols) {
    close_current_library();
    std::int16_t fork = 0;
    if (FSRef_OpenMyFileWithPermission(ref, fsRdPerm, &fork) != plat::noErr) {
        show_error(err_library_open, 0);
        return 0;
    }
    LibHeader h;
    const int ok = read_lib_header(fork, &h);
    FSRef_CloseMyFile(&fork);
    if (!ok) return 0;
    *maxctrls = h.maxctrls;
    const bool unset = h.rows == 0 || h.cols == 0;
    *rows = unset ? 10 : h.rows;
    *cols = unset ? 10 : h.cols;
    return 1;
}

int valid_lib_symbol(std::int16_t i) {
    ObjectRec ctrl;
    if (currentlibRefNum <= 0 || !read_at(currentlibRefNum, long{i} + first_ctrl_record, ctrl)) return 0;
    return rec_u16(ctrl, sctl::valid) != 0 ? 1 : 0;
}

void get_startlen(std::int16_t i, std::int16_t* start, std::int16_t* length) {
    ObjectRec ctrl{};
    if (currentlibRefNum > 0) read_at(currentlibRefNum, long{i} + first_ctrl_record, ctrl);
    *start = rec_i16(ctrl, sctl::first_piece);
    *length = rec_i16(ctrl, sctl::piece_count);
}

void mark_symbol_invalid(std::int16_t start, std::int16_t length) {
    LibHeader h;
    if (!read_lib_header(currentlibRefNum, &h)) return;
    // Only records of the piece area are given up, whatever the control record said.
    const long from = std::max<long>(start, h.maxctrls + first_ctrl_record);
    const long to = std::min<long>(long{start} + length, h.lastsymb);
    for (long n = from; n < to; ++n) {
        ObjectRec r;
        if (!read_at(currentlibRefNum, n, r)) return;
        set_rec_u16(r, o_word0, static_cast<std::uint16_t>(rec_word0(r) & ~0x1F));
        write_at(currentlibRefNum, n, r);
    }
}

void del_update_ctrl_block(std::int16_t i) {
    const ObjectRec empty{};
    if (currentlibRefNum > 0 && i >= 0) write_at(currentlibRefNum, long{i} + first_ctrl_record, empty);
}

int lib_crunch(std::int16_t file) {
    if (!open_default_library(2)) return 0;
    file = currentlibRefNum;
    LibHeader h;
    std::int64_t eof = 0;
    if (!read_lib_header(file, &h) || plat::get_eof(file, &eof) != plat::noErr) return 0;
    // The map holds one entry a slot: only a symbol's first piece is entered.
    struct Move {
        std::int16_t to, from;
    };
    auto* map = static_cast<Move*>(getmemory(std::max<std::int32_t>(h.maxctrls, 1) * std::int32_t{sizeof(Move)}));
    if (!map) {
        show_error(err_crunch_memory, 0);
        return 0;
    }
    watch_on();
    int moves = 0;
    long place = h.maxctrls + first_ctrl_record;
    auto keep = [&](long look, const ObjectRec& r) {
        if (place != look) write_at(file, place, r);
        ++place;
    };
    for (long look = place; look < h.lastsymb; ++look) {
        ObjectRec r;
        if (!read_at(file, look, r)) break;
        const int kind = rec_kind(r);
        if (kind == rk_object && (rec_word0(r) & w0_live)) {
            if ((rec_word0(r) & w0_first_piece) && moves < h.maxctrls)
                map[moves++] = {static_cast<std::int16_t>(place), static_cast<std::int16_t>(look)};
            keep(look, r);
            if (obj_kind(r) == ok_text && text_continued(r) && look + 1 < h.lastsymb) {
                ObjectRec tail;
                if (!read_at(file, ++look, tail)) break;
                keep(look, tail);
            }
        } else if (kind != rk_object && kind != rk_text_tail && kind != rk_empty) {
            show_error(err_piece_kind, 0);
        }
    }
    for (long n = first_ctrl_record; n < h.lastctrl; ++n) {
        ObjectRec ctrl;
        if (!read_at(file, n, ctrl) || rec_kind(ctrl) != rk_symbol_ctrl) continue;
        if (cnt_symbusers(static_cast<std::int16_t>(n)) != rec_i16(ctrl, sctl::users))
            fix_symbol(file, static_cast<std::int16_t>(n), ctrl);
        if (rec_u16(ctrl, sctl::valid)) {
            const std::int16_t start = rec_i16(ctrl, sctl::first_piece);
            for (int m = 0; m < moves; ++m)
                if (map[m].from == start) {
                    if (map[m].to != start) {
                        set_rec_i16(ctrl, sctl::first_piece, map[m].to);
                        write_at(file, n, ctrl);
                    }
                    break;
                }
        } else {
            write_at(file, n, ObjectRec{});
        }
    }
    ObjectRec head;
    if (read_at(file, 0, head)) {
        set_rec_i16(head, hdr::lib_lastsymb, static_cast<std::int16_t>(place));
        write_at(file, 0, head);
    }
    for (long n = place; n < eof / 128; ++n) write_at(file, n, ObjectRec{});
    xfree(&map);
    watch_off();
    return 1;
}

int FSRef_init_library(const FSRef& ref, std::int64_t bytes, std::int16_t nctrl, int withctrls) {
    std::int16_t fork = 0;
    if (FSRef_OpenMyFileWithPermission(ref, fsRdWrPerm, &fork) != plat::noErr) {
        show_error(err_library_open, 0);
        return 0;
    }
    bool ok = true;
    std::int64_t done = 0;
    if (bytes > 0) {
        const std::uint8_t zero = 0;
        ok = plat::set_eof(fork, bytes) == plat::noErr &&
             plat::write_at(fork, bytes - 1, &zero, 1, &done) == plat::noErr;
    }
    ObjectRec r{};
    set_rec_u16(r, o_word0, rk_header);
    set_rec_i16(r, hdr::version, twddbrel);
    set_rec_i16(r, hdr::lib_rows, 0);
    set_rec_i16(r, hdr::lib_columns, 0);
    set_rec_i16(r, hdr::lib_lastctrl, first_ctrl_record);
    set_rec_i16(r, hdr::lib_lastsymb, static_cast<std::int16_t>(nctrl + first_ctrl_record));
    set_rec_i16(r, hdr::lib_maxctrls, nctrl);
    ok = ok && plat::write_at(fork, 0, r.b, 128, &done) == plat::noErr;
    zero_info(r);
    for (int n = 1; ok && n < first_ctrl_record; ++n)
        ok = plat::write_at(fork, n * 128, r.b, 128, &done) == plat::noErr;
    if (withctrls) {
        // Empty slots are records of zero bytes.
        for (int n = 0; ok && n < nctrl; ++n)
            ok = plat::write_at(fork, (first_ctrl_record + n) * 128, r.b, 128, &done) == plat::noErr;
    }
    FSRef_CloseMyFile(&fork);
    return ok ? 1 : 0;
}

int fix_symbol(std::int16_t file, std::int16_t n, ObjectRec& ctrl) {
    show_error(err_users_repaired, 0);
    const std::int16_t users = cnt_symbusers(n);
    set_rec_i16(ctrl, sctl::users, users);
    const bool valid = rec_u16(ctrl, sctl::valid) != 0;
    int live = -1;  // the pieces keep their live bit
    if (valid && users == 0) live = 0;
    if (!valid && users != 0) live = 1;
    bool ok = true;
    std::int64_t done = 0;
    // Writes to the work library go through its scan cache.
    auto put = [&](long i, const ObjectRec& r) {
        if (file == worklibRefNum) return put_ctrlrec(static_cast<std::int16_t>(i), r) == 1;
        return plat::write_at(file, std::int64_t{i} * 128, r.b, 128, &done) == plat::noErr && done == 128;
    };
    if (live >= 0) {
        set_rec_u16(ctrl, sctl::valid, static_cast<std::uint16_t>(live));
        const auto w0 = rec_word0(ctrl);
        set_rec_u16(ctrl, o_word0, static_cast<std::uint16_t>(live ? (w0 | w0_live) : (w0 & ~w0_live)));
        const long first = rec_i16(ctrl, sctl::first_piece), count = rec_i16(ctrl, sctl::piece_count);
        std::int64_t eof = 0;
        plat::get_eof(file, &eof);
        for (long i = first; ok && count > 0 && i >= first_ctrl_record && i < first + count && (i + 1) * 128 <= eof;
             ++i) {
            ObjectRec piece{};
            ok = plat::read_at(file, i * 128, piece.b, 128, &done) == plat::noErr && done == 128;
            if (!ok || rec_kind(piece) != rk_object) continue;
            const auto pw = rec_word0(piece);
            set_rec_u16(piece, o_word0, static_cast<std::uint16_t>(live ? (pw | w0_live) : (pw & ~w0_live)));
            ok = put(i, piece);
        }
    }
    ok = ok && put(n, ctrl);
    return ok ? 1 : 0;
}

}  // namespace drav
