#include "files/drawing_writer.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/messages.h"
#include "base/shutdown.h"
#include "files/drawing_reader.h"
#include "files/file_commands.h"
#include "files/preview_pictures.h"
#include "platform/core/forks.h"
#include "platform/core/text.h"
#include "store/current_drawing.h"
#include "store/levels.h"
#include "store/library_file.h"
#include "store/object_walk.h"
#include "store/pc_convert.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/symbol_library.h"
#include "store/workfile.h"

namespace drav {

std::uint16_t savegroup = 0;
std::uint16_t validsavs = 0, validobjects = 0, validctrls = 0, validsymbols = 0;
std::uint16_t firstobj = 0, firstctrl = 0, firstsymbol = 0;
void (*save_before_rename)() = nullptr;
std::int16_t last_save_error = 0;

namespace {

constexpr int alert_not_saved = 29, alert_group_not_saved = 30;
constexpr int err_lost_pieces = 87, err_lost_ctrls = 88;
constexpr int str_disk_full = 40, str_no_permission = 41, str_no_folder = 42, str_busy = 43, str_disk_error = 44,
              str_stopped = 45;
constexpr std::int16_t stopped_by_test = 1;

bool saved_kind(int kind) { return (kind >= rk_header && kind <= rk_settings_last) || kind == rk_named_window || kind == rk_plot_spec; }

// The workfile's records 0 .. count - 1, read in one go.
std::vector<ObjectRec> read_all(std::int16_t fork, long count) {
    std::vector<ObjectRec> v(static_cast<std::size_t>(count > 0 ? count : 0));
    std::int64_t got = 0;
    if (!v.empty()) plat::read_at(fork, 0, v.data(), static_cast<std::int64_t>(v.size()) * 128, &got);
    for (std::size_t i = static_cast<std::size_t>(got / 128); i < v.size(); ++i) zero_info(v[i]);
    return v;
}

struct Layout {
    std::vector<ObjectRec> work;                  // workfile slots 0 .. number_of_objects - 1
    std::vector<std::int16_t> objects;            // workfile slots written, tails included
    std::vector<std::int16_t> ctrls;              // work-library control records written
    std::vector<std::int16_t> pieces;             // work-library piece records written, tails included
    std::vector<ObjectRec> lib;                   // the work library up to `lastsymb`
};

bool written_object(const std::vector<ObjectRec>& work, int n) {
    return is_live_object(work[static_cast<std::size_t>(n)]) && (!savegroup || get_in_group(n));
}

// Pass over the objects: which are written, and how often each symbol is placed.
void count_objects(Layout& l) {
    const int end = static_cast<int>(l.work.size());
    for (int n = first_object_slot; n < end; ++n) {
        if (!written_object(l.work, n)) continue;
        const ObjectRec& r = l.work[static_cast<std::size_t>(n)];
        l.objects.push_back(static_cast<std::int16_t>(n));
        if (obj_kind(r) == ok_symbol) inc_symbusers(rec_i16(r, sym::ctrl));
        if (obj_kind(r) == ok_text && text_continued(r) && n + 1 < end) {
            l.objects.push_back(static_cast<std::int16_t>(n + 1));
            ++n;
        }
    }
}

void count_ctrls_and_symbols(Layout& l) {
    ObjectRec head{};
    std::int64_t got = 0;
    plat::read_at(worklibRefNum, 0, head.b, 128, &got);
    const long lib_records = static_cast<long>(libsize);
    long lastctrl = rec_i16(head, hdr::lib_lastctrl), lastsymb = rec_i16(head, hdr::lib_lastsymb);
    const long pieces_first = long{ctrlsize} + first_ctrl_record;
    if (lastctrl > pieces_first) lastctrl = pieces_first;
    if (lastsymb > lib_records) lastsymb = lib_records;
    // Repairs first: they change the records read afterwards.
    std::vector<char> marked;
    for (long c = first_ctrl_record; c < lastctrl; ++c) {
        ObjectRec ctrl{};
        if (plat::read_at(worklibRefNum, c * 128, ctrl.b, 128, &got) != plat::noErr || got != 128 ||
            rec_kind(ctrl) != rk_symbol_ctrl)
            continue;
        const auto n = static_cast<std::int16_t>(c);
        if (!savegroup) {
            if (bad_symbusers(n, rec_i16(ctrl, sctl::users))) {
                fix_symbol(worklibRefNum, n, ctrl);
            }
            if (rec_u16(ctrl, sctl::valid)) l.ctrls.push_back(n);
        } else if (cnt_symbusers(n) > 0) {
            l.ctrls.push_back(n);
            marked.resize(static_cast<std::size_t>(lib_records), 0);
            const long first = rec_i16(ctrl, sctl::first_piece), count = rec_i16(ctrl, sctl::piece_count);
            for (long i = first; i < first + count && i < lib_records; ++i)
                if (i >= pieces_first) marked[static_cast<std::size_t>(i)] = 1;
        }
    }
    l.lib = read_all(worklibRefNum, lastsymb);
    for (long i = pieces_first; i < lastsymb; ++i) {
        const ObjectRec& p = l.lib[static_cast<std::size_t>(i)];
        const bool in = !savegroup || (!marked.empty() && marked[static_cast<std::size_t>(i)]);
        if (!is_live_object(p) || !in) continue;
        l.pieces.push_back(static_cast<std::int16_t>(i));
        if (obj_kind(p) == ok_text && text_continued(p) && i + 1 < lastsymb) {
            l.pieces.push_back(static_cast<std::int16_t>(i + 1));
            ++i;
        }
    }
}

std::int16_t save_failure(std::int16_t err) { return err == plat::noErr ? static_cast<std::int16_t>(plat::ioErr) : err; }

// The reason shown in alerts 29 and 30.
std::string reason_text(std::int16_t err) {
    int n = str_disk_error;
    switch (err) {
    case plat::dskFulErr: n = str_disk_full; break;
    case plat::permErr:
    case plat::wPrErr: n = str_no_permission; break;
    case plat::fnfErr:
    case plat::dirNFErr: n = str_no_folder; break;
    case plat::fBsyErr:
    case plat::fnOpnErr: n = str_busy; break;
    case stopped_by_test: n = str_stopped; break;
    default: break;
    }
    char text[256];
    GetMyLocalCString(text, tbl_names, n);
    char code[16];
    std::snprintf(code, sizeof code, "%d", err);
    strreplace(text, "^0", code, static_cast<int>(sizeof text) - 1);
    return text;
}

void report_failure(std::int16_t err) {
    char text[600];
    GetMyLocalCString(text, tbl_alerts, savegroup ? alert_group_not_saved : alert_not_saved);
    strreplace(text, "^0", reason_text(err).c_str(), static_cast<int>(sizeof text) - 1);
    ShowCAlert(text);
}

void count_error(int n, int count) {
    if (!count) return;
    char number[16];
    std::snprintf(number, sizeof number, "%d", count);
    show_insert_error(n, 0, number, "", "", "");
}

// Writes the bytes into a new file `path`, flushed to disk; the platform error.
std::int16_t write_whole(const plat::FileRef& ref, const std::string& bytes) {
    plat::delete_file(ref);
    std::int16_t err = plat::create_file(ref);
    if (err != plat::noErr) return err;
    std::int16_t fork = 0;
    err = plat::open_file(ref, plat::Perm::read_write, &fork);
    if (err != plat::noErr) return err;
    std::int64_t done = 0;
    err = plat::write_at(fork, 0, bytes.data(), static_cast<std::int64_t>(bytes.size()), &done);
    if (err == plat::noErr && done != static_cast<std::int64_t>(bytes.size())) err = plat::ioErr;
    if (err == plat::noErr) err = plat::flush(fork);
    const std::int16_t closed = plat::close_file(fork);
    return err != plat::noErr ? err : closed;
}

bool read_bytes(const plat::FileRef& ref, std::vector<char>* out) {
    std::ifstream in(ref.path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The temporary files beside the target, and putting them in its place.
struct Commit {
    plat::FileRef target, temp;
    std::int16_t error = plat::noErr;

    plat::FileRef temp_companion() const { return plat::companion_ref(temp); }
    void discard() {
        plat::delete_file(temp);
        plat::delete_file(temp_companion());
    }
    // The data file, then its companion: a stop between the two leaves the
    // new records beside the companion of the old file, which the reader
    // takes (native records read as native whatever the name says).
    std::int16_t native() {
        std::int16_t err = plat::rename_file(temp, target);
        if (err != plat::noErr) return err;
        return plat::rename_file(temp_companion(), plat::companion_ref(target));
    }
    // A PC file has no companion. The old one goes first: a stop between
    // the two leaves the old records without a companion, which the reader
    // still takes by their version field.
    std::int16_t pc() {
        const plat::FileRef old_companion = plat::companion_ref(target);
        std::vector<char> kept;
        const bool had = read_bytes(old_companion, &kept);
        if (had) {
            const std::int16_t err = plat::remove_companion(target);
            if (err != plat::noErr) return err;
        }
        const std::int16_t err = plat::rename_file(temp, target);
        if (err != plat::noErr && had) {
            std::ofstream back(old_companion.path, std::ios::binary);
            back.write(kept.data(), static_cast<std::streamsize>(kept.size()));
        }
        return err;
    }
};

}  // namespace

int makefile(std::string* bytes) {
    bytes->clear();
    if (!open_symbusers()) return 0;
    nomore_info();
    Layout l;
    l.work = read_all(workfileRefNum, number_of_objects);
    count_objects(l);
    count_ctrls_and_symbols(l);

    std::vector<std::int16_t> settings;
    for (int n = 0; n < first_object_slot && n < static_cast<int>(l.work.size()); ++n)
        if (saved_kind(rec_kind(l.work[static_cast<std::size_t>(n)]))) settings.push_back(static_cast<std::int16_t>(n));
    validsavs = static_cast<std::uint16_t>(settings.size());
    validobjects = static_cast<std::uint16_t>(l.objects.size());
    validctrls = static_cast<std::uint16_t>(l.ctrls.size());
    validsymbols = static_cast<std::uint16_t>(l.pieces.size());
    firstobj = validsavs;
    firstctrl = static_cast<std::uint16_t>(firstobj + validobjects);
    firstsymbol = static_cast<std::uint16_t>(firstctrl + validctrls);
    const std::size_t total = std::size_t{validsavs} + validobjects + validctrls + validsymbols;

    // Work-library record numbers to file record numbers.
    std::vector<std::int16_t> symbmap(l.lib.size(), -1), ctrlmap(l.lib.size(), -1);
    std::vector<ObjectRec> out;
    out.reserve((total + 3) / 4 * 4);
    for (std::int16_t n : settings) {
        ObjectRec r = l.work[static_cast<std::size_t>(n)];
        if (n == header_slot) {
            set_rec_i16(r, hdr::first_slot, static_cast<std::int16_t>(validsavs));
            set_rec_i16(r, hdr::object_count, static_cast<std::int16_t>(validobjects));
            set_rec_i16(r, hdr::ctrl_count, static_cast<std::int16_t>(validctrls));
            set_rec_i16(r, hdr::piece_count, static_cast<std::int16_t>(validsymbols));
        } else if (n == 3) {
            std::uint16_t set[level_set_words];
            for (int i = 0; i < level_set_words; ++i) set[i] = rec_u16(r, 4 + 2 * i);
            fix_AllLevels_Out(set);
            for (int i = 0; i < level_set_words; ++i) set_rec_u16(r, 4 + 2 * i, set[i]);
        }
        out.push_back(r);
    }
    // Pieces are numbered before the control records that point at them.
    for (std::size_t i = 0; i < l.pieces.size(); ++i) {
        const std::int16_t n = l.pieces[i];
        if (rec_word0(l.lib[static_cast<std::size_t>(n)]) & w0_first_piece)
            symbmap[static_cast<std::size_t>(n)] = static_cast<std::int16_t>(firstsymbol + i);
    }
    for (std::size_t i = 0; i < l.ctrls.size(); ++i)
        ctrlmap[static_cast<std::size_t>(l.ctrls[i])] = static_cast<std::int16_t>(firstctrl + i);

    int lost_ctrls = 0, lost_pieces = 0;
    for (std::int16_t n : l.objects) {
        ObjectRec r = l.work[static_cast<std::size_t>(n)];
        if (rec_kind(r) == rk_object && obj_kind(r) == ok_symbol) {
            const std::int16_t c = rec_i16(r, sym::ctrl);
            if (c >= 0 && c < static_cast<int>(ctrlmap.size()) && ctrlmap[static_cast<std::size_t>(c)] >= 0)
                set_rec_i16(r, sym::ctrl, ctrlmap[static_cast<std::size_t>(c)]);
            else
                ++lost_ctrls;
        }
        out.push_back(r);
    }
    for (std::int16_t n : l.ctrls) {
        ObjectRec r{};
        std::int64_t got = 0;
        plat::read_at(worklibRefNum, std::int64_t{n} * 128, r.b, 128, &got);
        const std::int16_t first = rec_i16(r, sctl::first_piece);
        if (first >= 0 && first < static_cast<int>(symbmap.size()) && symbmap[static_cast<std::size_t>(first)] >= 0)
            set_rec_i16(r, sctl::first_piece, symbmap[static_cast<std::size_t>(first)]);
        else
            ++lost_pieces;
        set_rec_i16(r, sctl::users, cnt_symbusers(n));
        out.push_back(r);
    }
    for (std::int16_t n : l.pieces) out.push_back(l.lib[static_cast<std::size_t>(n)]);
    count_error(err_lost_pieces, lost_pieces);
    count_error(err_lost_ctrls, lost_ctrls);

    out.resize((total + 3) / 4 * 4, ObjectRec{});
    bytes->resize(out.size() * 128);
    for (std::size_t i = 0; i < total; ++i) {
        ObjectRec* dst = reinterpret_cast<ObjectRec*>(bytes->data() + i * 128);
        if (!dosfile) {
            *dst = out[i];
        } else if (!tweak(*dst, out[i])) {
            close_symbusers();
            bytes->clear();
            return 0;
        }
    }
    std::memset(bytes->data() + total * 128, 0, (out.size() - total) * 128);
    return 1;
}

int save(const FSRef& folder, const char* name, FSRef* file) {
    write_sav_rec();
    last_save_error = plat::noErr;
    const std::int16_t kept_indx = indx;
    Commit c;
    c.target.path = folder.path / plat::macroman_to_utf8(name);
    c.temp.path = folder.path / ("." + c.target.path.filename().string() + ".saving");

    std::string bytes;
    std::int16_t err = plat::noErr;
    if (!makefile(&bytes)) err = plat::paramErr;
    close_symbusers();
    if (err == plat::noErr && !plat::is_folder(plat::FileRef{folder.path})) err = plat::dirNFErr;
    if (err == plat::noErr) {
        c.discard();
        err = write_whole(c.temp, bytes);
    }
    if (err == plat::noErr && !dosfile) {
        // The companion is made complete beside the temporary file.
        err = plat::set_type_creator(c.temp, four_cc("2D  "), four_cc("DRAV"));
        if (err == plat::noErr && !FSRef_put_levelinfo(c.temp)) err = plat::ioErr;
        // A preview that cannot be stored was reported; the drawing is saved all the same.
        if (err == plat::noErr) saveDravpict(c.temp, savegroup);
    }
    if (err == plat::noErr && save_before_rename) {
        save_before_rename();
        // A test stopped the save here: nothing is renamed.
        err = stopped_by_test;
    }
    // The current drawing's file is reopened on whatever holds its name now.
    closesegs();
    if (err == plat::noErr) err = dosfile ? c.pc() : c.native();
    if (err == plat::noErr) err = plat::sync_folder(folder.path);
    c.discard();
    if (err != plat::noErr) {
        last_save_error = save_failure(err);
        keep_workfile = 1;
        report_failure(last_save_error);
    } else {
        keep_workfile = 0;
        last_save_time = static_cast<std::uint32_t>(abstime());
        needtosave = 0;
        if (file) *file = c.target;
    }
    opensegs(current_drawing.ref, current_drawing.vref, current_drawing.dirid, current_drawing.name);
    indx = kept_indx;
    okindx(&indx);
    return err == plat::noErr ? 1 : 0;
}

std::string save_reason(std::int16_t err) { return reason_text(err); }

std::int16_t write_file_flushed(const plat::FileRef& ref, const std::string& bytes) { return write_whole(ref, bytes); }

}  // namespace drav
