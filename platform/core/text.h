// Text encoding at the boundary: records and string buffers hold Mac Roman
// bytes; the desktop speaks UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace plat {

std::string macroman_to_utf8(std::string_view roman);
// False when some character has no Mac Roman byte (out then holds the rest
// converted, with '?' in its place) or the UTF-8 is malformed.
bool utf8_to_macroman(std::string_view utf8, std::string& out);

// How the current script sees one byte of a string.
enum class ByteKind { single, first, middle, last };
// The system script: Roman, where every byte is a character. The
// two-byte script exists so code that counts characters stays honest.
enum class Script { roman, japanese };
void set_script(Script s);
Script script();
// The kind of byte i of the NUL-terminated string s.
ByteKind byte_kind(const char* s, int i);

}  // namespace plat
