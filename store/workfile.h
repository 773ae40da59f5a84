// The two scratch files made anew at every start: the workfile, which holds
// the open drawing, and the work library of the symbols it uses.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

extern std::uint16_t libsize;   // records of the work library
extern std::int16_t ctrlsize;   // control records of the work library
extern FSRef workfileFSRef;
extern FSRef worklibFSRef;
extern std::int16_t worklibRefNum;

constexpr std::uint16_t max_work_records = 32004;  // 2667 blocks; indexes stay within 16 bits

// Sizes from the preferences; each rounded up to whole blocks of 12 records.
std::uint16_t workfile_records(int object_size);
std::uint16_t worklib_records(int symbol_size, int ctrl_size);
// Sets `worksize`, `libsize` and `ctrlsize` from the three preference values.
void set_work_sizes(int object_size, int symbol_size, int ctrl_size);

// Creates (or takes) both files, sizes and clears them, opens them for the
// run and stores the settings. 1 on success; a failure has been reported.
int setup_workfile();
int create_workfile(std::int32_t units_w, std::int32_t units_l);
// Clears records 0-35 and makes the fork exactly `bytes` long. 1 on success.
int FSRef_init_workfile(const FSRef& ref, std::int64_t bytes);
// 1 when record 0 carries this program's version.
int check_workfile_version();

}  // namespace drav
