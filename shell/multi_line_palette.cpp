#include "shell/multi_line_palette.h"

#include <algorithm>

#include "base/tool_options.h"
#include "dialogs/dialog_helpers.h"
#include "shell/startup.h"
#include "shell/tool_palette.h"
#include "shell/tool_setting_dialogs.h"
#include "store/settings.h"

namespace drav {

plat::Dialog* mlinDPtr = nullptr;

namespace {

struct Row {
    int first, count;
    std::int16_t ObjOptsRec::*value;
};
// Pivot line, end lines, handle line.
constexpr Row rows[3] = {{mlin_pivot_item, 3, &ObjOptsRec::mline_opt4},
                         {mlin_caps_item, 4, &ObjOptsRec::mline_opt2},
                         {mlin_hand_item, 3, &ObjOptsRec::mline_opt3}};

const Row* row_of(int item) {
    for (const Row& r : rows)
        if (item >= r.first && item < r.first + r.count) return &r;
    return nullptr;
}

// The square of a row that shows the current value; out-of-range stored
// values show as the nearest square so a row never lacks one.
int chosen_square(const Row& r) {
    const int v = objopts ? objopts->*r.value : 0;
    return r.first + std::clamp(v, 0, r.count - 1);
}

void invalidate_item(plat::Dialog* d, int item) {
    if (plat::DItem* it = plat::dialog_item(d, item)) plat::invalidate_dialog_rect(d, plat::item_rect(it));
}

void invalidate_squares() {
    for (const Row& r : rows)
        for (int i = 0; i < r.count; ++i) invalidate_item(mlinDPtr, r.first + i);
}

}  // namespace

void fill_mlin_square(plat::Dialog* dialog, int item) {
    if (!dialog || dialog != mlinDPtr) return;
    const Row* r = row_of(item);
    if (!r) return;
    draw_wall_square(dialog, item, static_cast<int>(r - rows), item - r->first);
    if (item == chosen_square(*r)) invert_item(dialog, item);
}

void refresh_mlin_palette() {
    if (!mlinDPtr) return;
    setvalue(mlinDPtr, mlin_cut_item, mlin_cut(users_defs));
    setvalue(mlinDPtr, mlin_flag_item, objopts && objopts->mline_palette ? 1 : 0);
    invalidate_squares();
}

void sett_mlin() {
    if (!mlinDPtr) {
        std::string error;
        mlinDPtr = plat::new_dialog(mlin_palette_id, &error);
        if (!mlinDPtr) return;
        const plat::Point saved = lastpnt[mlin_palette_pos];
        if (saved.v != 0) plat::move_dialog(mlinDPtr, saved.h, saved.v);
        for (const Row& r : rows)
            for (int i = 0; i < r.count; ++i) plat::set_draw_proc(plat::dialog_item(mlinDPtr, r.first + i), fillsq);
        refresh_mlin_palette();
        plat::show_dialog(mlinDPtr);
    } else {
        const plat::Rect b = plat::dialog_bounds(mlinDPtr);
        lastpnt[mlin_palette_pos] = plat::Point{b.top, b.left};
        plat::dispose_dialog(mlinDPtr);
        mlinDPtr = nullptr;
    }
}

void domlin(int item) {
    if (!mlinDPtr || !objopts) return;
    if (const Row* r = row_of(item)) {
        invalidate_item(mlinDPtr, chosen_square(*r));
        objopts->*r->value = static_cast<std::int16_t>(item - r->first);
        invalidate_item(mlinDPtr, item);
    } else if (item == mlin_cut_item) {
        markbox(mlinDPtr, item);
        set_mlin_cut(users_defs, getvalue(mlinDPtr, item) ? 1 : 0);
    } else if (item == mlin_flag_item) {
        markbox(mlinDPtr, item);
        objopts->mline_palette = static_cast<std::int16_t>(getvalue(mlinDPtr, item) ? 1 : 0);
    }
}

}  // namespace drav
