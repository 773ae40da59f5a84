// The Finder information and resource fork of a file, kept in an AppleDouble
// companion `._name` beside the data file. A file without a companion (or
// with a malformed one) has neither.
#pragma once

#include <cstdint>
#include <string>
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

// ---- The resource fork inside the companion (entry 2) ----

// The map of a resource fork does not agree with its bytes.
constexpr std::int16_t mapReadErr = -199;

struct Resource {
    std::uint32_t type = 0;
    std::int16_t id = 0;
    std::string name;  // Mac Roman bytes, at most 255; empty: none
    std::uint8_t attributes = 0;
    std::vector<std::uint8_t> data;
};

// The resources of one fork, in the classic layout when stored: a 16-byte
// header, the data area of length-prefixed resource data and the map with
// its type list, reference lists and name list, all big-endian.
class ResourceFork {
public:
    // Reads the fork of `file`'s companion. fnfErr (and no resources) when
    // there is no companion; noErr and no resources when the companion holds
    // no fork; eofErr or mapReadErr (and no resources) when it is malformed.
    std::int16_t load(const FileRef& file);
    // Writes the fork into `file`'s companion, keeping every other entry; a
    // missing or malformed companion is replaced. fnfErr when `file` does not
    // exist, paramErr when the resources do not fit the classic layout.
    std::int16_t save(const FileRef& file) const;

    // Parses the bytes of a fork; mapReadErr (and no resources) when any
    // offset, length or count does not fit. No bytes is an empty fork.
    std::int16_t parse(const std::vector<std::uint8_t>& bytes);
    // False when the resources do not fit the layout's 16-bit and 24-bit fields.
    bool format(std::vector<std::uint8_t>* out) const;

    const Resource* find(std::uint32_t type, std::int16_t id) const;
    // Adds the resource, replacing one of the same type and id in its place.
    // False (and nothing changed) when the name is longer than 255 bytes or
    // the data larger than a fork can hold.
    bool put(std::uint32_t type, std::int16_t id, const std::string& name,
             std::vector<std::uint8_t> data);
    // False when there was none.
    bool remove(std::uint32_t type, std::int16_t id);

    const std::vector<Resource>& resources() const { return resources_; }
    void clear() { *this = ResourceFork{}; }

private:
    std::uint16_t attributes_ = 0;  // of the fork as a whole, kept as read
    std::vector<Resource> resources_;
};

}  // namespace plat
