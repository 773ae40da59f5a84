// Copy, Cut and Paste of drawing objects through the desktop's clipboard,
// driven through the running program's Edit menu.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "display/clipboard_window.h"
#include "display/selection_display.h"
#include "platform/core/picture.h"
#include "files/clipboard.h"
#include "platform/ui/clipboard.h"
#include "shell/message_palette.h"
#include "store/files.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/symbol_library.h"
#include "store/undo.h"
#include "store/workfile.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::answers;
using drav::test::quit_without_saving;
using drav::test::Session;

namespace {

constexpr double tol = 1e-9;
std::int16_t n0 = 0;

// Through `info`, which holds the newest state of the record it holds.
ObjectRec record(int n) {
    get_info(static_cast<std::int16_t>(n));
    return info;
}

QByteArray segs_on_clipboard() {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    return m ? m->data(plat::segs_mime) : QByteArray();
}

QByteArray flavour(const char* type) {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    return m ? m->data(type) : QByteArray();
}

// Pixels of the PNG on the clipboard that are not white.
int inked_png_pixels() {
    QImage image;
    if (!image.loadFromData(flavour(plat::png_mime), "PNG")) return -1;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    return n;
}

void put_flavour(const char* type, const std::vector<std::uint8_t>& bytes) {
    auto* mime = new QMimeData;
    mime->setData(type, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

// The text objects from n on, in order, with their strings.
std::vector<std::string> texts_from(int n) {
    std::vector<std::string> out;
    for (int i = n; i < number_of_objects; ++i) {
        const ObjectRec r = record(i);
        if (!is_live_object(r) || obj_kind(r) != ok_text) continue;
        cumstgs(static_cast<std::int16_t>(i));
        out.emplace_back(textline);
    }
    return out;
}

bool text_on_clipboard() {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    return m && m->hasText();
}

// A new object from the record's kind part, stored as a command stores it.
std::int16_t store(const ObjectRec& part) {
    const std::int16_t n = number_of_objects;
    get_info(n);
    info = part;
    EXPECT_EQ(save_object(), 1);
    return n;
}

ObjectRec line_rec(double x, double y, double dx, double dy) {
    ObjectRec r{};
    set_obj_kind_colour(r, ok_line, 3);
    r.b[obj::level] = 1;
    set_rec_f64(r, obj::ref_x, x);
    set_rec_f64(r, obj::ref_y, y);
    set_rec_f64(r, line::dx, dx);
    set_rec_f64(r, line::dy, dy);
    return r;
}

ObjectRec text_obj(double x, double y) {
    ObjectRec r{};
    set_obj_kind_colour(r, ok_text, 3);
    r.b[obj::level] = 1;
    set_rec_f64(r, obj::ref_x, x);
    set_rec_f64(r, obj::ref_y, y);
    set_rec_f32(r, text::char_width, 0.2f);
    set_rec_f32(r, text::char_height, 0.3f);
    return r;
}

void start() {
    units_defs.increment = 0;
    n0 = number_of_objects;
}

// As a command ends: the object is current and the menus follow.
void select_current(std::int16_t n) {
    indx = n;
    currentitem = 0;
    setidle(1);
}

void expect_line(int n, double x, double y, double dx, double dy) {
    const ObjectRec r = record(n);
    EXPECT_TRUE(is_live_object(r)) << n;
    EXPECT_EQ(obj_kind(r), ok_line) << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x), x, tol) << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y), y, tol) << n;
    EXPECT_NEAR(rec_f64(r, line::dx), dx, tol) << n;
    EXPECT_NEAR(rec_f64(r, line::dy), dy, tol) << n;
}

}  // namespace

TEST(Clipboard, OneLineIsOneRecordAndPastesInWholeUnitsFromTheReferencePoint) {
    Session s;
    s.then([] {
        start();
        select_current(store(line_rec(1.5, 2.25, 3, 1)));
    });
    s.menu(kMyEditMenu, "copy");
    s.then([] {
        EXPECT_EQ(segs_on_clipboard().size(), 128);
        EXPECT_FALSE(text_on_clipboard());
        EXPECT_EQ(number_of_objects, n0 + 1);
        // The picture, and an image of it for other programs; the window takes the picture.
        EXPECT_GT(flavour(plat::pict_mime).size(), 10);
        EXPECT_GT(inked_png_pixels(), 0);
        ASSERT_NE(clipPicHdl, nullptr);
        EXPECT_FALSE(clipPicHdl->ops.empty());
        // 10.7 right of the line's start and 0.4 above: the copy lands 10 to the right.
        update_ref(1.5 + 10.7, 2.25 + 0.4);
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        ASSERT_EQ(number_of_objects, n0 + 2);
        expect_line(n0, 1.5, 2.25, 3, 1);
        expect_line(n0 + 1, 11.5, 2.25, 3, 1);
        EXPECT_EQ(macgroup, 0);
        EXPECT_EQ(indx, n0 + 1);
        // The clipboard is unchanged: a second paste from elsewhere.
        update_ref(-4.9, 2.25);
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        ASSERT_EQ(number_of_objects, n0 + 3);
        expect_line(n0 + 2, -4.5, 2.25, 3, 1);  // -6.4 whole units toward zero
    });
    s.menu(kMyEditMenu, "undo");
    s.then([] {
        EXPECT_EQ(number_of_objects, n0 + 2);
        expect_line(n0 + 1, 11.5, 2.25, 3, 1);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, ATextWithItsTailIsTwoRecordsAndItsTextAndPastesAsOneObject) {
    static const char* words = "A text of forty characters to the end...";
    Session s;
    s.then([] {
        start();
        std::strcpy(textline, words);
        select_current(store(text_obj(2, 3)));
        ASSERT_EQ(number_of_objects, n0 + 2);  // the text and its continuation
    });
    s.menu(kMyEditMenu, "copy");
    s.then([] {
        EXPECT_EQ(segs_on_clipboard().size(), 256);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), words);
        update_ref(7.9, 3);
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        ASSERT_EQ(number_of_objects, n0 + 4);
        EXPECT_EQ(macgroup, 0);
        EXPECT_EQ(objs_in_grp, 0);
        const ObjectRec t = record(n0 + 2);
        EXPECT_TRUE(is_live_object(t));
        EXPECT_EQ(obj_kind(t), ok_text);
        EXPECT_NEAR(rec_f64(t, obj::ref_x), 7, tol);
        char out[126];
        EXPECT_STREQ(text_chars(t, record(n0 + 3), out), words);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, ALineAndAFourPieceSymbolPasteAsFiveObjectsFormingTheNewGroup) {
    Session s;
    s.then([] {
        start();
        // A symbol of four lines in the work library, placed at (5, 5) at twice its size.
        const std::int16_t first = static_cast<std::int16_t>(ctrlsize + first_ctrl_record);
        ObjectRec ctrl{};
        set_rec_kind(ctrl, rk_symbol_ctrl);
        set_rec_i16(ctrl, sctl::first_piece, first);
        set_rec_i16(ctrl, sctl::piece_count, 4);
        ASSERT_EQ(put_ctrlrec(first_ctrl_record, ctrl), 1);
        for (int i = 0; i < 4; ++i) {
            ObjectRec piece = line_rec(i, 0, 1, 0.5);
            set_rec_u16(piece, o_word0, rk_object | w0_live | (i == 0 ? w0_first_piece : 0));
            ASSERT_EQ(put_ctrlrec(static_cast<std::int16_t>(first + i), piece), 1);
        }
        const std::int16_t l = store(line_rec(1, 1, 2, 0));
        ObjectRec sref{};
        set_obj_kind_colour(sref, ok_symbol, 0);
        sref.b[obj::level] = 1;
        set_rec_f64(sref, obj::ref_x, 5);
        set_rec_f64(sref, obj::ref_y, 5);
        set_rec_f64(sref, sym::scale_x, 2);
        set_rec_f64(sref, sym::scale_y, 2);
        set_rec_i16(sref, sym::ctrl, first_ctrl_record);
        const std::int16_t sy = store(sref);
        // A deleted member keeps its group bit but is not copied.
        const std::int16_t gone = store(line_rec(9, 9, 1, 1));
        get_info(gone);
        delete_object(gone, 0);
        do_operation(op_group_mode, 0, 0, 0, 0, 0, 0);
        ASSERT_EQ(macgroup, 1);
        for (std::int16_t n : {l, sy, gone}) put_in_group(n, 1);
        set_group_limits();
        setidle(1);
    });
    s.menu(kMyEditMenu, "copy");
    s.then([] {
        const QByteArray segs = segs_on_clipboard();
        ASSERT_EQ(segs.size(), 640);
        // No placed symbol travels: its pieces do, mapped into the drawing.
        for (int i = 0; i < 5; ++i) {
            ObjectRec r;
            std::memcpy(r.b, segs.constData() + 128 * i, 128);
            EXPECT_EQ(obj_kind(r), ok_line) << i;
            EXPECT_EQ(rec_word0(r) & w0_first_piece, 0) << i;
        }
        // Back to object mode: pasting several switches group mode on.
        do_operation(op_group_mode, 0, 0, 0, 0, 0, 0);
        ASSERT_EQ(macgroup, 0);
        update_ref(11, 1);
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        const std::int16_t p = static_cast<std::int16_t>(n0 + 3);
        ASSERT_EQ(number_of_objects, p + 5);
        EXPECT_EQ(macgroup, 1);
        EXPECT_EQ(objs_in_grp, 5);
        for (int n = n0; n < p; ++n) EXPECT_EQ(get_in_group(n), 0) << n;
        expect_line(p, 11, 1, 2, 0);
        // Piece i: (i, 0) twice as large from (5, 5), then 10 to the right.
        for (int i = 0; i < 4; ++i) expect_line(p + 1 + i, 15 + 2 * i, 5, 2, 1);
    });
    s.menu(kMyEditMenu, "undo");
    s.then([] {
        EXPECT_EQ(number_of_objects, n0 + 3);
        for (int n = n0 + 3; n < n0 + 8; ++n) EXPECT_FALSE(is_live_object(record(n))) << n;
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, CutDeletesTheObjectOnceTheClipboardHoldsItAndUndoBringsItBack) {
    Session s;
    s.then([] {
        start();
        select_current(store(line_rec(1, 1, 2, 2)));
        QGuiApplication::clipboard()->setText("before");
    });
    s.menu(kMyEditMenu, "cut ");
    s.then([] {
        EXPECT_EQ(segs_on_clipboard().size(), 128);
        EXPECT_FALSE(is_live_object(record(n0)));
    });
    s.menu(kMyEditMenu, "undo");
    s.then([] { EXPECT_TRUE(is_live_object(record(n0))); });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, DamagedRecordBlocksAreRefusedAndTheDrawingStaysAsItWas) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> block;
    };
    static std::vector<Case> cases;
    auto rec_bytes = [](const ObjectRec& r) { return std::vector<std::uint8_t>(r.b, r.b + 128); };
    ObjectRec good = line_rec(1, 1, 1, 1);
    set_rec_u16(good, o_word0, live_object_word);
    ObjectRec tail{};
    set_rec_kind(tail, rk_text_tail);
    ObjectRec sref = good;
    set_obj_kind_colour(sref, ok_symbol, 0);
    ObjectRec nan = good;
    set_rec_f64(nan, line::dx, std::numeric_limits<double>::quiet_NaN());
    ObjectRec level = good;
    level.b[obj::level] = 251;
    ObjectRec settings = good;
    set_rec_kind(settings, 3);
    ObjectRec cont = text_obj(1, 1);
    set_rec_u16(cont, o_word0, live_object_word);
    set_text_info(cont, 0, 40, true);
    ObjectRec open_tail = tail;
    std::memset(open_tail.b + tail::text, 'x', tail::text_size);
    auto join = [&](std::initializer_list<ObjectRec> rs) {
        std::vector<std::uint8_t> b;
        for (const ObjectRec& r : rs) b.insert(b.end(), r.b, r.b + 128);
        return b;
    };
    std::vector<std::uint8_t> short_block = rec_bytes(good);
    short_block.resize(100);
    std::vector<std::uint8_t> ragged = rec_bytes(good);
    ragged.push_back(0);
    cases = {
        {"short", short_block},
        {"ragged", ragged},
        {"a lone continuation", rec_bytes(tail)},
        {"a placed symbol", rec_bytes(sref)},
        {"a NaN", join({good, nan})},
        {"level 251", rec_bytes(level)},
        {"a settings record", rec_bytes(settings)},
        {"a text whose continuation is missing", rec_bytes(cont)},
        {"a continuation without its end", join({cont, open_tail})},
        {"too many records", std::vector<std::uint8_t>(128u * 40000u, 0)},
    };
    Session s;
    s.then([] {
        start();
        store(line_rec(0, 0, 1, 1));
        n0 = number_of_objects;
        for (const Case& c : cases) {
            auto* mime = new QMimeData;
            mime->setData(plat::segs_mime, QByteArray(reinterpret_cast<const char*>(c.block.data()),
                                                      static_cast<qsizetype>(c.block.size())));
            QGuiApplication::clipboard()->setMimeData(mime);
            answers().expect("damaged");
            DoClipboardPaste();
            EXPECT_EQ(number_of_objects, n0) << c.what;
            EXPECT_TRUE(answers().done()) << c.what;
        }
        EXPECT_EQ(didsomething, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, OutsideTextWithCharactersDrawingTextCannotHoldSaysSo) {
    Session s;
    s.then([] {
        start();
        QGuiApplication::clipboard()->setText(QString::fromUtf8("Zoë \u2713 done"));
        std::string roman;
        bool replaced = false;
        ASSERT_TRUE(plat::scrap_text(&roman, &replaced));
        EXPECT_TRUE(replaced);
        EXPECT_EQ(roman, "Zo\x91 ? done");
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        char text[256];
        RetrieveCStringMessage(text);
        EXPECT_NE(std::string(text).find("replaced by"), std::string::npos) << text;
        EXPECT_EQ(texts_from(n0), std::vector<std::string>{"Zo\x91 ? done"});
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, WithNothingSelectedCopyStillPutsAPictureAndNoRecords) {
    Session s;
    s.then([] {
        QGuiApplication::clipboard()->setText("before");
        DoClipboardCopy();
        EXPECT_TRUE(segs_on_clipboard().isEmpty());
        EXPECT_FALSE(text_on_clipboard());
        plat::Picture p;
        const QByteArray pict = flavour(plat::pict_mime);
        ASSERT_FALSE(pict.isEmpty());
        EXPECT_EQ(plat::read_picture(std::span(reinterpret_cast<const std::uint8_t*>(pict.constData()),
                                               static_cast<std::size_t>(pict.size())),
                                     &p),
                  1);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, APictureWithoutRecordsPastesItsDrawingAsObjects) {
    Session s;
    s.then([] {
        start();
        // One framed rectangle of 100 x 50 points.
        plat::Picture p;
        p.frame = plat::Rect{0, 0, 200, 300};
        p.ops.push_back(plat::PictOp{plat::pict::op_rect + plat::pict::frame, {0, 20, 0, 10, 0, 70, 0, 110}});
        put_flavour(plat::pict_mime, plat::picture_bytes(p));
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        ASSERT_EQ(number_of_objects, n0 + 1);
        const ObjectRec r = record(n0);
        EXPECT_EQ(obj_kind(r), ok_rect);
        EXPECT_GT(rec_f64(r, rect::width), 0);
        EXPECT_NEAR(rec_f64(r, rect::width), -2 * rec_f64(r, rect::height), tol);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, TextFromOutsidePastesAsTextObjectsOneALine) {
    Session s;
    s.then([] {
        start();
        QGuiApplication::clipboard()->setText("First line\nand the second");
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        EXPECT_EQ(texts_from(n0), (std::vector<std::string>{"First line", "and the second"}));
        ASSERT_EQ(number_of_objects, n0 + 2);
        // The second line lies below the first, both at the left edge.
        EXPECT_LT(rec_f64(record(n0 + 1), obj::ref_y), rec_f64(record(n0), obj::ref_y));
        EXPECT_NEAR(rec_f64(record(n0 + 1), obj::ref_x), rec_f64(record(n0), obj::ref_x), tol);
    });
    s.menu(kMyEditMenu, "undo");
    // Nothing is left to save.
    s.then([] {
        EXPECT_TRUE(texts_from(n0).empty());
        EXPECT_EQ(number_of_objects, n0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, CutInGroupModeTakesTheGroupAndLeavesTheRest) {
    Session s;
    s.then([] {
        start();
        const std::int16_t a = store(line_rec(1, 1, 2, 0));
        store(line_rec(1, 3, 2, 0));
        const std::int16_t c = store(line_rec(1, 5, 2, 0));
        do_operation(op_group_mode, 0, 0, 0, 0, 0, 0);
        put_in_group(a, 1);
        put_in_group(c, 1);
        set_group_limits();
        setidle(1);
    });
    s.menu(kMyEditMenu, "cut ");
    s.then([] {
        const QByteArray segs = segs_on_clipboard();
        ASSERT_EQ(segs.size(), 256);
        ObjectRec second;
        std::memcpy(second.b, segs.constData() + 128, 128);
        EXPECT_NEAR(rec_f64(second, obj::ref_y), 5, tol);
        EXPECT_FALSE(is_live_object(record(n0)));
        EXPECT_TRUE(is_live_object(record(n0 + 1)));
        EXPECT_FALSE(is_live_object(record(n0 + 2)));
    });
    s.menu(kMyEditMenu, "undo");
    s.then([] {
        for (int n = n0; n < n0 + 3; ++n) EXPECT_TRUE(is_live_object(record(n))) << n;
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Clipboard, APictureThatCannotBeReadIsPassedOverForTheText) {
    Session s;
    s.then([] {
        start();
        plat::Picture p;
        p.frame = plat::Rect{0, 0, 200, 300};
        p.ops.push_back(plat::PictOp{plat::pict::op_rect + plat::pict::frame, {0, 20, 0, 10, 0, 70, 0, 110}});
        std::vector<std::uint8_t> bytes = plat::picture_bytes(p);
        bytes.resize(bytes.size() - 3);  // cut inside its end
        auto* mime = new QMimeData;
        mime->setData(plat::pict_mime,
                      QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
        mime->setText("After");
        QGuiApplication::clipboard()->setMimeData(mime);
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        ASSERT_EQ(number_of_objects, n0 + 1);
        EXPECT_EQ(texts_from(n0), std::vector<std::string>{"After"});
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}
