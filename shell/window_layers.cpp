#include "shell/window_layers.h"

#include <algorithm>
#include <vector>

#include "display/clipboard_window.h"
#include "display/screen.h"
#include "shell/menu_handler.h"
#include "shell/message_palette.h"
#include "shell/preferences.h"
#include "shell/startup.h"

namespace drav {

std::uint16_t activeLayer = 0;

namespace {

bool is_symbol_window(const plat::Window* w) { return w && graphwasinit && w == windSymbols; }

// Palettes, extension palettes and the symbol library window.
bool palette_like(const plat::Window* w) { return isPallette(w) || isAPIPallette(w) || is_symbol_window(w); }

void show_bars(plat::Control* h, plat::Control* v, bool show) {
    for (plat::Control* c : {h, v}) {
        if (!c) continue;
        if (show)
            plat::show_control(c);
        else
            plat::hide_control(c);
    }
}

plat::Window* first_palette_like() {
    for (plat::Window* w : plat::window_list())
        if (plat::window_visible(w) && palette_like(w)) return w;
    return nullptr;
}

}  // namespace

bool isDocument(const plat::Window* w) { return w && plat::window_kind(w) == plat::WindowKind::document; }
bool isPallette(const plat::Window* w) { return w && plat::window_kind(w) == plat::WindowKind::palette; }
bool isAPIPallette(const plat::Window* w) {
    return w && plat::window_kind(w) == plat::WindowKind::extension_palette;
}

plat::Window* firstDocument() {
    for (plat::Window* w : plat::window_list())
        if (plat::window_visible(w) && isDocument(w)) return w;
    return nullptr;
}

plat::Window* lastDocument() {
    const auto list = plat::window_list();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (isDocument(*it)) return *it;
    return nullptr;
}

plat::Window* firstPallette() {
    for (plat::Window* w : plat::window_list())
        if (plat::window_visible(w) && (isPallette(w) || isAPIPallette(w))) return w;
    return nullptr;
}

plat::Window* lastPallette() {
    const auto list = plat::window_list();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (plat::window_visible(*it) && (isPallette(*it) || isAPIPallette(*it))) return *it;
    return nullptr;
}

void LocateWindows() {
    plat::Window* first = firstPallette();
    if (!first) return;
    plat::Window* anchor = lastDocument();
    if (!anchor) anchor = lastPallette();
    // Windows that are not the program's go behind the anchor; each move
    // changes the list, so the walk starts again.
    for (bool moved = true; moved;) {
        moved = false;
        const auto list = plat::window_list();
        auto it = std::find(list.begin(), list.end(), first);
        for (; it != list.end() && *it != anchor; ++it) {
            if (plat::window_kind(*it) == plat::WindowKind::other) {
                plat::send_behind(*it, anchor);
                moved = true;
                break;
            }
        }
    }
}

void ArrangeFP() {
    LocateWindows();
    plat::Window* doc = firstDocument();
    plat::Window* pal = lastPallette();
    if (!doc || !pal) return;
    const auto list = plat::window_list();
    auto it = std::find(list.begin(), list.end(), pal);
    plat::Window* behind = (it != list.end() && it + 1 != list.end()) ? *(it + 1) : nullptr;
    if (behind != doc) plat::send_behind(doc, pal);
}

void ArrangeFP2() { ArrangeFP(); }

void ActivateDoc(plat::Window* w) {
    if (!w) return;
    if (graphwasinit && w == whichdrawWindow()) {
        plat::set_window_hilite(w, true);
        show_bars(horizHdl, vertHdl, true);
    } else if (w == clipCWindow) {
        plat::set_window_hilite(w, true);
        show_bars(chorizHdl, cvertHdl, true);
    } else if (is_symbol_window(w)) {
        ActivatePal(w);
    }
}

void DeactivateDoc(plat::Window* w) {
    if (!w) return;
    if (graphwasinit && w == whichdrawWindow()) {
        plat::set_window_hilite(w, false);
        show_bars(horizHdl, vertHdl, false);
    } else if (w == clipCWindow) {
        plat::set_window_hilite(w, false);
        show_bars(chorizHdl, cvertHdl, false);
    } else if (is_symbol_window(w)) {
        DeactivatePal(w);
    }
}

void ActivatePal(plat::Window* w) {
    if (!w) return;
    plat::set_window_hilite(w, true);
    if (is_symbol_window(w)) show_bars(shorizHdl, svertHdl, true);
}

void DeactivatePal(plat::Window* w) {
    if (!w) return;
    plat::set_window_hilite(w, false);
    if (is_symbol_window(w)) show_bars(shorizHdl, svertHdl, false);
}

void SelectDocument(plat::Window* w) {
    plat::Window* p = firstDocument();
    if (p && w != p) {
        DeactivateDoc(p);
        plat::send_behind(p, w);
    }
    ArrangeFP();
    ActivateDoc(w);
}

void SelectPallette(plat::Window* w) {
    if (w != firstPallette()) DeactivatePal(firstPallette());
    if (w) {
        plat::bring_to_front(w);
        ActivatePal(w);
    }
}

void ourSelectWindow(plat::Window* w) {
    if (palette_like(w))
        SelectPallette(w);
    else
        SelectDocument(w);
}

void FixActivate() {
    activeLayer = 1;
    // The library window counts as a palette here: in front of the others it
    // stays there, hilited, its scroll bars shown.
    if (plat::Window* p = first_palette_like()) plat::bring_to_front(p);
    plat::Window* leading = nullptr;
    bool document_seen = false;
    for (plat::Window* w : plat::window_list()) {
        const bool shown = plat::window_visible(w);
        if (palette_like(w)) {
            if (shown && !leading) {
                leading = w;
                if (!plat::window_hilited(w)) ActivatePal(w);
            } else if (plat::window_hilited(w)) {
                DeactivatePal(w);
            }
        } else if (isDocument(w)) {
            if (shown && !document_seen) {
                document_seen = true;
                if (!plat::window_hilited(w)) ActivateDoc(w);
            } else if (plat::window_hilited(w)) {
                DeactivateDoc(w);
            }
        }
    }
    if (graphwasinit && windSymbols && windSymbols != leading) DeactivateDoc(windSymbols);
    edit_items_follow_front();
}

void FixDeactivate() {
    activeLayer = 0;
    for (plat::Window* w : plat::window_list()) {
        if (!plat::window_hilited(w)) continue;
        if (isPallette(w) || isAPIPallette(w))
            DeactivatePal(w);
        else if (isDocument(w))
            DeactivateDoc(w);
    }
}

void wind_size(std::int16_t* width, std::int16_t* height) {
    const plat::Rect r = plat::window_port(whichdrawWindow())->port_rect();
    *width = static_cast<std::int16_t>(r.right - scroll_band);
    *height = static_cast<std::int16_t>(r.bottom - scroll_band);
}

void PutWindowPrefs() {
    PrefsRec prefs{};
    getprefs(&prefs);
    std::int16_t open = 0;
    SaveMessageWindowPosition(&open, &lastpnt[lastpnt_messages]);
    prefs.mess_visible = open;
    constexpr plat::Point PrefsRec::*positions[lastpnt_count] = {
        &PrefsRec::status_pos, &PrefsRec::coord_pos, &PrefsRec::add_pos, &PrefsRec::loc_pos,
        &PrefsRec::prop_pos, &PrefsRec::const_pos, &PrefsRec::dim_pos, &PrefsRec::multi_pos,
        &PrefsRec::hatch_pos, &PrefsRec::wind_pos_select_accept, &PrefsRec::wind_pos_input,
        &PrefsRec::wind_pos_add_remove, &PrefsRec::wind_pos_messages};
    for (int i = 0; i < lastpnt_count; ++i) prefs.*positions[i] = lastpnt[i];
    // TODO(addDPtr) the other palettes' visibility and lower-right corners, once they exist
    if (graphwasinit && whichdrawWindow()) prefs.drawing_window = plat::window_bounds(whichdrawWindow());
    putprefs(&prefs);
}

}  // namespace drav
