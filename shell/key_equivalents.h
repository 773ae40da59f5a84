// The key-equivalent table: 84 entries, each a key code with the command,
// shift and option bits, read from data/keys/key_equivalents.txt. The
// position of the first equal entry decides what the key does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace drav {

constexpr int key_equivalent_count = 84;

// The table of the bundle, read on first use; nullptr when it is missing or
// malformed (key equivalents are then off).
const std::uint16_t* key_equivalents();
// Reads a table file into `table`; false with a reason when the file is
// missing or any line is malformed.
bool read_key_equivalents(const std::filesystem::path& path, std::uint16_t (&table)[key_equivalent_count],
                          std::string* why);
// Forgets the table read, so the next use reads `path` (the bundle's file
// when empty).
void reload_key_equivalents(const std::filesystem::path& path = {});

}  // namespace drav
