// Symbol-library files.
#pragma once

#include <cstdint>

#include "store/files.h"
#include "store/records.h"

namespace drav {

// Makes `ref` an empty library: sized to `bytes` when non-zero, a header for
// `nctrl` control records, three empty records and, with `withctrls`, the
// empty control records. Error 120 when it cannot be opened. 1 on success.
int FSRef_init_library(const FSRef& ref, std::int64_t bytes, std::int16_t nctrl, int withctrls);

// Repairs control record n of the open library `file`, held in `ctrl`,
// against the symbol-users table: its user count, and with it its valid flag
// and the live bit of its pieces. Error 48 first. 1 when every write went
// through.
int fix_symbol(std::int16_t file, std::int16_t n, ObjectRec& ctrl);

// ---- Library files: creation, grid size, slots and compaction ----

constexpr int lib_max_records = 32003;  // records 0 to 32002
constexpr int lib_max_grid = 100;        // rows and columns the library windows write
constexpr int symbwidth = 23;            // pixels of one library cell

// What record 0 of a library says, once `lib_header_sound` accepted it.
struct LibHeader {
    std::int16_t version = 0, rows = 0, cols = 0, lastctrl = 0, lastsymb = 0, maxctrls = 0;
};
// 1 when record 0 of a library holding `file_records` records describes a
// library this program can trust: version 52, 54 or 70, 4 <= lastctrl <=
// maxctrls + 4 <= lastsymb <= 32003, rows and columns 0 to 100, and the file
// long enough for `lastsymb` records. *out gets the fields.
int lib_header_sound(const ObjectRec& head, std::int64_t file_records, LibHeader* out);
// 1 when a filled control record keeps its pieces inside the library's
// piece area.
int lib_ctrl_sound(const ObjectRec& ctrl, const LibHeader& head);
// Reads and checks record 0 of the open library `fork`.
int read_lib_header(std::int16_t fork, LibHeader* out);

// Creates (or takes over) the library `name` in `folder` with `count`
// slots; 1 when the file was made. Its catalog picture is removed.
int make_library(const FSRef& folder, const char* name, std::int16_t count, FSRef* newref);
// Rows and columns of the grid into record 0 (the current library's file is
// closed first). Error 120 when it cannot be opened.
void set_libsize(const FSRef& ref, std::int16_t rows, std::int16_t cols);
// Slots, rows and columns; rows and columns are 10 when either is 0.
int get_libsize(const FSRef& ref, std::int16_t* maxctrls, std::int16_t* rows, std::int16_t* cols);
// Slot i (0-based) of the current library.
int valid_lib_symbol(std::int16_t i);
void get_startlen(std::int16_t i, std::int16_t* start, std::int16_t* length);
void mark_symbol_invalid(std::int16_t start, std::int16_t length);
void del_update_ctrl_block(std::int16_t i);
// Moves every live piece of the current library (open as `file`) down over
// the gaps and renumbers the control records; the symbol-users table must be
// open. 1 when it ran.
int lib_crunch(std::int16_t file);

}  // namespace drav
