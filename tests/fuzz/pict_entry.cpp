#include "tests/fuzz/pict_entry.h"

#include <cstdio>
#include <cstdlib>

#include "files/picture_import.h"
#include "platform/core/picture.h"
#include "platform/core/region.h"
#include "store/record_ops.h"
#include "store/record_store.h"

namespace drav::fuzz {

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

std::vector<std::uint8_t> w(std::initializer_list<int> words) {
    std::vector<std::uint8_t> b;
    for (int v : words) {
        b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    return b;
}

}  // namespace

void read_picture_data(const std::uint8_t* data, std::size_t size) {
    plat::Picture p;
    if (!plat::read_picture(std::span(data, size), &p)) {
        if (!p.ops.empty()) fail("a refused picture left operations");
        return;
    }
    plat::Picture again;
    if (!plat::read_picture(plat::picture_bytes(p), &again) || again.ops != p.ops || again.frame != p.frame)
        fail("a picture read did not write and read back the same");
    const std::int16_t first = number_of_objects;
    pictmerge = 1;
    play_picture(p, p.frame);
    if (number_of_objects < first || number_of_objects >= static_cast<int>(worksize))
        fail("record count out of range");
    erase_many_objects(first);
    nomore_info();
}

std::vector<std::vector<std::uint8_t>> picture_seeds() {
    namespace pict = plat::pict;
    std::vector<plat::Picture> pics;
    const auto pic = [&](std::initializer_list<plat::PictOp> ops) {
        plat::Picture p;
        p.frame = {0, 0, 100, 200};
        p.ops = ops;
        pics.push_back(p);
    };
    pic({{pict::op_line, w({10, 10, 50, 90})}, {pict::op_line_from, w({60, 20})},
         {pict::op_short_line_from, {3, 0xFD}}, {pict::op_short_line, w({5, 5, 0x0304})}});
    pic({{pict::op_rect, w({10, 20, 60, 120})}, {pict::op_rect + 8, {}}, {pict::op_rect + 1, w({0, 0, 5, 5})}});
    pic({{pict::op_oval_size, w({8, 8})}, {pict::op_rrect, w({0, 50, 100, 70})},
         {pict::op_rrect, w({0, 0, 20, 100})}, {pict::op_oval_size, w({10, 20})},
         {pict::op_rrect, w({0, 0, 40, 100})}, {pict::op_rrect, w({0, 0, 20, 20})}});
    pic({{pict::op_oval, w({0, 150, 30, 170})}, {pict::op_arc, w({0, 100, 20, 140, -90, 270})},
         {pict::op_arc + 8, w({45, -30})}});
    pic({{pict::op_poly, w({30, 10, 10, 20, 20, 10, 10, 10, 20, 20, 20, 20, 10, 10, 10})},
         {pict::op_poly, w({26, 0, 0, 9, 9, 0, 0, 0, 9, 9, 9, 0, 0})}});
    std::vector<std::uint8_t> text = w({50, 10});
    text.push_back(100);
    text.insert(text.end(), 100, 'x');
    std::vector<std::uint8_t> dh = {12, 3, 'a', 'b', '\r'};
    pic({{pict::op_text_font, w({20})},
         {pict::op_text_face, {3}},
         {pict::op_text_size, w({10})},
         {pict::op_long_comment, w({150, 6, 0x0001, 45, 0x0100})},
         {pict::op_long_comment, w({154, 8, 0, 0x8000, 1, 0})},
         {pict::op_long_text, text},
         {pict::op_dh_text, dh},
         {pict::op_short_comment, w({153})},
         {pict::op_short_comment, w({151})}});
    plat::Region r;
    r.add_oval({0, 0, 20, 30});
    plat::Picture region;
    region.frame = {0, 0, 100, 200};
    for (auto& piece : plat::encode_region(r)) region.ops.push_back({pict::op_region, piece});
    pics.push_back(region);
    plat::Port port(64, 16);
    port.erase_rect({0, 0, 16, 64});
    port.move_to(0, 3);
    port.line_to(63, 12);
    plat::Picture bits;
    bits.frame = {0, 0, 16, 64};
    plat::add_bitmap(bits, port, bits.frame, bits.frame);
    plat::add_bitmap(bits, port, bits.frame, {0, 0, 4, 16});
    pics.push_back(bits);

    std::vector<std::vector<std::uint8_t>> out;
    for (const plat::Picture& p : pics) out.push_back(plat::picture_bytes(p));
    // A version 1 picture.
    out.push_back({0, 0, 0, 0, 0, 0, 0, 50, 0, 100, 0x11, 0x01, 0x20, 0, 1, 0, 2, 0, 30, 0, 40, 0xA0, 0, 130, 0xFF});
    return out;
}

}  // namespace drav::fuzz
