#include "files/file_commands.h"

#include "base/shutdown.h"
#include "store/library_file.h"
#include "store/object_snap.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/workfile.h"

namespace drav {

void zero_area(std::int16_t first, std::int16_t last) {
    for (int n = first; n <= last; ++n) {
        get_info(static_cast<std::int16_t>(n));
        zero_info(info);
        modified = 1;
    }
}

void zeroworkfile() {
    nomore_info();
    keep_workfile = 0;
    // TODO(picks) coor_number = pick_number = 1 and the hatch pick table zeroed, once hatching exists
    props_defs.group = 1;
    users_defs.hatch_number = 1;
    misc_defs.user_origin_x = 0;
    misc_defs.user_origin_y = 0;
    clear_object_snap();
    total_dwg_time = 0;
    current_dwg_time = abstime();
    // TODO(last_save_time) last_save_time = current_dwg_time
    clear_on_screen();
    clear_group();
    number_of_objects = first_object_slot;
    zero_area(0, first_object_slot);
    nomore_info();
    prev_index = -1;
    FSRef_CloseMyFile(&worklibRefNum);
    FSRef_init_library(worklibFSRef, 0, ctrlsize, 0);
    FSRef_OpenMyFileWithPermission(worklibFSRef, fsRdWrPerm, &worklibRefNum);
    write_sav_rec();
}

}  // namespace drav
