// Virtual key codes of the keyboard, by name. Key records carry them in bits
// 15-8 of their message; data files name keys by these names, not numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace plat {

enum VirtualKey : std::uint8_t {
    vk_a = 0x00, vk_s = 0x01, vk_d = 0x02, vk_f = 0x03, vk_h = 0x04, vk_g = 0x05, vk_z = 0x06,
    vk_x = 0x07, vk_c = 0x08, vk_v = 0x09, vk_b = 0x0B, vk_q = 0x0C, vk_w = 0x0D, vk_e = 0x0E,
    vk_r = 0x0F, vk_y = 0x10, vk_t = 0x11, vk_1 = 0x12, vk_2 = 0x13, vk_3 = 0x14, vk_4 = 0x15,
    vk_6 = 0x16, vk_5 = 0x17, vk_equal = 0x18, vk_9 = 0x19, vk_7 = 0x1A, vk_minus = 0x1B,
    vk_8 = 0x1C, vk_0 = 0x1D, vk_right_bracket = 0x1E, vk_o = 0x1F, vk_u = 0x20,
    vk_left_bracket = 0x21, vk_i = 0x22, vk_p = 0x23, vk_return = 0x24, vk_l = 0x25, vk_j = 0x26,
    vk_quote = 0x27, vk_k = 0x28, vk_semicolon = 0x29, vk_backslash = 0x2A, vk_comma = 0x2B,
    vk_slash = 0x2C, vk_n = 0x2D, vk_m = 0x2E, vk_period = 0x2F, vk_tab = 0x30, vk_space = 0x31,
    vk_grave = 0x32, vk_delete = 0x33, vk_escape = 0x35,
    vk_keypad_decimal = 0x41, vk_keypad_multiply = 0x43, vk_keypad_plus = 0x45,
    vk_keypad_clear = 0x47, vk_keypad_divide = 0x4B, vk_enter = 0x4C, vk_keypad_minus = 0x4E,
    vk_keypad_equals = 0x51, vk_keypad_0 = 0x52, vk_keypad_1 = 0x53, vk_keypad_2 = 0x54,
    vk_keypad_3 = 0x55, vk_keypad_4 = 0x56, vk_keypad_5 = 0x57, vk_keypad_6 = 0x58,
    vk_keypad_7 = 0x59, vk_keypad_8 = 0x5B, vk_keypad_9 = 0x5C,
    vk_f5 = 0x60, vk_f6 = 0x61, vk_f7 = 0x62, vk_f3 = 0x63, vk_f8 = 0x64, vk_f9 = 0x65,
    vk_f11 = 0x67, vk_f10 = 0x6D, vk_f12 = 0x6F, vk_help = 0x72, vk_home = 0x73,
    vk_page_up = 0x74, vk_forward_delete = 0x75, vk_f4 = 0x76, vk_end = 0x77, vk_f2 = 0x78,
    vk_page_down = 0x79, vk_f1 = 0x7A, vk_left = 0x7B, vk_right = 0x7C, vk_down = 0x7D,
    vk_up = 0x7E,
    vk_none = 0xFF,
};

// Character bytes that special keys deliver.
constexpr std::uint8_t ch_home = 0x01, ch_enter = 0x03, ch_end = 0x04, ch_help = 0x05,
                       ch_backspace = 0x08, ch_tab = 0x09, ch_page_up = 0x0B,
                       ch_page_down = 0x0C, ch_return = 0x0D, ch_function = 0x10,
                       ch_escape = 0x1B, ch_left = 0x1C, ch_right = 0x1D, ch_up = 0x1E,
                       ch_down = 0x1F, ch_forward_delete = 0x7F;

// The key of a name such as "a", "return", "left", "f5"; vk_none when unknown.
VirtualKey virtual_key_named(std::string_view name);

}  // namespace plat
