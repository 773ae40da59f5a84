// Makes the shipped symbol libraries from their readable descriptions, at
// build time, through the program's own library-file code:
//
//   make_libraries <description.txt> <output library file>
//
// A description is a list of lines; '#' starts a comment. Lengths are in the
// units of the library line, angles in degrees.
//
//   library <name in the drawing> slots <n> rows <r> cols <c> units <code>
//   symbol <number from 1> <name>       starts a symbol; its pieces follow
//   line <x1> <y1> <x2> <y2>
//   rect <x> <y> <width> <height>       lower-left corner and size
//   circle <cx> <cy> <r>
//   arc <cx> <cy> <r> <from> <to>        counter-clockwise
//
// The first piece of a symbol gives its handle: the handle is that piece's
// reference point (a line's start, a rectangle's lower-left corner, a circle's
// or arc's centre) measured from the lower-left corner of the symbol's extents.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "files/symbol_adder.h"
#include "platform/core/forks.h"
#include "store/files.h"
#include "store/library_file.h"
#include "store/records.h"

namespace {

using namespace drav;

constexpr double deg = std::numbers::pi / 180;

struct Symbol {
    int number = 0;
    std::string name;
    std::vector<ObjectRec> pieces;
    double lx = 0, ly = 0, hx = 0, hy = 0;
    bool any = false;
    void widen(double x, double y) {
        if (!any) {
            lx = hx = x;
            ly = hy = y;
            any = true;
        }
        lx = std::min(lx, x);
        hx = std::max(hx, x);
        ly = std::min(ly, y);
        hy = std::max(hy, y);
    }
};

ObjectRec object(int kind, double x, double y) {
    ObjectRec r{};
    set_rec_u16(r, o_word0, live_object_word);
    set_obj_kind_colour(r, kind, 0);
    r.b[obj::level] = 1;
    r.b[obj::width] = 1;
    r.b[obj::style] = 1;
    set_rec_f64(r, obj::ref_x, x);
    set_rec_f64(r, obj::ref_y, y);
    return r;
}

// An arc's extents: its ends and every quarter point it passes.
void arc_extents(Symbol& s, double cx, double cy, double r, double from, double to) {
    while (to <= from) to += 360;
    s.widen(cx + r * std::cos(from * deg), cy + r * std::sin(from * deg));
    s.widen(cx + r * std::cos(to * deg), cy + r * std::sin(to * deg));
    for (double q = std::ceil(from / 90) * 90; q <= to; q += 90)
        s.widen(cx + r * std::cos(q * deg), cy + r * std::sin(q * deg));
}

bool fail(const std::string& file, int line, const std::string& what) {
    std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), line, what.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_libraries <description.txt> <library file>\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::filesystem::path target = argv[2];
    std::ifstream in(source);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", source.c_str());
        return 1;
    }
    std::string libname;
    int slots = 0, rows = 0, cols = 0, units = 0;
    std::vector<Symbol> symbols;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::string word;
        if (!(words >> word)) continue;
        double a = 0, b = 0, c = 0, d = 0, e = 0;
        if (word == "library") {
            std::string k1, k2, k3, k4;
            if (!(words >> libname >> k1 >> slots >> k2 >> rows >> k3 >> cols >> k4 >> units) || slots < 1 ||
                slots > 1000 || rows < 1 || rows > lib_max_grid || cols < 1 || cols > lib_max_grid)
                return fail(source, line, "bad library line") ? 0 : 1;
        } else if (word == "symbol") {
            Symbol s;
            if (!(words >> s.number >> s.name) || s.number < 1 || s.number > slots)
                return fail(source, line, "bad symbol line") ? 0 : 1;
            symbols.push_back(s);
        } else if (symbols.empty()) {
            return fail(source, line, "a piece before the first symbol") ? 0 : 1;
        } else if (word == "line" && words >> a >> b >> c >> d) {
            ObjectRec r = object(ok_line, a, b);
            set_rec_f64(r, line::dx, c - a);
            set_rec_f64(r, line::dy, d - b);
            symbols.back().pieces.push_back(r);
            symbols.back().widen(a, b);
            symbols.back().widen(c, d);
        } else if (word == "rect" && words >> a >> b >> c >> d) {
            ObjectRec r = object(ok_rect, a, b);
            set_rec_f64(r, rect::width, c);
            set_rec_f64(r, rect::height, d);
            symbols.back().pieces.push_back(r);
            symbols.back().widen(a, b);
            symbols.back().widen(a + c, b + d);
        } else if (word == "circle" && words >> a >> b >> c) {
            ObjectRec r = object(ok_ellipse, a, b);
            set_rec_f64(r, ell::radius1, c);
            set_rec_f64(r, ell::radius2, c);
            set_rec_u16(r, ell::flags, ell::clockwise);
            symbols.back().pieces.push_back(r);
            symbols.back().widen(a - c, b - c);
            symbols.back().widen(a + c, b + c);
        } else if (word == "arc" && words >> a >> b >> c >> d >> e) {
            ObjectRec r = object(ok_ellipse, a, b);
            set_rec_f64(r, ell::radius1, c);
            set_rec_f64(r, ell::radius2, c);
            set_rec_f64(r, ell::begin, std::fmod(d + 360, 360) * deg);
            set_rec_f64(r, ell::end, std::fmod(e + 360, 360) * deg);
            symbols.back().pieces.push_back(r);
            arc_extents(symbols.back(), a, b, c, d, e);
        } else {
            return fail(source, line, "cannot read: " + text) ? 0 : 1;
        }
    }
    if (libname.empty()) return fail(source, 0, "no library line") ? 0 : 1;

    // A fresh file every time, whatever an earlier build left.
    std::filesystem::remove(target);
    FSRef made;
    const std::string file = target.filename().string();
    if (!FSRef_CreateMyFile(FSRef{target.parent_path()}, file.c_str(), 0, four_cc("DRAV"), four_cc("2DL "), &made) ||
        !FSRef_init_library(made, 0, static_cast<std::int16_t>(slots), 1)) {
        std::fprintf(stderr, "%s: cannot be made\n", target.c_str());
        return 1;
    }
    set_libsize(made, static_cast<std::int16_t>(rows), static_cast<std::int16_t>(cols));
    std::int16_t fork = 0;
    if (FSRef_OpenMyFileWithPermission(made, fsRdWrPerm, &fork) != plat::noErr) return 1;
    SymbolUnits su;
    su.code = static_cast<std::int16_t>(units);
    su.real_unit = static_cast<std::int16_t>(units);
    for (const Symbol& s : symbols) {
        if (s.pieces.empty()) continue;
        if (lib_put_symbol(fork, static_cast<std::int16_t>(s.number - 1), s.pieces, s.lx, s.ly, s.hx, s.hy,
                           libname.c_str(), s.name.c_str(), su) != PutSymbol::written) {
            std::fprintf(stderr, "%s: symbol %d could not be written\n", target.c_str(), s.number);
            FSRef_CloseMyFile(&fork);
            return 1;
        }
    }
    FSRef_CloseMyFile(&fork);
    return 0;
}
