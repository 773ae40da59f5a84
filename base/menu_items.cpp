#include "base/menu_items.h"

#include <string_view>

#include "platform/core/text.h"
#include "platform/ui/menus.h"

namespace drav {

namespace {

int id_of(std::uint32_t menu) { return static_cast<int>(menu & 0xFFFF); }

}  // namespace

void MyEnableMenuItem(std::uint32_t menu, std::uint32_t command) {
    plat::enable_menu_item(id_of(menu), command, true);
}

void MyDisableMenuItem(std::uint32_t menu, std::uint32_t command) {
    plat::enable_menu_item(id_of(menu), command, false);
}

void MyEnableMenu(std::uint32_t menu) { plat::enable_menu(id_of(menu), true); }

void MyDisableMenu(std::uint32_t menu) { plat::enable_menu(id_of(menu), false); }

void MyCheckMenuCommand(std::uint32_t menu, std::uint32_t command) {
    plat::set_menu_item_mark(id_of(menu), command, plat::checkMark);
}

void MyUncheckMenuCommand(std::uint32_t menu, std::uint32_t command) {
    plat::set_menu_item_mark(id_of(menu), command, plat::noMark);
}

void MyGetMenuCommandMark(std::uint32_t menu, std::uint32_t command, unsigned char* mark) {
    if (mark) *mark = plat::menu_item_mark(id_of(menu), command);
}

void MySetMenuCommandMark(std::uint32_t menu, std::uint32_t command, unsigned char mark) {
    plat::set_menu_item_mark(id_of(menu), command, mark);
}

void MySetMenuCommandText(std::uint32_t menu, std::uint32_t command, const unsigned char* text) {
    if (!text) return;
    const std::string_view roman(reinterpret_cast<const char*>(text + 1), text[0]);
    plat::set_menu_item_text(id_of(menu), command, plat::macroman_to_utf8(roman));
}

}  // namespace drav
