#include "base/restraint_hook.h"

namespace drav {

namespace {
void (*g_mark)() = nullptr;
void (*g_click)(int) = nullptr;
}  // namespace

void set_mark_restraints(void (*f)()) { g_mark = f; }

void loop_mark_restraints() {
    if (g_mark) g_mark();
}

void set_restraint_click(void (*f)(int item)) { g_click = f; }

void loop_restraint_click(int item) {
    if (g_click) g_click(item);
}

}  // namespace drav
