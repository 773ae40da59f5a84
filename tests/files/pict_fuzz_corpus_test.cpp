// The picture reader's seed corpus (and every input that once found a
// fault) replayed through the entry point its fuzzer drives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/fuzz_entries.h"
#include "tests/fuzz/pict_entry.h"
#include "tests/support/harness.h"

namespace drav {
namespace {

TEST(FuzzCorpus, PictureInputsReplay) {
    fuzz::setup(test::scratch_dir() / "fuzz");
    int inputs = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(DRAV_FUZZ_CORPUS_DIR) / "pict")) {
        std::ifstream f(e.path(), std::ios::binary);
        const std::vector<std::uint8_t> in{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
        fuzz::read_picture_data(in.data(), in.size());
        // Every cut of a seed, and seeds with bytes changed (the same every run).
        for (std::size_t n = 0; n < in.size(); n += 7) fuzz::read_picture_data(in.data(), n);
        std::uint32_t seed = 12345;
        for (int i = 0; i < 300 && !in.empty(); ++i) {
            std::vector<std::uint8_t> changed = in;
            for (int k = 0; k < 3; ++k) {
                seed = seed * 1103515245u + 12345u;
                changed[(seed >> 8) % changed.size()] = static_cast<std::uint8_t>(seed >> 24);
            }
            fuzz::read_picture_data(changed.data(), changed.size());
        }
        ++inputs;
    }
    EXPECT_GE(inputs, 8);
}

}  // namespace
}  // namespace drav
