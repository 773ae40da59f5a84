#include "base/restraint_hook.h"

namespace drav {

namespace {
void (*g_mark)() = nullptr;
}  // namespace

void set_mark_restraints(void (*f)()) { g_mark = f; }

void loop_mark_restraints() {
    if (g_mark) g_mark();
}

}  // namespace drav
