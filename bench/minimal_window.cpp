// The yardstick for start-up: the least a Qt Widgets program does to show a
// window of the screen's size with a menu bar. At its first idle pass after
// the window was painted it writes one byte to the descriptor named by
// DRAV_BENCH_READY_FD and ends.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>
#include <unistd.h>

namespace {

bool g_painted = false;

class Content final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { g_painted = true; }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* fd = std::getenv("DRAV_BENCH_READY_FD");
    const int ready = fd ? std::atoi(fd) : -1;
    QWidget top;
    auto* layout = new QVBoxLayout(&top);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(new QMenuBar(&top));
    layout->addWidget(new Content(&top));
    top.resize(QGuiApplication::primaryScreen()->availableGeometry().size());
    top.show();
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [ready] {
        // Emitted as each pass of the loop begins, before it handles anything.
        if (!g_painted) return;
        const char byte = 1;
        if (ready >= 0 && ::write(ready, &byte, 1) != 1) ::_exit(2);
        ::_exit(0);
    });
    return app.exec();
}
