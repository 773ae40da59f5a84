// The localized string tables: UTF-8 text, one entry a line,
// "TABLE,INDEX<TAB>text" with \n, \t and \\ escapes; '#' starts a comment.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace plat {

class StringTable {
public:
    // Reads the file; malformed lines are skipped and listed in bad_lines().
    bool load(const std::filesystem::path& file);
    bool parse(const std::string& text);
    // nullptr when the table has no such entry.
    const std::string* find(int table, int index) const;
    const std::map<std::pair<int, int>, std::string>& entries() const { return entries_; }
    const std::vector<int>& bad_lines() const { return bad_lines_; }

private:
    std::map<std::pair<int, int>, std::string> entries_;
    std::vector<int> bad_lines_;
};

// The program's table, read from bundle_dir()/strings/strings.txt on first use.
const StringTable& strings();
void reload_strings();

}  // namespace plat
