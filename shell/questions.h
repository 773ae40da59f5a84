// The two question windows: "Yes No Cancel" and "Yes Cancel" of nib "drav".
// Answers: 1 yes, 2 cancel, 3 no.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/dialog_helpers.h"

namespace drav {

constexpr std::int16_t answer_yes = 1, answer_cancel = 2, answer_no = 3;

// The answer of the last question window.
extern std::int16_t retValue;

// 0 and the answer in *answer; the window's failing status otherwise, and
// then the answer is Cancel, so nothing destructive follows.
int ShowLocalYesNoCancelWindow(int table, int index, std::int16_t* answer);
int ShowLocalYesCancelWindow(int table, int index, std::int16_t* answer);
// The question as UTF-8 text.
int ShowYesNoCancelWindow(const std::string& text, std::int16_t* answer);
int ShowYesCancelWindow(const std::string& text, std::int16_t* answer);
int CreateMyWindow(const std::string& text, std::int16_t* answer, const char* window_name);
// The windows' command handler: true when it took the command (and closed
// the window).
bool YesNoCancelEventHandlerProc(DialogPtr window, std::uint32_t command);

}  // namespace drav
