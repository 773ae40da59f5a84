// Writes drawing files for tests: a header, settings records, named windows,
// objects, symbol control records and pieces, native or PC, of any version.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "store/records.h"

namespace drav::test {

struct DrawingFile {
    int version = 70;
    bool pc = false;
    std::uint32_t time = 0;
    // Records 1-6; `default_settings` fills them.
    ObjectRec settings[6] = {};
    std::vector<ObjectRec> views;    // records 7 on: named windows, plot specifications
    std::vector<ObjectRec> objects;  // continuation records included
    std::vector<ObjectRec> ctrls;    // their first piece is counted from the first piece (see `add_symbol`)
    std::vector<ObjectRec> pieces;
    // Header counts to write instead of the true ones, when set.
    static constexpr int unset = -99999;
    int S = unset, O = unset, K = unset, P = unset;

    // Settings records of a plain drawing in these units (window 0-30 x 0-20).
    void default_settings(int units_code, double unit_size = 1);
    // A symbol of the given pieces; its control record's first piece is
    // made a file record number when the file is written. The file record
    // number of its control record, for references.
    int add_symbol(const char* library, int number, const std::vector<ObjectRec>& pieces, int units_code,
                   double width = 2, double height = 1);

    // The records as they go into the file (converted for a PC file).
    std::vector<std::uint8_t> bytes() const;
    void write(const std::filesystem::path& path) const;
    int first_ctrl_record() const;
};

// A live drawing object of the given kind on level 1, colour 7, at (x, y).
ObjectRec object_record(int kind, double x = 0, double y = 0, int colour = 7);
ObjectRec line_record(double x, double y, double dx, double dy, int colour = 7);
ObjectRec named_window(const char* name, double xl, double xr, double yb, double yt);
ObjectRec plot_spec(const char* name, double xl, double xr, double yb, double yt);
// A reference to the symbol whose control record is file record `ctrl`.
ObjectRec symbol_ref(int ctrl, double x, double y, double sx = 1, double sy = 1);

// Settings, a named window, a plot specification, one object of every kind
// (a long text with its continuation) and one placed symbol of two lines.
DrawingFile every_kind_drawing(int units_code = 3);

}  // namespace drav::test
