// Dialogs with numbered items and nib windows with controls found by
// (signature, id), made from Designer layouts at run time:
//   bundle_dir()/ui/dlog/<id>.ui        a dialog resource
//   bundle_dir()/ui/<nib>/<name>.ui     a window of a nib file
// Each widget carries dynamic properties: `item` (its number), or `sig` and
// `id`, and `command` (four characters, spaces kept). User items, pictures
// and lists are the classes DravUserItem, DravPicture and DravList.
//
// Input to a dialog only queues event records: a hit of an item arrives as
// mouseDown with `dialog` and `item` set, a control's command as app1Evt with
// `dialog` set and the command code in `message`, keys as keyDown. Nib
// pop-ups, and drawn nib controls (user items, pictures, labels) that carry a
// `command`, send it when chosen or clicked. A modal
// loop (modal_dialog) takes them from the one queue; nothing here runs Qt.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/picture.h"
#include "platform/core/qd_types.h"
#include "platform/core/raster.h"
#include "platform/ui/events.h"

namespace plat {

class Dialog;
class DItem;

// A radio group is a container (QGroupBox or QWidget with the property
// `radio_group`) of radio buttons: its value is `first_value` (default 1)
// for its first button, one more for each next, first_value - 1 for none.
enum class ItemKind { none, button, check_box, radio, static_text, edit_text, user, picture, popup, list, scroll_bar, radio_group };

// The classic item type codes: 4 button, 5 check box, 6 radio button,
// 7 control (pop-up menu, scroll bar), 8 static text, 16 edit text, 0 user
// item (and list), 64 picture.
int classic_item_type(ItemKind k);

// nullptr and a reason in *error when the layout is missing or malformed.
Dialog* new_dialog(int resource_id, std::string* error);
Dialog* new_nib_window(const std::string& nib, const std::string& name, std::string* error);
// A message box made without a layout: the buttons are items 1..n in order,
// the text is item n + 1.
Dialog* new_message_dialog(const std::string& utf8_text, const std::vector<std::string>& buttons);
// Hides and frees it; what it covered of the program's windows becomes
// invalid (update events follow).
void dispose_dialog(Dialog* d);
bool dialog_alive(const Dialog* d);

void show_dialog(Dialog* d);
void hide_dialog(Dialog* d);
bool dialog_visible(const Dialog* d);
// The front-most visible dialog (the one a modal loop runs; else the
// palette shown last), or nullptr.
Dialog* front_dialog();
std::vector<Dialog*> dialog_list();

// The content area in global pixels.
Rect dialog_bounds(const Dialog* d);
void move_dialog(Dialog* d, int left, int top);
void set_dialog_title(Dialog* d, const std::string& utf8);
// The font of the dialog's text (a classic font number; 0 the system's) and
// its size in points.
void set_dialog_font(Dialog* d, int font, int size);
int dialog_font_size(const Dialog* d);

// Return and Enter press the default item; Escape and command-period the
// cancel item (0: none).
int default_item(const Dialog* d);
int cancel_item(const Dialog* d);
void set_default_item(Dialog* d, int item);
void set_cancel_item(Dialog* d, int item);

// Items. The count is the highest item number.
int item_count(const Dialog* d);
DItem* dialog_item(Dialog* d, int item);  // nullptr when none
DItem* find_control(Dialog* d, std::uint32_t signature, std::int32_t id);
// The first control that sends this command.
DItem* command_control(Dialog* d, std::uint32_t command);
Dialog* item_dialog(const DItem* it);
int item_number(const DItem* it);
ItemKind item_kind(const DItem* it);
// Local to the dialog's content.
Rect item_rect(const DItem* it);

int item_value(const DItem* it);
void set_item_value(DItem* it, int value);
int item_minimum(const DItem* it);
int item_maximum(const DItem* it);
void set_item_minimum(DItem* it, int v);
void set_item_maximum(DItem* it, int v);
// UTF-8. For a pop-up menu the title of its current entry.
std::string item_text(const DItem* it);
void set_item_text(DItem* it, const std::string& utf8);
// 0 active, 255 inactive, 1-253 a part shown pressed.
int item_hilite(const DItem* it);
void set_item_hilite(DItem* it, int hilite);
bool item_visible(const DItem* it);
void set_item_visible(DItem* it, bool visible);

// Pop-up menus and lists: entries from 1.
int entry_count(const DItem* it);
std::string entry_text(const DItem* it, int entry);
void set_entries(DItem* it, const std::vector<std::string>& utf8);

// Edit text: the selection (characters), and the field holding the
// keyboard focus (nullptr when none).
void select_item_text(DItem* it, int start, int end);
void item_selection(const DItem* it, int* start, int* end);
DItem* focus_item(Dialog* d);
// Clipboard commands on the focused field's selection.
enum class EditCommand { copy, cut, paste, clear };
bool edit_focused(Dialog* d, EditCommand c);
class Window;
// The same on a program window's text field that holds the focus, else its
// first one (clear deletes the selection only); false when it has none.
bool edit_window_field(Window* w, EditCommand c);
// A field's key filter: false blocks the character (Mac Roman byte).
using KeyFilter = std::function<bool(DItem*, std::uint8_t ch)>;
void set_key_filter(DItem* it, KeyFilter f);

// User items and pictures draw into the dialog's own port (content-local
// coordinates), which the dialog shows beneath its widgets.
Port* dialog_port(Dialog* d);
using DrawProc = std::function<void(Dialog*, int item)>;
void set_draw_proc(DItem* it, DrawProc p);
// A picture drawn into the item's rectangle (a picture item's contents).
void set_item_picture(DItem* it, const Picture& picture);
// Marks a rectangle of the dialog for redrawing by its draw procedures.
void invalidate_dialog_rect(Dialog* d, const Rect& local);
// Runs the draw procedures of the items whose area is invalid.
void draw_dialog(Dialog* d);

// Queues what a person's hit of an item or press of a command control would
// queue (tests use it; so does the answerer of a question window).
void post_item_hit(Dialog* d, int item);
void post_command(Dialog* d, std::uint32_t command);
// Chooses entry (from 1) of a pop-up menu or list, then queues the hit (a
// nib pop-up's command).
void post_choice(DItem* it, int entry);

// A modal filter: sees every event first; true when it handled it (with the
// item to report in *item, 0 for none).
using ModalFilter = std::function<bool(Dialog*, EventRecord*, std::int16_t* item)>;
// What the layer does without a filter, and what filters fall back on:
// Return and Enter give the default item, Escape and command-period the
// cancel item.
bool standard_filter(Dialog* d, EventRecord* e, std::int16_t* item);
// Runs the dialog modally on the event queue until one of its items is hit
// or one of its controls sends a command; the hit in *item (0 for a
// command), the record in *hit. A quit, or the end of the program, cancels
// the dialog: it then answers the cancel item (or the 'not!' command); the
// quit stays queued. Menu commands and application events wait in the queue
// until the loop ends; clicks elsewhere are dropped.
void modal_dialog(Dialog* d, const ModalFilter& filter, std::int16_t* item, EventRecord* hit = nullptr);
// Whether a modal loop runs now.
bool modal_running();
// The system's handler of update events for its own windows while a modal
// loop runs.
void set_update_handler(std::function<void(const EventRecord&)> h);
// For a modeless dialog: when the record is a hit in one of its items,
// *d and *item name it. The close box of a modeless dialog without a cancel
// item reports the item close_box_item.
constexpr std::int16_t close_box_item = -1;
bool dialog_select(const EventRecord& e, Dialog** d, std::int16_t* item);
// Applies a key to the focused field as the dialog's own handling does
// (typing, deleting, moving, Tab to the next field).
void apply_key(Dialog* d, const EventRecord& e);

// The text the last failing new_dialog/new_nib_window gave.
std::string last_dialog_error();

}  // namespace plat
