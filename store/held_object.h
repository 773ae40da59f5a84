// The object a running command holds in hand, kept aside while a view
// change or a palette click works in between and put back afterwards.
#pragma once

#include <cstdint>

#include "store/record_ops.h"
#include "store/records.h"

namespace drav {

class HeldObject {
public:
    // Keeps `info`, `textline` and the record `info` came from, then writes
    // `info` back to the workfile (nomore_info).
    void keep();
    // The record read again and the object in hand as it was; nothing when
    // no record was in hand.
    void put_back();
    bool held() const { return index_ != -1; }

private:
    ObjectRec info_{};
    char text_[textline_size]{};
    std::int16_t index_ = -1;
};

}  // namespace drav
