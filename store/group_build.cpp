#include "store/group_build.h"

#include "base/idle.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_hooks.h"
#include "store/selection_state.h"

namespace drav {

std::uint16_t adding = 1;
std::uint16_t grpchanged = 0;

void adjust_group(std::int16_t index, std::int16_t matches) {
    get_info(index);
    if (!matches || !is_live_object(info) || !levelok(info)) return;
    grpchanged = 1;
    put_in_group(index, adding);
    const bool continued = obj_kind(info) == ok_text && text_continued(info);
    hook_showonoff(index, static_cast<std::int16_t>(adding));
    if (continued) put_in_group(index + 1, adding);
}

}  // namespace drav
