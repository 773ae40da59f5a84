#include "platform/ui/answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <cstdio>

namespace plat {

namespace {

// A message box for a person, run by a local loop rather than exec(), so the
// program keeps one way of waiting.
class PersonAnswerer final : public Answerer {
public:
    int answer(const AlertRequest& r) override {
        std::vector<std::string> labels = r.buttons;
        if (labels.empty()) labels.push_back("OK");
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            // No desktop yet: say it where a person can still read it.
            std::fprintf(stderr, "Dravelin: %s\n", r.text.c_str());
            return r.default_item;
        }
        QMessageBox box;
        box.setWindowTitle(QStringLiteral("Dravelin"));
        box.setText(QString::fromStdString(r.text));
        box.setIcon(r.kind == AlertKind::stop   ? QMessageBox::Critical
                    : r.kind == AlertKind::note ? QMessageBox::Information
                                                : QMessageBox::Warning);
        std::vector<QPushButton*> buttons;
        for (const auto& l : labels)
            buttons.push_back(box.addButton(QString::fromStdString(l), QMessageBox::ActionRole));
        int n = static_cast<int>(buttons.size());
        if (r.default_item >= 1 && r.default_item <= n) box.setDefaultButton(buttons[r.default_item - 1]);
        if (r.cancel_item >= 1 && r.cancel_item <= n) box.setEscapeButton(buttons[r.cancel_item - 1]);
        box.setModal(true);
        QEventLoop loop;
        QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
        box.show();
        loop.exec();
        QAbstractButton* hit = box.clickedButton();
        for (int i = 0; i < n; ++i)
            if (buttons[i] == hit) return i + 1;
        return r.cancel_item > 0 ? r.cancel_item : r.default_item;
    }
};

PersonAnswerer g_person;
Answerer* g_current = nullptr;

}  // namespace

int ask(const AlertRequest& request) { return current_answerer()->answer(request); }

void set_answerer(Answerer* a) { g_current = a; }

Answerer* current_answerer() { return g_current ? g_current : &g_person; }

}  // namespace plat
