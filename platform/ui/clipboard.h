// The desktop's clipboard. The program's own object records travel under a
// private type, a picture as picture data under its own type plus a PNG for
// other programs, and text as UTF-8. Text inside the program is Mac Roman;
// it is converted here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/raster.h"

namespace plat {

inline constexpr const char* segs_mime = "application/x-dravelin-segs";
inline constexpr const char* pict_mime = "image/x-pict";
inline constexpr const char* png_mime = "image/png";

enum class Flavour { segs, pict, text };

// What one Copy offers; empty parts are left out.
struct ScrapOut {
    std::vector<std::uint8_t> segs;
    std::vector<std::uint8_t> pict;
    const Port* image = nullptr;  // its pixels are offered as PNG
    std::string text;             // Mac Roman
};

class Pasteboard;
// The desktop's clipboard; nullptr without an application.
Pasteboard* open_pasteboard();
void release_pasteboard(Pasteboard* p);

// Replaces everything on the clipboard by these flavours.
void put_scrap(const ScrapOut& out);
// The flavour's bytes; false when the clipboard does not offer it. Text comes
// as Mac Roman, with '?' for characters that have none; *replaced tells.
bool scrap_flavour(Flavour f, std::vector<std::uint8_t>* data);
bool scrap_text(std::string* roman, bool* replaced);
// The PNG image offered, as its file bytes; false when none.
bool scrap_png(std::vector<std::uint8_t>* data);
// Puts plain UTF-8 text on the clipboard, as another program would.
void put_scrap_text_utf8(const std::string& utf8);

}  // namespace plat
