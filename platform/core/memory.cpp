#include "platform/core/memory.h"

#include <cstdlib>

namespace plat {

namespace {
int g_fail_count = 0;
}

void* raw_alloc(std::size_t n) {
    if (g_fail_count > 0) {
        --g_fail_count;
        return nullptr;
    }
    return std::calloc(n ? n : 1, 1);
}

void raw_free(void* p) { std::free(p); }

void fail_next_allocations(int count) { g_fail_count = count < 0 ? 0 : count; }

}  // namespace plat
