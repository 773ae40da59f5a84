// Reading a drawing file into the workfile and the work library: opening it
// in place of the current drawing, or merging it into the current drawing.
// Every count and record is checked before the drawing changes.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

extern std::uint16_t merging;     // 0 open, 1 merge, 2 merge as a group
extern std::uint16_t convert52;   // the file is of version 52
extern std::uint16_t convert54;   // of version 52 or 54: old text objects
extern double objectscale;        // the file's units in the drawing's

// Posted (as a high-level event) on our queue when a drawing was opened or merged.
constexpr std::uint32_t drawing_opened_event = 0x646F454B;  // 'doEK'

// What the last read left out, for the messages and for tests.
struct ReadCounts {
    int bad_symbols = 0;   // references to a symbol the file does not carry
    int skipped = 0;       // damaged records left out
    int unconverted = 0;   // PC records that did not convert
};
extern ReadCounts last_read;

// Index maps of (to, from) record numbers.
struct MapEntry {
    std::uint16_t to;
    std::uint16_t from;
};
void updatemap(MapEntry* table, std::int16_t* count, std::int16_t from, std::int16_t to);
int mapping(std::int16_t from, const MapEntry* table, std::int16_t count, std::int16_t* to);

// Formats: 1 native drawing, 2 picture, 3 PC drawing.
constexpr int format_native = 1, format_picture = 2, format_pc = 3;
// The one rule for the byte order of a drawing file: a name ending in ".2d"
// (any case) on a file not typed as a native drawing is a PC file, unless
// its version makes sense only in native order. A file typed 'PICT', or
// untyped and named ".pict" or ".pct", is a picture.
int drawing_file_format(const FSRef& ref);
int FSRefIsDravPcFile(const FSRef& ref);

int open_or_merge_drawing(const FSRef& ref, std::int16_t vref, std::int32_t dir, const char* name, int format,
                          int merge, int withplot);
// 1 when the file was read; 0 when it was refused (reported) and nothing changed.
int open_drawing(const FSRef& ref, std::int16_t vref, std::int32_t dir, const char* name, int merge, int pc,
                 int withplot);
// Opens the file into `currentdrawingRefNum`; 0 after error 119.
int opensegs(const FSRef& ref, std::int16_t vref, std::int32_t dir, const char* name);
void closesegs();

}  // namespace drav
