#include "shell/preferences.h"

#include <cmath>
#include <cstdlib>

#include "base/messages.h"
#include "platform/core/text.h"
#include "platform/ui/preferences.h"

namespace drav {

PrefsRec global_prefs{};

namespace {

struct IntKey {
    const char* key;
    std::int16_t PrefsRec::*field;
    int default_value;
};
struct PointKey {
    const char* key;
    plat::Point PrefsRec::*field;
};

// The ints before the positions, in their stored order.
constexpr IntKey leading_ints[] = {
    {"DoubleClickMode", &PrefsRec::double_click_mode, 0},
    {"BackgroundColor", &PrefsRec::background_color, 0},
    {"CurObjColor", &PrefsRec::cur_obj_color, 14},
    {"CurHpColor", &PrefsRec::cur_hp_color, 14},
    {"GridColor", &PrefsRec::grid_color, 255},
    {"CoordVisible", &PrefsRec::coord_visible, 1},
    {"MessVisible", &PrefsRec::mess_visible, 1},
    {"AddVisible", &PrefsRec::add_visible, 1},
    {"LocVisible", &PrefsRec::loc_visible, 0},
    {"PropVisible", &PrefsRec::prop_visible, 0},
    {"ConstVisible", &PrefsRec::const_visible, 0},
    {"DimVisible", &PrefsRec::dim_visible, 0},
    {"HatchVisible", &PrefsRec::hatch_visible, 0},
};
constexpr IntKey size_ints[] = {
    {"ObjectSize", &PrefsRec::object_size, 15000},
    {"SymbolSize", &PrefsRec::symbol_size, 10000},
    {"CtrlSize", &PrefsRec::ctrl_size, 5000},
    {"HatchSize", &PrefsRec::hatch_size, 1024},
    {"ScrollPages", &PrefsRec::scroll_pages, 33},
};
constexpr IntKey switch_ints[] = {
    {"FastSpecs", &PrefsRec::fast_specs, 0},
    {"ArchitectOnMenu", &PrefsRec::architect_on_menu, 1},
    {"MechanicalOnMenu", &PrefsRec::mechanical_on_menu, 1},
    {"PlotColorOptions", &PrefsRec::plot_color_options, 1},
    {"PlotWidthOptions", &PrefsRec::plot_width_options, 1},
};
// Each palette position followed by its lower-right key, then the windows.
constexpr PointKey position_points[] = {
    {"StatusPos", &PrefsRec::status_pos},
    {"StatusPosLR", &PrefsRec::status_pos_lr},
    {"CoordPos", &PrefsRec::coord_pos},
    {"CoordPosLR", &PrefsRec::coord_pos_lr},
    {"AddPos", &PrefsRec::add_pos},
    {"AddPosLR", &PrefsRec::add_pos_lr},
    {"LocPos", &PrefsRec::loc_pos},
    {"LocPosLR", &PrefsRec::loc_pos_lr},
    {"PropPos", &PrefsRec::prop_pos},
    {"PropPosLR", &PrefsRec::prop_pos_lr},
    {"ConstPos", &PrefsRec::const_pos},
    {"ConstPosLR", &PrefsRec::const_pos_lr},
    {"DimPos", &PrefsRec::dim_pos},
    {"DimPosLR", &PrefsRec::dim_pos_lr},
    {"MultiPos", &PrefsRec::multi_pos},
    {"MultiPosLR", &PrefsRec::multi_pos_lr},
    {"HatchPos", &PrefsRec::hatch_pos},
    {"HatchPosLR", &PrefsRec::hatch_pos_lr},
    {"WindPosSelectAccept", &PrefsRec::wind_pos_select_accept},
    {"WindPosInput", &PrefsRec::wind_pos_input},
    {"WindPosAddRemove", &PrefsRec::wind_pos_add_remove},
    {"WindPosMessages", &PrefsRec::wind_pos_messages},
};

template <std::size_t N>
void get_ints(PrefsRec* r, const IntKey (&keys)[N]) {
    for (const IntKey& k : keys) r->*k.field = static_cast<std::int16_t>(GetIntPref(k.key, k.default_value));
}
template <std::size_t N>
void put_ints(const PrefsRec* r, const IntKey (&keys)[N]) {
    for (const IntKey& k : keys) PutIntPref(k.key, r->*k.field);
}

std::string key_string(const char* key) { return plat::macroman_to_utf8(key); }

}  // namespace

void GetPalettePosPrefs(PrefsRec* record) {
    for (const PointKey& k : position_points) GetPointPref(k.key, &(record->*k.field));
}

void PutPalettePosPrefs(const PrefsRec* record) {
    for (const PointKey& k : position_points) PutPointPref(k.key, record->*k.field);
}

void getprefs(PrefsRec* record) {
    get_ints(record, leading_ints);
    GetPalettePosPrefs(record);
    GetRectPref("DrawingWindow", &record->drawing_window);
    GetPointPref("LibraryWindow", &record->library_window);
    GetPointPref("DebugWindow", &record->debug_window);
    get_ints(record, size_ints);
    record->single_scroll = GetDoublePref("SingleScroll", 0.1);
    record->page_scroll = GetDoublePref("PageScroll", 0.5);
    get_ints(record, switch_ints);
    global_prefs = *record;
}

void putprefs(const PrefsRec* record) {
    put_ints(record, leading_ints);
    PutPalettePosPrefs(record);
    PutRectPref("DrawingWindow", record->drawing_window);
    PutPointPref("LibraryWindow", record->library_window);
    PutPointPref("DebugWindow", record->debug_window);
    put_ints(record, size_ints);
    PutDoublePref("SingleScroll", record->single_scroll);
    PutDoublePref("PageScroll", record->page_scroll);
    put_ints(record, switch_ints);
    global_prefs = *record;
    plat::sync_prefs();
}

void PutIntPref(const char* key, int value) { plat::put_int_pref(key_string(key), value); }

int GetIntPref(const char* key, int default_value) {
    return plat::get_int_pref(key_string(key)).value_or(default_value);
}

void PutDoublePref(const char* key, double value) { plat::put_double_pref(key_string(key), value); }

double GetDoublePref(const char* key, double default_value) {
    return plat::get_double_pref(key_string(key)).value_or(default_value);
}

void PutPointPref(const char* key, plat::Point point) {
    plat::put_int16_list_pref(key_string(key), {point.v, point.h});
}

void GetPointPref(const char* key, plat::Point* point) {
    *point = plat::Point{};
    if (auto v = plat::get_int16_list_pref(key_string(key), 2)) *point = {(*v)[0], (*v)[1]};
}

void PutRectPref(const char* key, plat::Rect rect) {
    plat::put_int16_list_pref(key_string(key), {rect.top, rect.left, rect.bottom, rect.right});
}

void GetRectPref(const char* key, plat::Rect* rect) {
    *rect = plat::Rect{};
    if (auto v = plat::get_int16_list_pref(key_string(key), 4)) *rect = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::string CFStringFromKey(const char* key) { return key_string(key); }

}  // namespace drav
