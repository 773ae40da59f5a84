// Picture import: a picture (from a picture file or the clipboard) turned
// into drawing objects, one for each framed line, rectangle, rounded
// rectangle, oval, arc, polygon and text run; the text comments of the
// picture turn and flip the texts. Picture points are 1/72 inch with y
// downward; the objects get y upward and the drawing's units.
#pragma once

#include <cstdint>

#include "platform/core/picture.h"
#include "store/files.h"

namespace drav {

extern std::int16_t pictmerge;     // 0 replaces the drawing, 1 adds, 2 adds as the selection group
extern std::int16_t PICTRef;       // the picture file while it is read
extern std::uint8_t textopt[6];    // justification, flip, angle (i16, clockwise degrees), spacing, comment
extern std::int32_t textcenter[2]; // 16.16 y offset, then x offset, of the text's turning centre
extern std::uint16_t centertext;   // a text-centre comment is in force

// Imports a picture file (a 512-byte header, then the picture) in merge
// mode 0, 1 or 2. 1 when the file was read; 0 when it could not be opened
// or read or is no picture this program reads (said in an alert; the
// drawing is then unchanged).
int open_pict(const FSRef& ref, std::int16_t vref, std::int32_t dir, const char* name, int merge);
// Imports a picture from memory as added objects, played into `frame`.
void paste_pict(const plat::Picture& picture, const plat::Rect& frame);
// The objects of `picture` played into `dst` with `pictmerge` as it is; the
// number of objects stored.
int play_picture(const plat::Picture& picture, const plat::Rect& dst);

// Object builders, on `info`; coordinates in picture points, y upward.
void startobj(double x, double y, int level, int colour, int style);
void makeline(double dx, double dy);
void make2rect(double width, double height);
void makeell(double r1, double r2, double begin, double end, int direction, int sides);
void maketext(double char_width, double height, int font, const char* text);
// Stores the object built; its index, or 0 when it was left out (no room,
// degenerate).
std::int16_t finishobj();

// The text font of a picture's font and face (bit 0 bold, bit 1 italic),
// from the font map in the data folder.
int pict_text_font(int font, int face);
// The measures the import takes for a picture's text: the width of a run of
// n characters and the ascent at a size in points (0: 12), whole pixels.
int pict_text_width(int n, int size);
int pict_text_ascent(int size);

}  // namespace drav
