// Borrowing the screen renderer for another target: while a DirectTarget
// lives, primitives go to the given vector context (null: the current port),
// the renderer finds no display list, so it draws directly and records
// nothing; the screen's pen state, clip flag and current record come back
// when it ends.
#pragma once

#include <cstdint>

#include "platform/print/vector_context.h"
#include "store/records.h"

namespace drav {

class DirectTarget {
public:
    explicit DirectTarget(plat::VectorContext* target);
    ~DirectTarget();
    DirectTarget(const DirectTarget&) = delete;
    DirectTarget& operator=(const DirectTarget&) = delete;

private:
    plat::VectorContext* target_;
    std::int16_t (*avail_)();
    std::int16_t mode_, pat_, colour_, style_;
    std::uint16_t clipped_;
    ObjectRec sinfo_;
};

}  // namespace drav
