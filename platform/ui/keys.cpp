#include "platform/ui/keys.h"

#include <utility>

namespace plat {

namespace {
constexpr std::pair<std::string_view, VirtualKey> names[] = {
    {"a", vk_a}, {"b", vk_b}, {"c", vk_c}, {"d", vk_d}, {"e", vk_e}, {"f", vk_f}, {"g", vk_g},
    {"h", vk_h}, {"i", vk_i}, {"j", vk_j}, {"k", vk_k}, {"l", vk_l}, {"m", vk_m}, {"n", vk_n},
    {"o", vk_o}, {"p", vk_p}, {"q", vk_q}, {"r", vk_r}, {"s", vk_s}, {"t", vk_t}, {"u", vk_u},
    {"v", vk_v}, {"w", vk_w}, {"x", vk_x}, {"y", vk_y}, {"z", vk_z},
    {"0", vk_0}, {"1", vk_1}, {"2", vk_2}, {"3", vk_3}, {"4", vk_4}, {"5", vk_5}, {"6", vk_6},
    {"7", vk_7}, {"8", vk_8}, {"9", vk_9},
    {"equal", vk_equal}, {"minus", vk_minus}, {"leftbracket", vk_left_bracket},
    {"rightbracket", vk_right_bracket}, {"quote", vk_quote}, {"semicolon", vk_semicolon},
    {"backslash", vk_backslash}, {"comma", vk_comma}, {"slash", vk_slash}, {"period", vk_period},
    {"grave", vk_grave}, {"return", vk_return}, {"tab", vk_tab}, {"space", vk_space},
    {"delete", vk_delete}, {"escape", vk_escape}, {"enter", vk_enter},
    {"keypad0", vk_keypad_0}, {"keypad1", vk_keypad_1}, {"keypad2", vk_keypad_2},
    {"keypad3", vk_keypad_3}, {"keypad4", vk_keypad_4}, {"keypad5", vk_keypad_5},
    {"keypad6", vk_keypad_6}, {"keypad7", vk_keypad_7}, {"keypad8", vk_keypad_8},
    {"keypad9", vk_keypad_9}, {"keypaddecimal", vk_keypad_decimal},
    {"keypadmultiply", vk_keypad_multiply}, {"keypadplus", vk_keypad_plus},
    {"keypadclear", vk_keypad_clear}, {"keypaddivide", vk_keypad_divide},
    {"keypadminus", vk_keypad_minus}, {"keypadequals", vk_keypad_equals},
    {"f1", vk_f1}, {"f2", vk_f2}, {"f3", vk_f3}, {"f4", vk_f4}, {"f5", vk_f5}, {"f6", vk_f6},
    {"f7", vk_f7}, {"f8", vk_f8}, {"f9", vk_f9}, {"f10", vk_f10}, {"f11", vk_f11},
    {"f12", vk_f12}, {"help", vk_help}, {"home", vk_home}, {"end", vk_end},
    {"pageup", vk_page_up}, {"pagedown", vk_page_down}, {"forwarddelete", vk_forward_delete},
    {"left", vk_left}, {"right", vk_right}, {"up", vk_up}, {"down", vk_down},
};
}  // namespace

VirtualKey virtual_key_named(std::string_view name) {
    for (const auto& [n, k] : names)
        if (n == name) return k;
    return vk_none;
}

}  // namespace plat
