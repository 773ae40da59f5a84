#include "display/app_pictures.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/core/process.h"

namespace drav {

namespace {

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

struct Known {
    int id;
    const char* stem;
    int width, height;
};
constexpr Known known[] = {{408, "strip408", 76, 16}, {424, "sprop424", 14, 14}};

}  // namespace

MonoImage load_mono_image(const std::string& name, int width, int height) {
    MonoImage image;
    if (width <= 0 || height <= 0 || width > 256 || height > 256) return image;
    std::ifstream in(plat::bundle_dir() / "ui" / "icons" / name);
    if (!in) return image;
    // Plain PBM: "P1", comments from '#', width, height, then one 0/1 per pixel.
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() > 512 * 1024) return image;
    std::string clean;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
            clean += '\n';
        } else {
            clean += text[i];
        }
    }
    std::istringstream s(clean);
    std::string magic;
    int w = 0, h = 0;
    if (!(s >> magic >> w >> h) || magic != "P1" || w != width || h != height) return image;
    const std::size_t count = static_cast<std::size_t>(w) * h;
    std::vector<std::uint8_t> bits;
    bits.reserve(count);
    char c;
    while (bits.size() < count && s >> c) {
        if (c != '0' && c != '1') return image;
        bits.push_back(c == '1' ? 1 : 0);
    }
    if (bits.size() != count) return image;
    image.width = w;
    image.height = h;
    image.bits = std::move(bits);
    return image;
}

const AppPicture* GetPicture(int id) {
    static std::map<int, AppPicture> loaded;
    const auto it = loaded.find(id);
    if (it != loaded.end()) return it->second.one.width ? &it->second : nullptr;
    const Known* k = std::find_if(std::begin(known), std::end(known), [id](const Known& n) { return n.id == id; });
    if (k == std::end(known)) return nullptr;
    AppPicture& p = loaded[id];
    const std::string stem = k->stem;
    p.one = load_mono_image(stem + ".pbm", k->width, k->height);
    p.two = load_mono_image(stem + "@2x.pbm", k->width * 2, k->height * 2);
    return p.one.width ? &p : nullptr;
}

void draw_app_picture(plat::Port& port, const AppPicture& picture, plat::Point at) {
    const MonoImage& one = picture.one;
    if (one.width <= 0) return;
    plat::PortSaver saver(&port);
    const plat::PenState pen = port.pen_state();
    const plat::RGBColor fore = port.fore_color(), back = port.back_color();
    // Black on white whatever colours the port uses.
    port.set_fore_color(plat::RGBColor{0, 0, 0});
    port.set_back_color(plat::RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
    port.pen_normal();
    const plat::Rect area{at.v, at.h, i16(at.v + one.height), i16(at.h + one.width)};
    port.erase_rect(area);
    for (int y = 0; y < one.height; ++y)
        for (int x = 0; x < one.width; ++x)
            if (one.bits[static_cast<std::size_t>(y * one.width + x)]) {
                const int h = at.h + x, v = at.v + y;
                port.paint_rect(plat::Rect{i16(v), i16(h), i16(v + 1), i16(h + 1)});
            }
    port.set_pen_state(pen);
    port.set_fore_color(fore);
    port.set_back_color(back);
    // The sharper twin over the part of the area inside the port.
    const MonoImage& two = picture.two;
    if (two.width != one.width * 2 || two.height != one.height * 2) return;
    const plat::Point o = port.origin();
    const int left = std::max(area.left - o.h, 0), top = std::max(area.top - o.v, 0);
    const int right = std::min(area.right - o.h, port.width()), bottom = std::min(area.bottom - o.v, port.height());
    if (right <= left || bottom <= top) return;
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(right - left) * (bottom - top) * 4);
    for (int y = 2 * top; y < 2 * bottom; ++y)
        for (int x = 2 * left; x < 2 * right; ++x) {
            const int sx = x - 2 * (area.left - o.h), sy = y - 2 * (area.top - o.v);
            pixels.push_back(two.bits[static_cast<std::size_t>(sy * two.width + sx)] ? plat::black_pixel
                                                                                      : plat::white_pixel);
        }
    port.set_detail(plat::Rect{i16(top), i16(left), i16(bottom), i16(right)}, 2, std::move(pixels));
}

}  // namespace drav
