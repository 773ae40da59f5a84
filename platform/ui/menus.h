// The menu bar: menus found by id, items found by (menu id, command code).
// A chosen item only queues an application event (app1Evt, message = the
// command code, menu_id = its menu); the program acts when the pump takes it.
// The item 'quit' queues the quit event instead, as the close box does.
// An item whose command has no handler yet stays disabled, whatever the
// program asks, so nothing pretends to work.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

class Window;

// Mark characters of menu items.
constexpr std::uint8_t noMark = 0;
constexpr std::uint8_t checkMark = 0x12;

// Reads the menu bar from a Designer file (menus carry `menu_id`, items
// `command`) and puts it into the main window, replacing what was there.
// Without a main window yet, attach_menu_bar puts it in later. False, with
// the old bar left alone, when the file cannot be read or holds no menu bar.
bool load_menu_bar(const std::string& path);
// Letters whose Alt combination a key equivalent claims (any case); the
// menu bar loaded next underlines none of them in its titles. A title's
// letter comes from the menu's `mnemonic` property.
void reserve_alt_letters(const std::string& letters);
// The underlined letter of the menu's title (upper case), 0 when none.
char menu_mnemonic(int menu_id);
// Opens the first visible menu (what F10 does); its id, 0 when none.
int open_first_menu();
// Puts the loaded menu bar into this main window (a window made with `main`).
void attach_menu_bar(Window* main);
// Removes the menu bar; registered commands stay registered.
void clear_menu_bar();

// The command's handler exists: its items may be enabled from now on.
void register_command(std::uint32_t code);
bool command_registered(std::uint32_t code);
// The command can no longer be chosen (its items disabled) until registered again.
void unregister_command(std::uint32_t code);

bool menu_exists(int menu_id);
// Title and every item.
void enable_menu(int menu_id, bool enable);
bool menu_enabled(int menu_id);
void show_menu(int menu_id, bool show);
bool menu_visible(int menu_id);
// The command codes of the menu's items in order, those of its submenus
// without an id of their own included; separators are left out.
std::vector<std::uint32_t> menu_commands(int menu_id);

// Items by (menu id, command code): the first such item. Setters answer
// false when there is none; getters then answer false, 0 or "".
bool menu_item_exists(int menu_id, std::uint32_t code);
// Enabling an item whose command is not registered leaves it disabled;
// registering the command later enables it. A submenu's entry can be
// enabled once one of the submenu's commands is registered.
bool enable_menu_item(int menu_id, std::uint32_t code, bool enable);
// Whether the item shows enabled.
bool menu_item_enabled(int menu_id, std::uint32_t code);
bool set_menu_item_mark(int menu_id, std::uint32_t code, std::uint8_t mark);
std::uint8_t menu_item_mark(int menu_id, std::uint32_t code);
bool set_menu_item_text(int menu_id, std::uint32_t code, const std::string& utf8);
std::string menu_item_text(int menu_id, std::uint32_t code);
bool show_menu_item(int menu_id, std::uint32_t code, bool show);
bool menu_item_visible(int menu_id, std::uint32_t code);
// The item's position in its menu, from 1, separators counted; 0 when none.
int menu_item_number(int menu_id, std::uint32_t code);

// The item whose shortcut is this key: the character (Mac Roman; letters in
// either case) with the modifier bits of a key record. Menu shortcuts never
// fire by themselves from program windows: the program looks its keys up
// here once its own key table has had them. False when no item has it.
bool menu_key(std::uint8_t ch, std::uint16_t modifiers, int* menu_id, std::uint32_t* code);

// Chooses the item as a person would (the item's own trigger), so a
// disabled or hidden item does nothing. True when the choice was made.
bool choose_menu_item(int menu_id, std::uint32_t code);

}  // namespace plat
