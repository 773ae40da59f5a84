#include "files/preview_pictures.h"

#include <cstdio>
#include <string>

#include "base/messages.h"
#include "base/tool_options.h"
#include "display/picture_target.h"
#include "display/screen.h"
#include "platform/core/forks.h"
#include "platform/ui/dialogs.h"
#include "store/record_store.h"
#include "store/selection_state.h"

namespace drav {

namespace {

constexpr int preview_dialog = 443, preview_item = 17;
constexpr int err_preview_disk_full = 127, err_preview_failed = 129;  // table 406
constexpr std::uint32_t pict_type = 0x50494354;                         // 'PICT'

plat::Rect drawing_area_size() {
    return {0, 0, static_cast<std::int16_t>(drawRect.bottom - drawRect.top),
            static_cast<std::int16_t>(drawRect.right - drawRect.left)};
}

void report(std::int16_t err) {
    if (err == plat::dskFulErr) {
        show_error(err_preview_disk_full, 0);
        return;
    }
    char number[16];
    std::snprintf(number, sizeof number, "%d", err);
    show_insert_error(err_preview_failed, 0, number, "", "", "");
}

}  // namespace

plat::Rect small_preview_rect() {
    std::string why;
    plat::Dialog* d = plat::new_dialog(preview_dialog, &why);
    if (!d) return {};
    plat::Rect r;
    if (plat::DItem* it = plat::dialog_item(d, preview_item)) {
        const plat::Rect at = plat::item_rect(it);
        r = {0, 0, static_cast<std::int16_t>(at.bottom - at.top), static_cast<std::int16_t>(at.right - at.left)};
    }
    plat::dispose_dialog(d);
    return r;
}

plat::Picture preview_picture(const plat::Rect& size, int group) {
    plat::Picture p;
    p.frame = size;
    const plat::Rect area = drawing_area_size();
    if (!group) {
        if (myCGrafPtr) plat::add_bitmap(p, *myCGrafPtr, area, size);
        return p;
    }
    // The group alone, drawn as the offscreen copy would show it.
    plat::Port port;
    if (!port.resize(offRect.right - offRect.left, offRect.bottom - offRect.top)) return p;
    draw_into_port(port, [] {
        pict_objects([](std::int16_t n) { return get_in_group(n) != 0; });
    });
    plat::add_bitmap(p, port, area, size);
    return p;
}

int saveDravpict(const FSRef& file, int group) {
    struct Wanted {
        std::int16_t id;
        const char* name;
        plat::Rect size;
    };
    std::vector<Wanted> wanted{{small_preview_id, "smallpict", small_preview_rect()}};
    if (objopts && objopts->save_preview) wanted.push_back({large_preview_id, "largepict", drawing_area_size()});
    int all = 1;
    for (const Wanted& w : wanted) {
        // Without a screen there is nothing to show in a preview.
        if (w.size.empty() || !myCGrafPtr) continue;
        plat::ResourceFork fork;
        // A fork that cannot be read holds nothing worth keeping: it is rewritten.
        if (fork.load(file) != plat::noErr) fork.clear();
        std::int16_t err = plat::noErr;
        if (!fork.put(pict_type, w.id, w.name, plat::picture_bytes(preview_picture(w.size, group))))
            err = plat::paramErr;
        if (err == plat::noErr) err = fork.save(file);
        if (err != plat::noErr) {
            report(err);
            all = 0;
        }
    }
    return all;
}

}  // namespace drav
