#include "shell/blink.h"

#include "display/display_list.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "platform/ui/events.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/strings.h"

namespace drav {

BlinkProc bfunc = nullptr;
std::uint16_t blinking = 0;
std::uint16_t obj_on = 0;
double blinktime = 0.1;

namespace {

constexpr std::uint16_t swaper_blink = 0x0040;
constexpr std::uint16_t swaper_flash = 0x2000;
constexpr std::uint32_t blink_interval_ticks = 12;  // 0.2 s

int blinkTimerRef = 0;  // 0: none

BlinkProc save_bfunc = nullptr;
std::uint16_t save_blinking = 0;
std::uint16_t save_obj_on = 0;
bool save_installTimer = false;

bool may_blink() { return (swaper & swaper_blink) != 0 && blinking && bfunc; }

}  // namespace

int blinkinfo() {
    show(mode_xor, &info);
    return 1;
}

void StartBlink(BlinkProc routine, int install) {
    bfunc = routine;
    blinking = 1;
    obj_on = 0;
    if (install) InstallBlinkTimer();
}

void StopBlink() {
    RemoveBlinkTimer();
    blink_off();
    obj_on = 0;
    blinking = 0;
}

void blink_on() {
    if (!may_blink() || obj_on) return;
    bfunc();
    obj_on = 1;
}

void blink_off() {
    if (!may_blink() || !obj_on) return;
    obj_on = 0;
    bfunc();
}

void blinkOffIfNecessary() {
    if (!blinkTimerRef) blink_off();
}

void InstallBlinkTimer() {
    if (blinkTimerRef) return;
    blinkTimerRef = plat::install_timer(0, blink_interval_ticks, blinkTimerFired);
}

void RemoveBlinkTimer() {
    if (!blinkTimerRef) return;
    plat::remove_timer(blinkTimerRef);
    blinkTimerRef = 0;
}

void blinkTimerFired() {
    if (!obj_on)
        blink_on();
    else
        blink_off();
}

int blink_timer_installed() { return blinkTimerRef ? 1 : 0; }

void SaveBlink() {
    blink_off();
    save_bfunc = bfunc;
    save_blinking = blinking;
    save_obj_on = obj_on;
    save_installTimer = blinkTimerRef != 0;
    RemoveBlinkTimer();
}

void RestoreBlink() {
    blinking = save_blinking;
    obj_on = save_obj_on;
    bfunc = save_bfunc;
    if (save_installTimer) InstallBlinkTimer();
}

void blink_sobject(const ObjectRec& record, int force) {
    if (!(swaper & swaper_flash) && !force) return;
    show(mode_xor, &record);
    waittime(blinktime);
    show(mode_xor, &record);
    waittime(blinktime);
}

void blink_object(const ObjectRec& record, int force) {
    if (!(swaper & swaper_flash) && !force) return;
    for (int pass = 0; pass < 2; ++pass) {
        if (listavail()) {
            showseg(mode_xor, prev_index);
        } else {
            show(mode_xor, &record);
        }
        waittime(blinktime);
    }
}

}  // namespace drav
