#include "display/line_styles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/paths.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "store/files.h"
#include "store/geometry.h"

namespace drav {

std::int16_t solidstyle = 1;
std::int16_t dottedstyle = 8;

LineStkRec** toplstk = nullptr;
std::int16_t numstyles = 64;
std::uint16_t patopen = 0;
std::uint16_t sw_plotter = 0;
std::uint16_t swnumstyles = 0;
double lpatlen = 1.0;
double scrnfactor = 1.0;
double pltfactor = 1.0;
double sclpatlen = 1.0;
LineStkRec** lpatlist = nullptr;
LineStkRec* lpathead = nullptr;
LineStkRec* curlpat = nullptr;
double leftover = 0;
double linedist = 0;
double ux = 1, uy = 0;
double x_current = 0, y_current = 0, x_final = 0, y_final = 0;
double unitdist = 0;
int pieces_cut = 0;
double toosmall_xm = 0, toosmall_ym = 0, toosmall_unit = 0;

namespace {

constexpr int table_size = 64;
constexpr std::uint16_t no_more_lines = 0xFFFF;
// A dash longer than this (drawing units) is taken for a damaged file.
constexpr double longest_element = 1e6;
// A line holds at most 40 tokens of two characters.
constexpr int max_elements = line_styles_line / 2;
// Rings are walked at most this far, whatever a caller hands over.
constexpr int max_ring_walk = 1 << 16;

// The whole token is a number.
bool whole_long(const char* s, long* v) {
    if (!*s) return false;
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(s, &end, 10);
    if (end == s || *end || errno == ERANGE) return false;
    *v = n;
    return true;
}

bool element_length(const char* s, double* v) {
    if (!*s) return false;
    char* end = nullptr;
    errno = 0;
    const double d = std::strtod(s, &end);
    if (end == s || *end || errno == ERANGE || !std::isfinite(d) || d < 0 || d > longest_element)
        return false;
    *v = d;
    return true;
}

void free_ring(LineStkRec* head) {
    LineStkRec* e = head;
    for (int i = 0; e && i < max_ring_walk; ++i) {
        LineStkRec* next = e->next;
        delete e;
        if (next == head) break;
        e = next;
    }
}

// A line whose number is out of range or taken adds nothing; a line with a
// token that is no length, or whose pattern has no length at all, is refused
// whole, so a later line may still define that style.
void add_style_line(char* line) {
    char token[line_styles_line + 1];
    if (std::sscanf(line, "%80s", token) != 1) return;
    long n = 0;
    if (!whole_long(token, &n) || n < 2 || n >= numstyles || toplstk[n]) return;
    remparam(line, token);

    double lengths[max_elements];
    int count = 0;
    double period = 0;
    while (std::sscanf(line, "%80s", token) == 1) {
        double v = 0;
        if (count == max_elements || !element_length(token + 1, &v)) return;
        lengths[count++] = (token[0] == 'm' || token[0] == 'M') ? -v : v;
        period += v;
        remparam(line, token);
    }
    // A pattern without length could never move the pen on.
    if (count == 0 || !(period > small_tol)) return;

    LineStkRec* head = nullptr;
    LineStkRec* last = nullptr;
    for (int i = 0; i < count; ++i) {
        auto* e = new (std::nothrow) LineStkRec{lengths[i], nullptr};
        if (!e) {
            if (last) last->next = head;
            free_ring(head);
            patopen = 0;
            return;
        }
        if (last)
            last->next = e;
        else
            head = e;
        last = e;
    }
    last->next = head;
    toplstk[n] = head;
}

// The ring's element lengths at the scale in force, worked out when the
// scale changed since they last were.
void scale_ring(LineStkRec* ring) {
    LineStkRec* e = ring;
    for (int i = 0; e && i < max_ring_walk; ++i) {
        e->scaled = std::fabs(sclpatlen * e->length);
        e->scale = sclpatlen;
        e = e->next;
        if (e == ring) break;
    }
}

double scaled_length(LineStkRec* e) {
    if (e->scale != sclpatlen) scale_ring(e);
    return e->scaled;
}

}  // namespace

void openlinstk() {
    closelinstk();
    numstyles = table_size;
    swnumstyles = 0;
    patopen = 1;
    sw_plotter = 1;
    sclpatlen = scrnfactor = pltfactor = lpatlen = 1.0;
    toplstk = new (std::nothrow) LineStkRec*[table_size]();
    if (!toplstk) {
        patopen = 0;
        return;
    }
    lpatlist = &toplstk[0];

    std::int16_t fork = 0;
    const FSRef file{UserAppSupportFSRef.path / line_styles_file};
    if (UserAppSupportFSRef.path.empty() ||
        FSRef_OpenMyFileWithPermission(file, fsRdPerm, &fork) != plat::noErr) {
        closelinstk();
        return;
    }
    char line[line_styles_line + 1];
    while (patopen) {
        const std::uint16_t n = FSRef_getln(fork, line, line_styles_line, 0);
        if (n == no_more_lines || n <= 1) break;
        ++swnumstyles;
        add_style_line(line);
    }
    if (!patopen) closelinstk();
    FSRef_CloseMyFile(&fork);
}

void closelinstk() {
    if (toplstk) {
        for (int i = 2; i < table_size; ++i) free_ring(toplstk[i]);
        delete[] toplstk;
        toplstk = nullptr;
    }
    patopen = 0;
    lpatlist = nullptr;
    lpathead = curlpat = nullptr;
    leftover = 0;
}

void setlstyle(std::int16_t n) {
    sclpatlen = scrnfactor * lpatlen;
    if (patopen) {
        setlinestyle(1);
        resetlinstk(n);
    }
}

void pltlstyle(std::int16_t n) {
    sclpatlen = pltfactor * lpatlen;
    if (patopen) {
        // TODO(pltlinestyle) the plot path's own dash pattern becomes solid
        resetlinstk(n);
    }
}

void resetlinstk(std::int16_t n) {
    if (!patopen || !toplstk) return;
    if (n < 1) n = 1;
    // The table ends at 64 though the record's byte goes to 255: solid.
    if (n >= numstyles || n >= table_size) n = 1;
    lpatlist = &toplstk[n];
    curlpat = lpathead = *lpatlist;
    leftover = 0;
}

std::int16_t pattern_toosmall_anew() {
    if (!curpat_avail(0) || !curlpat) return 1;
    // The pixel length of a world unit changes only with the view.
    if (wvxm != toosmall_xm || wvym != toosmall_ym) {
        toosmall_xm = wvxm;
        toosmall_ym = wvym;
        double x0 = 0, y0 = 0, x1 = 1, y1 = 0;
        world_screen(&x0, &y0);
        world_screen(&x1, &y1);
        toosmall_unit = distance(x1 - x0, y1 - y0);
    }
    return toosmall_unit * scaled_length(curlpat) < 1.0;
}

void startlinstk(double x1, double y1, double x2, double y2) {
    linedist = distance(x2 - x1, y2 - y1);
    if (linedist != 0) {
        ux = (x2 - x1) / linedist;
        uy = (y2 - y1) / linedist;
    }
    x_current = x1;
    y_current = y1;
    x_final = x2;
    y_final = y2;
    pieces_cut = 0;
}

std::int16_t getlinstk(double* x1, double* y1, double* x2, double* y2, std::int16_t* pendown) {
    if (!(std::fabs(linedist) > small_tol)) return 0;
    *x1 = x_current;
    *y1 = y_current;
    *x2 = x_final;
    *y2 = y_final;
    // Without a pattern, or cut into too many pieces already, the rest is
    // one solid piece: a segment can never keep the loop going.
    if (!curlpat || ++pieces_cut > max_pieces_per_segment) {
        *pendown = 1;
        linedist = 0;
        leftover = 0;
        return 1;
    }
    const bool carried = leftover >= small_tol;
    double piece = leftover;
    if (!carried) piece = unitdist = scaled_length(curlpat);
    *pendown = std::signbit(curlpat->length) ? 0 : 1;
    if (piece < linedist) {
        x_current += piece * ux;
        y_current += piece * uy;
        *x2 = x_current;
        *y2 = y_current;
        linedist -= piece;
        if (carried) leftover = 0;
        curlpat = curlpat->next;
        return 1;
    }
    leftover = piece - linedist;
    linedist = 0;
    // An element that ends with the segment is done: the next segment
    // starts the following one instead of repeating it.
    if (!(leftover >= small_tol)) {
        leftover = 0;
        curlpat = curlpat->next;
    }
    return 1;
}

int getlinstk_down(double* xy, int max) {
    // getlinstk's steps with the cutter's state held in locals: the same
    // pieces, the same arithmetic, the same state left behind.
    // A ring is scaled whole: one look serves every element met below.
    if (curlpat && curlpat->scale != sclpatlen) scale_ring(curlpat);
    DashCut s{curlpat, linedist, leftover, unitdist, pieces_cut};
    double xc = x_current, yc = y_current;
    int n = 0;
    while (n < max && std::fabs(s.dist) > small_tol) {
        double* out = xy + 4 * n;
        out[0] = xc;
        out[1] = yc;
        out[2] = x_final;
        out[3] = y_final;
        double piece = 0;
        bool down = true;
        if (cut_piece(s, &piece, &down)) {
            xc += piece * ux;
            yc += piece * uy;
            out[2] = xc;
            out[3] = yc;
        }
        if (down) ++n;
    }
    curlpat = s.pat;
    linedist = s.dist;
    leftover = s.left;
    unitdist = s.unit;
    pieces_cut = s.cut;
    x_current = xc;
    y_current = yc;
    return n;
}

void resethatpat(LineStkRec* ring, double offset) {
    lpathead = curlpat = ring;
    sclpatlen = scrnfactor * lpatlen;
    leftover = 0;
    if (!ring) return;
    double period = 0;
    const LineStkRec* e = ring;
    for (int i = 0; i < max_ring_walk; ++i) {
        period += sclpatlen * std::fabs(e->length);
        e = e->next;
        if (!e || e == ring) break;
    }
    // A period of nothing has no phase to place.
    if (!(period > small_tol) || !std::isfinite(offset)) return;
    double r = std::fmod(offset, period);
    if (r < 0) r += period;
    for (int i = 0; i < 2 * max_ring_walk && curlpat; ++i) {
        const double len = sclpatlen * std::fabs(curlpat->length);
        if (r - len < -small_tol) break;
        r -= len;
        curlpat = curlpat->next;
    }
    if (curlpat && r >= small_tol) leftover = sclpatlen * std::fabs(curlpat->length) - r;
}

void setlpatlen(double len) { lpatlen = (len > small_tol && std::isfinite(len)) ? len : 1.0; }

void setlpatscale(double f) { scrnfactor = f; }

void pltlpatscale(double f) { pltfactor = f; }

void remparam(char* line, const char* token) {
    std::size_t lead = 0;
    while (line[lead] == ' ') ++lead;
    std::size_t n = std::strlen(line + lead);
    const std::size_t cut = std::min(std::strlen(token), n);
    std::memmove(line, line + lead + cut, n - cut + 1);
}

}  // namespace drav
