// The Edit menu's Show Clipboard: the clipboard window shown or hidden.
#pragma once

namespace drav {

constexpr int str_show_clipboard = 17;  // 412: the item's text while the window is hidden
constexpr int str_hide_clipboard = 18;  // 412: while it is shown

void ShowClipboard();
// The Edit menu's item says what choosing it does (412 entry 17 or 18).
void set_clipboard_item_text(int index);

}  // namespace drav
