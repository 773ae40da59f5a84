// How the store shows what it selects: the selection display lives in the
// display, which installs these at start-up. A hook not installed does
// nothing, so the store alone needs no window.
#pragma once

#include <cstdint>

namespace drav {

struct SelectionDisplay {
    void (*showonoff)(std::int16_t index, std::int16_t on) = nullptr;
    void (*showcurrent)(std::int16_t index) = nullptr;
    void (*nullohp)() = nullptr;
    void (*nullghp)() = nullptr;
    void (*get_oghandle)(double* x, double* y) = nullptr;
};
void set_selection_display(const SelectionDisplay& display);

// The store's calls through those hooks.
void hook_showonoff(std::int16_t index, std::int16_t on);
void hook_showcurrent(std::int16_t index);
void hook_nullohp();
void hook_nullghp();
// The selection's handle point; (0, 0) without a display.
void hook_get_oghandle(double* x, double* y);

}  // namespace drav
