#include "store/selection_state.h"

#include <cstring>

#include "store/files.h"
#include "store/record_store.h"
#include "store/selection_hooks.h"

namespace drav {

std::uint16_t* on_screen = nullptr;
std::int32_t on_size = 0;
std::uint16_t* in_group = nullptr;
std::int32_t in_size = 0;
std::int16_t objs_in_grp = 0;
std::uint16_t macgroup = 0;
std::uint16_t grpdelok = 0;

namespace {

bool in_set(std::int32_t size_bytes, int n) { return n >= 0 && n < size_bytes * 8; }

}  // namespace

int init_selection_sets() {
    free_selection_sets();
    const std::int32_t bytes = 2 * ((static_cast<std::int32_t>(worksize) + 15) / 16);
    on_screen = static_cast<std::uint16_t*>(getmemory(bytes));
    in_group = static_cast<std::uint16_t*>(getmemory(bytes));
    if (!on_screen || !in_group) {
        free_selection_sets();
        return 0;
    }
    on_size = in_size = bytes;
    return 1;
}

void free_selection_sets() {
    xfree(&on_screen);
    xfree(&in_group);
    on_size = in_size = 0;
}

std::int16_t get_on_screen(int n) { return in_set(on_size, n) ? get_boolean(on_screen, n) : 0; }

void put_on_screen(int n, int on) {
    if (in_set(on_size, n)) put_boolean(on_screen, n, on);
}

std::int16_t get_in_group(int n) { return in_set(in_size, n) ? get_boolean(in_group, n) : 0; }

void put_in_group(int n, int on) {
    if (in_set(in_size, n)) put_boolean(in_group, n, on);
}

}  // namespace drav

namespace drav {

void clear_on_screen() {
    if (on_screen && on_size > 0) std::memset(on_screen, 0, static_cast<std::size_t>(on_size));
}

void clear_group() {
    // TODO(grpfnce) the selection's fence list is freed
    hook_nullghp();
    if (in_group && in_size > 0) std::memset(in_group, 0, static_cast<std::size_t>(in_size));
    objs_in_grp = 0;
    grpdelok = 0;
}

}  // namespace drav
