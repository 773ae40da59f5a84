#include "platform/ui/menus.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QFile>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QHash>
#include <QKeySequence>
#include <QUiLoader>
#include <QWidget>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include "platform/core/clock.h"
#include "platform/ui/events.h"
#include "platform/ui/menus_qt.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"

namespace plat {

namespace {

struct MenuNode {
    QPointer<QMenu> menu;
    QMenu* parent = nullptr;  // nullptr for a menu of the bar
    int id = 0;               // 0: a submenu addressed through its parent's id
    bool title_wanted = true;
};

struct Item {
    QPointer<QAction> action;
    QMenu* owner = nullptr;    // the menu that lists it
    QMenu* submenu = nullptr;  // the entry opens this submenu
    int menu_id = 0;
    std::uint32_t code = 0;    // 0: not addressable
    bool wanted = true;        // what the program asked
    std::uint8_t mark = noMark;
};

QPointer<QMenuBar> g_bar;
std::vector<MenuNode> g_menus;
std::vector<Item> g_items;
std::set<std::uint32_t> g_built;

// The layer turns Quit into the quit event itself, as the close box does.
constexpr std::uint32_t quit_command = ae_quit;

}  // namespace

std::uint32_t code_of_property(const QVariant& v) {
    if (!v.isValid()) return 0;
    const QByteArray b = v.toString().toLatin1();
    if (b.size() != 4) return 0;
    std::uint32_t code = 0;
    for (char c : b) {
        if (c < 0x20 || c > 0x7E) return 0;
        code = code << 8 | static_cast<std::uint8_t>(c);
    }
    return code;
}

namespace {

std::uint32_t code_of(const QVariant& v) { return code_of_property(v); }

int menu_id_of(const QMenu* m) {
    bool ok = false;
    const int id = m->property("menu_id").toInt(&ok);
    return ok && id > 0 && id <= 32767 ? id : 0;
}

MenuNode* node_of(const QMenu* m) {
    for (MenuNode& n : g_menus)
        if (n.menu == m) return &n;
    return nullptr;
}

MenuNode* node_by_id(int id) {
    if (id <= 0) return nullptr;
    for (MenuNode& n : g_menus)
        if (n.id == id && n.menu) return &n;
    return nullptr;
}

Item* find_item(int menu_id, std::uint32_t code) {
    if (code == 0 || menu_id <= 0) return nullptr;
    for (Item& it : g_items)
        if (it.menu_id == menu_id && it.code == code && it.action) return &it;
    return nullptr;
}

bool built(const Item& it);

// A submenu can do something when one of its items can.
bool any_built(const QMenu* m) {
    return std::any_of(g_items.begin(), g_items.end(), [m](const Item& it) { return it.owner == m && built(it); });
}

bool built(const Item& it) {
    if (it.submenu) return any_built(it.submenu);
    return it.code == quit_command || (it.code != 0 && g_built.count(it.code) != 0);
}

bool shown_enabled(const Item& it) {
    if (!it.wanted || !built(it)) return false;
    if (it.submenu) {
        const MenuNode* n = node_of(it.submenu);
        if (n && !n->title_wanted) return false;
    }
    return true;
}

void refresh() {
    for (const Item& it : g_items)
        if (it.action) it.action->setEnabled(shown_enabled(it));
    for (const MenuNode& n : g_menus)
        if (n.menu && !n.parent) n.menu->menuAction()->setEnabled(n.title_wanted);
}

void queue_choice(const Item& it) {
    EventRecord r;
    if (it.code == quit_command) {
        r.what = kHighLevelEvent;
        r.message = ae_quit;
    } else {
        r.what = app1Evt;
        r.message = it.code;
        r.menu_id = static_cast<std::int16_t>(it.menu_id);
    }
    r.when = ticks();
    r.where = mouse_global();
    post_event(std::move(r));
}

void on_triggered(QAction* a) {
    for (const Item& it : g_items) {
        if (it.action != a) continue;
        // The toolkit flips a check mark by itself; the program sets marks.
        if (a->isCheckable()) a->setChecked(it.mark != noMark);
        queue_choice(it);
        return;
    }
}

// Letters whose Alt combination a key equivalent claims; a menu title
// never takes them as its mnemonic.
QString g_reserved_alt;

// The title with its data-given letter underlined (an '&' before its first
// occurrence), unless a key equivalent holds Alt + that letter.
void apply_mnemonic(QMenu* m) {
    const QString title = m->title();
    const QString letter = m->property("mnemonic").toString();
    QString shown = title;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (letter.size() == 1 && letter.at(0).isLetterOrNumber() && !g_reserved_alt.contains(letter.at(0).toUpper())) {
        const qsizetype at = shown.indexOf(letter.at(0), 0, Qt::CaseInsensitive);
        if (at >= 0) shown.insert(at, QLatin1Char('&'));
    }
    m->setTitle(shown);
}

void collect(QMenu* m, QMenu* parent, int inherited_id) {
    const int own = menu_id_of(m);
    if (!parent) apply_mnemonic(m);
    const int id = own ? own : inherited_id;
    g_menus.push_back(MenuNode{m, parent, own, true});
    for (QAction* a : m->actions()) {
        if (a->isSeparator()) continue;
        Item it;
        it.action = a;
        it.owner = m;
        it.menu_id = id;
        if (QMenu* sub = QMenu::menuInAction(a)) {
            it.submenu = sub;
            it.code = code_of(sub->property("command"));
            if (!it.code) it.code = code_of(a->property("command"));
            g_items.push_back(it);
            collect(sub, m, id);
            continue;
        }
        it.code = code_of(a->property("command"));
        it.mark = a->isChecked() ? checkMark : noMark;
        g_items.push_back(it);
        QObject::connect(a, &QAction::triggered, a, [a](bool) { on_triggered(a); });
        // Program windows hand their keys to the program first (the key
        // table decides); the shortcut serves where no program window has the keys.
        a->setShortcutContext(Qt::ApplicationShortcut);
    }
}

QWidget* main_top(Window* w) {
    if (!w) return nullptr;
    QWidget* content = content_widget(w);
    QWidget* top = content ? content->parentWidget() : nullptr;
    return top && top->layout() ? top : nullptr;
}

Window* find_main_window() {
    for (Window* w : window_list())
        if (main_top(w) && main_top(w)->layout()->menuBar()) return w;
    return nullptr;
}

// Titles can hold '&', which the toolkit would take for a mnemonic.
QString escaped(const QString& s) {
    QString r = s;
    return r.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString unescaped(const QString& s) {
    QString r = s;
    return r.replace(QLatin1String("&&"), QLatin1String("&"));
}

}  // namespace

// At a fraction of the generic loader's cost, which every start pays.
QMenuBar* read_menu_bar(QIODevice* file) {
    QXmlStreamReader xml(file);
    auto bar = std::make_unique<QMenuBar>();
    QHash<QString, QMenu*> menus;
    QHash<QString, QAction*> actions;
    std::vector<std::pair<QWidget*, QString>> adds;  // in file order
    std::vector<QObject*> open;                       // the widget or action being read
    QString property;
    bool dynamic = false;
    bool seen_bar = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if ((xml.name() == u"widget" || xml.name() == u"action") && !open.empty()) open.pop_back();
            continue;
        }
        if (!xml.isStartElement()) continue;
        const QStringView tag = xml.name();
        const QXmlStreamAttributes at = xml.attributes();
        if (tag == u"ui" || tag == u"resources" || tag == u"connections") continue;
        if (tag == u"class") {
            xml.skipCurrentElement();
            continue;
        }
        if (tag == u"widget") {
            const QStringView cls = at.value(QLatin1String("class"));
            QObject* o = nullptr;
            if (cls == u"QMenuBar" && open.empty() && !seen_bar) {
                o = bar.get();
                seen_bar = true;
            } else if (cls == u"QMenu" && !open.empty() && qobject_cast<QWidget*>(open.back())) {
                auto* m = new QMenu(static_cast<QWidget*>(open.back()));
                menus.insert(at.value(QLatin1String("name")).toString(), m);
                o = m;
            } else {
                return nullptr;
            }
            o->setObjectName(at.value(QLatin1String("name")).toString());
            open.push_back(o);
        } else if (tag == u"action" && open.size() == 1) {
            auto* a = new QAction(bar.get());
            a->setObjectName(at.value(QLatin1String("name")).toString());
            actions.insert(a->objectName(), a);
            open.push_back(a);
        } else if (tag == u"addaction" && !open.empty() && qobject_cast<QWidget*>(open.back())) {
            adds.emplace_back(static_cast<QWidget*>(open.back()), at.value(QLatin1String("name")).toString());
            xml.skipCurrentElement();
        } else if (tag == u"property" && !open.empty()) {
            property = at.value(QLatin1String("name")).toString();
            dynamic = at.value(QLatin1String("stdset")) == u"0";
        } else if ((tag == u"string" || tag == u"number" || tag == u"bool") && !open.empty() &&
                   !property.isEmpty()) {
            const QString text = xml.readElementText();
            QObject* o = open.back();
            auto* menu = qobject_cast<QMenu*>(o);
            auto* action = qobject_cast<QAction*>(o);
            bool ok = true;
            QVariant value = text;
            if (tag == u"number") value = text.toInt(&ok);
            if (tag == u"bool") value = text == u"true";
            if (!ok) return nullptr;
            if (dynamic)
                o->setProperty(property.toUtf8().constData(), value);
            else if (menu && property == u"title" && tag == u"string")
                menu->setTitle(text);
            else if (action && property == u"text" && tag == u"string")
                action->setText(text);
            else if (action && property == u"shortcut" && tag == u"string")
                action->setShortcut(QKeySequence(text));
            else if (action && property == u"checkable" && tag == u"bool")
                action->setCheckable(value.toBool());
            else if (action && property == u"checked" && tag == u"bool")
                action->setChecked(value.toBool());
            else
                return nullptr;
            property.clear();
        } else {
            return nullptr;
        }
    }
    if (xml.hasError() || !seen_bar || !open.empty()) return nullptr;
    for (const auto& [widget, name] : adds) {
        QAction* a = nullptr;
        if (name == u"separator") {
            a = new QAction(widget);
            a->setSeparator(true);
        } else if (QMenu* m = menus.value(name)) {
            a = m->menuAction();
        } else {
            a = actions.value(name);
        }
        if (!a) return nullptr;
        widget->addAction(a);
    }
    return bar.release();
}

bool load_menu_bar(const std::string& path) {
    if (!QCoreApplication::instance()) return false;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    QMenuBar* bar = read_menu_bar(&file);
    if (!bar) {
        // The loader would load every widget plugin of the toolkit's designer
        // (Qt Quick's among them) as it is made; our layouts use none.
        const QStringList library_paths = QCoreApplication::libraryPaths();
        QCoreApplication::setLibraryPaths({});
        QUiLoader loader;
        QCoreApplication::setLibraryPaths(library_paths);
        file.seek(0);
        QWidget* loaded = loader.load(&file, nullptr);
        bar = qobject_cast<QMenuBar*>(loaded);
        if (!bar) {
            delete loaded;
            return false;
        }
    }
    QPointer<QMenuBar> previous = g_bar;
    g_menus.clear();
    g_items.clear();
    g_bar = bar;
    for (QAction* a : bar->actions()) {
        if (QMenu* m = QMenu::menuInAction(a))
            collect(m, nullptr, 0);
        else
            a->setEnabled(false);  // a bare command on the bar is not a menu
    }
    refresh();
    // F10 opens the first menu that shows, as on other desktop programs.
    auto* f10 = new QAction(bar);
    f10->setShortcut(QKeySequence(Qt::Key_F10));
    f10->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(f10, &QAction::triggered, bar, [] { open_first_menu(); });
    bar->addAction(f10);
    f10->setVisible(false);
    if (Window* w = find_main_window()) attach_menu_bar(w);
    if (previous && previous != g_bar && !previous->parentWidget()) delete previous;
    return true;
}

void reserve_alt_letters(const std::string& letters) {
    g_reserved_alt = QString::fromStdString(letters).toUpper();
}

char menu_mnemonic(int menu_id) {
    for (const MenuNode& n : g_menus) {
        if (n.id != menu_id || n.parent) continue;
        const QString t = n.menu->title();
        for (qsizetype i = 0; i + 1 < t.size(); ++i) {
            if (t.at(i) != QLatin1Char('&')) continue;
            if (t.at(i + 1) == QLatin1Char('&')) {
                ++i;
                continue;
            }
            return static_cast<char>(t.at(i + 1).toUpper().toLatin1());
        }
        return 0;
    }
    return 0;
}

int open_first_menu() {
    if (!g_bar) return 0;
    for (QAction* a : g_bar->actions()) {
        QMenu* m = QMenu::menuInAction(a);
        if (!m || !a->isVisible()) continue;
        g_bar->setActiveAction(a);
        return menu_id_of(m);
    }
    return 0;
}

void attach_menu_bar(Window* main) {
    QWidget* top = main_top(main);
    if (!top || !g_bar) return;
    QLayout* layout = top->layout();
    QWidget* old = layout->menuBar();
    if (old == g_bar) return;
    // The content keeps its place and size; the frame grows around the bar.
    const Rect b = window_bounds(main);
    layout->setMenuBar(g_bar);
    delete old;
    size_window(main, b.right - b.left, b.bottom - b.top);
    move_window(main, b.left, b.top, false);
}

void clear_menu_bar() {
    if (Window* w = find_main_window()) {
        QLayout* layout = main_top(w)->layout();
        if (layout->menuBar() == g_bar) {
            const Rect b = window_bounds(w);
            layout->setMenuBar(nullptr);
            delete g_bar;
            size_window(w, b.right - b.left, b.bottom - b.top);
            move_window(w, b.left, b.top, false);
        }
    }
    delete g_bar;
    g_menus.clear();
    g_items.clear();
}

void register_command(std::uint32_t code) {
    if (code == 0) return;
    g_built.insert(code);
    refresh();
}

bool command_registered(std::uint32_t code) { return g_built.count(code) != 0; }

void unregister_command(std::uint32_t code) {
    if (g_built.erase(code)) refresh();
}

bool menu_exists(int menu_id) { return node_by_id(menu_id) != nullptr; }

void enable_menu(int menu_id, bool enable) {
    MenuNode* n = node_by_id(menu_id);
    if (!n) return;
    n->title_wanted = enable;
    for (Item& it : g_items)
        if (it.owner == n->menu) it.wanted = enable;
    refresh();
}

bool menu_enabled(int menu_id) {
    const MenuNode* n = node_by_id(menu_id);
    return n && n->title_wanted;
}

void show_menu(int menu_id, bool show) {
    if (MenuNode* n = node_by_id(menu_id)) n->menu->menuAction()->setVisible(show);
}

bool menu_visible(int menu_id) {
    const MenuNode* n = node_by_id(menu_id);
    return n && n->menu->menuAction()->isVisible();
}

std::vector<std::uint32_t> menu_commands(int menu_id) {
    std::vector<std::uint32_t> codes;
    for (const Item& it : g_items)
        if (it.menu_id == menu_id && it.code && it.action) codes.push_back(it.code);
    return codes;
}

bool menu_item_exists(int menu_id, std::uint32_t code) { return find_item(menu_id, code) != nullptr; }

bool enable_menu_item(int menu_id, std::uint32_t code, bool enable) {
    Item* it = find_item(menu_id, code);
    if (!it) return false;
    it->wanted = enable;
    refresh();
    return true;
}

bool menu_item_enabled(int menu_id, std::uint32_t code) {
    const Item* it = find_item(menu_id, code);
    return it && it->action->isEnabled();
}

bool set_menu_item_mark(int menu_id, std::uint32_t code, std::uint8_t mark) {
    Item* it = find_item(menu_id, code);
    if (!it || it->submenu) return false;
    it->mark = mark;
    // Any mark shows as the check: the toolkit draws no other.
    if (mark != noMark) it->action->setCheckable(true);
    it->action->setChecked(mark != noMark);
    return true;
}

std::uint8_t menu_item_mark(int menu_id, std::uint32_t code) {
    const Item* it = find_item(menu_id, code);
    return it ? it->mark : noMark;
}

bool set_menu_item_text(int menu_id, std::uint32_t code, const std::string& utf8) {
    Item* it = find_item(menu_id, code);
    if (!it) return false;
    it->action->setText(escaped(QString::fromStdString(utf8)));
    return true;
}

std::string menu_item_text(int menu_id, std::uint32_t code) {
    const Item* it = find_item(menu_id, code);
    return it ? unescaped(it->action->text()).toStdString() : std::string();
}

bool show_menu_item(int menu_id, std::uint32_t code, bool show) {
    Item* it = find_item(menu_id, code);
    if (!it) return false;
    it->action->setVisible(show);
    return true;
}

bool menu_item_visible(int menu_id, std::uint32_t code) {
    const Item* it = find_item(menu_id, code);
    return it && it->action->isVisible();
}

int menu_item_number(int menu_id, std::uint32_t code) {
    const Item* it = find_item(menu_id, code);
    if (!it) return 0;
    const QList<QAction*> actions = it->owner->actions();
    const auto pos = std::find(actions.begin(), actions.end(), it->action.data());
    return pos == actions.end() ? 0 : static_cast<int>(pos - actions.begin()) + 1;
}

bool menu_key(std::uint8_t ch, std::uint16_t modifiers, int* menu_id, std::uint32_t* code) {
    if (ch < 0x20 || ch >= 0x7F) return false;
    int key = ch;
    if (ch >= 'a' && ch <= 'z') key = Qt::Key_A + (ch - 'a');
    if (ch >= 'A' && ch <= 'Z') key = Qt::Key_A + (ch - 'A');
    int mods = 0;
    if (modifiers & cmdKey) mods |= Qt::ControlModifier;
    if (modifiers & shiftKey) mods |= Qt::ShiftModifier;
    if (modifiers & optionKey) mods |= Qt::AltModifier;
    if (modifiers & controlKey) mods |= Qt::MetaModifier;
    const QKeySequence wanted(key | mods);
    for (const Item& it : g_items) {
        if (!it.action || !it.code || it.submenu) continue;
        if (it.action->shortcut() != wanted) continue;
        *menu_id = it.menu_id;
        *code = it.code;
        return true;
    }
    return false;
}

bool choose_menu_item(int menu_id, std::uint32_t code) {
    const Item* it = find_item(menu_id, code);
    if (!it || it->submenu) return false;
    if (!it->action->isEnabled() || !it->action->isVisible()) return false;
    // A person reaches the item only through menus that show and open.
    for (QMenu* m = it->owner; m;) {
        const QAction* entry = m->menuAction();
        if (!entry->isVisible() || !entry->isEnabled()) return false;
        const MenuNode* n = node_of(m);
        m = n ? n->parent : nullptr;
    }
    it->action->trigger();
    return true;
}

}  // namespace plat
