#include "shell/key_equivalents.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "platform/ui/keys.h"

namespace drav {

namespace {

std::uint16_t g_table[key_equivalent_count];
bool g_read = false;
bool g_valid = false;
std::filesystem::path g_path;

// Keys that a running command may read as typed characters: an entry needs
// the command or option key to claim them.
bool typed_key(plat::VirtualKey k) {
    using namespace plat;
    if (k <= vk_escape) return true;  // letters, digits, signs, Return, Tab, space, Backspace, Esc
    if (k >= vk_keypad_0 && k <= vk_keypad_9 && k != 0x5A) return true;  // the keypad's digits
    return k == vk_enter || k == vk_forward_delete;
}

bool parse_modifiers(const std::string& text, std::uint16_t* mods) {
    *mods = 0;
    if (text.empty()) return true;
    std::stringstream in(text);
    std::string word;
    while (std::getline(in, word, '+')) {
        if (word == "cmd")
            *mods |= plat::cmdKey;
        else if (word == "shift")
            *mods |= plat::shiftKey;
        else if (word == "option")
            *mods |= plat::optionKey;
        else
            return false;
    }
    return true;
}

std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    std::string f;
    while (std::getline(in, f, '\t'))
        if (!f.empty()) out.push_back(f);
    return out;
}

}  // namespace

bool read_key_equivalents(const std::filesystem::path& path, std::uint16_t (&table)[key_equivalent_count],
                          std::string* why) {
    std::ifstream in(path);
    if (!in) {
        *why = "cannot be read";
        return false;
    }
    bool seen[key_equivalent_count] = {};
    std::string line;
    int number = 0;
    const auto fail = [&](const char* reason) {
        *why = "line " + std::to_string(number) + ": " + reason;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = fields_of(line);
        if (f.size() < 2 || f.size() > 3) return fail("expected ENTRY, KEY and MODIFIERS");
        if (f[0].size() > 2 || f[0].find_first_not_of("0123456789") != std::string::npos)
            return fail("bad entry number");
        const int entry = std::stoi(f[0]);
        if (entry >= key_equivalent_count) return fail("entry number out of range");
        if (seen[entry]) return fail("entry given twice");
        const plat::VirtualKey key = plat::virtual_key_named(f[1]);
        if (key == plat::vk_none) return fail("unknown key name");
        std::uint16_t mods = 0;
        if (!parse_modifiers(f.size() == 3 ? f[2] : std::string(), &mods)) return fail("unknown modifier");
        if (!(mods & (plat::cmdKey | plat::optionKey)) && typed_key(key))
            return fail("a key that commands read needs cmd or option");
        seen[entry] = true;
        table[entry] = static_cast<std::uint16_t>(key | mods);
    }
    for (int i = 0; i < key_equivalent_count; ++i)
        if (!seen[i]) {
            *why = "entry " + std::to_string(i) + " is missing";
            return false;
        }
    return true;
}

const std::uint16_t* key_equivalents() {
    if (!g_read) {
        g_read = true;
        std::string why;
        const std::filesystem::path path =
            g_path.empty() ? plat::bundle_dir() / "keys" / "key_equivalents.txt" : g_path;
        g_valid = read_key_equivalents(path, g_table, &why);
        // Without the table every key is handled as usual; say why once.
        if (!g_valid) std::fprintf(stderr, "Dravelin: key equivalents off: %s %s\n", path.c_str(), why.c_str());
    }
    return g_valid ? g_table : nullptr;
}

void reload_key_equivalents(const std::filesystem::path& path) {
    g_read = false;
    g_path = path;
}

}  // namespace drav
