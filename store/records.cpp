#include "store/records.h"

#include "store/strings.h"

namespace drav {

std::int16_t number_of_objects = first_object_slot;

int set_text_chars(ObjectRec& obj, ObjectRec& tail, const char* s) {
    int n = 0;
    while (s[n] && n < tail::text_size - 1) ++n;
    char whole[tail::text_size];
    std::memcpy(whole, s, static_cast<std::size_t>(n));
    whole[n] = '\0';
    const int count = chr_len(whole);
    const bool continued = n > text::max_inline;
    set_text_info(obj, text_font(obj), count > 127 ? 127 : count, continued);
    if (continued) {
        std::memset(obj.b + text::chars, 0, text::chars_size);
        zero_info(tail);
        set_rec_u16(tail, o_word0, rk_text_tail);
        set_rec_str(tail, tail::text, tail::text_size, whole);
        return 1;
    }
    set_rec_str(obj, text::chars, text::chars_size, whole);
    return 0;
}

char* text_chars(const ObjectRec& obj, const ObjectRec& tail, char* out) {
    const bool from_tail = text_continued(obj) && rec_kind(tail) == rk_text_tail;
    const int off = from_tail ? tail::text : text::chars;
    const int size = from_tail ? tail::text_size : text::chars_size;
    const ObjectRec& r = from_tail ? tail : obj;
    int n = 0;
    while (n < size - 1 && r.b[off + n]) ++n;
    std::memcpy(out, r.b + off, static_cast<std::size_t>(n));
    out[n] = '\0';
    return out;
}

}  // namespace drav
