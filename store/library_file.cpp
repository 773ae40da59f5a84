#include "store/library_file.h"

#include "base/messages.h"
#include "store/records.h"

namespace drav {

namespace {
constexpr int err_library_open = 120;
constexpr int first_ctrl_record = 4;
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

}  // namespace drav
