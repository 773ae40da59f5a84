#include "store/selection_hooks.h"

namespace drav {

namespace {
SelectionDisplay g_sel;
}  // namespace

void set_selection_display(const SelectionDisplay& display) { g_sel = display; }

void hook_showonoff(std::int16_t index, std::int16_t on) {
    if (g_sel.showonoff) g_sel.showonoff(index, on);
}

void hook_showcurrent(std::int16_t index) {
    if (g_sel.showcurrent) g_sel.showcurrent(index);
}

void hook_nullohp() {
    if (g_sel.nullohp) g_sel.nullohp();
}

void hook_nullghp() {
    if (g_sel.nullghp) g_sel.nullghp();
}

}  // namespace drav
