// The toolkit side of the menu bar, for the layer's own code and tests.
#pragma once

#include <QIODevice>
#include <QMenuBar>

namespace plat {

// A menu bar layout written by Designer, read by our own reader: menus,
// submenus, actions, separators, titles, texts, shortcuts, check marks and
// dynamic properties. nullptr for anything else or anything malformed (the
// generic loader then reads it).
QMenuBar* read_menu_bar(QIODevice* file);

}  // namespace plat
