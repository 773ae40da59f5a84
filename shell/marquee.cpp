#include "shell/marquee.h"

#include <array>
#include <fstream>
#include <sstream>
#include <string>

#include "display/screen.h"
#include "platform/core/clock.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "platform/ui/windows.h"
#include "shell/main_loop.h"

namespace drav {

plat::Rect selectionRect{};
std::uint16_t ants_alive = 0;
std::uint16_t antmode = 0;
std::uint32_t lastant = 0;
std::int16_t curpattern = 0;
plat::Pattern aPattern = plat::black_pattern;

namespace {

constexpr int pattern_count = 4;
constexpr std::uint32_t step_ticks = 6;

struct Patterns {
    std::array<plat::Pattern, pattern_count> p;
    Patterns() {
        p.fill(plat::black_pattern);
        std::ifstream in(plat::bundle_dir() / "patterns" / "marquee.txt");
        std::string line;
        std::array<plat::Pattern, pattern_count> read{};
        int n = 0;
        while (n < pattern_count && std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream s(line);
            int got = 0;
            unsigned v = 0;
            while (got < 8 && s >> std::hex >> v && v <= 0xFF) read[n][got++] = static_cast<std::uint8_t>(v);
            if (got != 8) return;  // a malformed list leaves them all black
            ++n;
        }
        if (n == pattern_count) p = read;
    }
};

const Patterns& patterns() {
    static const Patterns list;
    return list;
}

// The frame in XOR with the given pattern; drawing it twice removes it.
void frame(plat::Port* port, const plat::Pattern& pattern, const plat::Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    const plat::PenState pen = port->pen_state();
    port->pen_normal();
    port->set_pen_mode(plat::patXor);
    port->set_pen_pattern(pattern);
    port->frame_rect(r);
    port->set_pen_state(pen);
}

plat::Point local_mouse(plat::Port* port) {
    plat::Window* w = whichdrawWindow();
    const plat::Point g = plat::mouse_global();
    if (!w || port != drawCWindow) return g;
    const plat::Rect b = plat::window_bounds(w);
    return plat::Point{static_cast<std::int16_t>(g.v - b.top), static_cast<std::int16_t>(g.h - b.left)};
}

plat::Rect spanned(plat::Point a, plat::Point b) {
    return plat::Rect{std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
}

}  // namespace

plat::Pattern marquee_pattern(int n) {
    return n >= 1 && n <= pattern_count ? patterns().p[n - 1] : plat::black_pattern;
}

plat::Point createmarquee(plat::Port* port, plat::Point start) {
    plat::Point last = start;
    if (!port) return last;
    plat::PortSaver saver(port);
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    lastant = 0;
    curpattern = 0;
    selectionRect = plat::Rect{0, 0, 0, 0};
    setdrawmode(mode_xor);
    aPattern = marquee_pattern(1);
    gdrawpat = -1;
    while (plat::button()) {
        plat::EventRecord up;
        const bool released = plat::wait_next_event(plat::mUpMask, &up, 1);
        plat::Point now = local_mouse(port);
        if (released && port == drawCWindow && whichdrawWindow()) {
            const plat::Rect b = plat::window_bounds(whichdrawWindow());
            now = plat::Point{static_cast<std::int16_t>(up.where.v - b.top), static_cast<std::int16_t>(up.where.h - b.left)};
        }
        if (now != last) {
            frame(port, aPattern, selectionRect);
            selectionRect = spanned(now, start);
            frame(port, aPattern, selectionRect);
            last = now;
        }
        if (released || globalch || plat::termination_requested()) break;
    }
    ants_alive = 1;
    setdrawmode(mode);
    gdrawpat = pat;
    return last;
}

void marquee_to(plat::Port* port, plat::Point start, plat::Point end) {
    if (!port) return;
    plat::PortSaver saver(port);
    frame(port, aPattern, selectionRect);
    selectionRect = spanned(start, end);
    frame(port, aPattern, selectionRect);
    ants_alive = 1;
}

void updatemarquee(plat::Port* port) {
    if (!ants_alive || !port) return;
    if (plat::ticks() - lastant < step_ticks) return;
    plat::PortSaver saver(port);
    frame(port, marquee_pattern(curpattern + 1), selectionRect);
    curpattern = static_cast<std::int16_t>((curpattern + 1) % pattern_count);
    aPattern = marquee_pattern(curpattern + 1);
    frame(port, aPattern, selectionRect);
    lastant = plat::ticks();
}

void marquee_after_refresh(plat::Port* port) {
    if (!ants_alive || !port) return;
    plat::PortSaver saver(port);
    frame(port, marquee_pattern(curpattern + 1), selectionRect);
}

void erasemarquee(plat::Port* port) {
    if (!ants_alive) return;
    if (port) {
        plat::PortSaver saver(port);
        frame(port, marquee_pattern(curpattern + 1), selectionRect);
    }
    ants_alive = 0;
    antmode = 0;
}

}  // namespace drav
