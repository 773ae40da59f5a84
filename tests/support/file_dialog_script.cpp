#include "tests/support/file_dialog_script.h"

#include <gtest/gtest.h>

namespace drav::test {

void ScriptedFileDialogs::expect_open(std::filesystem::path file, Check check) {
    script_.push_back({false, false, std::move(file), std::move(check)});
}

void ScriptedFileDialogs::expect_save(std::filesystem::path file, Check check) {
    script_.push_back({true, false, std::move(file), std::move(check)});
}

void ScriptedFileDialogs::expect_cancel(bool save, Check check) {
    script_.push_back({save, true, {}, std::move(check)});
}

plat::FileDialogReply ScriptedFileDialogs::answer(const plat::FileDialogRequest& request) {
    for (;;) {
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << request.title;
            return {};
        }
        Step s = script_.front();
        script_.pop_front();
        EXPECT_EQ(s.save, request.save) << "a " << (request.save ? "save" : "open") << " dialog came: " << request.title;
        if (s.check) s.check(request);
        if (s.cancel) return {};
        // A person picks only what the dialog lists.
        if (!request.save && request.filter && !request.filter(s.file)) {
            ADD_FAILURE() << "the open dialog does not offer " << s.file;
            return {};
        }
        if (request.save && request.accept && !request.accept(s.file)) continue;
        return {true, s.file};
    }
}

ScriptedFileDialogs& file_dialogs() {
    static ScriptedFileDialogs script;
    plat::set_file_dialog_answerer(&script);
    return script;
}

}  // namespace drav::test
