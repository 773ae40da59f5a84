// Adding a drawing file as a symbol of the current library: its objects
// become the symbol's pieces, appended to the library, and the slot's
// control record describes them.
#pragma once

#include <cstdint>
#include <vector>

#include "store/records.h"

namespace drav {

// The units of the drawing a symbol was taken from.
struct SymbolUnits {
    std::int16_t code = 0;       // drawing units code 0-11
    std::int16_t real_unit = 0;  // the real unit of a unitless drawing
    double factor = 1;           // one drawing unit in that real unit
};

// What `lib_put_symbol` did.
enum class PutSymbol { written, unsound, no_room };

// Writes `pieces` (live drawing objects, each text followed by its
// continuation when it has one) as the symbol of `slot` (0-based) of the open
// library `lib`: from its `lastsymb` on, moved so that the extents (lx, ly)
// to (hx, hy) start at (0, 0), the first piece marking the handle; then the
// control record and record 0. Nothing is written unless the library is sound
// and has room for every piece. The one writer of library symbols: the
// adder and the build's library maker use it.
PutSymbol lib_put_symbol(std::int16_t lib, std::int16_t slot, const std::vector<ObjectRec>& pieces, double lx,
                         double ly, double hx, double hy, const char* libname, const char* symbname,
                         const SymbolUnits& units);
// 1 while every piece may be scaled by different factors in x and y: only
// points, lines and curves may lie turned.
int check_unprop(const std::vector<ObjectRec>& pieces);

// Symbols choice 1: asks for a drawing file and adds it as the symbol of
// slot (0-based) of the current library, asking first when the slot is filled.
void symbadd(std::int16_t slot);
// The steps after the file `name` was opened as `file`: 1 when added.
int add_entry(std::int16_t file, std::int16_t slot, const char* name);

}  // namespace drav
