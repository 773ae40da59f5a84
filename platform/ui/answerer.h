// Alerts and questions go through one replaceable answerer: a person answers
// in a modal window run on the program's own event queue; tests script the
// answers.
#pragma once

#include <string>
#include <vector>

namespace plat {

class Dialog;

enum class AlertKind { stop, note, caution };

struct AlertRequest {
    AlertKind kind = AlertKind::stop;
    std::string text;                  // UTF-8
    std::vector<std::string> buttons;  // item 1 first; empty means one "OK"
    int default_item = 1;              // Return and Enter press it
    int cancel_item = 0;               // Escape presses it (0: none)
    // The program's own window that shows the question, already on screen.
    // The answer is then pressed in it; 0 leaves the answer to the person
    // at that window.
    Dialog* window = nullptr;
};

class Answerer {
public:
    virtual ~Answerer() = default;
    // The item number of the button pressed (0 with a window: the person
    // answers there).
    virtual int answer(const AlertRequest& request) = 0;
};

// Runs the alert through the current answerer.
int ask(const AlertRequest& request);
// nullptr restores the answerer for a person.
void set_answerer(Answerer* a);
Answerer* current_answerer();

}  // namespace plat
