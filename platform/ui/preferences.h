// The application's preferences: one value per key in an INI file opened by
// explicit path, so tests and the program never share a cached default.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plat {

// $XDG_CONFIG_HOME/Dravelin/Dravelin.conf, computed at each call.
std::filesystem::path preferences_file();

// Nothing when the key is missing or holds something else (a value written
// by another program must never come back as garbage).
std::optional<std::int32_t> get_int_pref(const std::string& key);
std::optional<double> get_double_pref(const std::string& key);
// Exactly `count` integers, each within 16 bits.
std::optional<std::vector<std::int16_t>> get_int16_list_pref(const std::string& key, int count);

void put_int_pref(const std::string& key, std::int32_t value);
void put_double_pref(const std::string& key, double value);
void put_int16_list_pref(const std::string& key, const std::vector<std::int16_t>& values);
// Writes everything to disk now.
void sync_prefs();
// Forgets the open file so the next call reads preferences_file() afresh.
void close_prefs();

}  // namespace plat
