#include "platform/ui/events.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>

#include "platform/core/clock.h"
#include "platform/core/text.h"
#include "platform/ui/keys.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"

namespace plat {

namespace {

std::deque<EventRecord> g_queue;
bool g_button = false;
Point g_mouse;
Feeder g_feeder;
std::atomic<bool> g_terminate{false};

struct Timer {
    int id;
    std::uint32_t due;
    std::uint32_t interval;
    std::function<void()> fire;
};
std::vector<Timer> g_timers;
int g_next_timer = 1;

std::uint16_t modifiers_of(Qt::KeyboardModifiers m) {
    std::uint16_t r = 0;
    if (m & Qt::ControlModifier) r |= cmdKey;
    if (m & Qt::ShiftModifier) r |= shiftKey;
    if (m & Qt::AltModifier) r |= optionKey;
    if (m & Qt::MetaModifier) r |= controlKey;
    return r;
}

std::uint16_t with_button(std::uint16_t mods) { return g_button ? mods : std::uint16_t(mods | btnState); }

Point global_point(QPointF p) {
    return Point{static_cast<std::int16_t>(std::clamp<int>(static_cast<int>(p.y()), -32768, 32767)),
                 static_cast<std::int16_t>(std::clamp<int>(static_cast<int>(p.x()), -32768, 32767))};
}

struct KeyCode {
    std::uint8_t ch;
    VirtualKey vk;
};

// Special keys deliver fixed character bytes.
bool special_key(int key, KeyCode* out) {
    static const struct {
        int qt;
        std::uint8_t ch;
        VirtualKey vk;
    } table[] = {
        {Qt::Key_Return, ch_return, vk_return},     {Qt::Key_Enter, ch_enter, vk_enter},
        {Qt::Key_Tab, ch_tab, vk_tab},              {Qt::Key_Backtab, ch_tab, vk_tab},
        {Qt::Key_Backspace, ch_backspace, vk_delete}, {Qt::Key_Escape, ch_escape, vk_escape},
        {Qt::Key_Left, ch_left, vk_left},           {Qt::Key_Right, ch_right, vk_right},
        {Qt::Key_Up, ch_up, vk_up},                 {Qt::Key_Down, ch_down, vk_down},
        {Qt::Key_Delete, ch_forward_delete, vk_forward_delete},
        {Qt::Key_Home, ch_home, vk_home},           {Qt::Key_End, ch_end, vk_end},
        {Qt::Key_PageUp, ch_page_up, vk_page_up},   {Qt::Key_PageDown, ch_page_down, vk_page_down},
        {Qt::Key_Help, ch_help, vk_help},           {Qt::Key_Insert, ch_help, vk_help},           {Qt::Key_Space, ' ', vk_space},
        {Qt::Key_F1, ch_function, vk_f1},           {Qt::Key_F2, ch_function, vk_f2},
        {Qt::Key_F3, ch_function, vk_f3},           {Qt::Key_F4, ch_function, vk_f4},
        {Qt::Key_F5, ch_function, vk_f5},           {Qt::Key_F6, ch_function, vk_f6},
        {Qt::Key_F7, ch_function, vk_f7},           {Qt::Key_F8, ch_function, vk_f8},
        {Qt::Key_F9, ch_function, vk_f9},           {Qt::Key_F10, ch_function, vk_f10},
        {Qt::Key_F11, ch_function, vk_f11},         {Qt::Key_F12, ch_function, vk_f12},
    };
    for (const auto& k : table)
        if (k.qt == key) {
            *out = {k.ch, k.vk};
            return true;
        }
    return false;
}

VirtualKey key_of_char(char c) {
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const char name[2] = {lower, '\0'};
    return virtual_key_named(name);
}

// Keys of the numeric keypad have codes of their own, so key equivalents can
// tell them from the digits and signs that commands read.
bool keypad_key(int key, KeyCode* out) {
    static const struct {
        int qt;
        std::uint8_t ch;
        VirtualKey vk;
    } table[] = {
        {Qt::Key_0, '0', vk_keypad_0}, {Qt::Key_1, '1', vk_keypad_1}, {Qt::Key_2, '2', vk_keypad_2},
        {Qt::Key_3, '3', vk_keypad_3}, {Qt::Key_4, '4', vk_keypad_4}, {Qt::Key_5, '5', vk_keypad_5},
        {Qt::Key_6, '6', vk_keypad_6}, {Qt::Key_7, '7', vk_keypad_7}, {Qt::Key_8, '8', vk_keypad_8},
        {Qt::Key_9, '9', vk_keypad_9}, {Qt::Key_Period, '.', vk_keypad_decimal},
        {Qt::Key_Comma, '.', vk_keypad_decimal}, {Qt::Key_Asterisk, '*', vk_keypad_multiply},
        {Qt::Key_Plus, '+', vk_keypad_plus}, {Qt::Key_Minus, '-', vk_keypad_minus},
        {Qt::Key_Slash, '/', vk_keypad_divide}, {Qt::Key_Equal, '=', vk_keypad_equals},
        {Qt::Key_Clear, ch_escape, vk_keypad_clear}, {Qt::Key_Enter, ch_enter, vk_enter},
    };
    for (const auto& k : table)
        if (k.qt == key) {
            *out = {k.ch, k.vk};
            return true;
        }
    return false;
}

// The character byte and key of a key press; false for keys that bring no
// character (modifiers alone).
bool translate_key(const QKeyEvent* e, KeyCode* out) {
    if ((e->modifiers() & Qt::KeypadModifier) && keypad_key(e->key(), out)) return true;
    if (special_key(e->key(), out)) return true;
    // With Ctrl held the toolkit gives control characters: take the key itself.
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) {
        const bool shift = e->modifiers() & Qt::ShiftModifier;
        const char c = static_cast<char>((shift ? 'A' : 'a') + (e->key() - Qt::Key_A));
        *out = {static_cast<std::uint8_t>(c), key_of_char(c)};
        return true;
    }
    const std::string utf8 = e->text().toStdString();
    if (utf8.empty()) {
        if (e->key() >= 0x20 && e->key() < 0x7F) {
            const char c = static_cast<char>(e->key());
            *out = {static_cast<std::uint8_t>(c), key_of_char(c)};
            return true;
        }
        return false;
    }
    std::string roman;
    utf8_to_macroman(utf8, roman);
    if (roman.empty()) return false;
    *out = {static_cast<std::uint8_t>(roman[0]), key_of_char(roman[0])};
    return true;
}

// Routes the toolkit's input for program windows into the queue.
class InputFilter final : public QObject {
protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        auto* widget = qobject_cast<QWidget*>(obj);
        if (!widget) return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            const bool tracked = program_tracks(widget);
            Window* w = window_of_widget(widget);
            if (!w || (widget != content_widget(w) && !tracked)) return false;
            auto* me = static_cast<QMouseEvent*>(e);
            g_mouse = global_point(me->globalPosition());
            if (e->type() == QEvent::MouseMove) return true;
            if (me->button() != Qt::LeftButton) return true;
            const bool down = e->type() != QEvent::MouseButtonRelease;
            g_button = down;
            EventRecord r;
            r.what = down ? mouseDown : mouseUp;
            r.when = ticks();
            r.where = g_mouse;
            r.modifiers = with_button(modifiers_of(me->modifiers()));
            r.window = w;
            g_queue.push_back(std::move(r));
            return true;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            Window* w = window_of_widget(widget);
            if (!w) return false;
            auto* ke = static_cast<QKeyEvent*>(e);
            KeyCode k;
            if (!translate_key(ke, &k)) return true;
            EventRecord r;
            if (e->type() == QEvent::KeyRelease) {
                if (ke->isAutoRepeat()) return true;
                r.what = keyUp;
            } else {
                r.what = ke->isAutoRepeat() ? autoKey : keyDown;
            }
            r.message = static_cast<std::uint32_t>(k.vk) << 8 | k.ch;
            r.when = ticks();
            r.where = g_mouse;
            r.modifiers = with_button(modifiers_of(ke->modifiers()));
            r.window = w;
            g_queue.push_back(std::move(r));
            return true;
        }
        case QEvent::ShortcutOverride: {
            // Keys in program windows reach the queue first: the key table
            // and a running command decide before any menu shortcut does.
            if (!window_of_widget(widget)) return false;
            e->accept();
            return true;
        }
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate: {
            Window* w = window_of_widget(widget);
            if (!w || !widget->isWindow()) return false;
            EventRecord r;
            r.what = activateEvt;
            r.when = ticks();
            r.modifiers = with_button(e->type() == QEvent::WindowActivate ? activeFlag : 0);
            r.window = w;
            g_queue.push_back(std::move(r));
            return false;
        }
        case QEvent::Close: {
            Window* w = window_of_widget(widget);
            if (!w || !widget->isWindow()) return false;
            // The drawing window's close box asks to quit; other windows'
            // close boxes are clicks for the program to handle.
            e->ignore();
            EventRecord r;
            r.when = ticks();
            r.window = w;
            if (window_is_main(w)) {
                r.what = kHighLevelEvent;
                r.message = ae_quit;
            } else {
                r.what = mouseDown;
                r.part = inGoAway;
                r.where = g_mouse;
                r.modifiers = with_button(0);
            }
            g_queue.push_back(std::move(r));
            return true;
        }
        default:
            return false;
        }
    }
};

std::unique_ptr<InputFilter> g_filter;

}  // namespace

std::uint16_t modifier_bits(Qt::KeyboardModifiers m) { return modifiers_of(m); }

bool key_record(const QKeyEvent* e, EventRecord* r) {
    KeyCode k;
    if (!translate_key(e, &k)) return false;
    r->what = e->isAutoRepeat() ? autoKey : keyDown;
    r->message = static_cast<std::uint32_t>(k.vk) << 8 | k.ch;
    r->when = ticks();
    r->where = g_mouse;
    r->modifiers = with_button(modifiers_of(e->modifiers()));
    return true;
}

namespace {

bool admits(std::uint16_t mask, const EventRecord& r) { return (mask & event_mask_of(r.what)) != 0; }

bool take_matching(std::uint16_t mask, EventRecord* rec, bool remove) {
    for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
        if (!admits(mask, *it)) continue;
        *rec = *it;
        if (remove) g_queue.erase(it);
        return true;
    }
    return false;
}

// An update record for the front-most visible window with an invalid area.
bool make_update(std::uint16_t mask, EventRecord* rec) {
    if (!(mask & updateMask)) return false;
    for (Window* w : window_list()) {
        if (!window_visible(w)) continue;
        Rect area;
        if (!take_invalid(w, &area)) continue;
        EventRecord r;
        r.what = updateEvt;
        r.when = ticks();
        r.window = w;
        r.area = area;
        *rec = r;
        return true;
    }
    return false;
}

void fire_due_timers() {
    const std::uint32_t now = ticks();
    // A timer may remove itself or others while firing: work on ids.
    std::vector<int> due;
    for (const Timer& t : g_timers)
        if (static_cast<std::int32_t>(now - t.due) >= 0) due.push_back(t.id);
    for (int id : due) {
        auto it = std::find_if(g_timers.begin(), g_timers.end(), [id](const Timer& t) { return t.id == id; });
        if (it == g_timers.end()) continue;
        std::function<void()> fire = it->fire;
        if (it->interval == 0)
            g_timers.erase(it);
        else
            it->due = now + it->interval;
        fire();
    }
}

// Milliseconds until the next timer is due, capped so signals are seen soon.
int wait_ms(std::uint32_t sleep_ticks) {
    std::uint32_t t = std::min<std::uint32_t>(sleep_ticks, 6);  // at most 0.1 s
    const std::uint32_t now = ticks();
    for (const Timer& tm : g_timers) {
        const std::int32_t left = static_cast<std::int32_t>(tm.due - now);
        t = std::min<std::uint32_t>(t, static_cast<std::uint32_t>(std::max(left, 0)));
    }
    return static_cast<int>(t * 1000 / 60);
}

// An update record would be made for a visible window now.
bool update_pending() {
    for (Window* w : window_list())
        if (window_visible(w) && window_has_invalid(w)) return true;
    return false;
}

// Blocks briefly for input only when nothing is waiting: no record, no
// update the mask admits, and no script (whose next step is always ready).
void run_toolkit(std::uint16_t mask, std::uint32_t sleep_ticks) {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (g_queue.empty() && sleep_ticks > 0 && !fake_clock() && !g_feeder &&
        !((mask & updateMask) && update_pending())) {
        const int ms = wait_ms(sleep_ticks);
        if (ms > 0) {
            QTimer wake;
            wake.setSingleShot(true);
            wake.start(ms);
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    present_windows();
}

void on_signal(int) { g_terminate = true; }

// While the toolkit's application is made, its messages wait here: when no
// display answers the toolkit would abort after several lines of its own, and
// the program gives one line and status 1 instead.
struct HeldMessage {
    QtMsgType type;
    QByteArray category, file, function;
    int line;
    QString text;
};
std::vector<HeldMessage> g_held;
QtMessageHandler g_previous_handler = nullptr;

// The display the toolkit was told to use, as the person set it.
std::string display_named() {
    std::string s;
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        const QByteArray v = qgetenv(name);
        if (v.isEmpty()) continue;
        if (!s.empty()) s += ", ";
        s += std::string(name) + "=" + v.toStdString();
    }
    return s;
}

void hold_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Dravelin needs a desktop: no display answers (%s).\n", display_named().c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    g_held.push_back({type, QByteArray(context.category), QByteArray(context.file), QByteArray(context.function),
                      context.line, text});
}

void make_application(int& argc, char** argv) {
    g_previous_handler = qInstallMessageHandler(hold_message);
    new QApplication(argc, argv);
    qInstallMessageHandler(g_previous_handler);
    for (const HeldMessage& m : g_held) {
        const QMessageLogContext context(m.file.isEmpty() ? nullptr : m.file.constData(), m.line,
                                         m.function.isEmpty() ? nullptr : m.function.constData(),
                                         m.category.isEmpty() ? nullptr : m.category.constData());
        if (g_previous_handler)
            g_previous_handler(m.type, context, m.text);
        else
            qt_message_output(m.type, context, m.text);
    }
    g_held.clear();
}

}  // namespace

std::uint16_t event_mask_of(std::int16_t kind) {
    if (kind == kHighLevelEvent) return highLevelEventMask;
    if (kind < 0 || kind > 15) return 0;
    return static_cast<std::uint16_t>(1u << kind);
}

bool wait_next_event(std::uint16_t mask, EventRecord* rec, std::uint32_t sleep_ticks) {
    if (fake_clock()) advance_fake_clock(1);
    run_toolkit(mask, sleep_ticks);
    fire_due_timers();
    if (take_matching(mask, rec, true)) return true;
    if (make_update(mask, rec)) return true;
    constexpr std::uint16_t input_mask = mDownMask | mUpMask | keyDownMask | autoKeyMask | app1Mask | highLevelEventMask;
    // A wait for updates alone is no wait for the person: the script stays put.
    if (g_feeder && (mask & input_mask)) {
        if (!g_feeder()) {
            // Nothing more will come: quit, and again whenever a wait for
            // input finds the last quit taken, so no modal loop waits forever.
            const bool quit_queued = std::any_of(g_queue.begin(), g_queue.end(), [](const EventRecord& e) {
                return e.what == kHighLevelEvent && e.message == ae_quit;
            });
            if (!quit_queued) {
                EventRecord q;
                q.what = kHighLevelEvent;
                q.message = ae_quit;
                q.when = ticks();
                g_queue.push_back(std::move(q));
            }
        }
        if (take_matching(mask, rec, true)) return true;
    }
    *rec = EventRecord{};
    rec->when = ticks();
    rec->where = g_mouse;
    rec->modifiers = with_button(0);
    return false;
}

void wait_for_event(std::uint16_t mask, std::uint32_t until) {
    EventRecord rec;
    if (fake_clock()) {
        // Nothing arrives by itself under the harness: the time simply passes.
        if (!take_matching(mask, &rec, false) && static_cast<std::int32_t>(ticks() - until) < 0)
            advance_fake_clock(until - ticks());
        return;
    }
    while (!take_matching(mask, &rec, false)) {
        const std::int32_t left = static_cast<std::int32_t>(until - ticks());
        if (left <= 0 || !QCoreApplication::instance() || termination_requested()) return;
        // Asleep in the toolkit until input comes or the time is up.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(std::max(1, left * 1000 / 60));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        fire_due_timers();
        present_windows();
    }
}

bool event_avail(std::uint16_t mask, EventRecord* rec) { return take_matching(mask, rec, false); }

void flush_events(std::uint16_t mask) {
    std::erase_if(g_queue, [mask](const EventRecord& r) { return admits(mask, r); });
}

void post_event(EventRecord rec) {
    // A dialog's button reports its hit only once released: a mouse-down
    // that says the button is up must not leave it held.
    if (rec.what == mouseDown) g_button = !(rec.modifiers & btnState);
    if (rec.what == mouseUp) g_button = false;
    if (rec.what == mouseDown || rec.what == mouseUp) g_mouse = rec.where;
    g_queue.push_back(std::move(rec));
}

static int g_beeps = 0;

void sys_beep() {
    ++g_beeps;
    if (QCoreApplication::instance() && !fake_clock()) QApplication::beep();
}

int beep_count() { return g_beeps; }

bool button() { return g_button; }
Point mouse_global() { return g_mouse; }

std::uint32_t double_click_ticks() {
    const int ms = QCoreApplication::instance() ? QGuiApplication::styleHints()->mouseDoubleClickInterval() : 400;
    return static_cast<std::uint32_t>(std::max(ms, 1) * 60 / 1000);
}

int install_timer(std::uint32_t first_ticks, std::uint32_t interval_ticks, std::function<void()> fire) {
    const int id = g_next_timer++;
    g_timers.push_back(Timer{id, ticks() + first_ticks, interval_ticks, std::move(fire)});
    return id;
}

void remove_timer(int id) {
    std::erase_if(g_timers, [id](const Timer& t) { return t.id == id; });
}

void install_termination_handlers() {
    std::signal(SIGTERM, on_signal);
    std::signal(SIGINT, on_signal);
    std::signal(SIGHUP, on_signal);  // the terminal it was started from closed
}

bool termination_requested() { return g_terminate.load(); }

void clear_termination_request() { g_terminate = false; }

void set_feeder(Feeder f) {
    g_feeder = std::move(f);
}

bool init_application(int& argc, char** argv) {
    if (!QCoreApplication::instance()) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
            !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
            return false;
        // Kept to the end of the process: tearing the toolkit down while
        // windows may still exist would only risk a crash on the way out.
        make_application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Dravelin"));
    }
    QApplication::setQuitOnLastWindowClosed(false);
    if (!g_filter) {
        g_filter = std::make_unique<InputFilter>();
        QCoreApplication::instance()->installEventFilter(g_filter.get());
    }
    return true;
}

void close_application() {
    if (g_filter && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(g_filter.get());
    g_filter.reset();
    g_queue.clear();
    g_timers.clear();
    g_feeder = nullptr;
}

}  // namespace plat
