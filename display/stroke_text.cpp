#include "display/stroke_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/paths.h"
#include "display/clip_tests.h"
#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "platform/core/files.h"
#include "platform/core/memory.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/strings.h"

namespace drav {

std::uint8_t* stkindex = nullptr;
std::uint8_t* stkstrokes = nullptr;
std::int16_t maxstks = 0;
std::int16_t stkvalid = 0;
const std::uint8_t* stk = nullptr;
std::int16_t oldfont = 0;
std::int16_t plotfont = 0;
std::int16_t hardwarefont = 0;
char currentfontname[stk_name_size] = {};
std::int16_t usenofont = 0;
char fontlistname[stk_name_size] = {};
std::int16_t fontvrefnum = 0;
std::int32_t fontDirID = 0;
std::int16_t fontlistvrefnum = 0;
std::int32_t fontListDirID = 0;

namespace {

constexpr const char* font_list_file = "DRAVfonts.txt";
constexpr int index_bytes = 512;
constexpr int index_entries = 256;
constexpr int stroke_bytes = 4;
constexpr int line_max = 256;
// The largest stroke count whose block size still fits 16 bits.
constexpr int stk_max_strokes = 16383;
constexpr std::uint16_t line_end_of_file = 65535;  // FSRef_getln: nothing more to read

// Drawn for any character the loaded font does not define: a square
// question mark, dot first.
constexpr std::uint8_t question_mark[] = {
    0x80, 0x14, 0x00, 0x00,  // up (20, 0)
    0x00, 0x00, 0x00, 0x08,  // (0, 8)
    0x80, 0x00, 0x00, 0x08,  // up (0, 8)
    0x00, 0x00, 0x00, 0x10,  // (0, 16)
    0x00, 0x14, 0x00, 0x00,  // (20, 0)
    0x00, 0x00, 0x00, 0x1C,  // (0, 28)
    0x40, 0x28, 0x00, 0x00,  // (-40, 0)
};
constexpr std::int16_t question_mark_strokes = sizeof question_mark / stroke_bytes;

// End of the strokes `stk` may decode: the selected character's, never past
// its block.
const std::uint8_t* stk_end = nullptr;

void copy_name(char* to, const char* from) {
    if (to) strnncpy(to, from, stk_name_size - 1);
}

// A file of the program's folder, opened for reading; 0 when it cannot be.
std::int16_t open_in_program_folder(const char* name) {
    if (!UserAppSupportFSRef.valid()) return 0;
    std::int16_t ref = 0;
    const std::int32_t dir = plat::folder_id(UserAppSupportFSRef.path);
    if (OpenMyFileWithPermission(plat::the_volume, dir, name, fsRdPerm, &ref) != plat::noErr)
        return 0;
    return ref > 0 ? ref : 0;
}

// The font number of a list line, as "%hd" reads it; a number outside the
// 16-bit range is not taken.
bool line_number(const char* line, std::int16_t* number) {
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(line, &end, 10);
    if (end == line || errno == ERANGE || v < INT16_MIN || v > INT16_MAX) return false;
    *number = static_cast<std::int16_t>(v);
    return true;
}

std::int16_t index_entry(int c) { return static_cast<std::int16_t>(be_u16(stkindex + 2 * c)); }

void select_question_mark(std::int16_t* count) {
    *count = question_mark_strokes;
    stk = question_mark;
    stk_end = question_mark + sizeof question_mark;
}

}  // namespace

// ---- Facade ----

std::int16_t stk_xsize() { return eng_stk_xsize(); }
std::int16_t stk_ysize() { return eng_stk_ysize(); }
void startstk(const char* text, std::int16_t* pos, std::int16_t* count) { eng_startstk(text, pos, count); }
void getstk(double* dx, double* dy, std::int16_t* penup) { eng_getstk(dx, dy, penup); }
std::int16_t loadfont(std::int16_t font, std::int16_t plot, std::int16_t* hardware, char* name) {
    return eng_loadfont(font, plot, hardware, name);
}
void closestk() { eng_closestk(); }
std::int16_t getfontnames(std::int16_t font, char* screenname, char* plotname) {
    return eng_getfontnames(font, screenname, plotname);
}
void openfontlist(const char* name, std::int16_t volume, std::int32_t folder) {
    eng_openfontlist(name, volume, folder);
}

// ---- The engine ----

std::int16_t eng_stk_xsize() { return stk_cell_width; }
std::int16_t eng_stk_ysize() { return stk_cell_height; }

void eng_startstk(const char* text, std::int16_t* pos, std::int16_t* count) {
    select_question_mark(count);
    const int c = *pos >= 0 ? static_cast<std::uint8_t>(text[*pos]) : 0;
    ++*pos;
    // Character 255 has no end entry inside the index.
    if (!stkvalid || c == 0 || c == index_entries - 1) return;
    const int a = index_entry(c), b = index_entry(c + 1);
    // A reversed range is as broken as one outside the file.
    if (a >= 0 && a <= maxstks && b >= 0 && b <= maxstks && b > a) {
        *count = static_cast<std::int16_t>(b - a);
        stk = stkstrokes + stroke_bytes * a;
        stk_end = stkstrokes + stroke_bytes * b;
        return;
    }
    if (c == ' ' && a == b) *count = 0;
}

void eng_getstk(double* dx, double* dy, std::int16_t* penup) {
    // Past the selected strokes: a pen-up move of nothing.
    if (!stk || stk + stroke_bytes > stk_end) {
        *dx = *dy = 0;
        *penup = 1;
        return;
    }
    const std::uint16_t x = be_u16(stk), y = be_u16(stk + 2);
    *penup = (x & 0x8000) ? 1 : 0;
    *dx = (x & 0x4000) ? -double(x & 0x3FFF) : double(x & 0x3FFF);
    *dy = (y & 0x8000) ? -double(y & 0x7FFF) : double(y & 0x7FFF);
    stk += stroke_bytes;
}

void eng_closestk() {
    plat::raw_free(stkindex);
    plat::raw_free(stkstrokes);
    stkindex = stkstrokes = nullptr;
    maxstks = 0;
    stk = stk_end = nullptr;
    stkvalid = 0;
    oldfont = 0;
}

std::int16_t findstkstg(std::int16_t font, char* line) {
    line[0] = '\0';
    if (usenofont) return 0;
    std::int16_t ref = open_in_program_folder(font_list_file);
    if (!ref) {
        usenofont = 1;
        return 0;
    }
    std::int16_t number = -1;
    std::int16_t found = 0;
    while (FSRef_getln(ref, line, line_max, 0) != line_end_of_file) {
        line_number(line, &number);
        if (number == font) {
            found = 1;
            break;
        }
    }
    FSRef_CloseMyFile(&ref);
    return found;
}

std::int16_t lookupstk(std::int16_t font, std::int16_t plot, std::int16_t* hardware, char* name) {
    hardwarefont = 0;
    copy_name(name, "");
    char line[line_max + 1];
    if (!findstkstg(font, line)) return 0;
    char flag[line_max + 1] = {}, file[line_max + 1] = {};
    const int got = plot ? std::sscanf(line, "%*d%*s%*s%256s%256s", flag, file)
                         : std::sscanf(line, "%*d%256s%256s", flag, file);
    if (got >= 1) hardwarefont = flag[0] == 'h' ? 1 : 0;
    if (hardware) *hardware = hardwarefont;
    if (got < 2) return 0;
    copy_name(name, file);
    return 1;
}

std::int16_t openstk(const char* name) {
    stkvalid = 0;
    std::int16_t ref = open_in_program_folder(name);
    if (!ref) return 0;
    std::int64_t size = 0, got = 0;
    std::uint8_t* index = nullptr;
    std::uint8_t* strokes = nullptr;
    bool ok = plat::get_eof(ref, &size) == plat::noErr && size >= index_bytes;
    if (ok) index = static_cast<std::uint8_t*>(plat::raw_alloc(index_bytes));
    ok = ok && index && plat::read_at(ref, 0, index, index_bytes, &got) == plat::noErr &&
         got == index_bytes;
    // A file that does not hold the strokes its count promises would be read
    // past its end; it counts as missing.
    const std::int64_t n = ok ? static_cast<std::int16_t>(be_u16(index)) : -1;
    ok = ok && n >= 0 && n <= stk_max_strokes && size >= index_bytes + stroke_bytes * n;
    const std::int64_t bytes = stroke_bytes * n;
    if (ok) strokes = static_cast<std::uint8_t*>(plat::raw_alloc(bytes > 0 ? std::size_t(bytes) : 1));
    ok = ok && strokes &&
         (bytes == 0 ||
          (plat::read_at(ref, index_bytes, strokes, bytes, &got) == plat::noErr && got == bytes));
    FSRef_CloseMyFile(&ref);
    if (!ok) {
        plat::raw_free(index);
        plat::raw_free(strokes);
        return 0;
    }
    stkindex = index;
    stkstrokes = strokes;
    maxstks = static_cast<std::int16_t>(n);
    stkvalid = 1;
    return 1;
}

std::int16_t eng_loadfont(std::int16_t font, std::int16_t plot, std::int16_t* hardware, char* name) {
    if (oldfont != font || plotfont != plot) {
        eng_closestk();
        if (lookupstk(font, plot, nullptr, currentfontname)) {
            oldfont = font;
            plotfont = plot;
            if (!hardwarefont) openstk(currentfontname);
        } else {
            stkvalid = 0;
        }
    }
    if (hardware) *hardware = hardwarefont;
    copy_name(name, currentfontname);
    return oldfont != font ? 1 : 0;
}

std::int16_t eng_getfontnames(std::int16_t font, char* screenname, char* plotname) {
    copy_name(screenname, "");
    copy_name(plotname, "");
    char line[line_max + 1];
    if (!findstkstg(font, line)) return 0;
    char screen[line_max + 1] = {}, plot[line_max + 1] = {};
    if (std::sscanf(line, "%*d%*s%256s%*s%256s", screen, plot) != 2) return 0;
    copy_name(screenname, screen);
    copy_name(plotname, plot);
    return 1;
}

void eng_openfontlist(const char* name, std::int16_t volume, std::int32_t folder) {
    copy_name(fontlistname, name ? name : "");
    fontvrefnum = fontlistvrefnum = volume;
    fontDirID = fontListDirID = folder;
}

// ---- The two-byte-script engine ----

std::int16_t jpn_stk_xsize() { return 0; }
std::int16_t jpn_stk_ysize() { return 0; }
void jpn_startstk(const char*, std::int16_t*, std::int16_t*) {}
void jpn_getstk(double*, double*, std::int16_t*) {}
std::int16_t jpn_loadfont(std::int16_t, std::int16_t, std::int16_t*, char*) { return 0; }
void jpn_closestk() {}
std::int16_t jpn_getfontnames(std::int16_t, char*, char*) { return 0; }
void jpn_openfontlist(const char*, std::int16_t, std::int32_t) {}
std::int16_t subr1() { return 1; }
std::int16_t subr2() { return 1; }
std::int16_t subr3() { return 1; }
std::int16_t subr4() { return 1; }
std::int16_t subr5() { return 0; }
std::int16_t subr6() { return 0; }
std::int16_t subr7() { return 0; }
std::int16_t subr8() { return 0; }

// ---- Text objects ----

void draw_text(std::int16_t mode, std::int16_t stroke) {
    const double w = rec_f32(sinfo, text::char_width);
    const double h = rec_f32(sinfo, text::char_height);
    double t = rec_f64(sinfo, obj::rotation);
    double x0 = rec_f64(sinfo, obj::ref_x);
    double y0 = rec_f64(sinfo, obj::ref_y);
    const auto font = static_cast<std::int16_t>(text_font(sinfo));
    // `textline` is outside data to this routine: never read past its end.
    char text[textline_size + 1];
    std::memcpy(text, textline, textline_size);
    text[textline_size] = '\0';
    const auto bytes = static_cast<std::int16_t>(std::strlen(text));
    const int n = chr_len(text);
    const double len = w * (1.5 * n - 0.5);

    if (std::fabs(t) < small_tol)
        save_clip = static_cast<std::uint16_t>(fast_clip(x0, x0 + len, y0, y0 + h));
    else
        save_clip = static_cast<std::uint16_t>(clip_area(1, len / 2, h / 2));
    if (!((mode != 0 && save_clip) || stroke > 1 || listing)) return;

    double c = 1, s = 0;
    if (t != 0) {
        if ((swaper & sw_text_upright) && t > half_pie && t <= three_half_pie) {
            double dx, dy;
            rotate_cr(len, h, &dx, &dy, t);
            x0 += dx;
            y0 += dy;
            t = adjust_rotation(t + pie);
        }
        c = std::cos(t);
        s = std::sin(t);
    }
    const double ax = 1.5 * w * c, ay = 1.5 * w * s;

    if (!(swaper & sw_stroke_text) || stroke > 1) {
        if (n <= 0) return;
        move_abs(x0, y0);
        line_rel(len * c, len * s);
        move_abs(x0 - h * s, y0 + h * c);
        line_rel(len * c, len * s);
        if (stroke > 1) {
            move_abs(x0, y0);
            line_abs(x0 - h * s, y0 + h * c);
            move_abs(x0 + len * c, y0 + len * s);
            line_rel(-h * s, h * c);
        }
        return;
    }

    std::int16_t hardware = 0;
    loadfont(font, 0, &hardware, nullptr);
    const double sx = w / stk_xsize(), sy = h / stk_ysize();
    for (std::int16_t i = 0; i < bytes;) {
        move_abs(x0, y0);
        std::int16_t count = 0;
        startstk(text, &i, &count);
        for (std::int16_t k = 0; k < count; ++k) {
            double dx, dy;
            std::int16_t penup;
            getstk(&dx, &dy, &penup);
            dx *= sx;
            dy *= sy;
            if (t != 0) {
                const double rx = dx * c - dy * s;
                dy = dx * s + dy * c;
                dx = rx;
            }
            if (penup)
                move_rel(dx, dy);
            else
                line_rel(dx, dy);
        }
        x0 += ax;
        y0 += ay;
    }
}

}  // namespace drav
