// The one test main: a QApplication on the offscreen platform, a temporary
// HOME and XDG folders for this process, the fake clock, caught exits and
// scripted alerts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/core/clock.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "shell/startup.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

namespace drav::test {
void set_scratch_dir(const std::filesystem::path& p);
}

namespace {

class AnswererReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        drav::test::answers().reset();
        drav::test::clear_scratch_dir();
        drav::test::start_clean();
        // The mouse moves between tests: a cursor hidden by typing shows again.
        QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), QPointF(0, 0), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &move);
        // The button is up and no input waits, as in a new process: a press
        // an earlier test never let go would hold the next one's drag.
        plat::EventRecord up;
        up.what = plat::mouseUp;
        plat::post_event(up);
        plat::flush_events(plat::everyEvent);
    }
    // Still counted against the test: gtest ends it only after the
    // listeners have heard of its end.
    void OnTestEnd(const testing::TestInfo&) override {
        if (!drav::test::answers().done())
            ADD_FAILURE() << drav::test::answers().pending() << " expected alert(s) never shown, the first: \""
                          << drav::test::answers().next_expected() << "\"";
    }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string tmpl = (std::filesystem::temp_directory_path() / "dravelin-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::filesystem::path scratch = tmpl;
    for (const char* sub : {"home", "data", "config", "cache", "runtime"})
        std::filesystem::create_directories(scratch / sub);
    std::filesystem::permissions(scratch / "runtime", std::filesystem::perms::owner_all);
    setenv("HOME", (scratch / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (scratch / "cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (scratch / "runtime").c_str(), 1);
    drav::test::set_scratch_dir(scratch);

    int rc;
    {
        QApplication app(argc, argv);
        testing::InitGoogleTest(&argc, argv);
        testing::UnitTest::GetInstance()->listeners().Append(new AnswererReset);
        plat::set_exit_throws(true);
        plat::use_fake_clock(true);
        plat::set_answerer(&drav::test::answers());
        // Tests that run no start-up still draw, announce and exit as the program does.
        drav::install_floor_hooks();
        rc = RUN_ALL_TESTS();
        plat::set_answerer(nullptr);
    }
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    return rc;
}
