// The drawing's settings, held in native structs while the program runs.
// Each field's comment gives its byte offset inside its settings structure
// as stored in the workfile's settings records; code that knows a field by
// offset uses the field whose comment carries that offset. Mode words stay
// 16-bit words; their bit fields are reached through the accessors below.
#pragma once

#include <cstdint>

namespace drav {

// Bit field of a 16-bit mode word: `width` bits starting at bit `lo`.
constexpr int get_bits(std::uint16_t word, int lo, int width) {
    return (word >> lo) & ((1 << width) - 1);
}
constexpr void put_bits(std::uint16_t& word, int lo, int width, int v) {
    const unsigned mask = ((1u << width) - 1) << lo;
    word = static_cast<std::uint16_t>((word & ~mask) | ((static_cast<unsigned>(v) << lo) & mask));
}

// A world window.
struct WindowRec {
    double xl;  // +0 x left
    double xr;  // +8 x right
    double yb;  // +16 y bottom
    double yt;  // +24 y top
};

struct GridRec {
    double x_spacing;         // +0
    double x_direction;       // +8 radians
    std::int16_t x_divisor;   // +16 display divisor
    double y_spacing;         // +18
    double y_direction;       // +26 radians
    std::int16_t y_divisor;   // +34 display divisor
};

struct UnitsRec {
    double increment;            // +0 smallest increment of typed and snapped values
    double rotation_step;        // +8 rotation increment, radians
    double symbol_scale_x;       // +16 default symbol scales
    double symbol_scale_y;       // +24
    std::int16_t coord_display;  // +32 coordinate palette: 0 absolute, 1 relative, 2 polar
    std::int16_t angle_format;   // +34 0 decimal degrees, 1 degrees-minutes-seconds, 2 bearings
    std::int16_t units_code;     // +36 drawing units code 0-11; 0 = unitless
    std::int16_t real_unit;      // +38 units code of a unitless drawing's real unit
    double unit_size;            // +40 one drawing unit in `real_unit`
    char name[8];                // +48
    char abbrev[4];              // +56 unit abbreviation, at most 3 characters
};

struct OutputRec {
    double plot_scale;               // +0 paper length in paper units per drawing unit
    std::int16_t paper_units;        // +8 units code of sizes given on paper (1 inch, 8 mm)
    std::uint16_t flags;             // +10 see the output flag accessors
    double arrow_length;             // +12
    double arrow_half_angle;         // +20 radians
    double style_length;             // +28 line-style pattern length (line-style scale)
    double width_size;               // +36 a length
    double width_factor;             // +44 a plain number
    double marker_half_size;         // +52
    double dim_mark_half_size;       // +60
    double ext_line_gap;             // +68 extension-line gap and overshoot
    double outside_marker_length;    // +76
    double dim_size_84;              // +84 a further dimension size
};

// Properties given to new objects.
struct PropsRec {
    std::uint16_t level;    // +0 its low byte is the record's level byte
    std::uint16_t colour;   // +2
    std::uint16_t pen;      // +4
    std::uint16_t density;  // +6
    std::uint16_t width;    // +8
    std::uint16_t style;    // +10 line style
    std::uint16_t group;    // +12 group number 1-999
    std::uint16_t font;     // +14 its low byte is a text's font byte
    float z_top;            // +16
    float z_bottom;         // +20
    double text_width;      // +24
    double text_height;     // +32
    double x_spacing;       // +40 text spacing
    double y_spacing;       // +48 line spacing
    char name[8];           // +56
};

// Command settings.
struct UsersRec {
    double hatch_spacing;              // +0
    double hatch_offset;               // +8
    double hatch_angle;                // +16 radians
    std::int16_t hatch_number;         // +24 given to the next hatch
    std::int16_t area_divisions;       // +26 divisions of the area scan
    std::int16_t boundary_capacity;    // +28 records a hatch boundary may use
    double fillet_radius;              // +30
    double parallel_distance;          // +38 fixed distance when above 0
    double spline_band;                // +46 band width of the spline stream mode
    double spline_step;                // +54 cursor travel between stream points
    double iso_angle;                  // +62 isometric projection angle, radians
    double wall_width;                 // +70
    double lindim_tol_lower;           // +78 tolerance values of linear dimensions
    double lindim_tol_upper;           // +86
    double angdim_tol_lower;           // +94 tolerance values of angular dimensions
    double angdim_tol_upper;           // +102
    std::int16_t lindim_format;        // +110 0 decimal, 1 inch fractions, 2 feet and inches
    std::int16_t angdim_format;        // +112 0 decimal degrees, else degrees-minutes-seconds
    std::uint16_t dim_style_bits;      // +114 see the accessors below
    std::uint16_t mlin_bits;           // +116
    std::uint16_t dim_mode_bits;       // +118
    std::uint16_t dim_tol_bits;        // +120
    std::uint16_t rddim_tol_bits;      // +122
};

struct MiscRec {
    std::int16_t input_mode;  // +0 1 absolute, 2 relative, 3 polar
    std::int16_t snap_mode;   // +2 0 fraction, 1 increment, 2 grid, 3 object, 4 crossing
    double user_origin_x;     // +4
    double user_origin_y;     // +12
    double digitizer[5];      // +20 to +52 digitizer mapping
    char tag[2];              // +60 a short string
};

constexpr int level_set_words = 16;  // levels 0-250, one bit each

extern WindowRec cur_win;   // the world window shown
extern WindowRec bse_win;   // the base window
extern GridRec grid_data;
extern UnitsRec units_defs;
extern OutputRec output_defs;
extern PropsRec props_defs;
extern UsersRec users_defs;
extern MiscRec misc_defs;
extern std::uint16_t swaper;  // the drawing's option word
extern std::uint16_t levels_visible[level_set_words];
extern std::uint16_t levels_locked[level_set_words];

// Drawing time: the total of earlier intervals, and the start of this one
// (seconds since midnight).
extern std::uint32_t total_dwg_time;
extern std::int32_t current_dwg_time;

// Makes the header record current and writes the workfile's own version and
// counts into it.
void put_header_counts();
// Stores the settings globals into workfile slots 0-6, keeping the caller's
// current record.
void write_sav_rec();
// Loads them back. A slot of the wrong kind is reported (errors 50-56) and
// gives 0, with the slots before it loaded; values that could not work are
// replaced by their start values. 1 on success.
int read_sav_rec();
// Start-up calls this once the start values are set; loaded settings that
// could not work fall back to them.
void remember_start_settings();
// Replaces values a drawing cannot work with by their start values.
void sanitize_settings();

// ---- `swaper` ----
constexpr std::uint16_t sw_midmarks = 1 << 0;          // middle markers drawn
constexpr std::uint16_t sw_templates = 1 << 1;         // template objects shown and pickable
constexpr std::uint16_t sw_grid = 1 << 2;              // grid visible
constexpr std::uint16_t sw_hatch_lines = 1 << 5;       // lines made by hatching drawn
constexpr std::uint16_t sw_blink = 1 << 6;             // the object in hand blinks
constexpr std::uint16_t sw_grid_from_origin = 1 << 7;  // grid and snapping laid from the user origin
constexpr std::uint16_t sw_symbols_expanded = 1 << 8;  // placed symbols drawn as their pieces
constexpr std::uint16_t sw_marked_pieces = 1 << 9;     // only marked symbol pieces drawn
constexpr std::uint16_t sw_text_upright = 1 << 11;     // upside-down text drawn from its other end
constexpr std::uint16_t sw_stroke_text = 1 << 12;      // text in stroke characters, else its box
constexpr std::uint16_t sw_flash_picks = 1 << 13;      // picked objects flash
constexpr std::uint16_t sw_wide_strokes = 1 << 14;     // wide lines drawn as several strokes
// 0 a small cross, else lines across the window.
inline int crosshair_style(std::uint16_t sw) { return get_bits(sw, 3, 2); }
inline void set_crosshair_style(std::uint16_t& sw, int v) { put_bits(sw, 3, 2, v); }

// ---- `output_defs.flags`: which sizes are given on paper ----
constexpr std::uint16_t of_dim_sizes_on_paper = 1 << 3;
constexpr std::uint16_t of_marker_on_paper = 1 << 4;
constexpr std::uint16_t of_arrow_on_paper = 1 << 5;
constexpr std::uint16_t of_widths_on_paper = 1 << 6;
constexpr std::uint16_t of_style_on_paper = 1 << 7;
constexpr std::uint16_t of_text_on_paper = 1 << 8;
// 1 closed.
inline int arrow_style(const OutputRec& o) { return get_bits(o.flags, 0, 3); }
inline void set_arrow_style(OutputRec& o, int v) { put_bits(o.flags, 0, 3, v); }

// ---- `users_defs` mode words ----
// +114. The fraction code is also the precision code of linear dimensions;
// 0-3 give the denominators 1, 2, 4, 8, any other value 64.
inline int fraction_code(const UsersRec& u) { return get_bits(u.dim_style_bits, 0, 3); }
inline void set_fraction_code(UsersRec& u, int v) { put_bits(u.dim_style_bits, 0, 3, v); }
inline int angdim_precision(const UsersRec& u) { return get_bits(u.dim_style_bits, 3, 3); }
inline void set_angdim_precision(UsersRec& u, int v) { put_bits(u.dim_style_bits, 3, 3, v); }
inline int lindim_marker(const UsersRec& u) { return get_bits(u.dim_style_bits, 6, 4); }
inline void set_lindim_marker(UsersRec& u, int v) { put_bits(u.dim_style_bits, 6, 4, v); }
inline int angdim_marker(const UsersRec& u) { return get_bits(u.dim_style_bits, 10, 4); }
inline void set_angdim_marker(UsersRec& u, int v) { put_bits(u.dim_style_bits, 10, 4, v); }
inline int lindim_breaks(const UsersRec& u) { return get_bits(u.dim_style_bits, 14, 1); }
inline void set_lindim_breaks(UsersRec& u, int v) { put_bits(u.dim_style_bits, 14, 1, v); }
inline int angdim_breaks(const UsersRec& u) { return get_bits(u.dim_style_bits, 15, 1); }
inline void set_angdim_breaks(UsersRec& u, int v) { put_bits(u.dim_style_bits, 15, 1, v); }

// +116. Bits 5-4 are unused; bit 1 is kept as it stands.
inline int lindim_on_line(const UsersRec& u) { return get_bits(u.mlin_bits, 0, 1); }
inline void set_lindim_on_line(UsersRec& u, int v) { put_bits(u.mlin_bits, 0, 1, v); }
inline int mlin_bit1(const UsersRec& u) { return get_bits(u.mlin_bits, 1, 1); }
inline void set_mlin_bit1(UsersRec& u, int v) { put_bits(u.mlin_bits, 1, 1, v); }
inline int lindim_centred(const UsersRec& u) { return get_bits(u.mlin_bits, 2, 1); }
inline void set_lindim_centred(UsersRec& u, int v) { put_bits(u.mlin_bits, 2, 1, v); }
inline int angdim_centred(const UsersRec& u) { return get_bits(u.mlin_bits, 3, 1); }
inline void set_angdim_centred(UsersRec& u, int v) { put_bits(u.mlin_bits, 3, 1, v); }
inline int mlin_count(const UsersRec& u) { return get_bits(u.mlin_bits, 6, 8); }
inline void set_mlin_count(UsersRec& u, int v) { put_bits(u.mlin_bits, 6, 8, v); }
inline int mlin_cut(const UsersRec& u) { return get_bits(u.mlin_bits, 14, 1); }
inline void set_mlin_cut(UsersRec& u, int v) { put_bits(u.mlin_bits, 14, 1, v); }
inline int mlin_spacing(const UsersRec& u) { return get_bits(u.mlin_bits, 15, 1); }
inline void set_mlin_spacing(UsersRec& u, int v) { put_bits(u.mlin_bits, 15, 1, v); }

// +118. Bits 14 and 15 are kept as they stand.
inline int rdim_leader_arrow(const UsersRec& u) { return get_bits(u.dim_mode_bits, 0, 1); }
inline void set_rdim_leader_arrow(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 0, 1, v); }
inline int lindim_outside(const UsersRec& u) { return get_bits(u.dim_mode_bits, 1, 1); }
inline void set_lindim_outside(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 1, 1, v); }
inline int angdim_outside(const UsersRec& u) { return get_bits(u.dim_mode_bits, 2, 1); }
inline void set_angdim_outside(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 2, 1, v); }
inline int lindim_points(const UsersRec& u) { return get_bits(u.dim_mode_bits, 3, 1); }
inline void set_lindim_points(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 3, 1, v); }
inline int angdim_points(const UsersRec& u) { return get_bits(u.dim_mode_bits, 4, 1); }
inline void set_angdim_points(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 4, 1, v); }
inline int rdim_diameter(const UsersRec& u) { return get_bits(u.dim_mode_bits, 5, 1); }
inline void set_rdim_diameter(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 5, 1, v); }
// 0 single, 1 baseline, 2 chain, 3 none after the first.
inline int lindim_series(const UsersRec& u) { return get_bits(u.dim_mode_bits, 6, 2); }
inline void set_lindim_series(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 6, 2, v); }
inline int angdim_series(const UsersRec& u) { return get_bits(u.dim_mode_bits, 8, 2); }
inline void set_angdim_series(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 8, 2, v); }
// 0 aligned, 1 horizontal, 2 vertical, 3 rotated.
inline int lindim_direction(const UsersRec& u) { return get_bits(u.dim_mode_bits, 10, 2); }
inline void set_lindim_direction(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 10, 2, v); }
// 1 the outer angle, 0 the inner one.
inline int angdim_outer(const UsersRec& u) { return get_bits(u.dim_mode_bits, 12, 2); }
inline void set_angdim_outer(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 12, 2, v); }
inline int dim_mode_bit14(const UsersRec& u) { return get_bits(u.dim_mode_bits, 14, 1); }
inline void set_dim_mode_bit14(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 14, 1, v); }
inline int dim_mode_bit15(const UsersRec& u) { return get_bits(u.dim_mode_bits, 15, 1); }
inline void set_dim_mode_bit15(UsersRec& u, int v) { put_bits(u.dim_mode_bits, 15, 1, v); }

// +120. Bits 14-7 are kept as they stand. Tolerance modes: 0 none, 1 plus and minus, 2 upper and lower limits.
inline int lindim_tol_mode(const UsersRec& u) { return get_bits(u.dim_tol_bits, 0, 3); }
inline void set_lindim_tol_mode(UsersRec& u, int v) { put_bits(u.dim_tol_bits, 0, 3, v); }
inline int angdim_tol_mode(const UsersRec& u) { return get_bits(u.dim_tol_bits, 3, 3); }
inline void set_angdim_tol_mode(UsersRec& u, int v) { put_bits(u.dim_tol_bits, 3, 3, v); }
inline int ddim_one_direction(const UsersRec& u) { return get_bits(u.dim_tol_bits, 6, 1); }
inline void set_ddim_one_direction(UsersRec& u, int v) { put_bits(u.dim_tol_bits, 6, 1, v); }
inline int dim_tol_field(const UsersRec& u) { return get_bits(u.dim_tol_bits, 7, 8); }
inline void set_dim_tol_field(UsersRec& u, int v) { put_bits(u.dim_tol_bits, 7, 8, v); }

// +122. Bits 2-0 are kept as they stand.
inline int rddim_field(const UsersRec& u) { return get_bits(u.rddim_tol_bits, 0, 3); }
inline void set_rddim_field(UsersRec& u, int v) { put_bits(u.rddim_tol_bits, 0, 3, v); }
inline int ddim_tol_mode(const UsersRec& u) { return get_bits(u.rddim_tol_bits, 3, 3); }
inline void set_ddim_tol_mode(UsersRec& u, int v) { put_bits(u.rddim_tol_bits, 3, 3, v); }
inline int rdim_tol_mode(const UsersRec& u) { return get_bits(u.rddim_tol_bits, 6, 3); }
inline void set_rdim_tol_mode(UsersRec& u, int v) { put_bits(u.rddim_tol_bits, 6, 3, v); }

}  // namespace drav
