// The toolkit side of program windows, for the layer's own code and tests.
#pragma once

#include <QImage>
#include <QPainter>
#include <QKeyEvent>
#include <QWidget>

#include "platform/ui/events.h"
#include "platform/ui/windows.h"

namespace plat {

// The widget that shows the window's content.
QWidget* content_widget(Window* w);
// The program window a widget belongs to; nullptr for any other widget.
Window* window_of_widget(const QWidget* widget);
// A scroll bar whose presses the program tracks itself.
bool program_tracks(const QWidget* widget);
// What the window shows on screen now.
QImage grab_content(Window* w);
// Paints area r of a port (its sharper details too, on a device of more
// pixels per point).
void paint_port(QPainter& painter, const Port& port, const QRect& r);
// What the widget would show on a screen of `ratio` pixels per point.
QImage grab_at_ratio(QWidget* widget, qreal ratio);

// The key record of a key press (no window set); false for keys that bring
// no character.
bool key_record(const QKeyEvent* e, EventRecord* r);
// The modifier bits of the toolkit's keyboard modifiers (no button bit).
std::uint16_t modifier_bits(Qt::KeyboardModifiers m);
// A four-character code held in a Designer property: exactly four printable
// ASCII characters, spaces kept; 0 for anything else.
std::uint32_t code_of_property(const QVariant& v);

class Dialog;
// What the dialog shows on screen now.
QImage grab_dialog(Dialog* d);
// The dialog's top-level widget.
QWidget* dialog_widget(Dialog* d);
// Raises the visible dialogs above the program's windows, back to front:
// the windows made as dialogs (the coordinate input window) are palettes
// and stay above the documents, and a modal dialog stays above them all.
void raise_dialogs();

}  // namespace plat
