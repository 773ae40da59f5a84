#include "store/held_object.h"

#include <cstring>

#include "store/record_store.h"

namespace drav {

void HeldObject::keep() {
    info_ = info;
    std::memcpy(text_, textline, sizeof text_);
    index_ = prev_index;
    nomore_info();
}

void HeldObject::put_back() {
    if (index_ == -1) return;
    get_info(index_);
    info = info_;
    std::memcpy(textline, text_, sizeof text_);
}

}  // namespace drav
