// Stroke fonts and text drawing: the font engine (the font list
// "DRAVfonts.txt", one stroke font loaded at a time, stroke decoding and a
// built-in question mark for anything missing), the facade the rest of the
// program calls, an idle engine for a two-byte script, and `draw_text`, which
// lays out and draws the text object in `sinfo`.
#pragma once

#include <cstdint>

namespace drav {

// A stroke-font cell is 42 x 63 units; text advances 1.5 cells a character.
constexpr int stk_cell_width = 42;
constexpr int stk_cell_height = 63;
// Buffers that receive a font's file name hold this many bytes.
constexpr int stk_name_size = 256;

extern std::uint8_t* stkindex;      // the loaded font's index, 512 bytes, big-endian
extern std::uint8_t* stkstrokes;    // its strokes, 4 bytes each
extern std::int16_t maxstks;        // stroke count of the loaded font
extern std::int16_t stkvalid;       // 1 when a stroke font is loaded
extern const std::uint8_t* stk;     // the next stroke to decode
extern std::int16_t oldfont;        // font number of the loaded font, 0 after closing
extern std::int16_t plotfont;       // 0 screen, 1 plot columns
extern std::int16_t hardwarefont;   // the looked-up entry is a device font
extern char currentfontname[stk_name_size];
extern std::int16_t usenofont;      // the font list was found missing; never looked for again
extern char fontlistname[stk_name_size];
extern std::int16_t fontvrefnum;
extern std::int32_t fontDirID;
extern std::int16_t fontlistvrefnum;
extern std::int32_t fontListDirID;

// ---- Facade ----
std::int16_t stk_xsize();
std::int16_t stk_ysize();
// Selects the strokes of the character text[*pos]; *pos moves on by one.
void startstk(const char* text, std::int16_t* pos, std::int16_t* count);
// The next stroke, in cell units.
void getstk(double* dx, double* dy, std::int16_t* penup);
// Makes font number font current for the screen (plot 0) or for plotting
// (plot 1); name receives stk_name_size bytes. 0 when the font is current,
// 1 when it was not found.
std::int16_t loadfont(std::int16_t font, std::int16_t plot, std::int16_t* hardware, char* name);
void closestk();
// Both file names of a font number (stk_name_size bytes each); 0 when not listed.
std::int16_t getfontnames(std::int16_t font, char* screenname, char* plotname);
void openfontlist(const char* name, std::int16_t volume, std::int32_t folder);

// ---- The engine ----
std::int16_t eng_stk_xsize();
std::int16_t eng_stk_ysize();
void eng_startstk(const char* text, std::int16_t* pos, std::int16_t* count);
void eng_getstk(double* dx, double* dy, std::int16_t* penup);
std::int16_t eng_loadfont(std::int16_t font, std::int16_t plot, std::int16_t* hardware, char* name);
void eng_closestk();
std::int16_t eng_getfontnames(std::int16_t font, char* screenname, char* plotname);
void eng_openfontlist(const char* name, std::int16_t volume, std::int32_t folder);
// The font's line of the font list (at least 257 bytes); 1 when found.
std::int16_t findstkstg(std::int16_t font, char* line);
// The device-font flag and file name of the screen or plot columns; 1 when a
// file name was read.
std::int16_t lookupstk(std::int16_t font, std::int16_t plot, std::int16_t* hardware, char* name);
// Loads a stroke file of the program's folder; 1 when loaded.
std::int16_t openstk(const char* name);

// ---- The two-byte-script engine: it has no fonts ----
std::int16_t jpn_stk_xsize();
std::int16_t jpn_stk_ysize();
void jpn_startstk(const char* text, std::int16_t* pos, std::int16_t* count);
void jpn_getstk(double* dx, double* dy, std::int16_t* penup);
std::int16_t jpn_loadfont(std::int16_t font, std::int16_t plot, std::int16_t* hardware, char* name);
void jpn_closestk();
std::int16_t jpn_getfontnames(std::int16_t font, char* screenname, char* plotname);
void jpn_openfontlist(const char* name, std::int16_t volume, std::int32_t folder);
std::int16_t subr1();
std::int16_t subr2();
std::int16_t subr3();
std::int16_t subr4();
std::int16_t subr5();
std::int16_t subr6();
std::int16_t subr7();
std::int16_t subr8();

// Draws the text object in `sinfo`, whose whole string is in `textline`:
// mode is the renderer's pen mode (0 trace, 1 draw, 2 erase, 3 XOR), stroke
// its stroke number (1 for the first or only stroke). Leaves in `save_clip`
// whether the text's box lies in the view.
void draw_text(std::int16_t mode, std::int16_t stroke);

}  // namespace drav
