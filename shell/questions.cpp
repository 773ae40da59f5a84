#include "shell/questions.h"

#include <cstring>

#include "base/messages.h"
#include "dialogs/edit_fields.h"
#include "platform/core/text.h"
#include "platform/ui/answerer.h"
#include "store/strings.h"

namespace drav {

std::int16_t retValue = 0;

namespace {

constexpr std::uint32_t cmd_yes = 0x596E7973;     // 'Ynys'
constexpr std::uint32_t cmd_no = 0x596E6E6F;      // 'Ynno'
constexpr std::uint32_t cmd_cancel = 0x6E6F7421;  // 'not!'
constexpr std::int32_t question_text_id = 4;

// Tells the user why the window could not be made, in plain words.
void report_missing_window() {
    std::string roman;
    plat::utf8_to_macroman(plat::last_dialog_error(), roman);
    if (roman.size() > 254) roman.resize(254);
    ShowCAlert(roman.c_str());
}

}  // namespace

bool YesNoCancelEventHandlerProc(DialogPtr window, std::uint32_t command) {
    switch (command) {
    case cmd_yes: retValue = answer_yes; break;
    case cmd_cancel: retValue = answer_cancel; break;
    case cmd_no: retValue = answer_no; break;
    default: return false;
    }
    plat::dispose_dialog(window);
    return true;
}

int CreateMyWindow(const std::string& text, std::int16_t* answer, const char* window_name) {
    DialogPtr window = nullptr;
    const int status = CreateNibWindow("drav", window_name, &window);
    if (status != 0) {
        report_missing_window();
        *answer = answer_cancel;
        return status;
    }
    plat::set_item_text(GrabCRef(window, 0, question_text_id), text);
    dialog_cursor();
    center_the_dialog(window);
    plat::show_dialog(window);

    const bool three = std::strcmp(window_name, "Yes No Cancel") == 0;
    plat::AlertRequest request;
    request.kind = plat::AlertKind::caution;
    request.text = text;
    request.buttons = three ? std::vector<std::string>{"Yes", "Cancel", "No"}
                            : std::vector<std::string>{"Yes", "Cancel"};
    request.default_item = 1;
    request.cancel_item = 2;
    request.window = window;
    const int pressed = plat::ask(request);
    static constexpr std::uint32_t commands[] = {cmd_yes, cmd_cancel, cmd_no};
    if (pressed >= 1 && pressed <= static_cast<int>(request.buttons.size()))
        plat::post_command(window, commands[pressed - 1]);

    // The window's commands arrive as event records; the handler ends the loop.
    RunAppModalLoopForWindow(window, YesNoCancelEventHandlerProc);
    if (plat::dialog_alive(window)) plat::dispose_dialog(window);
    *answer = retValue;
    return 0;
}

int ShowYesNoCancelWindow(const std::string& text, std::int16_t* answer) {
    return CreateMyWindow(text, answer, "Yes No Cancel");
}

int ShowYesCancelWindow(const std::string& text, std::int16_t* answer) {
    return CreateMyWindow(text, answer, "Yes Cancel");
}

int ShowLocalYesNoCancelWindow(int table, int index, std::int16_t* answer) {
    return ShowYesNoCancelWindow(GetMyLocalCFString(table, index), answer);
}

int ShowLocalYesCancelWindow(int table, int index, std::int16_t* answer) {
    return ShowYesCancelWindow(GetMyLocalCFString(table, index), answer);
}

}  // namespace drav
