#include "shell/startup.h"

#include "base/shutdown.h"

#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/screen.h"
#include "display/stroke_text.h"
#include "files/drawing_reader.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "shell/palettes.h"
#include "shell/tool_options.h"
#include "store/files.h"
#include "store/levels.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/symbol_library.h"
#include "store/workfile.h"

namespace drav {

namespace {
bool g_exiting = false;

struct ExitingFlag {
    ExitingFlag() { g_exiting = true; }
    ~ExitingFlag() { g_exiting = false; }
};

void remove_scratch(int slot) {
    if (!dfilenames || !dfilenames[slot * dfilename_size]) return;
    const char* name = dfilenames + slot * dfilename_size;
    if (IsMyFilePresent(workvrefnum, workDirID, name)) RemoveMyFile(workvrefnum, workDirID, name);
}
}  // namespace

void close_down(int abnormal) {
    // A failure while shutting down (a fatal store error in the final flush)
    // must not start a second shut-down.
    if (g_exiting) plat::exit_process(-1);
    ExitingFlag flag;
    if (!abnormal) save_palette_places();
    if (buffer) nomore_info();
    FSRef_CloseMyFile(&workfileRefNum);
    FSRef_CloseMyFile(&worklibRefNum);
    if (!abnormal && !keep_workfile) {
        remove_scratch(0);
        remove_scratch(1);
    }
    if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
    remove_scratch(2);
    if (listinstalled()) termlist();
    if (!abnormal) {
        xfree(&dfilenames);
        // TODO(picks) freed once they exist
        free_record_store();
        free_selection_sets();
        xfree(&endpoints);
        xfree(&genenv);
        delete objopts;
        objopts = nullptr;
        // TODO(theHPlotRec) the plot record, once plotting exists
        closestk();
        closelinstk();
    }
    term_levels();
    closegraphics();
    closesegs();
    // TODO(closehooks) the modules hear event 6
    release_data_folder();
    plat::close_application();
}

}  // namespace drav
