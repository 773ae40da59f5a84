// The object in hand: drawn in XOR so that drawing it again removes it,
// optionally blinking on a 0.2-second timer, saved and restored around
// nested commands and dialogs.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// Draws the object in hand once in XOR mode.
using BlinkProc = int (*)();

extern BlinkProc bfunc;
extern std::uint16_t blinking;  // an object is in hand
extern std::uint16_t obj_on;    // its XOR image is on screen
extern double blinktime;        // the pause of a flash, seconds

// Draws the current record `info` in XOR; 1.
int blinkinfo();
void StartBlink(BlinkProc routine, int install);
void StopBlink();
void blink_on();
void blink_off();
void blinkOffIfNecessary();
void InstallBlinkTimer();
void RemoveBlinkTimer();
void blinkTimerFired();
// 1 while the timer is installed.
int blink_timer_installed();
void SaveBlink();
void RestoreBlink();
// Flashes the record: drawn in XOR, a pause, drawn again, a pause.
void blink_sobject(const ObjectRec& record, int force);
void blink_object(const ObjectRec& record, int force);

}  // namespace drav
