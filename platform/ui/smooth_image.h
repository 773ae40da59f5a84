// Drawing with partial transparency and fractional coordinates, which the
// ports' own raster does not offer: figures are painted antialiased onto an
// image that starts as a copy of a port's area and are copied back as
// pixels. Coordinates are pixels from the area's top-left, y downward unless
// flipped.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/qd_types.h"
#include "platform/core/raster.h"

namespace plat {

// Channels 0 to 1; alpha 1 is opaque.
struct SmoothColor {
    double red = 0, green = 0, blue = 0, alpha = 1;
};

class SmoothImage {
public:
    // A copy of `area` of `source` (buffer coordinates); parts outside the
    // buffer start white.
    SmoothImage(const Port& source, const Rect& area);
    ~SmoothImage();
    SmoothImage(const SmoothImage&) = delete;
    SmoothImage& operator=(const SmoothImage&) = delete;

    int width() const;
    int height() const;
    // From now on y grows upward from the bottom edge.
    void flip_vertical();
    void fill_rect(double left, double top, double right, double bottom, const SmoothColor& c);
    void stroke_line(double x1, double y1, double x2, double y2, const SmoothColor& c, double pen = 1.0);
    // A full turn.
    void stroke_circle(double cx, double cy, double radius, const SmoothColor& c, double pen = 1.0);
    // Rows of width() pixels, top first, in the ports' pixel form.
    std::vector<std::uint32_t> pixels() const;
    // Writes the pixels into `port` with the top-left at buffer point
    // (left, top), clipped to the buffer, and marks them changed.
    void copy_to(Port& port, int left, int top) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace plat
