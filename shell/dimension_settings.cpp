// The option dialogs of the dimension palette's commands. Pop-ups keep the
// value decoded at opening until the person makes a choice, so a stored
// value no pop-up entry shows survives OK untouched.
#include <algorithm>
#include <vector>

#include "annotation/dimension_flags.h"
#include "base/tool_options.h"
#include "platform/ui/dialogs.h"
#include "shell/dimension_palette.h"
#include "shell/tool_palette.h"
#include "shell/tool_setting_dialogs.h"
#include "shell/tool_setting_frame.h"
#include "store/geometry.h"
#include "store/settings.h"

namespace drav {

namespace {

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

// The choice a pop-up reported, or 0 when it reported none.
int choice_of(DialogPtr d, int item) {
    std::int16_t v = 0;
    return GetPopupSelection(d, item, &v) && v > 0 ? v : 0;
}

// Sets *value to the entry a pop-up reported, less one; false when it
// reported none, leaving *value alone.
bool take_choice(DialogPtr d, int item, int* value) {
    const int c = choice_of(d, item);
    if (c <= 0) return false;
    *value = c - 1;
    return true;
}

// A pop-up entry from a stored value: value + 1 when an entry shows it, else 1.
int entry_for(int value, int entries) { return value >= 0 && value < entries ? value + 1 : 1; }

// The items of one dialog's tolerance: its mode pop-up, the items it hides
// for mode 0, and the two value fields.
struct Tolerance {
    int mode_item, first_hidden, last_hidden, upper_field, lower_field;
};

std::vector<SettingField> tolerance_fields(const Tolerance& t) {
    return {{t.upper_field, FieldKind::length, 0.0, bigrnum}, {t.lower_field, FieldKind::length, 0.0, bigrnum}};
}

// Fills the tolerance items and shows the dialog, the first value field current.
void open_tolerance(SettingsDialog& frame, const Tolerance& t, int mode, double upper, double lower) {
    DialogPtr d = frame.dialog();
    InitDialogValue(d, t.mode_item, entry_for(mode, 3));
    frame.put(t.upper_field, upper);
    frame.put(t.lower_field, lower);
    if (mode == 0) hide_ditem_range(d, t.first_hidden, t.last_hidden);
    frame.show(t.upper_field);
}

// The mode pop-up reported a choice: the new mode in *mode.
void tolerance_chosen(SettingsDialog& frame, const Tolerance& t, int* mode) {
    if (!take_choice(frame.dialog(), t.mode_item, mode)) return;
    if (*mode == 0) {
        hide_ditem_range(frame.dialog(), t.first_hidden, t.last_hidden);
    } else {
        show_ditem_range(frame.dialog(), t.first_hidden, t.last_hidden);
        frame.select(t.upper_field);
    }
}

// Shows `shown` and hides `hidden` (0: none).
void show_one(DialogPtr d, int shown, int hidden) {
    if (shown) show_ditem_range(d, shown, shown);
    if (hidden) hide_ditem_range(d, hidden, hidden);
}

// Format 0 shows the decimals pop-up and hides the other (0: none); any
// other format the reverse.
void show_format(DialogPtr d, int format, int decimals, int other) {
    show_one(d, format == 0 ? decimals : other, format == 0 ? other : decimals);
}

// Series 2 alone shows the series box, item 6.
void show_series(DialogPtr d, int series) { show_one(d, series == 2 ? 6 : 0, series == 2 ? 0 : 6); }

// The tolerance values as the dialog holds them at OK.
void take_tolerance(const SettingsDialog& frame, const Tolerance& t, double* upper, double* lower) {
    *upper = frame.value(t.upper_field);
    *lower = frame.value(t.lower_field);
}

// Feeds the dialog's hits to `hit` until OK (1) or Cancel (2); the one that ended it.
template <typename Hit>
int run_dialog(SettingsDialog& frame, Hit hit) {
    int item;
    plat::Point where;
    while ((item = frame.next(&where)) != 1 && item != 2) hit(item, where);
    return item;
}

// The picture rows of the linear and angular dialogs.
struct PictureRows {
    int ext_area, ext_first;    // 4 extension-line pictures
    int mark_area, mark_first;  // 6 marker pictures
};
constexpr int ext_count = 4, mark_count = 6;

void install_pictures(DialogPtr d, const PictureRows& p) {
    for (int i = 0; i < ext_count; ++i) plat::set_draw_proc(plat::dialog_item(d, p.ext_first + i), filldim);
    for (int i = 0; i < mark_count; ++i) plat::set_draw_proc(plat::dialog_item(d, p.mark_first + i), filldim);
}

// A hit of a click area (the picture under `where`) or of a picture itself.
// True when the hit belonged to the rows.
bool picture_hit(DialogPtr d, const PictureRows& p, int item, plat::Point where) {
    int first = 0, count = 0;
    if (item == p.ext_area || (item >= p.ext_first && item < p.ext_first + ext_count)) {
        first = p.ext_first;
        count = ext_count;
    } else if (item == p.mark_area || (item >= p.mark_first && item < p.mark_first + mark_count)) {
        first = p.mark_first;
        count = mark_count;
    } else {
        return false;
    }
    const int picked = item >= first ? item : item_under(d, where, first, first + count - 1);
    if (picked == 0) return true;  // beside the pictures: nothing changes
    std::int16_t& chosen = first == p.ext_first ? exttype : marktype;
    int now = chosen;
    choose_square(d, &now, picked);
    chosen = i16(now);
    plat::draw_dialog(d);
    return true;
}

int clamp_type(int v, int count) { return std::clamp(v, 0, count - 1); }

// What the linear and angular dialogs open alike: the picture rows with the
// stored extension lines and marker, the series pop-up with its box, and the
// points box (dimmed while that dimension is being drawn).
struct LineDimOpen {
    int ext, marker, series;
    bool series_box, points, drawing;
};

void open_line_dim(DialogPtr d, const PictureRows& rows, const LineDimOpen& o) {
    exttype = i16(rows.ext_first + clamp_type(o.ext, ext_count));
    marktype = i16(rows.mark_first + clamp_type(o.marker, mark_count));
    install_pictures(d, rows);
    InitDialogValue(d, 5, entry_for(o.series, 3));
    show_series(d, o.series);
    setvalue(d, 6, o.series_box ? 1 : 0);
    setvalue(d, 7, o.points ? 0 : 1);
    if (o.drawing) buttonOff(d, 7);
}

// The placing pop-up: 1 inside, 2 with the line broken, 3 markers outside.
int placing_entry(int breaks, int outside) { return breaks && !outside ? 2 : (outside && !breaks ? 3 : 1); }

// The placing pop-up reported a hit: its choice, 0 for none.
int placing_chosen(DialogPtr d, int item, int* breaks, int* outside) {
    const int c = choice_of(d, item);
    if (c > 0) {
        *breaks = c == 2;
        *outside = c == 3;
    }
    return c;
}

// The series pop-up reported a hit.
void series_chosen(DialogPtr d, int* series) {
    if (take_choice(d, 5, series)) show_series(d, *series);
}

}  // namespace

void filldim(plat::Dialog* dialog, int item) {
    plat::DItem* it = plat::dialog_item(dialog, item);
    if (!it) return;
    // The extension lines are items 13-16 in both dialogs; the markers are
    // 20-25 in the linear one (whose item 25 is a picture), else 19-24.
    const int ext_first = 13;
    plat::DItem* last_linear = plat::dialog_item(dialog, 25);
    const int mark_first = last_linear && plat::item_kind(last_linear) == plat::ItemKind::user ? 20 : 19;
    ToolIcon icon;
    if (item >= ext_first && item < ext_first + ext_count)
        icon = load_palette_icon("dimext", item - ext_first, 1);
    else if (item >= mark_first && item < mark_first + mark_count)
        icon = load_palette_icon("dimmark", item - mark_first, 1);
    draw_icon_square(dialog, item, icon);
    if (item == exttype || item == marktype) invert_item(dialog, item);
}

int lindimsetup() {
    constexpr Tolerance tol{27, 28, 31, 29, 31};
    constexpr PictureRows rows{3, 13, 4, 20};
    SettingsDialog frame(413, tolerance_fields(tol), true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    const UsersRec& u = users_defs;
    int series = lindim_series(u);
    int breaks = lindim_breaks(u), outside = lindim_outside(u);
    int format = u.lindim_format;
    int precision = fraction_code(u);
    int tol_mode = lindim_tol_mode(u);
    open_line_dim(d, rows,
                  {objopts->lindim_opt2, lindim_marker(u), series, objopts->lindim_opt1 != 0, lindim_points(u) != 0,
                   indimlin != 0});
    setvalue(d, 8, lindim_centred(u));
    setvalue(d, 9, lindim_on_line(u));
    InitDialogValue(d, 10, placing_entry(breaks, outside));
    InitDialogValue(d, 11, entry_for(format, 3));
    show_format(d, format, 17, 18);
    InitDialogValue(d, 17, precision + 1);
    InitDialogValue(d, 18, precision + 1);
    open_tolerance(frame, tol, tol_mode, u.lindim_tol_upper, u.lindim_tol_lower);
    const int item = run_dialog(frame, [&](int hit, plat::Point where) {
        if (picture_hit(d, rows, hit, where)) return;
        switch (hit) {
        case 5: series_chosen(d, &series); break;
        case 6:
        case 7:
        case 8:
        case 9: markbox(d, hit); break;
        case 10: placing_chosen(d, 10, &breaks, &outside); break;
        case 11:
            if (take_choice(d, 11, &format)) show_format(d, format, 17, 18);
            break;
        case 17:
        case 18: take_choice(d, hit, &precision); break;
        case 27: tolerance_chosen(frame, tol, &tol_mode); break;
        case 32: textsetup(); break;
        default: break;
        }
    });
    if (item == 1) {
        UsersRec& w = users_defs;
        set_lindim_series(w, series);
        objopts->lindim_opt1 = i16(getvalue(d, 6) ? 1 : 0);
        set_lindim_points(w, getvalue(d, 7) ? 0 : 1);
        set_lindim_centred(w, getvalue(d, 8) ? 1 : 0);
        set_lindim_on_line(w, getvalue(d, 9) ? 1 : 0);
        set_lindim_breaks(w, breaks);
        set_lindim_outside(w, outside);
        w.lindim_format = i16(format);
        set_fraction_code(w, precision);
        objopts->lindim_opt2 = i16(exttype - rows.ext_first);
        set_lindim_marker(w, marktype - rows.mark_first);
        set_lindim_tol_mode(w, tol_mode);
        take_tolerance(frame, tol, &w.lindim_tol_upper, &w.lindim_tol_lower);
    }
    return item == 1;
}

int angdimsetup() {
    constexpr Tolerance tol{26, 27, 30, 28, 30};
    constexpr PictureRows rows{3, 13, 4, 19};
    SettingsDialog frame(417, tolerance_fields(tol), true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    const UsersRec& u = users_defs;
    int series = angdim_series(u);
    int breaks = angdim_breaks(u), outside = angdim_outside(u);
    int outer = angdim_outer(u);
    int format = u.angdim_format;
    int precision = angdim_precision(u);
    int tol_mode = angdim_tol_mode(u);
    open_line_dim(d, rows,
                  {objopts->angdim_opt2, angdim_marker(u), series, objopts->angdim_opt1 != 0, angdim_points(u) != 0,
                   indimang != 0});
    // Centring only applies while the line is broken or the markers outside.
    const int placing = placing_entry(breaks, outside);
    InitDialogValue(d, 9, placing);
    if (placing == 1) {
        setvalue(d, 8, 0);
        buttonOff(d, 8);
    } else {
        setvalue(d, 8, angdim_centred(u));
    }
    InitDialogValue(d, 10, entry_for(outer, 2));
    InitDialogValue(d, 11, format == 0 ? 1 : 2);
    show_format(d, format, 17, 0);
    InitDialogValue(d, 17, precision + 1);
    open_tolerance(frame, tol, tol_mode, u.angdim_tol_upper, u.angdim_tol_lower);
    const int item = run_dialog(frame, [&](int hit, plat::Point where) {
        if (picture_hit(d, rows, hit, where)) return;
        switch (hit) {
        case 5: series_chosen(d, &series); break;
        case 6:
        case 7:
        case 8: markbox(d, hit); break;
        case 9:
            if (const int c = placing_chosen(d, 9, &breaks, &outside); c > 0) {
                if (c == 1) {
                    setvalue(d, 8, 0);
                    buttonOff(d, 8);
                } else {
                    buttonOn(d, 8);
                    setvalue(d, 8, angdim_centred(users_defs));
                }
            }
            break;
        case 10: take_choice(d, 10, &outer); break;
        case 11:
            if (take_choice(d, 11, &format)) {
                show_format(d, format, 17, 0);
                plat::draw_dialog(d);
            }
            break;
        case 17: take_choice(d, 17, &precision); break;
        case 26: tolerance_chosen(frame, tol, &tol_mode); break;
        case 31: textsetup(); break;
        default: break;
        }
    });
    if (item == 1) {
        UsersRec& w = users_defs;
        set_angdim_series(w, series);
        objopts->angdim_opt1 = i16(getvalue(d, 6) ? 1 : 0);
        set_angdim_points(w, getvalue(d, 7) ? 0 : 1);
        set_angdim_centred(w, getvalue(d, 8) ? 1 : 0);
        set_angdim_breaks(w, breaks);
        set_angdim_outside(w, outside);
        set_angdim_outer(w, outer);
        w.angdim_format = i16(format);
        set_angdim_precision(w, precision);
        objopts->angdim_opt2 = i16(exttype - rows.ext_first);
        set_angdim_marker(w, marktype - rows.mark_first);
        set_angdim_tol_mode(w, tol_mode);
        take_tolerance(frame, tol, &w.angdim_tol_upper, &w.angdim_tol_lower);
    }
    return item == 1;
}

namespace {

// What the radial and datum dialogs edit, besides their kind pop-up.
struct RoundDim {
    int resource;
    std::int16_t ObjOptsRec::*format;
    std::int16_t ObjOptsRec::*decimals;
    double ObjOptsRec::*upper;
    double ObjOptsRec::*lower;
    int (*tol_mode)(const UsersRec&);
    void (*set_tol_mode)(UsersRec&, int);
    int kinds;  // entries of pop-up 3
    int (*kind)(const UsersRec&);
    void (*set_kind)(UsersRec&, int);
};

int radial_kind(const UsersRec& u) { return rdim_diameter(u) * 2 + rdim_leader_arrow(u); }
void set_radial_kind(UsersRec& u, int k) {
    set_rdim_diameter(u, k >> 1);
    set_rdim_leader_arrow(u, k & 1);
}

int round_dim_setup(const RoundDim& r) {
    constexpr Tolerance tol{7, 8, 11, 9, 11};
    SettingsDialog frame(r.resource, tolerance_fields(tol), true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    int kind = r.kind(users_defs);
    int format = objopts->*r.format;
    int decimals = objopts->*r.decimals;
    int tol_mode = r.tol_mode(users_defs);
    InitDialogValue(d, 3, entry_for(kind, r.kinds));
    InitDialogValue(d, 4, entry_for(format, 3));
    show_format(d, format, 5, 6);
    InitDialogValue(d, 5, decimals + 1);
    InitDialogValue(d, 6, decimals + 1);
    open_tolerance(frame, tol, tol_mode, objopts->*r.upper, objopts->*r.lower);
    const int item = run_dialog(frame, [&](int hit, plat::Point) {
        switch (hit) {
        case 3: take_choice(d, 3, &kind); break;
        case 4:
            if (take_choice(d, 4, &format)) show_format(d, format, 5, 6);
            break;
        case 5:
        case 6: take_choice(d, hit, &decimals); break;
        case 7: tolerance_chosen(frame, tol, &tol_mode); break;
        case 13: textsetup(); break;
        default: break;
        }
    });
    if (item == 1) {
        r.set_kind(users_defs, kind);
        objopts->*r.format = i16(format);
        objopts->*r.decimals = i16(decimals);
        r.set_tol_mode(users_defs, tol_mode);
        take_tolerance(frame, tol, &(objopts->*r.upper), &(objopts->*r.lower));
    }
    return item == 1;
}

}  // namespace

int radialdimsetup() {
    return round_dim_setup(RoundDim{649, &ObjOptsRec::rdim_opt, &ObjOptsRec::rdim_decimals, &ObjOptsRec::rdim_value2,
                                    &ObjOptsRec::rdim_value1, rdim_tol_mode, set_rdim_tol_mode, 4, radial_kind,
                                    set_radial_kind});
}

int datumdimsetup() {
    return round_dim_setup(RoundDim{622, &ObjOptsRec::ddim_opt, &ObjOptsRec::ddim_decimals, &ObjOptsRec::ddim_value2,
                                    &ObjOptsRec::ddim_value1, ddim_tol_mode, set_ddim_tol_mode, 2, ddim_one_direction,
                                    set_ddim_one_direction});
}

}  // namespace drav
