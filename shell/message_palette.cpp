#include "shell/message_palette.h"

#include <cstring>

#include "base/menu_items.h"
#include "base/messages.h"
#include "platform/core/text.h"
#include "platform/ui/text_drawing.h"
#include "shell/startup.h"
#include "store/files.h"

namespace drav {

plat::Window* windMessage = nullptr;

namespace {

constexpr int message_width = 420, message_height = 20;
constexpr int default_left = 59, default_below_menu_bar = 18;
constexpr int menu_bar_height = 0;  // the menu bar lies inside the drawing window
constexpr std::size_t retrieve_bytes = 79;
constexpr int tbl_titles = 410, title_messages = 20;

std::string g_text;  // UTF-8, what the palette shows

void draw_message() {
    if (!windMessage) return;
    plat::Port* port = plat::window_port(windMessage);
    plat::draw_text_line(port, port->port_rect(), g_text);
}

// TODO(CreateNibWindow) the window "Messages" of nib "drav" once layouts are loaded; a plain palette meanwhile
int create_message_window(plat::Window** window) {
    plat::WindowSpec desc;
    desc.kind = plat::WindowKind::palette;
    desc.bounds = plat::Rect{0, 0, message_height, message_width};
    desc.title = GetMyLocalCFString(tbl_titles, title_messages);
    *window = plat::new_window(desc);
    return *window ? 0 : -1;
}

}  // namespace

int ShowMessageWindow() {
    if (windMessage) {
        plat::select_window(windMessage);
        return 0;
    }
    plat::Window* w = nullptr;
    const int status = create_message_window(&w);
    if (status != 0) return status;
    windMessage = w;
    g_text.clear();
    const plat::Point saved = lastpnt[lastpnt_messages];
    if (saved.v == 0) {
        const plat::Rect screen = plat::screen_bounds();
        plat::move_window(w, screen.left + default_left, screen.top + menu_bar_height + default_below_menu_bar, true);
    } else {
        plat::move_window(w, saved.h, saved.v, true);
    }
    MyCheckMenuCommand(kMyPaletteMenu, four_cc("PLms"));
    plat::show_window(w);
    draw_message();
    return 0;
}

void CloseMessageWindow() {
    if (!windMessage) return;
    MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLms"));
    std::int16_t flag = 0;
    SaveMessageWindowPosition(&flag, &lastpnt[lastpnt_messages]);
    plat::dispose_window(windMessage);
    windMessage = nullptr;
    g_text.clear();
}

void ToggleMessageWindow() {
    if (windMessage)
        CloseMessageWindow();
    else
        ShowMessageWindow();
}

int MesssageCloseEventHandlerProc() {
    CloseMessageWindow();
    return 0;
}

void SaveMessageWindowPosition(std::int16_t* flag, plat::Point* point) {
    if (!windMessage) return;
    *flag = 1;
    const plat::Rect b = plat::window_bounds(windMessage);
    *point = plat::Point{b.top, b.left};
}

void DisplayCStringMessage(const char* text) {
    if (!windMessage || !text) return;
    g_text = plat::macroman_to_utf8(text);
    draw_message();
}

void DisplayCFStrMessage(const std::string& text) {
    if (!windMessage) return;
    g_text = text;
    draw_message();
}

int DisplayLocalMessage(int table, int index) {
    if (windMessage) DisplayCFStrMessage(GetMyLocalCFString(table, index));
    return 0;
}

void RetrieveCStringMessage(char* buffer) {
    buffer[0] = '\0';
    if (!windMessage) return;
    std::string roman;
    plat::utf8_to_macroman(g_text, roman);
    const std::size_t n = std::min(roman.size(), retrieve_bytes);
    std::memcpy(buffer, roman.data(), n);
    buffer[n] = '\0';
}

}  // namespace drav
