// What the program remembers between runs, independent of any drawing, and
// the readers of localized default numbers.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/qd_types.h"

#include "base/messages.h"  // the start values read from the localized strings

namespace drav {

struct PrefsRec {
    std::int16_t double_click_mode;   // "DoubleClickMode"
    std::int16_t background_color;    // "BackgroundColor"
    std::int16_t cur_obj_color;       // "CurObjColor"
    std::int16_t cur_hp_color;        // "CurHpColor"
    std::int16_t grid_color;          // "GridColor"
    std::int16_t coord_visible;       // "CoordVisible"
    std::int16_t mess_visible;        // "MessVisible"
    std::int16_t add_visible;         // "AddVisible"
    std::int16_t loc_visible;         // "LocVisible"
    std::int16_t prop_visible;        // "PropVisible"
    std::int16_t const_visible;       // "ConstVisible"
    std::int16_t dim_visible;         // "DimVisible"
    std::int16_t hatch_visible;       // "HatchVisible"
    // Top-left corners, copied in this order into the window-position table.
    plat::Point status_pos, coord_pos, add_pos, loc_pos, prop_pos, const_pos, dim_pos, multi_pos,
        hatch_pos, wind_pos_select_accept, wind_pos_input, wind_pos_add_remove, wind_pos_messages;
    // Bottom-right corners of the palettes from status_pos to hatch_pos.
    plat::Point status_pos_lr, coord_pos_lr, add_pos_lr, loc_pos_lr, prop_pos_lr, const_pos_lr,
        dim_pos_lr, multi_pos_lr, hatch_pos_lr;
    plat::Rect drawing_window;        // "DrawingWindow"
    plat::Point library_window;       // "LibraryWindow"
    plat::Point debug_window;         // "DebugWindow"
    std::int16_t object_size;         // "ObjectSize"
    std::int16_t symbol_size;         // "SymbolSize"
    std::int16_t ctrl_size;           // "CtrlSize"
    std::int16_t hatch_size;          // "HatchSize"
    std::int16_t scroll_pages;        // "ScrollPages"
    double single_scroll;             // "SingleScroll"
    double page_scroll;               // "PageScroll"
    std::int16_t fast_specs;          // "FastSpecs"
    std::int16_t architect_on_menu;   // "ArchitectOnMenu"
    std::int16_t mechanical_on_menu;  // "MechanicalOnMenu"
    std::int16_t plot_color_options;  // "PlotColorOptions"
    std::int16_t plot_width_options;  // "PlotWidthOptions"
    friend bool operator==(const PrefsRec&, const PrefsRec&) = default;
};

// The last record read or written.
extern PrefsRec global_prefs;

void getprefs(PrefsRec* record);
void putprefs(const PrefsRec* record);
void GetPalettePosPrefs(PrefsRec* record);
void PutPalettePosPrefs(const PrefsRec* record);

void PutIntPref(const char* key, int value);
int GetIntPref(const char* key, int default_value);
void PutDoublePref(const char* key, double value);
double GetDoublePref(const char* key, double default_value);
void PutPointPref(const char* key, plat::Point point);
void GetPointPref(const char* key, plat::Point* point);
void PutRectPref(const char* key, plat::Rect rect);
void GetRectPref(const char* key, plat::Rect* rect);
// The key (Mac Roman) as desktop text.
std::string CFStringFromKey(const char* key);

}  // namespace drav
