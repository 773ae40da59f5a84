#include "annotation/dimension_flags.h"

namespace drav {

std::uint16_t indimlin = 0;
std::uint16_t indimang = 0;

}  // namespace drav
