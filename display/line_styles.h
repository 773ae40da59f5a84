// Line styles: dash patterns 2-63 read from "DRAVstyles.txt" in the
// program's data folder, one ring of dash elements per style, and the
// engine that cuts straight segments into pen-down and pen-up pieces,
// carrying an unfinished dash over to the next segment so that a polyline's
// pattern runs on round its corners. Every other style draws solid.
#pragma once

#include <cmath>
#include <cstdint>

#include "display/graphics_unit.h"
#include "store/geometry.h"

namespace drav {

// One dash element: a length in drawing units, pen down when 0 or more,
// pen up (a gap) when negative. A style's elements link into a ring.
struct LineStkRec {
    double length;
    LineStkRec* next;
    // |length| at the scale `scale`, worked out once per change of scale for
    // the whole ring; scale 0: not yet.
    double scaled = 0;
    double scale = 0;
};

constexpr const char* line_styles_file = "DRAVstyles.txt";
constexpr int line_styles_line = 80;  // characters read at a time
// Pieces one segment may be cut into; the rest of a longer one draws solid.
constexpr int max_pieces_per_segment = 65536;

extern std::int16_t solidstyle;   // 1
extern std::int16_t dottedstyle;  // 8: templates and guides

extern LineStkRec** toplstk;       // 64 entries: first element of each style, or none
extern std::int16_t numstyles;     // 64
extern std::uint16_t patopen;      // the file was read; 0: everything solid
extern std::uint16_t sw_plotter;   // patterns are used for plotting too
extern std::uint16_t swnumstyles;  // lines read from the file
extern double lpatlen;             // the drawing's line-style scale
extern double scrnfactor;          // screen factor
extern double pltfactor;           // plot factor
extern double sclpatlen;           // scale in force
extern LineStkRec** lpatlist;      // table entry of the current style
extern LineStkRec* lpathead;       // its first element
extern LineStkRec* curlpat;        // the element being cut
extern double leftover;            // rest of `curlpat` carried over (scaled); 0 afresh
extern double linedist;            // rest of the current segment
extern double ux, uy;              // its unit direction
extern double x_current, y_current, x_final, y_final;
extern double unitdist;            // scaled length of `curlpat` started afresh
extern int pieces_cut;             // pieces of the current segment so far

// Reads the file; without it, or with too little memory, every style is solid.
void openlinstk();
void closelinstk();
// Selects style n for the screen, restarting its pattern.
void setlstyle(std::int16_t n);
// Selects style n for plotting.
void pltlstyle(std::int16_t n);
void resetlinstk(std::int16_t n);
// 1 when the current style has a pattern to cut (for plotting when plot is
// non-zero); 0: draw solid.
// Inline: every line drawn asks it.
inline std::int16_t curpat_avail(std::int16_t plot) {
    if (!patopen || (plot && !sw_plotter) || !lpatlist || !*lpatlist) return 0;
    return 1;
}
// The view pattern_toosmall last measured a world unit at (wvxm, wvym), and
// that unit's length in pixels.
extern double toosmall_xm, toosmall_ym, toosmall_unit;
// pattern_toosmall after a change of view or of scale.
std::int16_t pattern_toosmall_anew();
// 1 when no pattern is available for the screen or its current element is
// below one pixel.
// Inline: every dashed line asks it, and mostly nothing has changed since.
inline std::int16_t pattern_toosmall() {
    if (!curpat_avail(0) || !curlpat) return 1;
    if (wvxm != toosmall_xm || wvym != toosmall_ym || curlpat->scale != sclpatlen) [[unlikely]]
        return pattern_toosmall_anew();
    return toosmall_unit * curlpat->scaled < 1.0;
}
void startlinstk(double x1, double y1, double x2, double y2);
// The next piece of the segment; 0 when it is used up.
std::int16_t getlinstk(double* x1, double* y1, double* x2, double* y2, std::int16_t* pendown);
// The cutter's state held in locals by the loops that cut many pieces.
struct DashCut {
    LineStkRec* pat;
    double dist, left, unit;
    int cut;
};
// getlinstk's step on a ring scaled to the scale in force: true when the
// piece ends inside the segment, *piece along it from the start; false when
// it runs to the segment's end. *down: the pen is down for it.
[[gnu::always_inline]] inline bool cut_piece(DashCut& s, double* piece, bool* down) {
    *down = true;
    // Without a pattern, or cut into too many pieces already, the rest is
    // one solid piece.
    if (!s.pat || ++s.cut > max_pieces_per_segment) {
        s.dist = 0;
        s.left = 0;
        return false;
    }
    const bool carried = s.left >= small_tol;
    double p = s.left;
    if (!carried) p = s.unit = s.pat->scaled;
    *down = !std::signbit(s.pat->length);
    if (p < s.dist) {
        s.dist -= p;
        if (carried) s.left = 0;
        s.pat = s.pat->next;
        *piece = p;
        return true;
    }
    s.left = p - s.dist;
    s.dist = 0;
    // An element that ends with the segment is done.
    if (!(s.left >= small_tol)) {
        s.left = 0;
        s.pat = s.pat->next;
    }
    return false;
}
// getlinstk run on: up to max pen-down pieces of the segment, x1 y1 x2 y2
// each into xy; pen-up pieces are passed over. 0 when the segment is used up.
int getlinstk_down(double* xy, int max);
// Starts cutting `ring` at a phase `offset` into its period (hatching).
void resethatpat(LineStkRec* ring, double offset);
void setlpatlen(double len);
void setlpatscale(double f);
void pltlpatscale(double f);
// Removes leading spaces from line, then as many characters as token has.
void remparam(char* line, const char* token);

}  // namespace drav
