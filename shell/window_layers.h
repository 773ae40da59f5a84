// Documents and palettes in one window list, layered by hand: palettes in
// front, documents behind them, one palette and one document hilited, and
// scroll bars only on the hilited document.
#pragma once

#include <cstdint>

#include "platform/ui/windows.h"

namespace drav {

extern std::uint16_t activeLayer;  // 1 once the application was activated

bool isDocument(const plat::Window* w);
bool isPallette(const plat::Window* w);
bool isAPIPallette(const plat::Window* w);
// The first visible document, front to back; the last document, visible or not.
plat::Window* firstDocument();
plat::Window* lastDocument();
// The first and last visible palette or extension palette.
plat::Window* firstPallette();
plat::Window* lastPallette();

void LocateWindows();
void ArrangeFP();
void ArrangeFP2();
void ActivateDoc(plat::Window* w);
void DeactivateDoc(plat::Window* w);
void ActivatePal(plat::Window* w);
void DeactivatePal(plat::Window* w);
void SelectDocument(plat::Window* w);
void SelectPallette(plat::Window* w);
void ourSelectWindow(plat::Window* w);
void FixActivate();
void FixDeactivate();
// The drawing area of the drawing window: its port less the scroll bars.
void wind_size(std::int16_t* width, std::int16_t* height);

// At quit: window and palette positions and the message palette's
// visibility go to the preferences, the other keys kept as they are.
void PutWindowPrefs();

}  // namespace drav
