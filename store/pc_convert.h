// Records of PC drawing files: the same 128-byte records little-endian, with
// the bit fields of every 16-bit (or 8-bit) unit in mirrored order and the
// symbol reference's fields from byte 92 one byte earlier. Converted at the
// file boundary, field by field.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// The file being read or written is a PC file.
extern std::uint16_t dosfile;
// Records that failed the conversion during the current read.
extern std::int16_t bad_seg_count;

// PC record into native record; 1 on success, 0 when the record kind is
// above 12 or a drawing object's kind above 9 (native untouched then).
// Kind 0 succeeds without writing. The PC buffer is not changed.
int xtweak(ObjectRec& native, const ObjectRec& pc);
// Native record into PC record; the same results. The native record is not changed.
int tweak(ObjectRec& pc, const ObjectRec& native);

// Answers of FSRef_convget.
constexpr int conv_read = 1;    // a record was read (and converted)
constexpr int conv_short = 0;   // fewer than 128 bytes were there
constexpr int conv_failed = 2;  // read, but it did not convert: counted in `bad_seg_count`

// Reads the next record at the fork's mark into rec (zeroed first); a PC file's
// record is converted.
int FSRef_convget(std::int16_t fork, ObjectRec& rec);
// Writes rec at the fork's mark, converted when `dosfile` is set; rec stays
// as it is. 1 when all 128 bytes were written.
int FSRef_convput(std::int16_t fork, const ObjectRec& rec);

// Byte-level helpers.
void reverse(std::uint8_t* p, int n);
void xswab(std::uint8_t* p, int n);
std::int16_t fixint(std::int16_t v);
std::uint16_t fixbool(std::uint16_t v);
std::int32_t fixlong(std::int32_t v);
float fixsreal(float v);
double fixreal(double v);

}  // namespace drav
