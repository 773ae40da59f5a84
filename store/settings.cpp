#include "store/settings.h"

namespace drav {

// Start values come from the start-up defaults; until then everything is zero.
WindowRec cur_win{};
WindowRec bse_win{};
GridRec grid_data{};
UnitsRec units_defs{};
OutputRec output_defs{};
PropsRec props_defs{};
UsersRec users_defs{};
MiscRec misc_defs{};
std::uint16_t swaper = 0;
std::uint16_t levels_visible[level_set_words] = {};
std::uint16_t levels_locked[level_set_words] = {};

}  // namespace drav
