// Writing the drawing (or the selection group only) from the workfile and the
// work library into a drawing file, native or PC. A save never harms the
// file it replaces: everything goes into a temporary file beside it, every
// write is checked and flushed to disk, and only then is it renamed over
// the target.
#pragma once

#include <cstdint>
#include <string>

#include "store/files.h"

namespace drav {

extern std::uint16_t savegroup;  // only the selection group is saved
// The counts of the file written last: settings, objects, controls, pieces.
extern std::uint16_t validsavs, validobjects, validctrls, validsymbols;
extern std::uint16_t firstobj, firstctrl, firstsymbol;

// Writes `name` (Mac Roman) in `folder` with the current `savegroup` and
// `dosfile`; on success the file's reference goes to *file and 1 is
// answered. On failure the user was told (alert 29 or 30 with the reason),
// the file and its companion are as they were, `keep_workfile` is set and
// `needtosave` unchanged; 0.
int save(const FSRef& folder, const char* name, FSRef* file);

// Counts and lays out the file in memory; 0 when the symbol-users table
// could not be had. Used by `save`; the records are in file order, already
// converted for a PC file.
int makefile(std::string* bytes);

// Called after the temporary files are complete and flushed, before they
// are renamed over the target: tests stop a save there.
extern void (*save_before_rename)();

// The reason shown when a save failed with the platform error `err`.
std::string save_reason(std::int16_t err);
// Writes the bytes as a new file (replacing one of that name), flushed to
// disk; the platform error.
std::int16_t write_file_flushed(const plat::FileRef& ref, const std::string& bytes);

// What the last save reported, for tests: 0 after a success, else the
// platform error that stopped it (1 when a test stopped it).
extern std::int16_t last_save_error;

}  // namespace drav
