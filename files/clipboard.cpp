#include "files/clipboard.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "display/clipboard_window.h"
#include "display/picture_target.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "files/picture_import.h"
#include "platform/core/picture.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/symbol_library.h"
#include "store/undo.h"

namespace drav {

plat::Pasteboard* theClipboard = nullptr;

namespace {

void append(std::vector<std::uint8_t>& out, const ObjectRec& r) { out.insert(out.end(), r.b, r.b + 128); }

// Record n (loaded) and what travels with it.
void append_object(std::vector<std::uint8_t>& out, std::int16_t n) {
    const ObjectRec obj = info;
    if (obj_kind(obj) == ok_symbol) {
        std::int16_t first = 0, count = 0;
        if (!ctrl_run(rec_i16(obj, sym::ctrl), &first, &count)) return;
        for (std::int16_t i = 0; i < count; ++i) {
            ObjectRec piece;
            if (!get_symbol(first, i, piece)) break;
            if (rec_kind(piece) == rk_object) {
                set_rec_word0_bits(piece, w0_first_piece, false);
                symb_transform(obj, piece);
                change_symb_defaults(obj, piece);
            }
            append(out, piece);
        }
        return;
    }
    append(out, obj);
    if (obj_kind(obj) == ok_text && text_continued(obj) && n + 1 < number_of_objects) {
        ObjectRec tail;
        get_copy_info(static_cast<std::int16_t>(n + 1), tail);
        append(out, tail);
    }
}

// The picture's drawing cut to what it covers, with a small margin, for
// programs that take images. False when it draws nothing.
bool picture_image(const plat::Picture& picture, plat::Port* out) {
    const plat::Rect f = picture.frame;
    const int w = f.right - f.left, h = f.bottom - f.top;
    if (picture.ops.empty() || w <= 0 || h <= 0) return false;
    plat::Port full(w, h);
    if (full.width() != w || full.height() != h) return false;
    const std::uint32_t paper = full.pixel(0, 0);
    plat::draw_picture(full, picture, plat::Rect{0, 0, static_cast<std::int16_t>(h), static_cast<std::int16_t>(w)});
    if (full.blank()) return false;
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = full.row(y);
        for (int x = 0; x < w; ++x) {
            if (row[x] == paper) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return false;
    constexpr int margin = 4;
    left = std::max(0, left - margin);
    top = std::max(0, top - margin);
    right = std::min(w, right + 1 + margin);
    bottom = std::min(h, bottom + 1 + margin);
    if (!out->resize(right - left, bottom - top)) return false;
    const auto i16 = [](int v) { return static_cast<std::int16_t>(v); };
    plat::copy_bits(full, *out, plat::Rect{i16(top), i16(left), i16(bottom), i16(right)},
                    plat::Rect{0, 0, i16(bottom - top), i16(right - left)}, plat::srcCopy);
    return true;
}

// Text laid out as a text box does it on the drawing window's port: lines
// from the left edge down, wrapped at spaces to its width (a word wider than
// that is cut), each line a text run of the port's 12-point font.
plat::Picture text_picture(const std::string& roman) {
    plat::Picture picture;
    picture.frame = drawCWindow ? drawCWindow->port_rect() : drawRect;
    const int width = picture.frame.right - picture.frame.left;
    const int per_line = std::clamp(width * 10 / std::max(pict_text_width(10, 0), 1), 1, 255);
    const int ascent = pict_text_ascent(0);
    constexpr int line_pixels = 16;
    int baseline = picture.frame.top + ascent;
    auto put_line = [&](const std::string& line) {
        plat::PictOp op;
        op.opcode = plat::pict::op_long_text;
        op.data = {static_cast<std::uint8_t>(baseline >> 8), static_cast<std::uint8_t>(baseline),
                   static_cast<std::uint8_t>(picture.frame.left >> 8), static_cast<std::uint8_t>(picture.frame.left),
                   static_cast<std::uint8_t>(line.size())};
        op.data.insert(op.data.end(), line.begin(), line.end());
        picture.ops.push_back(std::move(op));
        baseline += line_pixels;
    };
    std::size_t at = 0;
    while (at <= roman.size()) {
        std::size_t end = roman.find_first_of("\r\n", at);
        if (end == std::string::npos) end = roman.size();
        std::string para = roman.substr(at, end - at);
        at = end + ((end + 1 < roman.size() && roman[end] == '\r' && roman[end + 1] == '\n') ? 2 : 1);
        do {
            std::size_t cut = para.size();
            if (static_cast<int>(cut) > per_line) {
                const std::size_t space = para.rfind(' ', static_cast<std::size_t>(per_line));
                cut = space != std::string::npos && space > 0 ? space : static_cast<std::size_t>(per_line);
            }
            put_line(para.substr(0, cut));
            para.erase(0, cut);
            if (!para.empty() && para.front() == ' ') para.erase(0, 1);
        } while (!para.empty());
    }
    return picture;
}

}  // namespace

void InitClipboard() { theClipboard = plat::open_pasteboard(); }

void ReleaseClipboard() {
    plat::release_pasteboard(theClipboard);
    theClipboard = nullptr;
}

std::vector<std::uint8_t> selection_segs() {
    std::vector<std::uint8_t> out;
    if (macgroup) {
        for (int i = first_object_slot; i < number_of_objects; ++i) {
            const auto n = static_cast<std::int16_t>(i);
            if (!get_in_group(n)) continue;
            get_info(n);
            // A deleted member keeps its group bit; it is not copied.
            if (!is_live_object(info)) continue;
            append_object(out, n);
        }
    } else if (okindx(&indx)) {
        get_info(indx);
        append_object(out, indx);
    }
    return out;
}

void DoClipboardCopy() {
    plat::ScrapOut scrap;
    const plat::Picture picture = selection_picture();
    scrap.pict = plat::picture_bytes(picture);
    plat::Port image;
    if (picture_image(picture, &image)) scrap.image = &image;
    scrap.segs = selection_segs();
    if (!macgroup && okindx(&indx) && obj_kind(info) == ok_text) {
        cumstgs(indx);
        scrap.text = textline;
    }
    reset_clip_view();
    plat::put_scrap(scrap);
    updateClipboard();
}

void DoClipboardCut() {
    DoClipboardCopy();
    // Nothing goes before the clipboard holds it.
    std::vector<std::uint8_t> held;
    if (!plat::scrap_flavour(plat::Flavour::segs, &held) || held.empty() || held != selection_segs()) return;
    group(7);
}

void DoClipboardPaste() {
    std::vector<std::uint8_t> data;
    if (plat::scrap_flavour(plat::Flavour::segs, &data) && !data.empty()) {
        paste_segs(data.data(), data.size());
        return;
    }
    // A picture that cannot be read is passed over. What a picture or a text
    // adds is registered as added objects, so that the drawing counts as
    // changed and Undo takes them away.
    plat::Picture picture;
    if (plat::scrap_flavour(plat::Flavour::pict, &data) && !data.empty() && plat::read_picture(data, &picture)) {
        do_operation(op_add, 0, 0, 0, 0, 0, 0);
        paste_pict(picture, picture.frame);
        return;
    }
    std::string text;
    bool replaced = false;
    if (plat::scrap_text(&text, &replaced) && !text.empty()) {
        if (replaced) pr_miscmsg(msg_text_replaced);
        picture = text_picture(text);
        do_operation(op_add, 0, 0, 0, 0, 0, 0);
        paste_pict(picture, picture.frame);
    }
}

int segs_sound(const std::uint8_t* data, std::size_t size, std::vector<ObjectRec>* recs) {
    recs->clear();
    if (!data || size == 0 || size % 128 != 0 || size / 128 >= static_cast<std::size_t>(worksize)) return 0;
    const std::size_t count = size / 128;
    for (std::size_t i = 0; i < count; ++i) {
        ObjectRec r;
        std::memcpy(r.b, data + i * 128, 128);
        if (rec_kind(r) != rk_object || !obj_sound(r, 1)) return 0;
        recs->push_back(r);
        if (obj_kind(r) != ok_text || !text_continued(r)) continue;
        if (++i >= count) return 0;
        ObjectRec tail;
        std::memcpy(tail.b, data + i * 128, 128);
        if (rec_kind(tail) != rk_text_tail || !std::memchr(tail.b + tail::text, 0, tail::text_size)) return 0;
        recs->push_back(tail);
    }
    return 1;
}

int paste_segs(const std::uint8_t* data, std::size_t size) {
    std::vector<ObjectRec> recs;
    if (!segs_sound(data, size, &recs)) {
        show_error(err_bad_clipboard, 0);
        return 0;
    }
    // Whole units: every copy keeps its distance to the others.
    const double dx = std::trunc(ref_x - rec_f64(recs[0], obj::ref_x));
    const double dy = std::trunc(ref_y - rec_f64(recs[0], obj::ref_y));
    const bool one = recs.size() == 1 || (recs.size() == 2 && rec_kind(recs[1]) == rk_text_tail);
    if (!one) {
        if (!macgroup) do_operation(op_group_mode, 0, 0, 0, 0, 0, 0);
        showgroup(0);
        clear_group();
    }
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    if (!macgroup && okindx(&indx)) showonoff(indx, 0);
    int stored = 0;
    for (std::size_t i = 0; i < recs.size(); ++i) {
        const std::int16_t n = number_of_objects;
        get_info(n);
        info = recs[i];
        set_rec_f64(info, obj::ref_x, rec_f64(info, obj::ref_x) + dx);
        set_rec_f64(info, obj::ref_y, rec_f64(info, obj::ref_y) + dy);
        if (obj_kind(info) == ok_text) {
            const bool continued = text_continued(info);
            const char* s = continued ? rec_str(recs[++i], tail::text) : rec_str(info, text::chars);
            std::snprintf(textline, textline_size, "%s", s);
        }
        if (!save_object()) {
            if (quit) break;  // the drawing is full
            continue;
        }
        ++stored;
        if (!one) {
            put_in_group(n, 1);
            if (obj_kind(info) == ok_text && text_continued(info)) put_in_group(n + 1, 1);
            showobjonly(n, 1);
        }
    }
    if (!one) set_group_limits();
    if (macgroup) {
        nullghp();
        showgroup(1);
    } else {
        nullohp();
        indx = static_cast<std::int16_t>(last_valid_indx());
        showonoff(indx, 1);
    }
    return stored;
}

}  // namespace drav
