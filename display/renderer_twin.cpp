#include "display/renderer_twin.h"

#include "display/direct_target.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/record_ops.h"
#include "store/record_store.h"

namespace drav {

std::uint16_t QuartzSaveClip = 0;
std::int16_t QuartzCurLWidth = 0;
plat::VectorContext* myContext = nullptr;

namespace {

constexpr int not_handled = -9874;

// For the time of one twin drawing the primitives go to myContext; what
// the last of them showed is kept for the caller.
class TwinTarget {
public:
    TwinTarget() : direct_(myContext) {}
    ~TwinTarget() { QuartzSaveClip = clipped; }
    TwinTarget(const TwinTarget&) = delete;
    TwinTarget& operator=(const TwinTarget&) = delete;

private:
    DirectTarget direct_;
};

}  // namespace

void QuartzShow(std::int16_t mode, const ObjectRec* rec) {
    if (!myContext || !rec) return;
    TwinTarget twin;
    show(mode, rec);
}

void QuartzShowObjects(std::int16_t a, std::int16_t b, std::int16_t first) {
    (void)a;
    (void)b;
    // The screen's width state is its own: the twin starts from none.
    const std::int16_t width = curlwidth;
    QuartzCurLWidth = 0;
    curlwidth = 0;
    const ObjectRec saved = info;
    const std::int16_t index = prev_index;
    const std::uint16_t was_modified = modified;
    nomore_info();
    for (std::int16_t i = first; i < number_of_objects; ++i) {
        get_info(i);
        if (!is_live_object(info)) continue;
        if (obj_kind(info) == ok_text) cumstgs(i);
        QuartzShow(mode_draw, &info);
    }
    nomore_info();
    if (index != -1) get_info(index);
    info = saved;
    modified = was_modified;
    curlwidth = width;
}

int MyQuartzDrawEventHandler(plat::VectorContext& ctx) {
    if (workfileRefNum < 1) return not_handled;
    plat::VectorContext* outer = myContext;
    myContext = &ctx;
    QuartzShowObjects(1, 1, first_object_slot);
    myContext = outer;
    return 0;
}

std::unique_ptr<plat::VectorContext> twin_image() {
    if (!myCGrafPtr || workfileRefNum < 1) return nullptr;
    auto ctx = plat::VectorContext::for_image(myCGrafPtr->width(), myCGrafPtr->height());
    if (!ctx || MyQuartzDrawEventHandler(*ctx) != 0) return nullptr;
    return ctx;
}

}  // namespace drav
