// Answers the open and save dialogs from a script, as ScriptedAnswerer does
// for alerts: a dialog nobody expected fails the test and is cancelled.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>

#include "platform/ui/file_dialogs.h"

namespace drav::test {

class ScriptedFileDialogs final : public plat::FileDialogAnswerer {
public:
    using Check = std::function<void(const plat::FileDialogRequest&)>;
    // The next dialog is an open (or merge) dialog answered with `file`;
    // `check` runs first, with the option area there to look at and set.
    void expect_open(std::filesystem::path file, Check check = nullptr);
    // The next is a save dialog answered with `file` (folder and name). A
    // name the program refuses keeps the dialog up: the next step answers it.
    void expect_save(std::filesystem::path file, Check check = nullptr);
    void expect_cancel(bool save, Check check = nullptr);
    plat::FileDialogReply answer(const plat::FileDialogRequest& request) override;
    bool done() const { return script_.empty(); }

private:
    struct Step {
        bool save;
        bool cancel;
        std::filesystem::path file;
        Check check;
    };
    std::deque<Step> script_;
};

// The script, installed as the file dialogs' answerer.
ScriptedFileDialogs& file_dialogs();

}  // namespace drav::test
