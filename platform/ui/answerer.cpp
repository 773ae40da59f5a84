#include "platform/ui/answerer.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>

#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"

namespace plat {

namespace {

// A person answers at a window of ours, run by the modal loop on the event
// queue. Where no person can see a window, nothing waits: the text goes to
// standard error and the safe answer is given.
class PersonAnswerer final : public Answerer {
public:
    int answer(const AlertRequest& r) override {
        std::vector<std::string> labels = r.buttons;
        if (labels.empty()) labels.push_back("OK");
        const int n = static_cast<int>(labels.size());
        const int safe = r.cancel_item >= 1 && r.cancel_item <= n ? r.cancel_item : r.default_item;
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
            QGuiApplication::platformName() == QLatin1String("offscreen")) {
            std::fprintf(stderr, "Dravelin: %s\n", r.text.c_str());
            return safe;
        }
        if (r.window) return 0;
        Dialog* d = new_message_dialog(r.text, labels);
        if (!d) {
            std::fprintf(stderr, "Dravelin: %s\n", r.text.c_str());
            return safe;
        }
        set_default_item(d, r.default_item >= 1 && r.default_item <= n ? r.default_item : 0);
        set_cancel_item(d, r.cancel_item >= 1 && r.cancel_item <= n ? r.cancel_item : 0);
        const Rect s = screen_bounds();
        const Rect b = dialog_bounds(d);
        move_dialog(d, s.left + ((s.right - s.left) - (b.right - b.left)) / 2, s.top + 40);
        show_dialog(d);
        std::int16_t item = 0;
        do {
            modal_dialog(d, nullptr, &item);
            if (item == 0) item = static_cast<std::int16_t>(safe);  // cancelled by the end of the session
        } while (item < 1 || item > n);
        dispose_dialog(d);
        return item;
    }
};

PersonAnswerer g_person;
Answerer* g_current = nullptr;

}  // namespace

int ask(const AlertRequest& request) { return current_answerer()->answer(request); }

void set_answerer(Answerer* a) { g_current = a; }

Answerer* current_answerer() { return g_current ? g_current : &g_person; }

}  // namespace plat
