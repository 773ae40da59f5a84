// Raw allocation with a switch that lets tests make allocations fail.
#pragma once

#include <cstddef>

namespace plat {

// Zeroed memory, or nullptr when the allocation fails (or is made to fail).
void* raw_alloc(std::size_t n);
void raw_free(void* p);
// The next `count` allocations fail.
void fail_next_allocations(int count = 1);

}  // namespace plat
