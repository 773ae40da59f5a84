// A drawing with the screen open (200 x 100 pixels, the window 0..20 x
// 0..10, so world (x, y) is pixel (10 x, 100 - 10 y)), for the picture
// import and export; and hand-built pictures.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "display/line_styles.h"
#include "platform/core/picture.h"
#include "store/geometry.h"
#include "tests/display/display_fixture.h"
#include "tests/files/reader_fixture.h"

namespace drav::test {

using PictBytes = std::vector<std::uint8_t>;

// Big-endian words.
inline PictBytes words(std::initializer_list<int> ws) {
    PictBytes b;
    for (int v : ws) {
        b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    return b;
}

// A picture of frame (0, 0, 100, 200) holding the given operations.
struct PictBuilder {
    plat::Picture p;
    PictBuilder() { p.frame = {0, 0, 100, 200}; }
    PictBuilder& op(std::uint16_t code, PictBytes data) {
        p.ops.push_back({code, std::move(data)});
        return *this;
    }
    PictBuilder& text(int v, int h, const std::string& s) {
        PictBytes d = words({v, h});
        d.push_back(static_cast<std::uint8_t>(s.size()));
        d.insert(d.end(), s.begin(), s.end());
        return op(plat::pict::op_long_text, d);
    }
    // A picture file: 512 header bytes, then the picture.
    void write(const std::filesystem::path& path) const {
        PictBytes b(plat::pict_file_header_bytes, 0);
        const PictBytes pict = plat::picture_bytes(p);
        b.insert(b.end(), pict.begin(), pict.end());
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                   static_cast<std::streamsize>(b.size()));
    }
};

class PictureFiles : public Reader {
protected:
    void SetUp() override {
        Reader::SetUp();
        // The display makes its own tool options; the drawing's are kept.
        objopts = nullptr;
        open_display("200x100");
        delete objopts;
        objopts = &opts_;
        opencossin();
        init_poly();
        openlinstk();
        solidstyle = 1;
        swaper = 0;
        props_defs.style = 1;
        change_window(0, 20, 0, aspectratio, 1);
        units_defs.units_code = 3;  // inches
        units_defs.real_unit = 3;
        units_defs.unit_size = 1;
    }
    // The live objects of the drawing from `first` on.
    static std::vector<ObjectRec> live_from(int first) {
        std::vector<ObjectRec> v;
        for (int n = first; n < number_of_objects; ++n) {
            const ObjectRec r = record(n);
            if (is_live_object(r)) v.push_back(r);
        }
        return v;
    }
};

}  // namespace drav::test
