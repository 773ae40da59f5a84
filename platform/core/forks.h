// The Finder information and resource fork of a file, kept in an AppleDouble
// companion `._name` beside the data file. A file without a companion (or
// with a malformed one) has neither.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/files.h"

namespace plat {

constexpr std::uint32_t apple_double_magic = 0x00051607;
constexpr std::uint32_t apple_double_version = 0x00020000;
constexpr std::uint32_t ad_resource_fork = 2;
constexpr std::uint32_t ad_finder_info = 9;
constexpr std::size_t ad_finder_info_bytes = 32;

struct AppleDoubleEntry {
    std::uint32_t id = 0;
    std::vector<std::uint8_t> data;
};

// Every entry of a companion, in file order; rewriting keeps them all.
struct AppleDouble {
    std::uint8_t filler[16] = {};
    std::vector<AppleDoubleEntry> entries;

    AppleDoubleEntry* find(std::uint32_t id);
    const AppleDoubleEntry* find(std::uint32_t id) const;
};

// `._name` in the folder of `file`.
FileRef companion_ref(const FileRef& file);

// Parses a companion's bytes; false when any length or offset does not fit.
bool parse_apple_double(const std::vector<std::uint8_t>& bytes, AppleDouble* out);
std::vector<std::uint8_t> format_apple_double(const AppleDouble& ad);

// Reads the companion of `file`: fnfErr when there is none, eofErr when it is
// malformed (out is then empty).
std::int16_t read_companion(const FileRef& file, AppleDouble* out);
// Replaces the companion of `file` as a whole (written beside it, then renamed).
std::int16_t write_companion(const FileRef& file, const AppleDouble& ad);
// noErr also when there was none.
std::int16_t remove_companion(const FileRef& file);

// Type and creator from the Finder information; both 0 and an error when the
// file has no readable companion or no Finder information in it.
std::int16_t get_type_creator(const FileRef& file, std::uint32_t* type, std::uint32_t* creator);
// Sets them, keeping every other entry (and the rest of the Finder
// information) byte for byte; a malformed companion is replaced.
std::int16_t set_type_creator(const FileRef& file, std::uint32_t type, std::uint32_t creator);

}  // namespace plat
