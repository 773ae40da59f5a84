// A real workfile in the test's own data folder.
#pragma once

#include <filesystem>

namespace drav::test {

// Makes the program's data folder for this test and points the program at it.
std::filesystem::path use_data_folder();
// The store, small work areas (100 objects) and the settings a plain drawing
// in the given units starts with, remembered as the start values.
void start_small_drawing(int units_code);
// Flushes and closes the workfile and the work library; frees the store.
void close_workfile();

}  // namespace drav::test
