#include "platform/ui/cursors.h"

#include <QApplication>
#include <QCursor>

namespace plat {

namespace {
Cursor g_cursor = Cursor::arrow;
bool g_visible = true;
bool g_obscured = false;

void apply();

// Ends the hiding of obscure_cursor at the next move of the mouse.
class MoveWatch final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (g_obscured && (e->type() == QEvent::MouseMove || e->type() == QEvent::HoverMove)) {
            g_obscured = false;
            apply();
        }
        return false;
    }
};

void apply() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (!g_visible || g_obscured) {
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

void obscure_cursor() {
    static MoveWatch* watch = nullptr;
    if (!watch && QCoreApplication::instance()) {
        watch = new MoveWatch;
        QCoreApplication::instance()->installEventFilter(watch);
    }
    if (g_obscured) return;
    g_obscured = true;
    apply();
}

bool cursor_obscured() { return g_obscured; }

void show_cursor(bool visible) {
    if (visible == g_visible) return;
    g_visible = visible;
    apply();
}

}  // namespace plat
