// What the dimension commands tell the rest of the program while they run.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t indimlin;  // 1 while a linear dimension command runs
extern std::uint16_t indimang;  // 1 while an angular dimension command runs

}  // namespace drav
