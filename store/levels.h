// The level table: visibility and lock of levels 0-250 (bit sets kept in the
// settings), their names, and the names' home in a file's resource fork.
// Level 0 stands for all levels.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

constexpr int level_count = 251;  // levels 0-250
constexpr int level_name_bytes = 16;  // 15 characters and a NUL
constexpr int level_table_bytes = level_count * level_name_bytes;  // 4016
constexpr OSType levels_resource_type = four_cc("LEVL");
constexpr std::int16_t levels_resource_id = 128;

extern Handle thelevls;  // level_table_bytes: the name of level n at n * 16
extern char deflevelname[256];  // default name prefix; level n's default name is prefix + n
extern std::uint8_t menu_to_level_map[level_count];  // filled by the level windows
extern std::uint8_t level_to_menu_map[level_count];
extern std::uint16_t savelevels[16];  // a visible-level set kept by the all-levels fix-ups

// Only level 1 visible, nothing locked, every level its default name.
void init_levels();
void term_levels();

// Levels outside 0-250 read as hidden and locked, and are never written.
std::int16_t get_LevelVisible(int n);
void set_LevelVisible(int n, int on);
std::int16_t get_LevelLocked(int n);
void set_LevelLocked(int n, int on);
// buf holds level_name_bytes; an unknown level has an empty name.
char* get_LevelName(int n, char* buf);
// A name over 15 characters is cut in the caller's string too.
void set_LevelName(int n, char* name);

// Objects of level n are drawn.
std::int16_t LevelShowable(int n);
// Objects of level n can be picked and changed.
std::int16_t LevelEditable(int n);

// Writes the names as resource 'LEVL' 128 "levels" of ref's resource fork,
// giving the file type '2D  ' and creator 'DRAV' when it has none. 1 when
// written.
std::int16_t FSRef_put_levelinfo(const FSRef& ref);
// Reads the names from ref's resource fork; 1 when they were there. Without
// them levels 1-250 get their default names; a damaged fork is reported.
std::int16_t FSRef_get_levelinfo(const FSRef& ref);

// A visible-level set of 16 words read from a drawing file: all levels (bit
// 0) becomes every bit set but bit 0, remembered in `savelevels`.
void fix_AllLevels_In(std::uint16_t* set);
// A set written to a drawing file: all levels becomes `savelevels`.
void fix_AllLevels_Out(std::uint16_t* set);

}  // namespace drav
