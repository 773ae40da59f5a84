#include "platform/core/string_table.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/core/process.h"

namespace plat {

namespace {

bool parse_int(const std::string& s, int& v) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

bool unescape(const std::string& in, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i >= in.size()) return false;
        switch (in[i]) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        default: return false;
        }
    }
    return true;
}

}  // namespace

bool StringTable::parse(const std::string& text) {
    entries_.clear();
    bad_lines_.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto tab = line.find('\t');
        auto comma = line.find(',');
        int table = 0, index = 0;
        std::string value;
        if (tab == std::string::npos || comma == std::string::npos || comma > tab ||
            !parse_int(line.substr(0, comma), table) ||
            !parse_int(line.substr(comma + 1, tab - comma - 1), index) ||
            !unescape(line.substr(tab + 1), value)) {
            bad_lines_.push_back(number);
            continue;
        }
        entries_[{table, index}] = std::move(value);
    }
    return bad_lines_.empty();
}

bool StringTable::load(const std::filesystem::path& file) {
    std::ifstream f(file, std::ios::binary);
    if (!f) {
        entries_.clear();
        bad_lines_.clear();
        return false;
    }
    std::ostringstream ss;
    ss << f.rdbuf();
    return parse(ss.str());
}

const std::string* StringTable::find(int table, int index) const {
    auto it = entries_.find({table, index});
    return it == entries_.end() ? nullptr : &it->second;
}

namespace {
StringTable& the_table() {
    static StringTable t;
    return t;
}
bool g_loaded = false;
}  // namespace

const StringTable& strings() {
    if (!g_loaded) reload_strings();
    return the_table();
}

void reload_strings() {
    the_table().load(bundle_dir() / "strings" / "strings.txt");
    g_loaded = true;
}

}  // namespace plat
