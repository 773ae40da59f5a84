// The small modal windows of the tools' options, opened by a double click on
// a tool (or on the construct palette's tangent item). Each opener answers 1
// after OK and 0 after Cancel or when its window cannot be made.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"

namespace drav {

int ShowLineToolSettingWindow();
int ShowRectangleToolSettingWindow();
int ShowEllipseToolSettingWindow();
int ShowImageToolSettingWindow();
int ShowMoveToolSettingWindow();
int ShowCircleToolSettingWindow();
int ShowArcToolSettingWindow();
int ShowGroupWindow();
int ShowCursorWindow();
int ShowTangentSettingsWindow();

// Shows or hides the typed-size fields of a circle or arc method, and the
// group window's dependent controls.
void SetCircleValues(DialogPtr window, int mode);
void SetArcValues(DialogPtr window, int mode);
void SetStatus(DialogPtr window);

// The tangent window's chosen mode button (4 to 7).
extern std::int32_t curTanToolHighlighted;
void HighlightTanTool(DialogPtr window, int id);
// Draws mode button `id` (4 to 7) into the window's port.
void MyDrawControl(DialogPtr window, int id);

// Runs a window of one pop-up (control 3) that shows and stores `*word`.
int run_popup_tool_window(const char* name, std::int16_t* word, std::uint16_t* ok_selected);

}  // namespace drav
