#include "store/levels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/messages.h"
#include "platform/core/forks.h"
#include "store/settings.h"

namespace drav {

Handle thelevls = nullptr;
char deflevelname[256] = "";
std::uint8_t menu_to_level_map[level_count];
std::uint8_t level_to_menu_map[level_count];
std::uint16_t savelevels[level_set_words];

namespace {

constexpr int str_default_level_name = 17;  // of table 413
constexpr int err_level_names = 141;        // of table 406
constexpr OSType drawing_type = four_cc("2D  ");
constexpr OSType drawing_creator = four_cc("DRAV");
const char levels_resource_name[] = "levels";

bool valid_level(int n) { return n >= 0 && n < level_count; }

char* level_entry(int n) { return *thelevls + n * level_name_bytes; }

// A long prefix from a translation is cut so that the number still fits.
void default_name(int n, char* out) {
    char number[8];
    const int digits = std::snprintf(number, sizeof number, "%d", n);
    const std::size_t keep = std::min(std::strlen(deflevelname), std::size_t(level_name_bytes - 1 - digits));
    std::memcpy(out, deflevelname, keep);
    std::memcpy(out + keep, number, std::size_t(digits) + 1);
}

void give_default_names(int first) {
    if (!thelevls) return;
    for (int n = first; n < level_count; ++n) {
        std::memset(level_entry(n), 0, level_name_bytes);
        default_name(n, level_entry(n));
    }
}

}  // namespace

void init_levels() {
    std::memset(levels_visible, 0, sizeof levels_visible);
    std::memset(levels_locked, 0, sizeof levels_locked);
    std::memset(menu_to_level_map, 0, sizeof menu_to_level_map);
    std::memset(level_to_menu_map, 0, sizeof level_to_menu_map);
    if (!thelevls) thelevls = hmalloc(level_table_bytes);
    GetMyLocalCString(deflevelname, tbl_startup, str_default_level_name);
    give_default_names(0);
    put_boolean(levels_visible, 1, 1);
}

void term_levels() { hfree(&thelevls); }

std::int16_t get_LevelVisible(int n) { return valid_level(n) ? get_boolean(levels_visible, n) : 0; }

void set_LevelVisible(int n, int on) {
    if (valid_level(n)) put_boolean(levels_visible, n, on);
}

std::int16_t get_LevelLocked(int n) { return valid_level(n) ? get_boolean(levels_locked, n) : 1; }

void set_LevelLocked(int n, int on) {
    if (valid_level(n)) put_boolean(levels_locked, n, on);
}

char* get_LevelName(int n, char* buf) {
    if (!buf) return buf;
    buf[0] = '\0';
    if (!valid_level(n)) return buf;
    if (!thelevls) {
        default_name(n, buf);
        return buf;
    }
    std::memcpy(buf, level_entry(n), level_name_bytes - 1);
    buf[level_name_bytes - 1] = '\0';
    return buf;
}

void set_LevelName(int n, char* name) {
    if (!valid_level(n) || !name) return;
    if (std::strlen(name) > level_name_bytes - 1) name[level_name_bytes - 1] = '\0';
    if (!thelevls) return;
    std::memset(level_entry(n), 0, level_name_bytes);
    std::memcpy(level_entry(n), name, std::strlen(name));
}

std::int16_t LevelShowable(int n) {
    if (!valid_level(n)) return 0;
    return get_LevelVisible(0) || get_LevelVisible(n) ? 1 : 0;
}

std::int16_t LevelEditable(int n) { return LevelShowable(n) && !get_LevelLocked(n) ? 1 : 0; }

std::int16_t FSRef_put_levelinfo(const FSRef& ref) {
    if (!thelevls || !plat::file_exists(ref)) return 0;
    if (plat::get_type_creator(ref, nullptr, nullptr) != plat::noErr &&
        plat::set_type_creator(ref, drawing_type, drawing_creator) != plat::noErr)
        return 0;
    plat::ResourceFork fork;
    // A fork that cannot be read holds nothing worth keeping: it is rewritten.
    if (fork.load(ref) != plat::noErr) fork.clear();
    std::vector<std::uint8_t> names(*thelevls, *thelevls + level_table_bytes);
    if (!fork.put(levels_resource_type, levels_resource_id, levels_resource_name, std::move(names)))
        return 0;
    return fork.save(ref) == plat::noErr ? 1 : 0;
}

std::int16_t FSRef_get_levelinfo(const FSRef& ref) {
    plat::ResourceFork fork;
    const std::int16_t err = fork.load(ref);
    const plat::Resource* r = err == plat::noErr ? fork.find(levels_resource_type, levels_resource_id) : nullptr;
    if (r && r->data.size() == static_cast<std::size_t>(level_table_bytes)) {
        if (!thelevls) return 0;
        std::memcpy(*thelevls, r->data.data(), level_table_bytes);
        // Names from a file end within their 16 bytes whatever the file says.
        for (int n = 0; n < level_count; ++n) level_entry(n)[level_name_bytes - 1] = '\0';
        return 1;
    }
    // No companion or no names: the defaults, silently. Anything else is damage.
    if (r || (err != plat::noErr && err != plat::fnfErr)) show_error(err_level_names, 0);
    give_default_names(1);
    return 0;
}

void fix_AllLevels_In(std::uint16_t* set) {
    if (!set || !get_boolean(set, 0)) return;
    for (int i = 0; i < level_set_words; ++i) set[i] = 0xFFFF;
    put_boolean(set, 0, 0);
    std::memcpy(savelevels, set, sizeof savelevels);
}

void fix_AllLevels_Out(std::uint16_t* set) {
    if (!set || !get_boolean(set, 0)) return;
    std::memcpy(set, savelevels, sizeof savelevels);
    put_boolean(set, 0, 0);
}

}  // namespace drav
