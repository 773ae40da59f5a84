// What the drawing benchmarks share: a scratch folder of their own holding
// the line styles, and the run of the benchmarks themselves.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

#include "base/paths.h"
#include "display/line_styles.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "store/records.h"

namespace drav::bench {

// This run's own folder, named after the benchmark.
inline std::filesystem::path scratch_folder(const char* name) {
    return std::filesystem::temp_directory_path() /
           ("dravelin-" + std::string(name) + "-bench-" + std::to_string(::getpid()));
}

// Makes the folder, makes it the user's support folder and reads the line
// styles from a copy of the program's there.
inline std::filesystem::path prepare_scratch(const char* name) {
    const auto folder = scratch_folder(name);
    std::filesystem::create_directories(folder);
    UserAppSupportFSRef = plat::FileRef{folder};
    std::error_code ec;
    std::filesystem::copy_file(plat::bundle_dir() / line_styles_file, folder / line_styles_file,
                               std::filesystem::copy_options::overwrite_existing, ec);
    openlinstk();
    return folder;
}

// Runs the benchmarks on an offscreen screen of a fixed size, then removes
// the scratch folder.
inline int run_benchmarks(int argc, char** argv, const char* name) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("DRAVELIN_SCREEN", "1920x1080", 1);
    if (!plat::init_application(argc, argv)) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(scratch_folder(name), ec);
    return 0;
}

// A live object of `kind` at (x, y) on level 1, thin and solid.
inline drav::ObjectRec bench_object(int kind, double x, double y, int colour) {
    using namespace drav;
    ObjectRec r{};
    set_rec_u16(r, o_word0, live_object_word);
    r.b[obj::level] = 1;
    r.b[obj::width] = 1;
    r.b[obj::style] = 1;
    set_obj_kind_colour(r, kind, colour);
    set_rec_f64(r, obj::ref_x, x);
    set_rec_f64(r, obj::ref_y, y);
    return r;
}

}  // namespace drav::bench
