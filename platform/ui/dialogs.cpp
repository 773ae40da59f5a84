#include "platform/ui/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QUiLoader>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "platform/core/clock.h"
#include "platform/core/process.h"
#include "platform/core/text.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"

namespace plat {

class DItem {
public:
    Dialog* owner = nullptr;
    int number = 0;  // 0: a nib control, found by (signature, id) or command
    ItemKind kind = ItemKind::none;
    QPointer<QWidget> widget;
    std::uint32_t signature = 0;
    std::int32_t id = 0;
    std::uint32_t command = 0;
    int value = 0;  // check boxes, radio buttons, user items, pictures
    int hilite = 0;
    DrawProc draw;
    KeyFilter key_filter;
};

class Dialog {
public:
    QWidget* top = nullptr;
    bool nib = false;
    std::vector<std::unique_ptr<DItem>> items;
    Port port;
    int default_item = 1;
    int cancel_item = 0;
    bool has_invalid = false;
    Rect invalid;
    int font = 0;
    int font_size = 0;
};

namespace {

std::vector<Dialog*> g_dialogs;  // front to back
std::string g_last_error;
int g_modal_depth = 0;
std::function<void(const EventRecord&)> g_update_handler;

constexpr std::uint32_t cancel_command = 0x6E6F7421;  // 'not!'


Dialog* dialog_of_widget(const QWidget* w) {
    if (!w) return nullptr;
    const QWidget* win = w->window();
    for (Dialog* d : g_dialogs)
        if (d->top == win) return d;
    return nullptr;
}

// The item a widget belongs to (the widget itself or one of its parents).
DItem* item_of_widget(Dialog* d, const QWidget* w) {
    for (; w && w != d->top; w = w->parentWidget())
        for (auto& it : d->items)
            if (it->widget == w) return it.get();
    return nullptr;
}

Point global_of(const QWidget* w, QPointF local) {
    const QPoint g = w->mapToGlobal(local.toPoint());
    return Point{clamp16(g.y()), clamp16(g.x())};
}

void queue_hit(Dialog* d, int item, Point where, std::uint16_t modifiers = btnState) {
    EventRecord r;
    r.what = mouseDown;
    r.when = ticks();
    r.where = where;
    r.modifiers = modifiers;
    r.dialog = d;
    r.item = static_cast<std::int16_t>(item);
    post_event(std::move(r));
}

void queue_command(Dialog* d, std::uint32_t command) {
    EventRecord r;
    r.what = app1Evt;
    r.when = ticks();
    r.where = mouse_global();
    r.modifiers = btnState;
    r.message = command;
    r.dialog = d;
    post_event(std::move(r));
}

// Check boxes and radio buttons show the value the program set; a click
// only reports the hit.
void show_value(DItem* it) {
    auto* b = qobject_cast<QAbstractButton*>(it->widget.data());
    if (!b) return;
    const QSignalBlocker block(b);
    if (auto* c = qobject_cast<QCheckBox*>(b)) {
        c->setTristate(it->value > 1);
        c->setCheckState(it->value == 0 ? Qt::Unchecked : it->value == 1 ? Qt::Checked : Qt::PartiallyChecked);
    } else {
        b->setChecked(it->value != 0);
    }
}

// Routes input of dialog widgets into the queue and shows the dialogs' ports.
class DialogFilter final : public QObject {
protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w) return false;
        Dialog* d = dialog_of_widget(w);
        if (!d) return false;
        switch (e->type()) {
        case QEvent::Paint:
            if (w == d->top && d->port.width() > 0) {
                QPainter painter(w);
                paint_port(painter, d->port, static_cast<QPaintEvent*>(e)->rect());
            }
            return false;
        case QEvent::KeyPress: {
            EventRecord r;
            if (key_record(static_cast<QKeyEvent*>(e), &r)) {
                r.dialog = d;
                post_event(std::move(r));
            }
            return true;
        }
        case QEvent::KeyRelease:
            return true;
        case QEvent::Close:
            if (w != d->top) return false;
            // The window's close box cancels, as the program's own cancel does.
            e->ignore();
            if (d->nib) {
                for (auto& it : d->items)
                    if (it->command == cancel_command) {
                        queue_command(d, cancel_command);
                        break;
                    }
            } else if (d->cancel_item > 0) {
                queue_hit(d, d->cancel_item, mouse_global());
            } else if (d->top->property("modeless").toBool()) {
                // A palette: the program decides what its close box does.
                queue_hit(d, close_box_item, mouse_global());
            }
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            DItem* it = item_of_widget(d, w);
            if (!it) return false;
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() != Qt::LeftButton) return false;
            if (!it->number) {
                // A drawn nib control (user item, picture, label) that sends a command.
                const bool drawn = it->kind == ItemKind::user || it->kind == ItemKind::picture ||
                                   it->kind == ItemKind::static_text;
                if (!drawn || !it->command || it->hilite == 255) return false;
                queue_command(d, it->command);
                return true;
            }
            if (it->kind == ItemKind::user || it->kind == ItemKind::picture || it->kind == ItemKind::static_text) {
                // A press on a drawn item (a palette square) is a real mouse-down: its
                // time, place and keys, and later its release, tell a double click
                // or an Alt/Shift click.
                if (it->hilite != 255) {
                    queue_hit(d, it->number, global_of(w, me->position()), modifier_bits(me->modifiers()));
                    pressed_ = it->widget;
                }
                return true;
            }
            // A click into a field places the caret as usual and reports the hit.
            if (it->kind == ItemKind::edit_text) queue_hit(d, it->number, global_of(w, me->position()));
            return false;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() != Qt::LeftButton || !pressed_ || w != pressed_) return false;
            pressed_ = nullptr;
            EventRecord r;
            r.what = mouseUp;
            r.when = ticks();
            r.where = global_of(w, me->position());
            r.modifiers = static_cast<std::uint16_t>(modifier_bits(me->modifiers()) | btnState);
            r.dialog = d;
            post_event(std::move(r));
            return true;
        }
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> pressed_;  // the drawn item whose press was queued
};

std::unique_ptr<DialogFilter> g_filter;

void ensure_filter() {
    if (g_filter || !QCoreApplication::instance()) return;
    g_filter = std::make_unique<DialogFilter>();
    QCoreApplication::instance()->installEventFilter(g_filter.get());
}

class Loader final : public QUiLoader {
public:
    QWidget* createWidget(const QString& cls, QWidget* parent, const QString& name) override {
        QWidget* w = nullptr;
        if (cls == QLatin1String("DravUserItem") || cls == QLatin1String("DravPicture")) {
            w = new QWidget(parent);
            w->setProperty("drav_kind", cls);
        } else if (cls == QLatin1String("DravList")) {
            w = new QListWidget(parent);
            w->setProperty("drav_kind", cls);
        } else {
            return QUiLoader::createWidget(cls, parent, name);
        }
        w->setObjectName(name);
        return w;
    }
};

ItemKind kind_of(const QWidget* w) {
    const QString k = w->property("drav_kind").toString();
    if (k == QLatin1String("DravUserItem")) return ItemKind::user;
    if (k == QLatin1String("DravPicture")) return ItemKind::picture;
    if (k == QLatin1String("DravList")) return ItemKind::list;
    if (w->property("radio_group").toBool()) return ItemKind::radio_group;
    if (qobject_cast<const QPushButton*>(w)) return ItemKind::button;
    if (qobject_cast<const QCheckBox*>(w)) return ItemKind::check_box;
    if (qobject_cast<const QRadioButton*>(w)) return ItemKind::radio;
    if (qobject_cast<const QLineEdit*>(w)) return ItemKind::edit_text;
    if (qobject_cast<const QComboBox*>(w)) return ItemKind::popup;
    if (qobject_cast<const QScrollBar*>(w)) return ItemKind::scroll_bar;
    if (qobject_cast<const QListWidget*>(w)) return ItemKind::list;
    if (qobject_cast<const QLabel*>(w)) return ItemKind::static_text;
    return ItemKind::none;
}

// A control signature: four characters, or a number ("0").
bool signature_of(const QVariant& v, std::uint32_t* sig) {
    if (!v.isValid()) return false;
    if (const std::uint32_t code = code_of_property(v)) {
        *sig = code;
        return true;
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok || n < 0 || n > 0xFFFFFFFFLL) return false;
    *sig = static_cast<std::uint32_t>(n);
    return true;
}

void connect_item(Dialog* d, DItem* it) {
    QWidget* w = it->widget;
    switch (it->kind) {
    case ItemKind::button:
    case ItemKind::check_box:
    case ItemKind::radio: {
        auto* b = static_cast<QAbstractButton*>(w);
        if (it->kind == ItemKind::radio && it->number) b->setAutoExclusive(false);
        if (it->kind != ItemKind::button) it->value = b->isChecked() ? 1 : 0;
        QObject::connect(b, &QAbstractButton::clicked, b, [d, it] {
            if (it->number) show_value(it);
            if (it->number)
                queue_hit(d, it->number, mouse_global());
            else if (it->command)
                queue_command(d, it->command);
        });
        break;
    }
    case ItemKind::popup:
        QObject::connect(static_cast<QComboBox*>(w), &QComboBox::activated, w, [d, it] {
            if (it->number)
                queue_hit(d, it->number, mouse_global());
            else if (it->command)
                queue_command(d, it->command);
        });
        break;
    case ItemKind::list:
        QObject::connect(static_cast<QListWidget*>(w), &QListWidget::itemClicked, w, [d, it] {
            if (it->number) queue_hit(d, it->number, mouse_global());
        });
        break;
    case ItemKind::scroll_bar:
        QObject::connect(static_cast<QScrollBar*>(w), &QScrollBar::actionTriggered, w, [d, it] {
            if (it->number) queue_hit(d, it->number, mouse_global());
        });
        break;
    default:
        break;
    }
}

RGBColor rgb_of(const QColor& c) {
    return RGBColor{static_cast<std::uint16_t>(c.red() * 257), static_cast<std::uint16_t>(c.green() * 257),
                    static_cast<std::uint16_t>(c.blue() * 257)};
}

// Makes the dialog from a loaded top widget: items found, the port made.
Dialog* adopt(QWidget* top, bool nib, std::string* error) {
    auto d = std::make_unique<Dialog>();
    d->top = top;
    d->nib = nib;
    bool ok = false;
    if (const int di = top->property("default_item").toInt(&ok); ok) d->default_item = std::clamp(di, 0, 999);
    if (const int ci = top->property("cancel_item").toInt(&ok); ok) d->cancel_item = std::clamp(ci, 0, 999);
    if (nib) d->default_item = 0;
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (w->window() != top) continue;
        const QVariant item_prop = w->property("item");
        std::uint32_t sig = 0;
        const bool has_sig = signature_of(w->property("sig"), &sig);
        const QVariant id_prop = w->property("id");
        const std::uint32_t command = code_of_property(w->property("command"));
        if (!item_prop.isValid() && !has_sig && !id_prop.isValid() && !command) continue;
        auto it = std::make_unique<DItem>();
        it->owner = d.get();
        it->widget = w;
        it->kind = kind_of(w);
        it->signature = sig;
        it->command = command;
        if (item_prop.isValid()) {
            const int n = item_prop.toInt(&ok);
            if (!ok || n < 1 || n > 999) {
                *error = "item number \"" + item_prop.toString().toStdString() + "\" of " +
                         w->objectName().toStdString() + " is not 1 to 999";
                return nullptr;
            }
            for (const auto& other : d->items)
                if (other->number == n) {
                    *error = "item " + std::to_string(n) + " is given twice";
                    return nullptr;
                }
            it->number = n;
        }
        if (id_prop.isValid()) {
            const qlonglong id = id_prop.toLongLong(&ok);
            if (!ok || id < INT32_MIN || id > INT32_MAX) {
                *error = "control id of " + w->objectName().toStdString() + " is not a number";
                return nullptr;
            }
            it->id = static_cast<std::int32_t>(id);
        }
        connect_item(d.get(), it.get());
        d->items.push_back(std::move(it));
    }
    if (!nib && d->items.empty()) {
        *error = "the layout has no numbered items";
        return nullptr;
    }
    if (!top->property("modeless").toBool()) top->setWindowModality(Qt::ApplicationModal);
    top->setWindowFlag(Qt::Dialog, true);
    if (top->layout()) top->layout()->activate();
    const QSize size = top->size();
    d->port.resize(std::max(size.width(), 1), std::max(size.height(), 1));
    d->port.set_back_color(rgb_of(top->palette().color(QPalette::Window)));
    d->port.erase_rect(Rect{0, 0, clamp16(d->port.height()), clamp16(d->port.width())});
    d->port.set_back_color(RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
    ensure_filter();
    // Made now, hidden: the program places the dialog before showing it.
    top->winId();
    g_dialogs.push_back(d.get());
    return d.release();
}

Dialog* load(const std::filesystem::path& path, bool nib, std::string* error) {
    std::string why;
    Dialog* d = nullptr;
    if (!QCoreApplication::instance()) {
        why = "no desktop";
    } else {
        QFile file(QString::fromStdString(path.string()));
        if (!file.open(QIODevice::ReadOnly)) {
            why = "cannot be read";
        } else {
            Loader loader;
            QWidget* top = loader.load(&file, nullptr);
            if (!top) {
                why = loader.errorString().toStdString();
                if (why.empty()) why = "malformed";
            } else {
                d = adopt(top, nib, &why);
                if (!d) delete top;
            }
        }
    }
    if (!d) g_last_error = "The window layout " + path.string() + " could not be used: " + why + ".";
    if (error) *error = d ? std::string() : g_last_error;
    return d;
}

QList<QRadioButton*> group_buttons(const DItem* it) {
    return it->widget->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

int group_first(const DItem* it) {
    bool ok = false;
    const int f = it->widget->property("first_value").toInt(&ok);
    return ok ? f : 1;
}

bool is_edit(const DItem* it) { return it && it->kind == ItemKind::edit_text && it->widget; }

QLineEdit* line_of(const DItem* it) { return is_edit(it) ? static_cast<QLineEdit*>(it->widget.data()) : nullptr; }

void focus_field(DItem* it) {
    if (QLineEdit* le = line_of(it)) {
        le->setFocus(Qt::OtherFocusReason);
        le->selectAll();
    }
}

}  // namespace

int classic_item_type(ItemKind k) {
    switch (k) {
    case ItemKind::button: return 4;
    case ItemKind::check_box: return 5;
    case ItemKind::radio: return 6;
    case ItemKind::popup:
    case ItemKind::scroll_bar:
    case ItemKind::radio_group: return 7;
    case ItemKind::static_text: return 8;
    case ItemKind::edit_text: return 16;
    case ItemKind::picture: return 64;
    default: return 0;
    }
}

Dialog* new_dialog(int resource_id, std::string* error) {
    return load(bundle_dir() / "ui" / "dlog" / (std::to_string(resource_id) + ".ui"), false, error);
}

Dialog* new_nib_window(const std::string& nib, const std::string& name, std::string* error) {
    // Names come from the program; still, no path may climb out of ui/.
    const auto bad = [](const std::string& s) {
        return s.empty() || s.find('/') != std::string::npos || s == "." || s == "..";
    };
    if (bad(nib) || bad(name)) {
        g_last_error = "The window name \"" + nib + "/" + name + "\" is not valid.";
        if (error) *error = g_last_error;
        return nullptr;
    }
    return load(bundle_dir() / "ui" / nib / (name + ".ui"), true, error);
}

Dialog* new_message_dialog(const std::string& utf8_text, const std::vector<std::string>& buttons) {
    if (!QCoreApplication::instance()) return nullptr;
    auto* top = new QWidget;
    top->setWindowTitle(QStringLiteral("Dravelin"));
    const int n = static_cast<int>(buttons.size());
    const int width = std::max(400, 20 + n * 90);
    auto* label = new QLabel(QString::fromStdString(utf8_text), top);
    label->setWordWrap(true);
    label->setGeometry(20, 16, width - 40, 80);
    label->setProperty("item", n + 1);
    for (int i = 0; i < n; ++i) {
        auto* b = new QPushButton(QString::fromStdString(buttons[i]), top);
        b->setGeometry(width - 20 - (n - i) * 90, 108, 80, 26);
        b->setProperty("item", i + 1);
    }
    top->resize(width, 150);
    std::string why;
    Dialog* d = adopt(top, false, &why);
    if (!d) delete top;
    return d;
}

void dispose_dialog(Dialog* d) {
    auto pos = std::find(g_dialogs.begin(), g_dialogs.end(), d);
    if (pos == g_dialogs.end()) return;
    if (d->top->isVisible()) {
        // What the dialog covered shows again: the windows under it redraw.
        const Rect b = dialog_bounds(d);
        for (Window* w : window_list()) {
            if (!window_visible(w)) continue;
            const Rect wb = window_bounds(w);
            const Rect local{clamp16(b.top - wb.top), clamp16(b.left - wb.left), clamp16(b.bottom - wb.top),
                             clamp16(b.right - wb.left)};
            invalidate_rect(w, local);
        }
    }
    g_dialogs.erase(pos);
    d->items.clear();
    delete d->top;
    delete d;
}

bool dialog_alive(const Dialog* d) { return std::find(g_dialogs.begin(), g_dialogs.end(), d) != g_dialogs.end(); }

void show_dialog(Dialog* d) {
    d->top->show();
    auto pos = std::find(g_dialogs.begin(), g_dialogs.end(), d);
    g_dialogs.erase(pos);
    g_dialogs.insert(g_dialogs.begin(), d);
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        d->top->raise();
        d->top->activateWindow();
    }
    if (!focus_item(d))
        for (auto& it : d->items)
            if (is_edit(it.get()) && !it->widget->isHidden() && it->widget->isEnabled()) {
                focus_field(it.get());
                break;
            }
    invalidate_dialog_rect(d, Rect{0, 0, clamp16(d->port.height()), clamp16(d->port.width())});
    draw_dialog(d);
}

void hide_dialog(Dialog* d) {
    if (!d->top->isVisible()) return;
    const Rect b = dialog_bounds(d);
    d->top->hide();
    for (Window* w : window_list()) {
        if (!window_visible(w)) continue;
        const Rect wb = window_bounds(w);
        invalidate_rect(w, Rect{clamp16(b.top - wb.top), clamp16(b.left - wb.left), clamp16(b.bottom - wb.top),
                                clamp16(b.right - wb.left)});
    }
}

bool dialog_visible(const Dialog* d) { return d->top->isVisible(); }

Dialog* front_dialog() {
    // The list runs front to back; a modal dialog stands in front of the
    // palettes.
    Dialog* modeless = nullptr;
    for (Dialog* d : g_dialogs) {
        if (!d->top->isVisible()) continue;
        if (!d->top->property("modeless").toBool()) return d;
        if (!modeless) modeless = d;
    }
    return modeless;
}

std::vector<Dialog*> dialog_list() { return g_dialogs; }

void raise_dialogs() {
    // The list runs front to back; modal dialogs go last, so they end on top.
    for (const bool modal : {false, true})
        for (auto it = g_dialogs.rbegin(); it != g_dialogs.rend(); ++it) {
            QWidget* top = (*it)->top;
            if (top->isVisible() && top->property("modeless").toBool() != modal) top->raise();
        }
}

Rect dialog_bounds(const Dialog* d) {
    const QPoint g = d->top->mapToGlobal(QPoint(0, 0));
    return Rect{clamp16(g.y()), clamp16(g.x()), clamp16(g.y() + d->top->height()),
                clamp16(g.x() + d->top->width())};
}

void move_dialog(Dialog* d, int left, int top) {
    d->top->setGeometry(left, top, d->top->width(), d->top->height());
}

void set_dialog_title(Dialog* d, const std::string& utf8) { d->top->setWindowTitle(QString::fromStdString(utf8)); }

void set_dialog_font(Dialog* d, int font, int size) {
    d->font = font;
    d->font_size = size;
    if (size > 0 && size < 128) {
        QFont f = d->top->font();
        f.setPointSize(size);
        d->top->setFont(f);
    }
}

int dialog_font_size(const Dialog* d) { return d->font_size; }

int default_item(const Dialog* d) { return d->default_item; }
int cancel_item(const Dialog* d) { return d->cancel_item; }

void set_default_item(Dialog* d, int item) {
    d->default_item = item;
    for (auto& it : d->items)
        if (auto* b = qobject_cast<QPushButton*>(it->widget.data())) b->setDefault(it->number == item && item > 0);
}

void set_cancel_item(Dialog* d, int item) { d->cancel_item = item; }

int item_count(const Dialog* d) {
    int n = 0;
    for (const auto& it : d->items) n = std::max(n, it->number);
    return n;
}

DItem* dialog_item(Dialog* d, int item) {
    if (!d || item < 1) return nullptr;
    for (auto& it : d->items)
        if (it->number == item && it->widget) return it.get();
    return nullptr;
}

DItem* find_control(Dialog* d, std::uint32_t signature, std::int32_t id) {
    if (!d) return nullptr;
    for (auto& it : d->items)
        if (it->signature == signature && it->id == id && it->widget &&
            (it->widget->property("id").isValid() || it->widget->property("sig").isValid()))
            return it.get();
    return nullptr;
}

DItem* command_control(Dialog* d, std::uint32_t command) {
    if (!d || !command) return nullptr;
    for (auto& it : d->items)
        if (it->command == command && it->widget) return it.get();
    return nullptr;
}

Dialog* item_dialog(const DItem* it) { return it ? it->owner : nullptr; }
int item_number(const DItem* it) { return it ? it->number : 0; }
ItemKind item_kind(const DItem* it) { return it ? it->kind : ItemKind::none; }

Rect item_rect(const DItem* it) {
    if (!it || !it->widget) return Rect{};
    QWidget* top = it->owner->top;
    if (top->layout()) top->layout()->activate();
    const QPoint p = it->widget->mapTo(top, QPoint(0, 0));
    return Rect{clamp16(p.y()), clamp16(p.x()), clamp16(p.y() + it->widget->height()),
                clamp16(p.x() + it->widget->width())};
}

int item_value(const DItem* it) {
    if (!it || !it->widget) return 0;
    switch (it->kind) {
    case ItemKind::popup: return static_cast<QComboBox*>(it->widget.data())->currentIndex() + 1;
    case ItemKind::list: return static_cast<QListWidget*>(it->widget.data())->currentRow() + 1;
    case ItemKind::scroll_bar: return static_cast<QScrollBar*>(it->widget.data())->value();
    case ItemKind::radio_group: {
        const auto buttons = group_buttons(it);
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked()) return group_first(it) + i;
        return group_first(it) - 1;
    }
    case ItemKind::check_box:
    case ItemKind::radio:
        if (!it->number) {
            // A nib control changes by itself.
            auto* c = qobject_cast<QCheckBox*>(it->widget.data());
            if (c && c->checkState() == Qt::PartiallyChecked) return 2;
            return static_cast<QAbstractButton*>(it->widget.data())->isChecked() ? 1 : 0;
        }
        return it->value;
    default: return it->value;
    }
}

void set_item_value(DItem* it, int value) {
    if (!it || !it->widget) return;
    switch (it->kind) {
    case ItemKind::popup: {
        auto* c = static_cast<QComboBox*>(it->widget.data());
        c->setCurrentIndex(value >= 1 && value <= c->count() ? value - 1 : -1);
        break;
    }
    case ItemKind::list: {
        auto* l = static_cast<QListWidget*>(it->widget.data());
        l->setCurrentRow(value >= 1 && value <= l->count() ? value - 1 : -1);
        break;
    }
    case ItemKind::scroll_bar: static_cast<QScrollBar*>(it->widget.data())->setValue(value); break;
    case ItemKind::radio_group: {
        const auto buttons = group_buttons(it);
        const int index = value - group_first(it);
        for (auto* b : buttons) b->setAutoExclusive(false);
        for (int i = 0; i < buttons.size(); ++i) buttons[i]->setChecked(i == index);
        for (auto* b : buttons) b->setAutoExclusive(true);
        break;
    }
    default:
        it->value = value;
        show_value(it);
        break;
    }
}

int item_minimum(const DItem* it) {
    if (it && it->kind == ItemKind::scroll_bar && it->widget) return static_cast<QScrollBar*>(it->widget.data())->minimum();
    return 0;
}

int item_maximum(const DItem* it) {
    if (!it || !it->widget) return 0;
    if (it->kind == ItemKind::scroll_bar) return static_cast<QScrollBar*>(it->widget.data())->maximum();
    if (it->kind == ItemKind::popup || it->kind == ItemKind::list) return entry_count(it);
    return 1;
}

void set_item_minimum(DItem* it, int v) {
    if (it && it->kind == ItemKind::scroll_bar && it->widget) static_cast<QScrollBar*>(it->widget.data())->setMinimum(v);
}

void set_item_maximum(DItem* it, int v) {
    if (it && it->kind == ItemKind::scroll_bar && it->widget) static_cast<QScrollBar*>(it->widget.data())->setMaximum(v);
}

std::string item_text(const DItem* it) {
    if (!it || !it->widget) return {};
    QWidget* w = it->widget;
    if (auto* le = qobject_cast<QLineEdit*>(w)) return le->text().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->currentItem() ? l->currentItem()->text().toStdString() : "";
    return {};
}

void set_item_text(DItem* it, const std::string& utf8) {
    if (!it || !it->widget) return;
    QWidget* w = it->widget;
    const QString t = QString::fromStdString(utf8);
    if (auto* le = qobject_cast<QLineEdit*>(w))
        le->setText(t);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(t);
}

int item_hilite(const DItem* it) { return it ? it->hilite : 0; }

void set_item_hilite(DItem* it, int hilite) {
    if (!it || !it->widget) return;
    it->hilite = std::clamp(hilite, 0, 255);
    it->widget->setEnabled(it->hilite != 255);
    if (auto* b = qobject_cast<QAbstractButton*>(it->widget.data())) b->setDown(it->hilite > 0 && it->hilite < 254);
}

bool item_visible(const DItem* it) { return it && it->widget && !it->widget->isHidden(); }

void set_item_visible(DItem* it, bool visible) {
    if (!it || !it->widget) return;
    it->widget->setVisible(visible);
    invalidate_dialog_rect(it->owner, item_rect(it));
}

int entry_count(const DItem* it) {
    if (!it || !it->widget) return 0;
    if (auto* c = qobject_cast<QComboBox*>(it->widget.data())) return c->count();
    if (auto* l = qobject_cast<QListWidget*>(it->widget.data())) return l->count();
    return 0;
}

std::string entry_text(const DItem* it, int entry) {
    if (entry < 1 || entry > entry_count(it)) return {};
    if (auto* c = qobject_cast<QComboBox*>(it->widget.data())) return c->itemText(entry - 1).toStdString();
    return static_cast<QListWidget*>(it->widget.data())->item(entry - 1)->text().toStdString();
}

void set_entries(DItem* it, const std::vector<std::string>& utf8) {
    if (!it || !it->widget) return;
    QStringList list;
    for (const auto& s : utf8) list << QString::fromStdString(s);
    if (auto* c = qobject_cast<QComboBox*>(it->widget.data())) {
        const QSignalBlocker block(c);
        c->clear();
        c->addItems(list);
    } else if (auto* l = qobject_cast<QListWidget*>(it->widget.data())) {
        l->clear();
        l->addItems(list);
    }
}

void select_item_text(DItem* it, int start, int end) {
    QLineEdit* le = line_of(it);
    if (!le) return;
    const int n = static_cast<int>(le->text().size());
    start = std::clamp(start, 0, n);
    end = std::clamp(end, start, n);
    le->setFocus(Qt::OtherFocusReason);
    le->setSelection(start, end - start);
}

void item_selection(const DItem* it, int* start, int* end) {
    *start = *end = 0;
    QLineEdit* le = line_of(it);
    if (!le) return;
    if (le->hasSelectedText()) {
        *start = le->selectionStart();
        *end = le->selectionEnd();
    } else {
        *start = *end = le->cursorPosition();
    }
}

DItem* focus_item(Dialog* d) {
    if (!d) return nullptr;
    QWidget* f = d->top->focusWidget();
    if (!f) return nullptr;
    DItem* it = item_of_widget(d, f);
    return is_edit(it) ? it : nullptr;
}

bool edit_focused(Dialog* d, EditCommand c) {
    QLineEdit* le = line_of(focus_item(d));
    if (!le) return false;
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

void set_key_filter(DItem* it, KeyFilter f) {
    if (it) it->key_filter = std::move(f);
}

Port* dialog_port(Dialog* d) { return d ? &d->port : nullptr; }

void set_draw_proc(DItem* it, DrawProc p) {
    if (!it) return;
    it->draw = std::move(p);
    invalidate_dialog_rect(it->owner, item_rect(it));
}

void set_item_picture(DItem* it, const Picture& picture) {
    if (!it) return;
    set_draw_proc(it, [picture](Dialog* d, int item) {
        draw_picture(d->port, picture, item_rect(dialog_item(d, item)));
    });
}

void invalidate_dialog_rect(Dialog* d, const Rect& r) {
    if (!d || r.empty()) return;
    if (!d->has_invalid) {
        d->invalid = r;
        d->has_invalid = true;
        return;
    }
    d->invalid = Rect{std::min(d->invalid.top, r.top), std::min(d->invalid.left, r.left),
                      std::max(d->invalid.bottom, r.bottom), std::max(d->invalid.right, r.right)};
}

void draw_dialog(Dialog* d) {
    if (!d || !dialog_alive(d)) return;
    if (d->has_invalid) {
        const Rect inv = d->invalid;
        d->has_invalid = false;
        PortSaver saver(&d->port);
        // Procedures draw around their items too (frames, shadows): each
        // runs when its item, grown a little, meets the invalid area.
        for (std::size_t i = 0; i < d->items.size(); ++i) {
            DItem* it = d->items[i].get();
            if (!it->draw || !it->widget || it->widget->isHidden()) continue;
            const Rect r = item_rect(it);
            if (r.right + 8 <= inv.left || r.left - 8 >= inv.right || r.bottom + 8 <= inv.top ||
                r.top - 8 >= inv.bottom)
                continue;
            const DrawProc proc = it->draw;
            proc(d, it->number);
            if (!dialog_alive(d)) return;
        }
    }
    Rect changed;
    if (d->port.take_changed(&changed))
        d->top->update(QRect(changed.left, changed.top, changed.right - changed.left, changed.bottom - changed.top));
}

void post_item_hit(Dialog* d, int item) {
    Point where = mouse_global();
    if (DItem* it = dialog_item(d, item)) {
        const Rect r = item_rect(it);
        const Rect b = dialog_bounds(d);
        where = Point{clamp16(b.top + (r.top + r.bottom) / 2), clamp16(b.left + (r.left + r.right) / 2)};
    }
    queue_hit(d, item, where);
}

void post_command(Dialog* d, std::uint32_t command) { queue_command(d, command); }

void post_choice(DItem* it, int entry) {
    if (!it) return;
    set_item_value(it, entry);
    if (!it->number && it->command)
        queue_command(it->owner, it->command);  // a nib pop-up reports its command
    else
        post_item_hit(it->owner, it->number);
}

bool standard_filter(Dialog* d, EventRecord* e, std::int16_t* item) {
    if (e->what != keyDown && e->what != autoKey) return false;
    const std::uint8_t ch = static_cast<std::uint8_t>(e->message & 0xFF);
    const bool cmd = (e->modifiers & cmdKey) != 0;
    const bool press_default = !cmd && (ch == 13 || ch == 3);
    const bool press_cancel = (!cmd && ch == 27) || (cmd && ch == '.');
    if (!press_default && !press_cancel) return false;
    if (d->nib) {
        // Nib windows: the default push button, or the one that cancels, sends its command.
        DItem* target = nullptr;
        for (auto& it : d->items) {
            auto* b = qobject_cast<QPushButton*>(it->widget.data());
            if (!b || !it->command || !b->isEnabled()) continue;
            if ((press_default && b->isDefault()) || (press_cancel && it->command == cancel_command)) {
                target = it.get();
                break;
            }
        }
        if (!target) return false;
        e->what = app1Evt;
        e->message = target->command;
        e->dialog = d;
        return false;
    }
    const int n = press_default ? d->default_item : d->cancel_item;
    DItem* it = dialog_item(d, n);
    if (!it || it->hilite == 255) return false;
    *item = static_cast<std::int16_t>(n);
    return true;
}

bool modal_running() { return g_modal_depth > 0; }

void set_update_handler(std::function<void(const EventRecord&)> h) { g_update_handler = std::move(h); }

void modal_dialog(Dialog* d, const ModalFilter& filter, std::int16_t* item, EventRecord* hit) {
    *item = 0;
    if (!dialog_alive(d)) return;
    ++g_modal_depth;
    std::vector<EventRecord> held;
    const auto run_filter = [&](EventRecord* e, std::int16_t* it) {
        *it = 0;
        return filter ? filter(d, e, it) : standard_filter(d, e, it);
    };
    for (;;) {
        draw_dialog(d);
        EventRecord e;
        const bool got = wait_next_event(everyEvent, &e, 6);
        if (!dialog_alive(d)) break;
        const bool quitting = (got && e.what == kHighLevelEvent && e.message == ae_quit) || termination_requested();
        if (quitting) {
            // The session ends: the dialog is cancelled, the quit goes on after it.
            if (got) held.push_back(e);
            EventRecord c;
            c.when = ticks();
            c.dialog = d;
            if (d->nib) {
                c.what = app1Evt;
                c.message = cancel_command;
            } else {
                c.what = mouseDown;
                c.item = static_cast<std::int16_t>(d->cancel_item ? d->cancel_item : d->default_item);
                *item = c.item;
            }
            if (hit) *hit = c;
            break;
        }
        if (!got) {
            std::int16_t it = 0;
            run_filter(&e, &it);
            continue;
        }
        if (e.what == updateEvt) {
            if (e.window && g_update_handler) g_update_handler(e);
            std::int16_t it = 0;
            run_filter(&e, &it);
            continue;
        }
        if (e.what == kHighLevelEvent || (e.what == app1Evt && !e.dialog)) {
            held.push_back(e);
            continue;
        }
        if (e.what == keyDown || e.what == autoKey) {
            e.dialog = d;  // the modal dialog takes every key
        } else if (e.dialog != d || (e.what != mouseDown && e.what != app1Evt)) {
            continue;  // elsewhere: dropped
        }
        std::int16_t it = 0;
        if (run_filter(&e, &it)) {
            if (it != 0) {
                *item = it;
                if (hit) *hit = e;
                break;
            }
            continue;
        }
        if (e.what == app1Evt && e.dialog == d) {
            if (hit) *hit = e;
            break;
        }
        if (e.what == mouseDown && e.dialog == d && e.item > 0) {
            *item = e.item;
            if (hit) *hit = e;
            break;
        }
        if (e.what == keyDown || e.what == autoKey) apply_key(d, e);
    }
    --g_modal_depth;
    for (auto& e : held) post_event(std::move(e));
}

bool dialog_select(const EventRecord& e, Dialog** d, std::int16_t* item) {
    *d = nullptr;
    *item = 0;
    if (!e.dialog || !dialog_alive(e.dialog)) return false;
    if (e.what == mouseDown && (e.item > 0 || e.item == close_box_item)) {
        *d = e.dialog;
        *item = e.item;
        return true;
    }
    if (e.what == keyDown || e.what == autoKey) apply_key(e.dialog, e);
    return false;
}

void apply_key(Dialog* d, const EventRecord& e) {
    if (!d || !dialog_alive(d) || (e.modifiers & cmdKey)) return;
    const std::uint8_t ch = static_cast<std::uint8_t>(e.message & 0xFF);
    DItem* f = focus_item(d);
    if (ch == 9) {
        // Tab: the next field, all of its text selected.
        std::vector<DItem*> fields;
        for (auto& it : d->items)
            if (is_edit(it.get()) && !it->widget->isHidden() && it->widget->isEnabled()) fields.push_back(it.get());
        std::sort(fields.begin(), fields.end(), [](DItem* a, DItem* b) { return a->number < b->number; });
        if (fields.empty()) return;
        auto pos = std::find(fields.begin(), fields.end(), f);
        const bool back = (e.modifiers & shiftKey) != 0;
        DItem* next;
        if (pos == fields.end())
            next = fields.front();
        else if (back)
            next = pos == fields.begin() ? fields.back() : *(pos - 1);
        else
            next = pos + 1 == fields.end() ? fields.front() : *(pos + 1);
        focus_field(next);
        return;
    }
    QLineEdit* le = line_of(f);
    if (!le || !le->isEnabled()) return;
    if (f->key_filter && !f->key_filter(f, ch)) return;
    const bool shift = (e.modifiers & shiftKey) != 0;
    switch (ch) {
    case 8: le->backspace(); break;
    case 127: le->del(); break;
    case 28: le->cursorBackward(shift); break;
    case 29: le->cursorForward(shift); break;
    case 1: le->home(shift); break;
    case 4: le->end(shift); break;
    case 3:
    case 13:
    case 27:
    case 30:
    case 31: break;
    default:
        if (ch >= 32) le->insert(QString::fromStdString(macroman_to_utf8(std::string(1, static_cast<char>(ch)))));
        break;
    }
}

std::string last_dialog_error() { return g_last_error; }

QImage grab_dialog(Dialog* d) {
    draw_dialog(d);
    QCoreApplication::processEvents();
    return d->top->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QWidget* dialog_widget(Dialog* d) { return d ? d->top : nullptr; }

}  // namespace plat
