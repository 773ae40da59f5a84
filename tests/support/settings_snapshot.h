// Snapshots of the settings a window may edit, compared field by field:
// the names of the fields that differ.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/tool_options.h"
#include "store/settings.h"

namespace drav::test {

struct SettingsSnapshot {
    ObjOptsRec objopts;
    UsersRec users;
    PropsRec props;
    UnitsRec units;
    GridRec grid;
    OutputRec output;
    std::uint16_t swaper;
};

// The globals as they stand now.
inline SettingsSnapshot take_snapshot() {
    return SettingsSnapshot{*drav::objopts, drav::users_defs, drav::props_defs, drav::units_defs, drav::grid_data,
                            drav::output_defs, drav::swaper};
}

namespace snapshot_detail {
template <class T>
void cmp(std::vector<std::string>& out, const char* name, const T& a, const T& b) {
    if (std::memcmp(&a, &b, sizeof(T)) != 0) out.push_back(name);
}
}  // namespace snapshot_detail

// Names as "objopts.line_opt", "users_defs.wall_width", "swaper".
inline std::vector<std::string> changed_fields(const SettingsSnapshot& a, const SettingsSnapshot& b) {
    std::vector<std::string> out;
    using snapshot_detail::cmp;
    cmp(out, "objopts.lock_mode", a.objopts.lock_mode, b.objopts.lock_mode);
    cmp(out, "objopts.new_arrow", a.objopts.new_arrow, b.objopts.new_arrow);
    cmp(out, "objopts.new_marker", a.objopts.new_marker, b.objopts.new_marker);
    cmp(out, "objopts.new_template", a.objopts.new_template, b.objopts.new_template);
    cmp(out, "objopts.line_opt", a.objopts.line_opt, b.objopts.line_opt);
    cmp(out, "objopts.mline_opt1", a.objopts.mline_opt1, b.objopts.mline_opt1);
    cmp(out, "objopts.mline_opt2", a.objopts.mline_opt2, b.objopts.mline_opt2);
    cmp(out, "objopts.mline_opt3", a.objopts.mline_opt3, b.objopts.mline_opt3);
    cmp(out, "objopts.mline_opt4", a.objopts.mline_opt4, b.objopts.mline_opt4);
    cmp(out, "objopts.mline_palette", a.objopts.mline_palette, b.objopts.mline_palette);
    cmp(out, "objopts.rect_opt", a.objopts.rect_opt, b.objopts.rect_opt);
    cmp(out, "objopts.poly_opt1", a.objopts.poly_opt1, b.objopts.poly_opt1);
    cmp(out, "objopts.poly_opt2", a.objopts.poly_opt2, b.objopts.poly_opt2);
    cmp(out, "objopts.poly_opt3", a.objopts.poly_opt3, b.objopts.poly_opt3);
    cmp(out, "objopts.poly_value", a.objopts.poly_value, b.objopts.poly_value);
    cmp(out, "objopts.circle_method", a.objopts.circle_method, b.objopts.circle_method);
    cmp(out, "objopts.circle_value1", a.objopts.circle_value1, b.objopts.circle_value1);
    cmp(out, "objopts.circle_value2", a.objopts.circle_value2, b.objopts.circle_value2);
    cmp(out, "objopts.ellipse_opt", a.objopts.ellipse_opt, b.objopts.ellipse_opt);
    cmp(out, "objopts.arc_opt1", a.objopts.arc_opt1, b.objopts.arc_opt1);
    cmp(out, "objopts.arc_opt2", a.objopts.arc_opt2, b.objopts.arc_opt2);
    cmp(out, "objopts.arc_value", a.objopts.arc_value, b.objopts.arc_value);
    cmp(out, "objopts.bez_opt1", a.objopts.bez_opt1, b.objopts.bez_opt1);
    cmp(out, "objopts.bez_opt2", a.objopts.bez_opt2, b.objopts.bez_opt2);
    cmp(out, "objopts.bez_opt3", a.objopts.bez_opt3, b.objopts.bez_opt3);
    cmp(out, "objopts.bez_opt4", a.objopts.bez_opt4, b.objopts.bez_opt4);
    cmp(out, "objopts.bez_opt5", a.objopts.bez_opt5, b.objopts.bez_opt5);
    cmp(out, "objopts.bez_opt6", a.objopts.bez_opt6, b.objopts.bez_opt6);
    cmp(out, "objopts.lindim_opt1", a.objopts.lindim_opt1, b.objopts.lindim_opt1);
    cmp(out, "objopts.angdim_opt1", a.objopts.angdim_opt1, b.objopts.angdim_opt1);
    cmp(out, "objopts.lindim_opt2", a.objopts.lindim_opt2, b.objopts.lindim_opt2);
    cmp(out, "objopts.angdim_opt2", a.objopts.angdim_opt2, b.objopts.angdim_opt2);
    cmp(out, "objopts.copy_mode", a.objopts.copy_mode, b.objopts.copy_mode);
    cmp(out, "objopts.copy_count", a.objopts.copy_count, b.objopts.copy_count);
    cmp(out, "objopts.copy2_count1", a.objopts.copy2_count1, b.objopts.copy2_count1);
    cmp(out, "objopts.copy2_count2", a.objopts.copy2_count2, b.objopts.copy2_count2);
    cmp(out, "objopts.circ_count", a.objopts.circ_count, b.objopts.circ_count);
    cmp(out, "objopts.circ_value1", a.objopts.circ_value1, b.objopts.circ_value1);
    cmp(out, "objopts.circ_value2", a.objopts.circ_value2, b.objopts.circ_value2);
    cmp(out, "objopts.scale_opt1", a.objopts.scale_opt1, b.objopts.scale_opt1);
    cmp(out, "objopts.scale_opt2", a.objopts.scale_opt2, b.objopts.scale_opt2);
    cmp(out, "objopts.scale_opt3", a.objopts.scale_opt3, b.objopts.scale_opt3);
    cmp(out, "objopts.scale_value1", a.objopts.scale_value1, b.objopts.scale_value1);
    cmp(out, "objopts.scale_value2", a.objopts.scale_value2, b.objopts.scale_value2);
    cmp(out, "objopts.scale_value3", a.objopts.scale_value3, b.objopts.scale_value3);
    cmp(out, "objopts.scale_opt4", a.objopts.scale_opt4, b.objopts.scale_opt4);
    cmp(out, "objopts.scale_opt5", a.objopts.scale_opt5, b.objopts.scale_opt5);
    cmp(out, "objopts.mirror_opt", a.objopts.mirror_opt, b.objopts.mirror_opt);
    cmp(out, "objopts.text_opt", a.objopts.text_opt, b.objopts.text_opt);
    cmp(out, "objopts.extend_opt1", a.objopts.extend_opt1, b.objopts.extend_opt1);
    cmp(out, "objopts.extend_opt2", a.objopts.extend_opt2, b.objopts.extend_opt2);
    cmp(out, "objopts.break_opt1", a.objopts.break_opt1, b.objopts.break_opt1);
    cmp(out, "objopts.break_opt2", a.objopts.break_opt2, b.objopts.break_opt2);
    cmp(out, "objopts.break_opt3", a.objopts.break_opt3, b.objopts.break_opt3);
    cmp(out, "objopts.break_fence_follows", a.objopts.break_fence_follows, b.objopts.break_fence_follows);
    cmp(out, "objopts.break_fence_sized", a.objopts.break_fence_sized, b.objopts.break_fence_sized);
    cmp(out, "objopts.break_opt4", a.objopts.break_opt4, b.objopts.break_opt4);
    cmp(out, "objopts.break_opt5", a.objopts.break_opt5, b.objopts.break_opt5);
    cmp(out, "objopts.break_opt6", a.objopts.break_opt6, b.objopts.break_opt6);
    cmp(out, "objopts.fillet_opt1", a.objopts.fillet_opt1, b.objopts.fillet_opt1);
    cmp(out, "objopts.fillet_opt2", a.objopts.fillet_opt2, b.objopts.fillet_opt2);
    cmp(out, "objopts.chamfer_value1", a.objopts.chamfer_value1, b.objopts.chamfer_value1);
    cmp(out, "objopts.chamfer_value2", a.objopts.chamfer_value2, b.objopts.chamfer_value2);
    cmp(out, "objopts.tangent_opt", a.objopts.tangent_opt, b.objopts.tangent_opt);
    cmp(out, "objopts.iso_opt1", a.objopts.iso_opt1, b.objopts.iso_opt1);
    cmp(out, "objopts.iso_opt2", a.objopts.iso_opt2, b.objopts.iso_opt2);
    cmp(out, "objopts.iso_opt3", a.objopts.iso_opt3, b.objopts.iso_opt3);
    cmp(out, "objopts.sym_opt3", a.objopts.sym_opt3, b.objopts.sym_opt3);
    cmp(out, "objopts.sym_opt1", a.objopts.sym_opt1, b.objopts.sym_opt1);
    cmp(out, "objopts.sym_opt2", a.objopts.sym_opt2, b.objopts.sym_opt2);
    cmp(out, "objopts.sym_opt4", a.objopts.sym_opt4, b.objopts.sym_opt4);
    cmp(out, "objopts.sym_values_on", a.objopts.sym_values_on, b.objopts.sym_values_on);
    cmp(out, "objopts.sym_value1", a.objopts.sym_value1, b.objopts.sym_value1);
    cmp(out, "objopts.sym_value2", a.objopts.sym_value2, b.objopts.sym_value2);
    cmp(out, "objopts.background_colour", a.objopts.background_colour, b.objopts.background_colour);
    cmp(out, "objopts.highlight_colour", a.objopts.highlight_colour, b.objopts.highlight_colour);
    cmp(out, "objopts.handle_colour", a.objopts.handle_colour, b.objopts.handle_colour);
    cmp(out, "objopts.intersect_opt", a.objopts.intersect_opt, b.objopts.intersect_opt);
    cmp(out, "objopts.move_opt", a.objopts.move_opt, b.objopts.move_opt);
    cmp(out, "objopts.dblclick_mode", a.objopts.dblclick_mode, b.objopts.dblclick_mode);
    cmp(out, "objopts.show_group_opt", a.objopts.show_group_opt, b.objopts.show_group_opt);
    cmp(out, "objopts.group_opt1", a.objopts.group_opt1, b.objopts.group_opt1);
    cmp(out, "objopts.group_opt2", a.objopts.group_opt2, b.objopts.group_opt2);
    cmp(out, "objopts.hatch_value1", a.objopts.hatch_value1, b.objopts.hatch_value1);
    cmp(out, "objopts.hatch_value2", a.objopts.hatch_value2, b.objopts.hatch_value2);
    cmp(out, "objopts.hatch_value3", a.objopts.hatch_value3, b.objopts.hatch_value3);
    cmp(out, "objopts.scroll_single", a.objopts.scroll_single, b.objopts.scroll_single);
    cmp(out, "objopts.scroll_page", a.objopts.scroll_page, b.objopts.scroll_page);
    cmp(out, "objopts.scroll_pages", a.objopts.scroll_pages, b.objopts.scroll_pages);
    cmp(out, "objopts.zoom_left", a.objopts.zoom_left, b.objopts.zoom_left);
    cmp(out, "objopts.zoom_right", a.objopts.zoom_right, b.objopts.zoom_right);
    cmp(out, "objopts.zoom_top", a.objopts.zoom_top, b.objopts.zoom_top);
    cmp(out, "objopts.zoom_bottom", a.objopts.zoom_bottom, b.objopts.zoom_bottom);
    cmp(out, "objopts.idle_snap", a.objopts.idle_snap, b.objopts.idle_snap);
    cmp(out, "objopts.par_opt1", a.objopts.par_opt1, b.objopts.par_opt1);
    cmp(out, "objopts.par_opt2", a.objopts.par_opt2, b.objopts.par_opt2);
    cmp(out, "objopts.par_opt3", a.objopts.par_opt3, b.objopts.par_opt3);
    cmp(out, "objopts.par_value", a.objopts.par_value, b.objopts.par_value);
    cmp(out, "objopts.par_value2", a.objopts.par_value2, b.objopts.par_value2);
    cmp(out, "objopts.normal_value", a.objopts.normal_value, b.objopts.normal_value);
    cmp(out, "objopts.par_opt4", a.objopts.par_opt4, b.objopts.par_opt4);
    cmp(out, "objopts.explode_opt", a.objopts.explode_opt, b.objopts.explode_opt);
    cmp(out, "objopts.rdim_value1", a.objopts.rdim_value1, b.objopts.rdim_value1);
    cmp(out, "objopts.rdim_value2", a.objopts.rdim_value2, b.objopts.rdim_value2);
    cmp(out, "objopts.ddim_value1", a.objopts.ddim_value1, b.objopts.ddim_value1);
    cmp(out, "objopts.ddim_value2", a.objopts.ddim_value2, b.objopts.ddim_value2);
    cmp(out, "objopts.rdim_opt", a.objopts.rdim_opt, b.objopts.rdim_opt);
    cmp(out, "objopts.ddim_opt", a.objopts.ddim_opt, b.objopts.ddim_opt);
    cmp(out, "objopts.rdim_decimals", a.objopts.rdim_decimals, b.objopts.rdim_decimals);
    cmp(out, "objopts.ddim_decimals", a.objopts.ddim_decimals, b.objopts.ddim_decimals);
    cmp(out, "objopts.save_preview", a.objopts.save_preview, b.objopts.save_preview);
    cmp(out, "users_defs.hatch_spacing", a.users.hatch_spacing, b.users.hatch_spacing);
    cmp(out, "users_defs.hatch_offset", a.users.hatch_offset, b.users.hatch_offset);
    cmp(out, "users_defs.hatch_angle", a.users.hatch_angle, b.users.hatch_angle);
    cmp(out, "users_defs.hatch_number", a.users.hatch_number, b.users.hatch_number);
    cmp(out, "users_defs.area_divisions", a.users.area_divisions, b.users.area_divisions);
    cmp(out, "users_defs.boundary_capacity", a.users.boundary_capacity, b.users.boundary_capacity);
    cmp(out, "users_defs.fillet_radius", a.users.fillet_radius, b.users.fillet_radius);
    cmp(out, "users_defs.parallel_distance", a.users.parallel_distance, b.users.parallel_distance);
    cmp(out, "users_defs.spline_band", a.users.spline_band, b.users.spline_band);
    cmp(out, "users_defs.spline_step", a.users.spline_step, b.users.spline_step);
    cmp(out, "users_defs.iso_angle", a.users.iso_angle, b.users.iso_angle);
    cmp(out, "users_defs.wall_width", a.users.wall_width, b.users.wall_width);
    cmp(out, "users_defs.lindim_tol_lower", a.users.lindim_tol_lower, b.users.lindim_tol_lower);
    cmp(out, "users_defs.lindim_tol_upper", a.users.lindim_tol_upper, b.users.lindim_tol_upper);
    cmp(out, "users_defs.angdim_tol_lower", a.users.angdim_tol_lower, b.users.angdim_tol_lower);
    cmp(out, "users_defs.angdim_tol_upper", a.users.angdim_tol_upper, b.users.angdim_tol_upper);
    cmp(out, "users_defs.lindim_format", a.users.lindim_format, b.users.lindim_format);
    cmp(out, "users_defs.angdim_format", a.users.angdim_format, b.users.angdim_format);
    cmp(out, "users_defs.dim_style_bits", a.users.dim_style_bits, b.users.dim_style_bits);
    cmp(out, "users_defs.mlin_bits", a.users.mlin_bits, b.users.mlin_bits);
    cmp(out, "users_defs.dim_mode_bits", a.users.dim_mode_bits, b.users.dim_mode_bits);
    cmp(out, "users_defs.dim_tol_bits", a.users.dim_tol_bits, b.users.dim_tol_bits);
    cmp(out, "users_defs.rddim_tol_bits", a.users.rddim_tol_bits, b.users.rddim_tol_bits);
    cmp(out, "props_defs.level", a.props.level, b.props.level);
    cmp(out, "props_defs.colour", a.props.colour, b.props.colour);
    cmp(out, "props_defs.pen", a.props.pen, b.props.pen);
    cmp(out, "props_defs.density", a.props.density, b.props.density);
    cmp(out, "props_defs.width", a.props.width, b.props.width);
    cmp(out, "props_defs.style", a.props.style, b.props.style);
    cmp(out, "props_defs.group", a.props.group, b.props.group);
    cmp(out, "props_defs.font", a.props.font, b.props.font);
    cmp(out, "props_defs.z_top", a.props.z_top, b.props.z_top);
    cmp(out, "props_defs.z_bottom", a.props.z_bottom, b.props.z_bottom);
    cmp(out, "props_defs.text_width", a.props.text_width, b.props.text_width);
    cmp(out, "props_defs.text_height", a.props.text_height, b.props.text_height);
    cmp(out, "props_defs.x_spacing", a.props.x_spacing, b.props.x_spacing);
    cmp(out, "props_defs.y_spacing", a.props.y_spacing, b.props.y_spacing);
    cmp(out, "props_defs.name", a.props.name, b.props.name);
    cmp(out, "units_defs.increment", a.units.increment, b.units.increment);
    cmp(out, "units_defs.rotation_step", a.units.rotation_step, b.units.rotation_step);
    cmp(out, "units_defs.symbol_scale_x", a.units.symbol_scale_x, b.units.symbol_scale_x);
    cmp(out, "units_defs.symbol_scale_y", a.units.symbol_scale_y, b.units.symbol_scale_y);
    cmp(out, "units_defs.coord_display", a.units.coord_display, b.units.coord_display);
    cmp(out, "units_defs.angle_format", a.units.angle_format, b.units.angle_format);
    cmp(out, "units_defs.units_code", a.units.units_code, b.units.units_code);
    cmp(out, "units_defs.real_unit", a.units.real_unit, b.units.real_unit);
    cmp(out, "units_defs.unit_size", a.units.unit_size, b.units.unit_size);
    cmp(out, "units_defs.name", a.units.name, b.units.name);
    cmp(out, "units_defs.abbrev", a.units.abbrev, b.units.abbrev);
    cmp(out, "grid_data.x_spacing", a.grid.x_spacing, b.grid.x_spacing);
    cmp(out, "grid_data.x_direction", a.grid.x_direction, b.grid.x_direction);
    cmp(out, "grid_data.x_divisor", a.grid.x_divisor, b.grid.x_divisor);
    cmp(out, "grid_data.y_spacing", a.grid.y_spacing, b.grid.y_spacing);
    cmp(out, "grid_data.y_direction", a.grid.y_direction, b.grid.y_direction);
    cmp(out, "grid_data.y_divisor", a.grid.y_divisor, b.grid.y_divisor);
    cmp(out, "output_defs.plot_scale", a.output.plot_scale, b.output.plot_scale);
    cmp(out, "output_defs.paper_units", a.output.paper_units, b.output.paper_units);
    cmp(out, "output_defs.flags", a.output.flags, b.output.flags);
    cmp(out, "output_defs.arrow_length", a.output.arrow_length, b.output.arrow_length);
    cmp(out, "output_defs.arrow_half_angle", a.output.arrow_half_angle, b.output.arrow_half_angle);
    cmp(out, "output_defs.style_length", a.output.style_length, b.output.style_length);
    cmp(out, "output_defs.width_size", a.output.width_size, b.output.width_size);
    cmp(out, "output_defs.width_factor", a.output.width_factor, b.output.width_factor);
    cmp(out, "output_defs.marker_half_size", a.output.marker_half_size, b.output.marker_half_size);
    cmp(out, "output_defs.dim_mark_half_size", a.output.dim_mark_half_size, b.output.dim_mark_half_size);
    cmp(out, "output_defs.ext_line_gap", a.output.ext_line_gap, b.output.ext_line_gap);
    cmp(out, "output_defs.outside_marker_length", a.output.outside_marker_length, b.output.outside_marker_length);
    cmp(out, "output_defs.dim_size_84", a.output.dim_size_84, b.output.dim_size_84);
    cmp(out, "swaper", a.swaper, b.swaper);
    return out;
}

}  // namespace drav::test
