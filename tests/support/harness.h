// What every test executable shares: scripted answers to alerts and a way
// to run code that may end the program.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/answerer.h"

namespace drav::test {

// Answers alerts from a script. An alert nobody expected fails the test.
class ScriptedAnswerer final : public plat::Answerer {
public:
    // The next alert must contain `text` (UTF-8; empty matches any) and is
    // answered with `item`. Item 0 leaves a question that has its own window
    // to the session's script (Session::press, hit).
    void expect(std::string text, int item = 1);
    // The same, and `check` runs while the alert or question is on screen
    // (its window, when it has one, is request.window).
    void expect(std::string text, int item, std::function<void(const plat::AlertRequest&)> check);
    int answer(const plat::AlertRequest& request) override;
    // True when every expected alert has been shown; one that never came
    // fails the test when it ends.
    bool done() const { return script_.empty(); }
    std::size_t pending() const { return script_.size(); }
    std::string next_expected() const { return script_.empty() ? std::string() : script_.front().text; }
    const std::vector<std::string>& shown() const { return shown_; }
    void reset();

private:
    struct Step {
        std::string text;
        int item;
        std::function<void(const plat::AlertRequest&)> check;
    };
    std::deque<Step> script_;
    std::vector<std::string> shown_;
    int unexpected_ = 0;
};

ScriptedAnswerer& answers();

// Runs f; the exit status when it ended the program, nothing when it returned.
std::optional<int> exit_status_of(const std::function<void()>& f);

// This test process's own temporary folder (HOME points into it).
std::filesystem::path scratch_dir();
// Empties it again (preferences, the data folder, home), as a test that
// has the process to itself finds it.
void clear_scratch_dir();

}  // namespace drav::test
