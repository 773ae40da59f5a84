#include "store/workfile.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/menu_items.h"
#include "base/messages.h"
#include "base/paths.h"
#include "platform/core/text.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"

namespace drav {

std::uint16_t libsize = 0;
std::int16_t ctrlsize = 0;
FSRef workfileFSRef;
FSRef worklibFSRef;
std::int16_t worklibRefNum = -1;

namespace {

constexpr int err_scratch_file = 142;
constexpr int units_per_record_block = 4;  // records in one 512-byte unit

std::uint16_t whole_blocks(long records) {
    const long rounded = (records + records_per_block - 1) / records_per_block * records_per_block;
    // Compared unsigned, as the sizes are: a negative preference ends at the maximum too.
    const unsigned long u = static_cast<unsigned long>(rounded);
    return static_cast<std::uint16_t>(std::min<unsigned long>(u, max_work_records));
}

// Says which scratch file could not be made, and why it matters.
void report_scratch_failure(const FSRef& ref) {
    const std::string path = ref.path.string();
    std::string roman;
    plat::utf8_to_macroman(path, roman);
    show_insert_error(err_scratch_file, 0, roman.c_str(), "", "", "");
}

// A scratch file with no type or creator; one left by an earlier run is taken as it is.
bool create_or_take(const FSRef& folder, const char* name, FSRef* ref) {
    *ref = FSRef{folder.path / name};
    const std::int16_t e = plat::create_file(*ref);
    return (e == plat::noErr || e == plat::dupFNErr) && plat::file_exists(*ref);
}

}  // namespace

std::uint16_t workfile_records(int object_size) { return whole_blocks(long{object_size} + first_object_slot); }

std::uint16_t worklib_records(int symbol_size, int ctrl_size) {
    return whole_blocks(long{symbol_size} + ctrl_size + 4);
}

void set_work_sizes(int object_size, int symbol_size, int ctrl_size) {
    worksize = workfile_records(object_size);
    libsize = worklib_records(symbol_size, ctrl_size);
    // The control records must fit inside the library they describe.
    ctrlsize = static_cast<std::int16_t>(std::clamp(ctrl_size, 0, libsize - 4));
}

int FSRef_init_workfile(const FSRef& ref, std::int64_t bytes) {
    std::int16_t fork = 0;
    if (FSRef_OpenMyFileWithPermission(ref, fsRdWrPerm, &fork) != plat::noErr) return 0;
    std::uint8_t zeros[block_bytes] = {};
    bool ok = true;
    std::int64_t done = 0;
    for (int unit = 0; ok && unit < 9; ++unit)
        ok = plat::write_at(fork, std::int64_t{unit} * block_bytes, zeros, block_bytes, &done) == plat::noErr;
    ok = ok && plat::set_eof(fork, bytes) == plat::noErr &&
         plat::write_at(fork, bytes - 1, zeros, 1, &done) == plat::noErr;
    FSRef_CloseMyFile(&fork);
    return ok ? 1 : 0;
}

int create_workfile(std::int32_t units_w, std::int32_t units_l) {
    const FSRef folder = UserAppSupportFSRef;
    if (!create_or_take(folder, "workfile", &workfileFSRef) ||
        !FSRef_init_workfile(workfileFSRef, std::int64_t{units_w} * block_bytes)) {
        report_scratch_failure(workfileFSRef);
        return 0;
    }
    if (!create_or_take(folder, "worklibrary", &worklibFSRef) ||
        !FSRef_init_library(worklibFSRef, std::int64_t{units_l} * block_bytes, ctrlsize, 0)) {
        report_scratch_failure(worklibFSRef);
        return 0;
    }
    if (FSRef_OpenMyFileWithPermission(workfileFSRef, fsRdWrPerm, &workfileRefNum) != plat::noErr) {
        report_scratch_failure(workfileFSRef);
        return 0;
    }
    write_sav_rec();
    currentdrawingRefNum = 0;
    return 1;
}

int setup_workfile() {
    MyDisableMenuItem(kMyPaletteMenu, four_cc("PLlb"));
    if (!create_workfile((worksize + units_per_record_block - 1) / units_per_record_block,
                         (libsize + units_per_record_block - 1) / units_per_record_block))
        return 0;
    // Forget anything cached from an earlier workfile before reopening.
    nomore_info();
    FSRef_CloseMyFile(&workfileRefNum);
    FSRef_CloseMyFile(&worklibRefNum);
    prev_index = -1;
    cur_buff_num = -1;
    tbuf_num = -1;
    if (FSRef_OpenMyFileWithPermission(workfileFSRef, fsRdWrPerm, &workfileRefNum) != plat::noErr) {
        report_scratch_failure(workfileFSRef);
        return 0;
    }
    if (FSRef_OpenMyFileWithPermission(worklibFSRef, fsRdWrPerm, &worklibRefNum) != plat::noErr) {
        report_scratch_failure(worklibFSRef);
        return 0;
    }
    // Redraws read every block: they are served from memory, not the disk.
    plat::keep_in_memory(workfileRefNum, std::int64_t{max_work_records} * 128);
    return 1;
}

int check_workfile_version() {
    get_info(header_slot);
    return rec_i16(info, hdr::version) == twddbrel ? 1 : 0;
}

}  // namespace drav
