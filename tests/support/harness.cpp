#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include "platform/core/process.h"
#include "platform/ui/preferences.h"

namespace drav::test {

namespace {
std::filesystem::path g_scratch;
}

void ScriptedAnswerer::expect(std::string text, int item) { script_.push_back({std::move(text), item, nullptr}); }

void ScriptedAnswerer::expect(std::string text, int item, std::function<void(const plat::AlertRequest&)> check) {
    script_.push_back({std::move(text), item, std::move(check)});
}

int ScriptedAnswerer::answer(const plat::AlertRequest& request) {
    shown_.push_back(request.text);
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected alert: " << request.text;
        // A question that cancels the quit comes back with every further
        // quit: the test has failed, so the program ends instead of looping.
        if (++unexpected_ >= 3) plat::exit_process(98);
        return request.cancel_item > 0 ? request.cancel_item : request.default_item;
    }
    Step s = script_.front();
    script_.pop_front();
    EXPECT_NE(request.text.find(s.text), std::string::npos)
        << "alert \"" << request.text << "\" does not contain \"" << s.text << "\"";
    if (s.check) s.check(request);
    return s.item;
}

void ScriptedAnswerer::reset() {
    unexpected_ = 0;
    script_.clear();
    shown_.clear();
}

ScriptedAnswerer& answers() {
    static ScriptedAnswerer a;
    return a;
}

std::optional<int> exit_status_of(const std::function<void()>& f) {
    try {
        f();
    } catch (const plat::ProgramExit& e) {
        return e.status;
    }
    return std::nullopt;
}

std::filesystem::path scratch_dir() { return g_scratch; }

void clear_scratch_dir() {
    // The open preferences would write themselves back.
    plat::close_prefs();
    for (const char* sub : {"home", "data", "config", "cache"}) {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(g_scratch / sub, ec))
            std::filesystem::remove_all(e.path(), ec);
    }
}

void set_scratch_dir(const std::filesystem::path& p) { g_scratch = p; }

}  // namespace drav::test
