// The toolkit side of program windows, for the layer's own code and tests.
#pragma once

#include <QImage>
#include <QWidget>

#include "platform/ui/windows.h"

namespace plat {

// The widget that shows the window's content.
QWidget* content_widget(Window* w);
// The program window a widget belongs to; nullptr for any other widget.
Window* window_of_widget(const QWidget* widget);
// What the window shows on screen now.
QImage grab_content(Window* w);

}  // namespace plat
