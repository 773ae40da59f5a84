// The fuzz targets' entry points, shared by the libFuzzer builds
// (tools/fuzz) and the replay of the seed corpus in the plain test run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace drav::fuzz {

// A drawing world in `folder`: small work areas, an empty drawing, alerts
// answered at once. Call once per process.
void setup(const std::filesystem::path& folder);
// Byte 0 chooses: bit 0 PC byte order, bits 1-2 merge mode (3 counts as 0),
// bit 3 plot specifications with a merge; the rest is the file. Aborts when
// a refused file changed the drawing or the record count left its range.
void read_drawing(const std::uint8_t* data, std::size_t size);
// One 128-byte record (shorter inputs are padded with zeros) through
// `xtweak`, and what converted back through `tweak` and `xtweak` again:
// aborts when the second round differs from the first.
void convert_record(const std::uint8_t* data, std::size_t size);

// A block of records as the clipboard carries them, pasted into an empty
// drawing: aborts when a refused block changed the drawing or an accepted
// one stored more records than it holds.
void paste_block(const std::uint8_t* data, std::size_t size);

}  // namespace drav::fuzz
