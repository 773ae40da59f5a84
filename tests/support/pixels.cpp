#include "tests/support/pixels.h"

namespace drav::test {

namespace {

struct Letter {
    char c;
    std::uint32_t pixel;
};

constexpr Letter letters[] = {
    {'.', 0xFFFFFFFF}, {'#', 0xFF000000}, {'r', 0xFFFF0000}, {'g', 0xFF00FF00},
    {'b', 0xFF0000FF}, {'c', 0xFF00FFFF}, {'m', 0xFFFF00FF}, {'y', 0xFFFFFF00},
};

char char_of(std::uint32_t pixel) {
    for (const Letter& l : letters)
        if (l.pixel == pixel) return l.c;
    return '?';
}

}  // namespace

std::uint32_t pixel_of_char(char c) {
    for (const Letter& l : letters)
        if (l.c == c) return l.pixel;
    return 0xFF808080;
}

std::string pixel_rows(const plat::Port& port) {
    return pixel_rows(port, 0, 0, port.width(), port.height());
}

std::string pixel_rows(const plat::Port& port, int x, int y, int width, int height) {
    std::string out;
    for (int j = y; j < y + height; ++j) {
        for (int i = x; i < x + width; ++i) {
            const bool inside = i >= 0 && j >= 0 && i < port.width() && j < port.height();
            out += inside ? char_of(port.pixel(i, j)) : ' ';
        }
        out += '\n';
    }
    return out;
}

std::string rows(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* l : lines) {
        out += l;
        out += '\n';
    }
    return out;
}

void set_pixel_rows(plat::Port& port, std::initializer_list<const char*> lines) {
    int y = 0;
    for (const char* l : lines) {
        if (y >= port.height()) break;
        for (int x = 0; l[x] && x < port.width(); ++x) port.row(y)[x] = pixel_of_char(l[x]);
        ++y;
    }
}

plat::Rect rect(int left, int top, int right, int bottom) {
    return {static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
            static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(right)};
}

void draw_line(plat::Port& p, int x0, int y0, int x1, int y1) {
    p.move_to(static_cast<std::int16_t>(x0), static_cast<std::int16_t>(y0));
    p.line_to(static_cast<std::int16_t>(x1), static_cast<std::int16_t>(y1));
}

}  // namespace drav::test
