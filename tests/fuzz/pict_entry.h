// The fuzz target of the picture reader, shared by the libFuzzer build
// (tools/fuzz pict) and the replay of its seed corpus in the plain test run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drav::fuzz {

// The bytes as a picture (no file header) through the reader and, when it
// takes them, into the drawing set up by `setup` as added objects; then the
// objects are taken away again. Aborts when what was read does not write
// and read back the same, or the record count left its range.
void read_picture_data(const std::uint8_t* data, std::size_t size);

// The seed pictures (tests/fuzz/corpus/pict).
std::vector<std::vector<std::uint8_t>> picture_seeds();

}  // namespace drav::fuzz
