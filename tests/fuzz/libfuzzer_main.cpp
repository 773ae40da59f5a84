// libFuzzer's entry for one target, chosen at build time (tools/fuzz).
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/ui/events.h"
#include "tests/fuzz/fuzz_entries.h"
#include "tests/fuzz/pict_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("DRAVELIN_SCREEN", "320x240", 1);  // a small screen: more inputs a second
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        plat::init_application(argc, argv);
        drav::fuzz::setup(std::filesystem::temp_directory_path() / ("dravelin-fuzz-" + std::to_string(::getpid())));
        return true;
    }();
    (void)ready;
#if defined(DRAV_FUZZ_XTWEAK)
    drav::fuzz::convert_record(data, size);
#elif defined(DRAV_FUZZ_SEGS)
    drav::fuzz::paste_block(data, size);
#elif defined(DRAV_FUZZ_PICT)
    drav::fuzz::read_picture_data(data, size);
#else
    drav::fuzz::read_drawing(data, size);
#endif
    return 0;
}
