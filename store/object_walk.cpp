#include "store/object_walk.h"

#include "store/levels.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_hooks.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/symbol_library.h"

namespace drav {

int levelok(const ObjectRec& record) {
    if (obj_kind(record) == ok_symbol && record.b[obj::level] == 0) {
        // A symbol on level 0 is editable when any of its pieces is.
        std::int16_t first = 0, count = 0;
        if (!ctrl_run(rec_i16(record, sym::ctrl), &first, &count)) return 0;
        for (std::int16_t i = 0; i < count; ++i) {
            ObjectRec piece;
            if (get_symbol(first, i, piece) && rec_kind(piece) == rk_object && LevelEditable(piece.b[obj::level]))
                return 1;
        }
        return 0;
    }
    return LevelEditable(record.b[obj::level]);
}

int okindx(std::int16_t* index) {
    int answer = 0;
    if (there_are_objects()) {
        std::int16_t n = *index;
        if (n < first_object_slot || n >= number_of_objects || !o_k(n)) n = static_cast<std::int16_t>(last_valid_indx());
        if (n >= first_object_slot && n < number_of_objects) {
            *index = n;
            get_info(n);
            if (is_live_object(info) && levelok(info)) {
                answer = 1;
            } else {
                // Onward, wrapping to the first object, until back where it started.
                std::int16_t c = n;
                for (;;) {
                    c = static_cast<std::int16_t>(c + 1 >= number_of_objects ? first_object_slot : c + 1);
                    if (c == n) break;
                    get_info(c);
                    if (is_live_object(info) && levelok(info)) {
                        *index = c;
                        answer = 1;
                        break;
                    }
                }
            }
        }
    }
    if (*index < first_object_slot || *index >= number_of_objects) *index = first_object_slot;
    if (answer) get_info(*index);
    return answer;
}

void checkpht() {
    if (macgroup) set_group_limits();
}

std::uint16_t objs_valid[10] = {};

void set_valid_objects() {
    for (auto& f : objs_valid) f = 1;
}

void clear_valid_objects() {
    for (auto& f : objs_valid) f = 0;
}

void chge_valid_objects(int k) {
    if (k >= 0 && k < 10)
        objs_valid[k] = 1;
    else if (k < 0 && -k < 10)
        objs_valid[-k] = 0;
}

std::int16_t valid_object(int kind) { return kind >= 0 && kind < 10 ? objs_valid[kind] : 0; }

int move_forward(std::int16_t* n) {
    int i = *n + 1;
    if (i < first_object_slot) i = first_object_slot;
    while (i < number_of_objects && !o_k(static_cast<std::int16_t>(i))) ++i;
    if (i >= number_of_objects) i = first_valid_indx();
    *n = static_cast<std::int16_t>(i);
    return i;
}

int move_backward(std::int16_t* n) {
    int i = *n;
    if (i > number_of_objects) i = number_of_objects;
    --i;
    while (i > first_object_slot - 1 && !o_k(static_cast<std::int16_t>(i))) --i;
    if (i <= first_object_slot - 1) i = last_valid_indx();
    *n = static_cast<std::int16_t>(i);
    return i;
}

void set_group_limits() {
    int count = 0;
    for (int i = first_object_slot; i < number_of_objects; ++i)
        if (get_in_group(i)) ++count;
    objs_in_grp = static_cast<std::int16_t>(count > 32767 ? 32767 : count);
    if (macgroup && objs_in_grp == 0) hook_nullghp();
}

int o_k(std::int16_t n) {
    get_info(n);
    if (!is_live_object(info) || !levelok(info)) return 0;
    if (is_template(info) && !(swaper & sw_templates)) return 0;
    if (obj_kind(info) == ok_text) cumstgs(n);
    return 1;
}

int there_are_objects() {
    if (number_of_objects < first_object_slot + 1) return 0;
    for (int n = first_object_slot; n < number_of_objects; ++n)
        if (get_on_screen(n)) return 1;
    return 0;
}

int first_valid_indx() {
    for (int n = first_object_slot; n < number_of_objects; ++n)
        if (o_k(static_cast<std::int16_t>(n))) return n;
    return number_of_objects - 1 < first_object_slot ? first_object_slot : number_of_objects - 1;
}

int last_valid_indx() {
    if (!there_are_objects()) return first_object_slot;
    for (int n = number_of_objects - 1; n >= first_object_slot; --n)
        if (o_k(static_cast<std::int16_t>(n))) return n;
    return first_object_slot;
}

}  // namespace drav
