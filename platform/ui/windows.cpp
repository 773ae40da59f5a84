#include "platform/ui/windows.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows_qt.h"
#include "platform/core/clock.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace plat {

namespace {

// Shows a window's port; it never draws anything of its own.
class Surface final : public QWidget {
public:
    explicit Surface(Window* owner) : owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
    }
    Window* owner() const { return owner_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    Window* owner_;
};

// Gives the layer the style options the bar paints with.
class ProgramScrollBar final : public QScrollBar {
public:
    using QScrollBar::QScrollBar;
    QStyleOptionSlider options() const {
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        return opt;
    }
    bool tracked = false;
};

bool g_sizing_by_program = false;
std::vector<Window*> g_windows;  // front to back

bool is_palette(WindowKind k) { return k == WindowKind::palette || k == WindowKind::extension_palette; }

}  // namespace

class Window {
public:
    WindowKind kind = WindowKind::document;
    long refcon = 0;
    std::string title;
    Port port;
    QWidget* top = nullptr;  // the top-level widget
    Surface* content = nullptr;
    bool resized = false;
    bool hilited = false;
    bool has_invalid = false;
    Rect invalid;
    std::vector<std::unique_ptr<Control>> controls;
    std::vector<std::unique_ptr<TextField>> fields;
};

class TextField {
public:
    QLineEdit* edit = nullptr;  // a child of the window's content
};

// A scroll bar whose style options the layer reads to tell its parts apart.
class Control {
public:
    Window* owner = nullptr;
    long refcon = 0;
    ProgramScrollBar* bar = nullptr;
    Rect rect;
};

namespace {

void Surface::paintEvent(QPaintEvent* e) {
    Port& p = owner_->port;
    if (p.width() == 0 || p.height() == 0) return;
    // Everything drawn so far is shown by this paint: presenting it again
    // would only paint the same pixels twice.
    if (e->rect().contains(QRect(0, 0, p.width(), p.height()))) {
        Rect shown;
        p.take_changed(&shown);
    }
    if (p.blank()) {
        // Nothing drawn yet: its one colour, without giving the port pixels.
        QPainter(this).fillRect(e->rect(), QColor::fromRgb(p.pixel(0, 0)));
        return;
    }
    QPainter painter(this);
    paint_port(painter, p, e->rect());
}

// Copies what a port shows into a new buffer of another size, keeping the
// pixels that still fit.
void resize_keeping(Port& port, int width, int height) {
    if (width == port.width() && height == port.height()) return;
    // Never drawn, in the colour a new buffer gets: the new one is the same.
    if (port.blank() && port.pixel(0, 0) == pixel_of(port.back_color())) {
        port.resize(width, height);
        return;
    }
    Port old(port.width(), port.height());
    const Point origin = port.origin();
    port.set_origin(0, 0);
    const Rect all{0, 0, static_cast<std::int16_t>(port.height()), static_cast<std::int16_t>(port.width())};
    copy_bits(port, old, all, all, srcCopy);
    port.resize(width, height);
    const Rect kept{0, 0, static_cast<std::int16_t>(std::min(height, old.height())),
                    static_cast<std::int16_t>(std::min(width, old.width()))};
    copy_bits(old, port, kept, kept, srcCopy);
    port.set_origin(origin.h, origin.v);
}

void Surface::resizeEvent(QResizeEvent*) {
    Port& p = owner_->port;
    const int old_w = p.width(), old_h = p.height();
    resize_keeping(p, width(), height());
    if (!g_sizing_by_program && (old_w != width() || old_h != height())) owner_->resized = true;
    // New area shows nothing yet: the system redraws it.
    if (width() > old_w) invalidate_rect(owner_, Rect{0, static_cast<std::int16_t>(old_w),
                                                      static_cast<std::int16_t>(height()),
                                                      static_cast<std::int16_t>(width())});
    if (height() > old_h) invalidate_rect(owner_, Rect{static_cast<std::int16_t>(old_h), 0,
                                                       static_cast<std::int16_t>(height()),
                                                       static_cast<std::int16_t>(width())});
}

// Where the content sits inside its top-level widget.
QPoint content_offset(const Window* w) {
    if (w->top->layout()) w->top->layout()->activate();
    return w->content->mapTo(w->top, QPoint(0, 0));
}

void order_qt_windows() {
    // The headless platform has no stacking to follow.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    // Raise from back to front so the toolkit's order follows ours.
    for (auto it = g_windows.rbegin(); it != g_windows.rend(); ++it)
        if ((*it)->top->isVisible()) (*it)->top->raise();
    raise_dialogs();
}

}  // namespace

Window* new_window(const WindowSpec& desc) {
    auto* w = new Window;
    w->kind = desc.kind;
    w->refcon = desc.refcon;
    w->title = desc.title;
    w->content = new Surface(w);
    if (desc.main) {
        // The menu bar lies inside the main window, above the content.
        auto* top = new QWidget;
        auto* layout = new QVBoxLayout(top);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->setSizeConstraint(QLayout::SetNoConstraint);
        layout->setMenuBar(new QMenuBar(top));
        layout->addWidget(w->content);
        w->top = top;
    } else {
        w->top = w->content;
        if (is_palette(desc.kind)) w->top->setWindowFlags(Qt::Tool);
    }
    w->top->setWindowTitle(QString::fromStdString(desc.title));
    // The native window is made now, small: a first show would otherwise fit
    // a window to the toolkit's idea of the screen, and the program places
    // its windows itself.
    w->top->resize(1, 1);
    w->top->winId();
    const int width = std::max(desc.bounds.right - desc.bounds.left, 1);
    const int height = std::max(desc.bounds.bottom - desc.bounds.top, 1);
    w->port.resize(width, height);
    g_windows.push_back(w);
    size_window(w, width, height);
    move_window(w, desc.bounds.left, desc.bounds.top, false);
    if (desc.visible) show_window(w);
    return w;
}

void dispose_window(Window* w) {
    if (!w) return;
    g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), w), g_windows.end());
    w->controls.clear();
    w->fields.clear();
    delete w->top;
    delete w;
}

Port* window_port(Window* w) { return w ? &w->port : nullptr; }

Window* window_of_port(const Port* p) {
    for (Window* w : g_windows)
        if (&w->port == p) return w;
    return nullptr;
}

WindowKind window_kind(const Window* w) { return w ? w->kind : WindowKind::other; }
long window_refcon(const Window* w) { return w ? w->refcon : 0; }
void set_window_refcon(Window* w, long refcon) { w->refcon = refcon; }

void set_window_title(Window* w, const std::string& utf8) {
    w->title = utf8;
    w->top->setWindowTitle(QString::fromStdString(utf8));
}

std::string window_title(const Window* w) { return w->title; }

Rect window_bounds(const Window* w) {
    const QPoint g = w->content->mapToGlobal(QPoint(0, 0));
    return Rect{static_cast<std::int16_t>(g.y()), static_cast<std::int16_t>(g.x()),
                static_cast<std::int16_t>(g.y() + w->port.height()),
                static_cast<std::int16_t>(g.x() + w->port.width())};
}

void move_window(Window* w, int left, int top, bool front) {
    const QPoint off = content_offset(w);
    // Client geometry, not the frame's: the content lands exactly there.
    w->top->setGeometry(left - off.x(), top - off.y(), w->top->width(), w->top->height());
    if (front) select_window(w);
}

void set_minimum_size(Window* w, int width, int height) {
    if (!w) return;
    w->content->setMinimumSize(std::max(width, 1), std::max(height, 1));
}

void size_window(Window* w, int width, int height) {
    width = std::clamp(width, std::max(1, w->content->minimumWidth()), 32767);
    height = std::clamp(height, std::max(1, w->content->minimumHeight()), 32767);
    g_sizing_by_program = true;
    if (w->top == w->content) {
        w->top->resize(width, height);
    } else {
        // The menu bar comes on top of the content. A hidden window lays
        // out only when shown, so its height is taken from the bar itself.
        QLayout* layout = w->top->layout();
        const int bar = layout->menuBar() ? layout->menuBar()->sizeHint().height() : 0;
        w->top->resize(width, height + bar);
        if (w->top->isVisible()) layout->activate();
    }
    resize_keeping(w->port, width, height);
    g_sizing_by_program = false;
}

bool take_resized(Window* w) {
    const bool r = w->resized;
    w->resized = false;
    return r;
}

void show_window(Window* w) {
    w->top->show();
    order_qt_windows();
}

void hide_window(Window* w) { w->top->hide(); }

bool window_visible(const Window* w) { return w->top->isVisible(); }

void select_window(Window* w) {
    auto it = std::find(g_windows.begin(), g_windows.end(), w);
    if (it == g_windows.end()) return;
    g_windows.erase(it);
    // Palettes stay above documents: a document goes in front of the first non-palette.
    auto pos = g_windows.begin();
    if (!is_palette(w->kind))
        pos = std::find_if(g_windows.begin(), g_windows.end(), [](Window* x) { return !is_palette(x->kind); });
    g_windows.insert(pos, w);
    if (w->top->isVisible()) {
        order_qt_windows();
        w->top->activateWindow();
    }
}

void send_behind(Window* w, Window* behind) {
    auto it = std::find(g_windows.begin(), g_windows.end(), w);
    if (it == g_windows.end() || w == behind) return;
    g_windows.erase(it);
    auto pos = std::find(g_windows.begin(), g_windows.end(), behind);
    g_windows.insert(pos == g_windows.end() ? pos : pos + 1, w);
    order_qt_windows();
}

void bring_to_front(Window* w) {
    auto it = std::find(g_windows.begin(), g_windows.end(), w);
    if (it == g_windows.end()) return;
    g_windows.erase(it);
    g_windows.insert(g_windows.begin(), w);
    // Raised only: the keyboard stays where the person put it.
    if (w->top->isVisible()) order_qt_windows();
}

void set_window_hilite(Window* w, bool hilited) {
    if (w) w->hilited = hilited;
}

bool window_hilited(const Window* w) { return w && w->hilited; }

bool window_is_main(const Window* w) { return w && w->top != w->content; }

std::vector<Window*> window_list() { return g_windows; }

Window* front_window() {
    for (Window* w : g_windows)
        if (w->top->isVisible()) return w;
    return nullptr;
}

Window* find_window(Point g) {
    for (Window* w : g_windows) {
        if (!w->top->isVisible()) continue;
        const Rect b = window_bounds(w);
        if (g.h >= b.left && g.h < b.right && g.v >= b.top && g.v < b.bottom) return w;
    }
    return nullptr;
}

void invalidate_rect(Window* w, const Rect& r) {
    const Rect c{std::max<std::int16_t>(r.top, 0), std::max<std::int16_t>(r.left, 0),
                 std::min<std::int16_t>(r.bottom, static_cast<std::int16_t>(w->port.height())),
                 std::min<std::int16_t>(r.right, static_cast<std::int16_t>(w->port.width()))};
    if (c.empty()) return;
    if (!w->has_invalid) {
        w->invalid = c;
        w->has_invalid = true;
        return;
    }
    w->invalid = Rect{std::min(w->invalid.top, c.top), std::min(w->invalid.left, c.left),
                      std::max(w->invalid.bottom, c.bottom), std::max(w->invalid.right, c.right)};
}

void validate_rect(Window* w, const Rect& r) {
    // The invalid area is kept as one box: validating a box that covers it
    // clears it; a partial cover leaves it, so nothing is ever missed.
    if (w->has_invalid && r.top <= w->invalid.top && r.left <= w->invalid.left &&
        r.bottom >= w->invalid.bottom && r.right >= w->invalid.right)
        w->has_invalid = false;
}

bool window_has_invalid(const Window* w) { return w->has_invalid; }

bool take_invalid(Window* w, Rect* local) {
    if (!w->has_invalid) return false;
    *local = w->invalid;
    w->has_invalid = false;
    return true;
}

void present_windows() {
    for (Window* w : g_windows) {
        Rect r;
        if (w->port.take_changed(&r) && w->top->isVisible())
            w->content->update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
    }
}

Rect screen_bounds() {
    if (const char* s = std::getenv("DRAVELIN_SCREEN"); s && *s) {
        int width = 0, height = 0;
        if (std::sscanf(s, "%dx%d", &width, &height) == 2 && width >= 64 && height >= 64 &&
            width <= 32767 && height <= 32767)
            return Rect{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return Rect{0, 0, 768, 1024};
    const QRect g = screen->availableGeometry();
    return Rect{static_cast<std::int16_t>(g.top()), static_cast<std::int16_t>(g.left()),
                static_cast<std::int16_t>(g.bottom() + 1), static_cast<std::int16_t>(g.right() + 1)};
}

Control* new_scroll_bar(Window* w, const Rect& local, long refcon, int value, int min, int max) {
    auto c = std::make_unique<Control>();
    c->owner = w;
    c->refcon = refcon;
    const bool horizontal = local.right - local.left > local.bottom - local.top;
    c->bar = new ProgramScrollBar(horizontal ? Qt::Horizontal : Qt::Vertical, w->content);
    c->bar->setFocusPolicy(Qt::NoFocus);
    c->bar->setRange(min, std::max(min, max));
    c->bar->setValue(value);
    c->rect = local;
    c->bar->setGeometry(local.left, local.top, local.right - local.left, local.bottom - local.top);
    c->bar->show();
    w->controls.push_back(std::move(c));
    return w->controls.back().get();
}

void dispose_control(Control* c) {
    if (!c) return;
    auto& list = c->owner->controls;
    delete c->bar;
    list.erase(std::remove_if(list.begin(), list.end(), [c](const auto& p) { return p.get() == c; }), list.end());
}

Window* control_window(const Control* c) { return c->owner; }
long control_refcon(const Control* c) { return c->refcon; }
int control_value(const Control* c) { return c->bar->value(); }
int control_minimum(const Control* c) { return c->bar->minimum(); }
int control_maximum(const Control* c) { return c->bar->maximum(); }
void set_control_value(Control* c, int v) { c->bar->setValue(v); }
void set_control_minimum(Control* c, int v) { c->bar->setMinimum(v); }
void set_control_maximum(Control* c, int v) { c->bar->setMaximum(v); }
Rect control_rect(const Control* c) { return c->rect; }

void move_control(Control* c, int left, int top) {
    const int w = c->rect.right - c->rect.left, h = c->rect.bottom - c->rect.top;
    c->rect = Rect{static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
                   static_cast<std::int16_t>(top + h), static_cast<std::int16_t>(left + w)};
    c->bar->move(left, top);
}

void size_control(Control* c, int width, int height) {
    c->rect.right = static_cast<std::int16_t>(c->rect.left + width);
    c->rect.bottom = static_cast<std::int16_t>(c->rect.top + height);
    c->bar->resize(width, height);
}

void show_control(Control* c) { c->bar->show(); }
void hide_control(Control* c) { c->bar->hide(); }
bool control_visible(const Control* c) { return !c->bar->isHidden(); }

std::vector<Control*> window_controls(const Window* w) {
    std::vector<Control*> out;
    for (const auto& c : w->controls) out.push_back(c.get());
    return out;
}

std::int16_t find_control(Window* w, Point local, Control** which) {
    *which = nullptr;
    if (!w) return 0;
    for (const auto& c : w->controls) {
        const Rect& r = c->rect;
        if (c->bar->isHidden() || local.h < r.left || local.h >= r.right || local.v < r.top || local.v >= r.bottom)
            continue;
        const QStyleOptionSlider opt = c->bar->options();
        const QStyle::SubControl sc = c->bar->style()->hitTestComplexControl(
            QStyle::CC_ScrollBar, &opt, QPoint(local.h - r.left, local.v - r.top), c->bar);
        std::int16_t part = 0;
        switch (sc) {
        case QStyle::SC_ScrollBarSubLine: part = inUpButton; break;
        case QStyle::SC_ScrollBarAddLine: part = inDownButton; break;
        case QStyle::SC_ScrollBarSubPage: part = inPageUp; break;
        case QStyle::SC_ScrollBarAddPage: part = inPageDown; break;
        case QStyle::SC_ScrollBarSlider: part = inThumb; break;
        default: break;
        }
        if (part) *which = c.get();
        return part;
    }
    return 0;
}

int thumb_value(const Control* c, Point from, Point to) {
    const QStyleOptionSlider opt = c->bar->options();
    const QStyle* style = c->bar->style();
    const QRect groove = style->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarGroove, c->bar);
    const QRect slider = style->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, c->bar);
    const bool horizontal = c->bar->orientation() == Qt::Horizontal;
    const int span = horizontal ? groove.width() - slider.width() : groove.height() - slider.height();
    const int start = horizontal ? slider.left() - groove.left() : slider.top() - groove.top();
    const int moved = horizontal ? to.h - from.h : to.v - from.v;
    const int pos = std::clamp(start + moved, 0, std::max(span, 0));
    return QStyle::sliderValueFromPosition(c->bar->minimum(), c->bar->maximum(), pos, std::max(span, 1));
}

Point thumb_center(const Control* c) {
    const QStyleOptionSlider opt = c->bar->options();
    const QRect slider =
        c->bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, c->bar);
    return Point{static_cast<std::int16_t>(c->rect.top + slider.center().y()),
                 static_cast<std::int16_t>(c->rect.left + slider.center().x())};
}

void set_control_tracked(Control* c, bool tracked) { c->bar->tracked = tracked; }

bool program_tracks(const QWidget* widget) {
    const auto* bar = dynamic_cast<const ProgramScrollBar*>(widget);
    return bar && bar->tracked;
}

void track_control(Control* c, std::int16_t part, const std::function<void(Control*, std::int16_t)>& action) {
    // As long as the button is held, a step every 4 ticks after a first
    // pause of 20, as a held arrow repeats.
    constexpr std::uint32_t first_pause = 20, repeat = 4;
    action(c, part);
    std::uint32_t next = ticks() + first_pause;
    EventRecord up;
    while (button() || event_avail(mUpMask, &up)) {
        if (wait_next_event(mUpMask, &up, 1)) return;
        if (static_cast<std::int32_t>(ticks() - next) < 0) continue;
        action(c, part);
        next = ticks() + repeat;
    }
}

int track_thumb(Window* w, const Control* c, Point from) {
    const auto local = [w](Point global) {
        const Rect b = window_bounds(w);
        return Point{static_cast<std::int16_t>(global.v - b.top), static_cast<std::int16_t>(global.h - b.left)};
    };
    Point end = from;
    for (;;) {
        EventRecord up;
        if (wait_next_event(mUpMask, &up, 1)) {
            end = local(up.where);
            break;
        }
        // The pointer where the button came up counts, even without its mouse-up.
        end = local(mouse_global());
        if (!button()) break;
    }
    return thumb_value(c, from, end);
}

}  // namespace plat

namespace plat {

QWidget* content_widget(Window* w) { return w->content; }

Window* window_of_widget(const QWidget* widget) {
    for (Window* w : g_windows)
        if (widget == w->top || w->top->isAncestorOf(widget)) return w;
    return nullptr;
}

void paint_port(QPainter& painter, const Port& port, const QRect& r) {
    const QImage image(reinterpret_cast<const uchar*>(port.pixels().data()), port.width(), port.height(),
                       port.width() * 4, QImage::Format_RGB32);
    painter.drawImage(r.topLeft(), image, r);
    // A screen of more pixels per point shows the sharper pictures of the
    // areas that still look as they did when their detail was set.
    const qreal scale = std::max(painter.device()->devicePixelRatioF(), std::abs(painter.deviceTransform().m11()));
    if (scale < 1.5) return;
    for (const Port::Detail& d : port.details()) {
        const QRect area(d.area.left, d.area.top, d.area.right - d.area.left, d.area.bottom - d.area.top);
        if (d.scale < 2 || !area.intersects(r)) continue;
        const int state = port.detail_state(d);
        if (state == 0) continue;
        QImage sharp(reinterpret_cast<const uchar*>(d.pixels.data()), area.width() * d.scale,
                     area.height() * d.scale, area.width() * d.scale * 4, QImage::Format_RGB32);
        if (state < 0) {
            sharp = sharp.copy();
            sharp.invertPixels();
        }
        sharp.setDevicePixelRatio(d.scale);
        painter.save();
        painter.setClipRect(r);
        painter.drawImage(area.topLeft(), sharp);
        painter.restore();
    }
}

TextField* new_text_field(Window* w, const Rect& local) {
    if (!w) return nullptr;
    auto f = std::make_unique<TextField>();
    f->edit = new QLineEdit(w->content);
    f->edit->setGeometry(local.left, local.top, std::max(local.right - local.left, 1),
                         std::max(local.bottom - local.top, 1));
    f->edit->show();
    w->fields.push_back(std::move(f));
    return w->fields.back().get();
}

void set_text_field_text(TextField* f, const std::string& utf8) {
    if (f) f->edit->setText(QString::fromUtf8(utf8.c_str()));
}

std::string text_field_text(const TextField* f) { return f ? f->edit->text().toUtf8().toStdString() : std::string(); }

void select_text_field(TextField* f, int start, int end) {
    if (!f) return;
    f->edit->setFocus(Qt::OtherFocusReason);
    f->edit->setSelection(start, end - start);
}

bool edit_window_field(Window* w, EditCommand c) {
    if (!w || w->fields.empty()) return false;
    QLineEdit* le = w->fields.front()->edit;
    for (const auto& f : w->fields)
        if (f->edit->hasFocus()) le = f->edit;
    switch (c) {
    case EditCommand::copy: le->copy(); break;
    case EditCommand::cut: le->cut(); break;
    case EditCommand::paste: le->paste(); break;
    case EditCommand::clear:
        if (le->hasSelectedText()) le->del();
        break;
    }
    return true;
}

QImage grab_at_ratio(QWidget* widget, qreal ratio) {
    QCoreApplication::processEvents();
    QImage image(widget->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget->render(&image);
    return image;
}

QImage grab_content(Window* w) {
    QCoreApplication::processEvents();
    return w->content->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace plat
