// One queue of classic event records. Qt callbacks only queue records; only
// wait_next_event lets Qt run, so no command ever runs inside another.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/qd_types.h"

namespace plat {

class Window;
class Dialog;

enum EventKind : std::int16_t {
    nullEvent = 0,
    mouseDown = 1,
    mouseUp = 2,
    keyDown = 3,
    keyUp = 4,
    autoKey = 5,
    updateEvt = 6,
    activateEvt = 8,
    app1Evt = 12,          // a chosen menu command
    kHighLevelEvent = 23,  // application events: open documents, quit
};

// Masks: 1 << kind, and the high-level events' own bit.
constexpr std::uint16_t everyEvent = 0xFFFF;
constexpr std::uint16_t mDownMask = 1 << mouseDown;
constexpr std::uint16_t mUpMask = 1 << mouseUp;
constexpr std::uint16_t keyDownMask = 1 << keyDown;
constexpr std::uint16_t keyUpMask = 1 << keyUp;
constexpr std::uint16_t autoKeyMask = 1 << autoKey;
constexpr std::uint16_t updateMask = 1 << updateEvt;
constexpr std::uint16_t activMask = 1 << activateEvt;
constexpr std::uint16_t app1Mask = 1 << app1Evt;
constexpr std::uint16_t highLevelEventMask = 0x0400;
std::uint16_t event_mask_of(std::int16_t kind);

// Modifier bits: Ctrl is the command key, Alt the option key, Meta the control key.
constexpr std::uint16_t activeFlag = 0x0001;  // activate: on; off when deactivated
constexpr std::uint16_t btnState = 0x0080;    // set while the button is up
constexpr std::uint16_t cmdKey = 0x0100;
constexpr std::uint16_t shiftKey = 0x0200;
constexpr std::uint16_t alphaLock = 0x0400;
constexpr std::uint16_t optionKey = 0x0800;
constexpr std::uint16_t controlKey = 0x1000;

// Application events.
constexpr std::uint32_t ae_open_application = 0x6F617070;  // 'oapp'
constexpr std::uint32_t ae_open_documents = 0x6F646F63;    // 'odoc'
constexpr std::uint32_t ae_quit = 0x71756974;              // 'quit'

// Window parts a mouse-down can hit. The window manager owns the frames, so
// the layer reports only content clicks and the close box (inGoAway) of
// windows other than the main one, whose close box asks to quit.
constexpr std::int16_t inDesk = 0, inMenuBar = 1, inContent = 3, inDrag = 4, inGrow = 5, inGoAway = 6,
                       inZoomIn = 7, inZoomOut = 8;

struct EventRecord {
    std::int16_t what = nullEvent;
    // Keys: character byte (Mac Roman) in bits 7-0, virtual key code in bits
    // 15-8. Menu commands: the four-character command code. Application
    // events: the event id.
    std::uint32_t message = 0;
    std::uint32_t when = 0;       // ticks
    Point where;                  // global pixels
    std::uint16_t modifiers = 0;
    Window* window = nullptr;     // mouse, key, update and activate: the window concerned
    std::int16_t menu_id = 0;     // menu commands: the menu the item is in
    std::vector<std::string> files;  // open documents: paths, UTF-8
    Rect area;                    // update: the window's invalid area, local pixels
    Dialog* dialog = nullptr;     // input to a dialog or nib window
    std::int16_t item = 0;        // mouse down in a dialog: the item hit (0: none)
    std::int16_t part = inContent;  // mouse down: the part of `window` it hit
};

// Lets Qt run (waiting up to `sleep_ticks` when nothing is queued), then
// takes the first record the mask admits, leaving the others queued. False
// with a null event when none is there.
bool wait_next_event(std::uint16_t mask, EventRecord* rec, std::uint32_t sleep_ticks);
// Lets Qt run, asleep between its events, until a record the mask admits is
// queued or the clock reaches `until` (ticks). Takes nothing and runs no
// script step; under the fake clock the time passes at once.
void wait_for_event(std::uint16_t mask, std::uint32_t until);
// The first record the mask admits, left in the queue.
bool event_avail(std::uint16_t mask, EventRecord* rec);
// Drops the queued records the mask admits.
void flush_events(std::uint16_t mask);
void post_event(EventRecord rec);

// The mouse as the layer last saw it.
bool button();
Point mouse_global();
// The system beep; tests count them.
void sys_beep();
int beep_count();
// The double-click time in ticks.
std::uint32_t double_click_ticks();

// A timer fires only while wait_next_event lets Qt run. The first firing is
// after `first_ticks`, then every `interval_ticks` (0: once).
int install_timer(std::uint32_t first_ticks, std::uint32_t interval_ticks, std::function<void()> fire);
void remove_timer(int id);

// SIGTERM, SIGINT and SIGHUP end the program as a normal exit without
// questions: the pump asks this each pass.
void install_termination_handlers();
bool termination_requested();
// Forgets a request, so that a process running the program again (the test
// harness) starts without one.
void clear_termination_request();

// The application object: creates the toolkit's application when there is
// none yet and routes its input into the queue. False when no display is
// named; a display named that does not answer ends the process with one line
// on stderr and status 1. close_application() removes the routing.
bool init_application(int& argc, char** argv);
void close_application();

// Tests script the program's input: when the queue is empty and the mask
// admits input (mouse, keys, commands, application events), wait_next_event
// asks the feeder for its next step (which may queue records or run a check);
// a feeder that has nothing left returns false, and the layer queues Quit.
using Feeder = std::function<bool()>;
void set_feeder(Feeder f);

}  // namespace plat
