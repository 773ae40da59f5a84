#include "store/library_file.h"

#include "base/messages.h"
#include "store/records.h"
#include "store/symbol_library.h"

namespace drav {

namespace {
constexpr int err_library_open = 120;
constexpr int err_users_repaired = 48;
}  // namespace

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
        set_rec_u16(r, o_word0, rk_symbol_ctrl);
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
            ok = plat::write_at(file, i * 128, piece.b, 128, &done) == plat::noErr && done == 128;
        }
    }
    ok = ok && plat::write_at(file, std::int64_t{n} * 128, ctrl.b, 128, &done) == plat::noErr && done == 128;
    return ok ? 1 : 0;
}

}  // namespace drav
