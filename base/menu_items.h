// Menu items by menu id and four-character command code, never by position.
// Menu ids are 32-bit; their low 16 bits hold the id.
#pragma once

#include <cstdint>

namespace drav {

constexpr std::uint32_t kMyFileMenu = 1;
constexpr std::uint32_t kMyEditMenu = 2;
constexpr std::uint32_t kMyGroupMenu = 3;
constexpr std::uint32_t kMyPaletteMenu = 4;
constexpr std::uint32_t kMySettingMenu = 5;
constexpr std::uint32_t kMyArchMenu = 6;
constexpr std::uint32_t kMyMechMenu = 7;
constexpr std::uint32_t kMyWindowMenu = 8;
constexpr std::uint32_t kMyHandleMenu = 13;
constexpr std::uint32_t kMyPivotMenu = 14;

void MyEnableMenuItem(std::uint32_t menu, std::uint32_t command);
void MyDisableMenuItem(std::uint32_t menu, std::uint32_t command);
// The menu's title and all its items.
void MyEnableMenu(std::uint32_t menu);
void MyDisableMenu(std::uint32_t menu);
void MyCheckMenuCommand(std::uint32_t menu, std::uint32_t command);
void MyUncheckMenuCommand(std::uint32_t menu, std::uint32_t command);
// Marks are Mac Roman characters (plat::checkMark, plat::noMark); noMark
// when the menu has no such item.
void MyGetMenuCommandMark(std::uint32_t menu, std::uint32_t command, unsigned char* mark);
void MySetMenuCommandMark(std::uint32_t menu, std::uint32_t command, unsigned char mark);
// text: length-prefixed, Mac Roman.
void MySetMenuCommandText(std::uint32_t menu, std::uint32_t command, const unsigned char* text);

}  // namespace drav
