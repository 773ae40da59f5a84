// The tool options that every floor reads.
#pragma once

#include <cstdint>
#include <numbers>

namespace drav {

// The options of the tools, palettes and tool-setting windows. It lives only
// in memory, so it keeps no byte layout. Some code knows its fields by a
// 16-bit word index (word n at byte 2n, an f64 at word n filling words n to
// n + 3): each field's comment gives that index, and words 40 and 144 belong
// to no field. Where other code calls a field by another name, that name is
// in its comment. Each field starts at its start value; the ones marked
// "preferences" start at the preferences' own defaults and are replaced by
// the stored preferences at start-up (`copy_prefs_to_objopts`).
struct ObjOptsRec {
    std::int16_t lock_mode = 0;        // word 0: 0 free, 1 horizontal, 2 vertical, 3 rotation steps; 4, 5 turn left, right for one rotate
    std::int16_t new_arrow = 0;        // word 1, `arrow_on`: new objects get an end arrow
    std::int16_t new_marker = 0;       // word 2, `marker_on`: new objects get a middle marker
    std::int16_t new_template = 0;     // word 3, `template_on`: new objects are templates (bit 0)
    std::int16_t line_opt = 2;         // word 4, `line_mode`: 1 separate segments, else a chain
    std::int16_t mline_opt1 = 1;       // word 5, `mlin_mode`: 1 separate wall segments, 2 a chain
    std::int16_t mline_opt2 = 0;       // word 6, `mlin_caps`: wall end lines 0 none, 1 start, 2 end, 3 both
    std::int16_t mline_opt3 = 1;       // word 7, `mlin_hand`: handle line 0 centre, 1 right face, 2 left face
    std::int16_t mline_opt4 = 1;       // word 8, `mlin_pivot`: pivot line, same coding
    std::int16_t mline_palette = 0;    // word 9, `mlin_flag`: the multi-line palette's check box
    std::int16_t rect_opt = 1;         // word 10, `rect_method`: 1 two corners, 2 three points
    std::int16_t poly_opt1 = 8;        // word 11, `poly_sides`: corners of a new polygon, 3-180
    std::int16_t poly_opt2 = 1;        // word 12, `poly_method`: 1 size from the second point, else fixed
    std::int16_t poly_opt3 = 0;        // word 13, `poly_edge_mode`: size measured to the middle of an edge
    double poly_value = 1.0;           // word 14, `poly_radius`: the fixed polygon size
    std::int16_t circle_method = 1;    // word 18: 1 centre and radius, 2 diameter ends, 3 fixed radius, 4 fixed diameter
    double circle_value1 = 1.0;        // word 19, `circle_radius`
    double circle_value2 = 1.0;        // word 23, `circle_diameter`
    std::int16_t ellipse_opt = 1;      // word 27, `ellipse_method`: 1 axis ends, 2 centre and axis end
    std::int16_t arc_opt1 = 1;         // word 28, `arc_method`: 1 three points, 2 centre and directions, 3 ends and radius
    std::int16_t arc_opt2 = 1;         // word 29, `arc_direction`: 1 sets the direction bit of new arcs
    double arc_value = 1.0;            // word 30, `arc_radius`: the fixed radius of method 3
    std::int16_t bez_opt1 = 1;         // word 34, `curve_type`: 1 Bezier chain, else b-spline
    std::int16_t bez_opt2 = 0;         // word 35, `bez_two_clicks`
    std::int16_t bez_opt3 = 1;         // word 36, `spline_start_mode`
    std::int16_t bez_opt4 = 1;         // word 37, `spline_end_mode`
    std::int16_t bez_opt5 = 0;         // word 38, `bez_show_guides`
    std::int16_t bez_opt6 = 0;         // word 39, `spline_values_on`: the stream mode
    std::int16_t lindim_opt1 = 0;      // word 41: chained linear dimensions keep the first depth
    std::int16_t angdim_opt1 = 0;      // word 42: chained angular dimensions keep the first radius
    std::int16_t lindim_opt2 = 3;      // word 43: extension lines of linear dimensions 0-3
    std::int16_t angdim_opt2 = 3;      // word 44: extension lines of angular dimensions 0-3
    std::int16_t copy_mode = 1;        // word 45: 1, 2 one direction, 3 rows and columns, 4 circular, 5 duplicate
    std::int16_t copy_count = 2;       // word 46: copies in one direction, the source included
    std::int16_t copy2_count1 = 2;     // word 47, `array_cols`
    std::int16_t copy2_count2 = 2;     // word 48, `array_rows`
    std::int16_t circ_count = 4;       // word 49: objects of a circular copy, the source included
    double circ_value1 = 90.0;         // word 50, `circ_angle`: degrees between neighbouring copies
    double circ_value2 = 90.0;         // word 54, `circ_rotation`: degrees each copy turns per step
    std::int16_t scale_opt1 = 1;       // word 58, `scale_method`: 1 by dragging, 2 by typed factors
    std::int16_t scale_opt2 = 1;       // word 59, `scale_prop_drag`
    std::int16_t scale_opt3 = 1;       // word 60, `scale_prop_typed`
    double scale_value1 = 1.0;         // word 61, `scale_factor`
    double scale_value2 = 1.0;         // word 65, `scale_factor_x`
    double scale_value3 = 1.0;         // word 69, `scale_factor_y`
    std::int16_t scale_opt4 = 1;       // word 73, `scale_sizes`: a group scale scales each object's size
    std::int16_t scale_opt5 = 1;       // word 74, `scale_positions`: and moves each object's reference point
    std::int16_t mirror_opt = 0;       // word 75, `mirror_keep`: keep the objects, add mirrored copies
    std::int16_t text_opt = 0;         // word 76, `text_auto_feed`
    std::int16_t extend_opt1 = 1;      // word 77: automatic trimming
    std::int16_t extend_opt2 = 1;      // word 78: no trim question
    std::int16_t break_opt1 = 1;       // word 79, break mode: 1 fence, 2 by two points, 3 at a crossing (cut)
    std::int16_t break_opt2 = 1;       // word 80, fence action: 1 remove, 2 slice and move, 3 copy and move
    std::int16_t break_opt3 = 0;       // word 81, fence group: the moved part becomes the selection
    std::int16_t break_fence_follows = 0;  // word 82: the fence keeps its size and follows the cursor
    std::int16_t break_fence_sized = 1;    // word 83: the fence's far corner follows the cursor
    std::int16_t break_opt4 = 0;       // word 84, second pick: cutting asks for a second object
    std::int16_t break_opt5 = 1;       // word 85, automatic removal of the part between two points
    std::int16_t break_opt6 = 1;       // word 86, direction: the removed part runs clockwise
    std::int16_t fillet_opt1 = 1;      // word 87, trim mode: 0 none, 1 trim, 2 cut into parts
    std::int16_t fillet_opt2 = 1;      // word 88, arc sense: 1 as computed, 0 reversed
    double chamfer_value1 = std::numbers::pi / 4;  // word 89: chamfer angle, radians (`quart_pie`)
    double chamfer_value2 = 0.25;      // word 93: chamfer distance, drawing units
    std::int16_t tangent_opt = 1;      // word 97, `tan_mode`: 1 free, 2 tangent, 3 parallel, 4 normal
    std::int16_t iso_opt1 = 1;         // word 98, `iso_plane`: 1-3
    std::int16_t iso_opt2 = 0;         // word 99, `iso_copy`
    std::int16_t iso_opt3 = 0;         // word 100, `iso_reverse`
    std::int16_t sym_opt3 = 0;         // word 101, `sym_break_lines`: symbol dialog item 5
    std::int16_t sym_opt1 = 0;         // word 102, `sym_mirror`: item 3
    std::int16_t sym_opt2 = 0;         // word 103, `sym_new_handle`: item 4
    std::int16_t sym_opt4 = 0;         // word 104, `sym_use_props`: item 7, placed symbols take the properties
    std::int16_t sym_values_on = 0;    // word 105, `sym_fixed_scale`: item 8
    double sym_value1 = 1.0;           // word 106, `sym_scale_x`: item 9
    double sym_value2 = 1.0;           // word 110, `sym_scale_y`: item 10
    std::int16_t background_colour = 0;  // word 114 (byte 228), `bg_color`; preferences "BackgroundColor"
    std::int16_t highlight_colour = 14;  // word 115 (byte 230), `hilite_color`; preferences "CurObjColor"
    std::int16_t handle_colour = 14;     // word 116, `marker_color`; preferences "CurHpColor"
    std::int16_t intersect_opt = 0;    // word 117: crossing snap picks two objects (1) or one (0)
    std::int16_t move_opt = 0;         // word 118, `move_stretch`: Move reads a stretch vector
    std::int16_t dblclick_mode = 0;    // word 119; preferences "DoubleClickMode"
    std::int16_t show_group_opt = 0;   // word 120: group information 0 whole group, 1 each member
    std::int16_t group_opt1 = 0;       // word 121, `group_name_mode`
    std::int16_t group_opt2 = 0;       // word 122: number new groups automatically
    double hatch_value1 = 1.0;         // word 123: kept through a pattern hatch
    double hatch_value2 = 1.0;         // word 127: pattern scale
    double hatch_value3 = 0.0;         // word 131: pattern rotation, radians
    double scroll_single = 0.1;        // word 135, `single_scroll`; preferences "SingleScroll"
    double scroll_page = 0.5;          // word 139, `page_scroll`; preferences "PageScroll"
    std::int16_t scroll_pages = 33;    // word 143; preferences "ScrollPages"
    // The scrollable area in world units, until the view first sets it: the
    // start values of the display list's integer zoom limits.
    double zoom_left = -16367.0;       // word 145, x minimum
    double zoom_right = 16367.0;       // word 149, x maximum
    double zoom_top = -16367.0;        // word 153
    double zoom_bottom = 16367.0;      // word 157
    std::int16_t idle_snap = 0;        // word 161: snap and cross-hair also while no command runs
    std::int16_t par_opt1 = 0;         // word 162, `par_chain`
    std::int16_t par_opt2 = 0;         // word 163, `par_snap`
    std::int16_t par_opt3 = 1;         // word 164, `par_clockwise`
    double par_value = 0.0;            // word 165: the first of two angle values no window edits
    double par_value2 = 0.0;           // word 169: the second
    double normal_value = 0.0;         // word 173, `perp_distance`: fixed perpendicular length
    std::int16_t par_opt4 = 1;         // word 177, `par_copies`: 1-32767
    std::int16_t explode_opt = 2;      // word 178, `explode_parts`: 2-1000
    double rdim_value1 = 0.0;          // word 179: lower tolerance of radial dimensions
    double rdim_value2 = 0.0;          // word 183: upper tolerance of radial dimensions
    double ddim_value1 = 0.0;          // word 187: lower tolerance of datum dimensions
    double ddim_value2 = 0.0;          // word 191: upper tolerance of datum dimensions
    std::int16_t rdim_opt = 0;         // word 195: number format of radial dimensions
    std::int16_t ddim_opt = 0;         // word 196: number format of datum dimensions
    std::int16_t rdim_decimals = 4;    // word 197
    std::int16_t ddim_decimals = 4;    // word 198
    std::int16_t save_preview = 1;     // word 199: saving writes the large preview picture
};

// Allocated by the program's entry, filled by `init_objopts`, freed at exit.
extern ObjOptsRec* objopts;

// Gives every tool option its start value.
void init_objopts();

}  // namespace drav
