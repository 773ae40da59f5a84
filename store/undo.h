// Every change a user can take back goes through `do_operation`, which
// performs or registers one operation and remembers exactly that one: Undo
// takes it back, choosing Undo again redoes it, and any new operation
// replaces it. The Group menu's dispatcher lives here too.
#pragma once

#include <cstdint>

namespace drav {

// Operation codes.
enum OpCode : std::int16_t {
    op_group_mode = 3,
    op_move = 14,
    op_copy = 15,
    op_rotate = 16,
    op_scale = 17,
    op_mirror = 18,
    op_explode = 19,
    op_undo = 20,
    op_delete = 21,
    op_extend = 22,
    op_fence_break = 23,
    op_object_break = 24,
    op_intersection_break = 25,
    op_fillet = 26,
    op_chamfer = 27,
    op_perpendicular = 28,
    op_parallel = 29,
    op_tangent = 30,
    op_isometric = 31,
    op_add = 32,
    op_symbol = 33,
    op_handle = 34,
    op_pivot = 35,
};

constexpr int tbl_edit_names = 428;
constexpr int group_name_size = 16;

extern std::uint16_t didsomething;           // set by every operation
extern char name_new_group[group_name_size];  // the name of copies that form a new group

// Code 20 undoes or redoes the remembered operation. A code whose command
// does not exist yet is not remembered: Undo then offers nothing. When
// `quit` or `aborted` stops a per-object operation early, only the objects
// it changed are remembered; when it changed none, it is forgotten.
void do_operation(std::int16_t code, double r1, double r2, double r3, double r4, std::uint16_t b1,
                  std::uint16_t b2);
// The objects-added operation just registered also took record `index`
// apart into the records first .. first + count - 1, some of which may have
// been appended before it was registered: Undo puts the object back whole,
// Redo takes it apart again.
void note_taken_apart(std::int16_t index, std::int16_t first, std::int16_t count);
// The Edit menu's Undo item.
void do_undo();
void reset_undo();
void enable_undoredo(int on);
void set_undoredo();
// The Undo/Redo step of code 20: turns the remembered operation around and
// adjusts its arguments; *go = 0 when it did all the work itself. *code = 0
// when the remembered code is not an operation (it is forgotten).
void undooperation(std::int16_t* code, double* r1, double* r2, double* r3, double* r4, std::uint16_t* b1,
                   std::uint16_t* b2, int* go);

// The member tests of the per-object loop; the record is left in `info`.
int get_and_check(std::int16_t n);
int notvalidok(std::int16_t n, int code, int b1, int undoing);
// In group mode: the name for copies that form a new group, numbered when
// the group-numbering options are on. name holds `group_name_size` bytes.
void update_group(char* name);
void reset_groupnum();

// The Group menu: 1 move, 2 copy, 3 rotate, 4 scale, 5 mirror, 6 explode,
// 7 delete, 8 undelete, 9 isometric.
void group(int n);
// Nothing is selected: an alert, and the select tool becomes current.
void no_group();

// Group mode on or off lives with the tool palette above the store, which
// installs it at start-up; until then code 3 is not an operation.
using GroupToggle = void (*)();
void set_group_toggle(GroupToggle f);

// Moving the handle and pivot lives with the shell, which installs it at
// start-up; until then codes 34 and 35 are not operations.
using HpChanger = void (*)(double hdx, double hdy, double pdx, double pdy, int pivotop);
void set_hp_changer(HpChanger f);

// What the executor last gave the Edit menu's Undo item (Mac Roman), until
// the menu itself exists.
const char* undo_item_text();
int undo_item_enabled();

}  // namespace drav
