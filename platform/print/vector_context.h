// A vector drawing context: paths of lines and curves, stroked or filled,
// with a line width, a dash, colours and a saved-state stack, painted by the
// toolkit onto a white image (the display's renderer twin draws here; the
// print path paints the same way onto a printer). Coordinates are pixels,
// y downward, until translate and scale change them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/raster.h"

namespace plat {

class VectorContext {
public:
    // A white image of width x height pixels; null for a size outside
    // 1..16384 on either side.
    static std::unique_ptr<VectorContext> for_image(int width, int height, bool antialias = false);
    ~VectorContext();
    VectorContext(const VectorContext&) = delete;
    VectorContext& operator=(const VectorContext&) = delete;

    // The path.
    void move_to(double x, double y);
    void line_to(double x, double y);
    void curve_to(double c1x, double c1y, double c2x, double c2y, double x, double y);
    void add_rect(double x, double y, double w, double h);
    void add_ellipse(double x, double y, double w, double h);
    void close_path();
    // Paints the path and starts a new one.
    void stroke();
    void fill();

    void set_line_width(double w);  // 0: one device pixel whatever the scale
    // Alternating on and off lengths in line widths; empty for solid.
    void set_dash(const std::vector<double>& pattern);
    void set_stroke_color(RGBColor c);
    void set_fill_color(RGBColor c);
    void translate(double dx, double dy);
    void scale(double sx, double sy);
    void save();
    void restore();

    int width() const;
    int height() const;
    // 0xRRGGBB of an image pixel; white outside the image.
    std::uint32_t pixel(int x, int y) const;
    // Ends the painting (further calls do nothing) and writes the image as
    // PNG; false when it could not be written.
    bool save_png(const char* path);

private:
    struct Impl;
    explicit VectorContext(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace plat
