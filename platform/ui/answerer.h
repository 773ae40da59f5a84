// Alerts and questions go through one replaceable answerer: a person sees a
// modal message box; tests script the answers.
#pragma once

#include <string>
#include <vector>

namespace plat {

enum class AlertKind { stop, note, caution };

struct AlertRequest {
    AlertKind kind = AlertKind::stop;
    std::string text;                  // UTF-8
    std::vector<std::string> buttons;  // item 1 first; empty means one "OK"
    int default_item = 1;              // Return and Enter press it
    int cancel_item = 0;               // Escape presses it (0: none)
};

class Answerer {
public:
    virtual ~Answerer() = default;
    // The item number of the button pressed.
    virtual int answer(const AlertRequest& request) = 0;
};

// Runs the alert through the current answerer.
int ask(const AlertRequest& request);
// nullptr restores the answerer for a person.
void set_answerer(Answerer* a);
Answerer* current_answerer();

}  // namespace plat
