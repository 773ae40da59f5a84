#include "platform/ui/cursors.h"

#include <QApplication>
#include <QCursor>

namespace plat {

namespace {
Cursor g_cursor = Cursor::arrow;
bool g_visible = true;

void apply() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (!g_visible) {
        shape = Qt::BlankCursor;
    } else {
        switch (g_cursor) {
        case Cursor::arrow: shape = Qt::ArrowCursor; break;
        case Cursor::ibeam: shape = Qt::IBeamCursor; break;
        case Cursor::crosshair: shape = Qt::CrossCursor; break;
        case Cursor::watch: shape = Qt::WaitCursor; break;
        }
    }
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(QCursor(shape));
    else
        QApplication::setOverrideCursor(QCursor(shape));
}
}  // namespace

void set_cursor(Cursor c) {
    if (c == g_cursor) return;
    g_cursor = c;
    apply();
}

void show_cursor(bool visible) {
    if (visible == g_visible) return;
    g_visible = visible;
    apply();
}

}  // namespace plat
