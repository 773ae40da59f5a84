// The helpers every window goes through: items of old-style dialogs by
// number (a null dialog, a closed palette, makes each do nothing), nib
// windows by name, the preparation of a dialog before it shows, the user
// items that frame other items, pop-up menu records, and the closing calls
// that repaint what a dialog uncovered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/qd_types.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"

namespace drav {

using DialogPtr = plat::Dialog*;
using ControlRef = plat::DItem*;

// The system's script: 1 for Japanese, whose palettes take their own font.
extern std::int32_t syslang;

// Item type of an edit-text item.
constexpr int editText = 16;

void setvalue(DialogPtr dialog, int item, int value);
int getvalue(DialogPtr dialog, int item);
// Toggles a check box: 0 becomes 1, any other value 0.
void markbox(DialogPtr dialog, int item);
// Clears items first..last in ascending order, then sets `chosen`.
void markbutton(DialogPtr dialog, int first, int last, int chosen);
// The highest marked item of first..last, minus base.
std::int16_t whichmarked(DialogPtr dialog, int first, int last, int base);
void buttonOn(DialogPtr dialog, int item);
void buttonOff(DialogPtr dialog, int item);
// Texts are Mac Roman.
void set_item(DialogPtr dialog, int item, const char* text);
void pset_item(DialogPtr dialog, int item, const unsigned char* text);
// At most 255 bytes and a NUL: buffer holds 256.
void get_item(DialogPtr dialog, int item, char* buffer);
void invert_item(DialogPtr dialog, int item);
void show_ditem_range(DialogPtr dialog, int first, int last);
void hide_ditem_range(DialogPtr dialog, int first, int last);
void select_text(DialogPtr dialog, int item);
void reselect_text(DialogPtr dialog);
bool check_the_string(DialogPtr dialog, int item, const char* text);
// Error 84 and the text selected when it is longer than max.
bool check_string_length(DialogPtr dialog, int item, int max);
// An error and the text selected when the field holds a character that
// has no Mac Roman form, the encoding of every text a drawing stores.
bool check_roman_text(DialogPtr dialog, int item);
// The same on a text-edit field.
bool okstg_string_length(ControlRef field, int max);

// Shows (1) or hides (0) a scroll bar of a program window, in its standard colours.
void settcontrol(plat::Control* control, int state);
// The old-style dialog of this resource id, hidden; a layout that is missing
// or malformed is reported to the user and gives null (the caller then
// answers as after Cancel).
DialogPtr open_dialog(int resource_id);
// 0 and the window in *out, or the failing status (out untouched).
int CreateNibWindow(const char* nib, const char* name, DialogPtr* out);
constexpr int nib_window_missing = -1;
// The rectangle converted from the current port's local to global pixels.
void rect_localtoglobal(plat::Rect* dst, const plat::Rect* src);
void set_Palette_FontAndSize(DialogPtr dialog);

// Runs a nib window application-modally: every command one of its controls
// sends goes to the handler, until the handler answers true (it ended the
// loop; it may have disposed of the window). A window still there
// afterwards is left to the caller.
void RunAppModalLoopForWindow(DialogPtr window, bool (*handler)(DialogPtr window, std::uint32_t command));

void dialog_cursor();
// Horizontally centred on the main screen, 40 pixels below its top.
void center_the_dialog(DialogPtr dialog);
void setup_dialog(DialogPtr dialog);
void setup_dialog_noncentered(DialogPtr dialog);
void showmessage(const char* text);

// User-item drawing procedures.
void framesq(DialogPtr dialog, int item);
void frameround(DialogPtr dialog, int item);
void popup_updater(DialogPtr dialog, int item);
void framerect(DialogPtr dialog, int item);

// A pop-up menu: entries with their marks (Mac Roman).
struct PopupMenu {
    std::vector<std::string> entries;
    std::vector<std::uint8_t> marks;
};
using PopupMenuHandle = PopupMenu*;

struct PopupMenuRec {
    PopupMenuHandle menu = nullptr;
    DialogPtr dialog = nullptr;
    std::int16_t item = 0;
    std::int16_t current = 0;  // 0: none
};

PopupMenuHandle get_PopupMenuHandle(const PopupMenuRec* rec);
void set_PopupMenuHandle(PopupMenuRec* rec, PopupMenuHandle menu);
void get_CurrentPopupMenuItem(const PopupMenuRec* rec, std::int16_t* item);
void set_CurrentPopupMenuItem(PopupMenuRec* rec, std::int16_t item);
void causePopupItemUpdate(PopupMenuRec* rec);
void DetachPopupFromDialog(PopupMenuRec* rec);
bool GetPopupSelection(DialogPtr dialog, int item, std::int16_t* value);
bool GetPopupMenuHandle(int number, PopupMenuHandle* menu);
// Makes `rec` the record behind the pop-up item and draws it by popup_updater.
void AttachPopupToDialog(PopupMenuRec* rec, DialogPtr dialog, int item);

void pagesetup();
void printdoc();

// Closing and hiding.
void ourdisposdialog1(DialogPtr dialog);
// Disposes, then repaints at once what it uncovered.
void ourdisposdialog2(DialogPtr dialog);
void ourhidewindow(DialogPtr dialog);
// Handles every pending update event (or a postponed palette click) now.
void updatewindows();
void InitDialogValue(DialogPtr dialog, int item, int value);
void setframerectangle(DialogPtr dialog, int item);
void framerectangleHook(DialogPtr dialog, int item);

}  // namespace drav
