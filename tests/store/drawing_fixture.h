// A fresh drawing in a real workfile, with the current properties set to
// recognisable values and a recorder in the first module slot.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "base/command_loop.h"
#include "base/paths.h"
#include "base/tool_options.h"
#include "extension/api/custom_event.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"
#include "store/workfile.h"
#include "tests/support/harness.h"
#include "tests/support/workfile.h"

namespace drav::test {

// Broadcasts the modules saw: (code, a).
struct SeenEvent {
    int code;
    int a;
    bool operator==(const SeenEvent&) const = default;
};
inline std::vector<SeenEvent>& seen_events() {
    static std::vector<SeenEvent> events;
    return events;
}
inline void record_event(CustomEventRec* e) { seen_events().push_back({e->code, e->a}); }

class Drawing : public testing::Test {
protected:
    void SetUp() override {
        use_data_folder();
        start_small_drawing(3);
        ASSERT_EQ(setup_workfile(), 1);
        ASSERT_EQ(init_selection_sets(), 1);
        init_levels();  // level 1 visible and unlocked
        objopts = &opts_;
        props_defs.z_top = 2.5f;
        props_defs.z_bottom = -1.5f;
        std::strcpy(props_defs.name, "PROPS");
        props_defs.pen = 3;
        props_defs.density = 5;
        props_defs.level = 1;
        props_defs.colour = 9;
        props_defs.width = 2;
        props_defs.style = 4;
        indx = first_object_slot;
        textline[0] = '\0';
        objdeleted = 0;
        fremove = 0;
        quit = aborted = 0;
        macgroup = grpdelok = 0;
        objs_in_grp = 0;
        seen_events().clear();
        module_table[0] = record_event;
        reset_undo();
    }
    void TearDown() override {
        module_table[0] = nullptr;
        objopts = nullptr;
        close_workfile();
        free_selection_sets();
        term_levels();
        EXPECT_TRUE(answers().done());
    }

    // An object of the given kind on level 1, its reference point at (x, y).
    static ObjectRec object(int kind, double x = 0, double y = 0) {
        ObjectRec r{};
        set_rec_u16(r, o_word0, rk_object);
        set_obj_kind_colour(r, kind, 7);
        r.b[obj::level] = 1;
        set_init(x, y, r);
        return r;
    }
    static ObjectRec line(double x, double y, double dx, double dy) {
        ObjectRec r = object(ok_line, x, y);
        set_rec_f64(r, line::dx, dx);
        set_rec_f64(r, line::dy, dy);
        return r;
    }
    // A text of the given string, char width 1 and height 2.
    static ObjectRec text_object(double x, double y) {
        ObjectRec r = object(ok_text, x, y);
        set_rec_f32(r, text::char_width, 1);
        set_rec_f32(r, text::char_height, 2);
        return r;
    }
    // Stores rec as a new object the way a command does; its index, or -1.
    static int store(const ObjectRec& rec, const char* text = nullptr) {
        const int n = number_of_objects;
        get_info(number_of_objects);
        info = rec;
        if (text) std::snprintf(textline, sizeof textline, "%s", text);
        return save_object() ? n : -1;
    }
    static ObjectRec record(int n) {
        get_info(static_cast<std::int16_t>(n));
        return info;
    }
    static bool same(const ObjectRec& a, const ObjectRec& b) { return std::memcmp(a.b, b.b, 128) == 0; }

    ObjOptsRec opts_;
};

}  // namespace drav::test
