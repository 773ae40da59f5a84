// What the tests comparing fast paths with the general one share: the part
// of a port its clip leaves visible, and a colour of its own for each
// drawing compared.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/core/raster.h"

namespace plat::test {

// A clip and an origin the drawings are compared under.
struct View {
    const char* name;
    Rect clip;
    std::int16_t origin_h, origin_v;
};

// A transfer mode and its pattern.
struct Ink {
    std::int16_t mode;
    Pattern pattern;
};

struct Visible {
    int l, t, r, b;
};

inline Visible visible_part(const Port& p, const Rect& clip) {
    const Rect pr = p.port_rect();
    return {std::max<int>(clip.left, pr.left), std::max<int>(clip.top, pr.top), std::min<int>(clip.right, pr.right),
            std::min<int>(clip.bottom, pr.bottom)};
}

// The colour of the serial-th drawing: no earlier one drew it, so a pixel
// wrongly drawn or missed always shows.
inline RGBColor colour_of(std::uint32_t serial) {
    return {static_cast<std::uint16_t>((serial >> 16 & 0xFF) * 0x101),
            static_cast<std::uint16_t>((serial >> 8 & 0xFF) * 0x101), static_cast<std::uint16_t>((serial & 0xFF) * 0x101)};
}

// Both ports under the view, grey, their changed areas taken.
inline void prepare_both(Port (&ports)[2], const View& v) {
    for (Port& p : ports) {
        p.set_clip(v.clip);
        p.set_origin(v.origin_h, v.origin_v);
        p.set_back_color({0x8000, 0x8000, 0x8000});
        p.erase_rect(wide_open_rect);
        Rect r;
        p.take_changed(&r);
    }
}

// draw(port) on ports[0] by the general path and on ports[1] by the fast
// one, each one's changed area into changed.
template <class Draw>
void draw_both_ways(Port (&ports)[2], Rect (&changed)[2], Draw&& draw) {
    for (int fast = 0; fast < 2; ++fast) {
        set_fast_lines(fast != 0);
        draw(ports[fast]);
        if (!ports[fast].take_changed(&changed[fast])) changed[fast] = {};
    }
    set_fast_lines(true);
}

}  // namespace plat::test
