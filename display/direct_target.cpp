#include "display/direct_target.h"

#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/screen.h"

namespace drav {

namespace {

std::int16_t no_list() { return 0; }

}  // namespace

DirectTarget::DirectTarget(plat::VectorContext* target)
    : target_(vector_target), avail_(listdriver.listavail), mode_(gdrawmode), pat_(gdrawpat),
      colour_(gcolor), style_(gstyle), clipped_(clipped), sinfo_(sinfo) {
    vector_target = target;
    listdriver.listavail = no_list;
}

DirectTarget::~DirectTarget() {
    sinfo = sinfo_;
    clipped = clipped_;
    listdriver.listavail = avail_;
    vector_target = target_;
    setdrawmode(mode_);
    setdrawpat(pat_);
    setscreencolor(colour_);
    setlstyle(style_);
}

}  // namespace drav
