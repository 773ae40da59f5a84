// The fuzz targets' seed corpus (and every input that once found a fault)
// replayed through the same entry points the fuzzer drives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/fuzz_entries.h"
#include "tests/support/harness.h"

namespace drav {
namespace {

std::vector<std::vector<std::uint8_t>> corpus(const char* target) {
    std::vector<std::vector<std::uint8_t>> inputs;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(DRAV_FUZZ_CORPUS_DIR) / target)) {
        std::ifstream f(e.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    return inputs;
}

TEST(FuzzCorpus, ReaderInputsReplay) {
    fuzz::setup(test::scratch_dir() / "fuzz");
    const auto inputs = corpus("reader");
    ASSERT_GE(inputs.size(), 8u);
    for (const auto& in : inputs) fuzz::read_drawing(in.data(), in.size());
}

TEST(FuzzCorpus, ClipboardBlocksReplay) {
    fuzz::setup(test::scratch_dir() / "fuzz");
    const auto inputs = corpus("segs");
    ASSERT_GE(inputs.size(), 5u);
    for (const auto& in : inputs) fuzz::paste_block(in.data(), in.size());
}

TEST(FuzzCorpus, ConversionInputsReplay) {
    const auto inputs = corpus("xtweak");
    ASSERT_GE(inputs.size(), 8u);
    for (const auto& in : inputs) fuzz::convert_record(in.data(), in.size());
}

}  // namespace
}  // namespace drav
